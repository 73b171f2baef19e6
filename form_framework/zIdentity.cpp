#include "form_framework/zIdentity.h"

#include <QHBoxLayout>

zIdentity::zIdentity(QWidget* parent)
    : QWidget(parent)
    , m_text(new QLineEdit(QStringLiteral("NEW"), this))
    , m_label(new QLabel(QStringLiteral("(Internal Database ID)"), this))
{
    setObjectName(QStringLiteral("zID"));
    m_text->setObjectName(QStringLiteral("txtID"));
    m_label->setObjectName(QStringLiteral("lblInternalID"));
    // The framework alone writes the identity; the user reads it.
    m_text->setReadOnly(true);
    m_text->setFocusPolicy(Qt::NoFocus);
    m_text->setFixedWidth(65);
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    m_text->setPalette(palette);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    layout->addWidget(m_label);
    layout->addStretch();
    connect(m_text, &QLineEdit::textChanged, this, &zIdentity::ValueChanged);
}

int zIdentity::Value() const
{
    const QString text = m_text->text();
    if (text.compare(QLatin1String("NEW"), Qt::CaseInsensitive) == 0)
        return 0;
    return text.toInt();
}

void zIdentity::setValue(int value)
{
    m_text->setText(value == 0 ? QStringLiteral("NEW") : QString::number(value));
}

QString zIdentity::Text() const
{
    return m_text->text();
}

QString zIdentity::DBValue() const
{
    return Value() == 0 && Text().compare(QLatin1String("NEW"), Qt::CaseInsensitive) == 0 ? QStringLiteral("NULL") : Text();
}

void zIdentity::setGoodName(const QString& name)
{
    m_goodName = name.trimmed();
    m_text->setAccessibleName(m_goodName);
}
