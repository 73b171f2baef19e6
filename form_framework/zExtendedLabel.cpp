#include "form_framework/zExtendedLabel.h"

#include "exports/Code39.h"

#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QVBoxLayout>

zExtendedLabel::zExtendedLabel(QWidget* parent)
    : QWidget(parent)
    , m_label(new QLabel(this))
{
    m_label->setObjectName(QStringLiteral("lblLabel"));
    m_label->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    setAlignment(m_alignment);
    redisplay();
}

void zExtendedLabel::setValue(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(m_value, Qt::CaseInsensitive) == 0)
        return;
    m_value = trimmed;
    redisplay();
}

QFont zExtendedLabel::Font() const { return m_label->font(); }

void zExtendedLabel::setFont(const QFont& font) { m_label->setFont(font); }

QColor zExtendedLabel::ForeColor() const { return m_label->palette().color(QPalette::WindowText); }

void zExtendedLabel::setForeColor(const QColor& color)
{
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, color);
    m_label->setPalette(palette);
}

void zExtendedLabel::setAlignment(int alignment)
{
    m_alignment = alignment;
    const Qt::Alignment horizontal = alignment == 0 ? Qt::AlignLeft
        : alignment == 1                            ? Qt::AlignRight
                                                    : Qt::AlignHCenter;
    m_label->setAlignment(horizontal | Qt::AlignVCenter);
}

void zExtendedLabel::setBarcode(bool barcode)
{
    m_barcode = barcode;
    redisplay();
}

void zExtendedLabel::reserveBarcodeRoom(const QString& code)
{
    m_label->setMinimumSize(Code39Image(code).size());
}

void zExtendedLabel::redisplay()
{
    if (!m_barcode) {
        m_label->setText(m_value);
        return;
    }
    // The code stays readable for screen readers; the picture is what a scanner reads.
    m_label->setAccessibleName(m_value);
    const QImage picture = Code39Image(m_value);
    if (picture.isNull()) {
        m_label->setPixmap(QPixmap());
        m_label->setText(QString());
        return;
    }
    m_label->setPixmap(QPixmap::fromImage(picture));
}
