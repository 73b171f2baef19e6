#include "form_framework/zLabel.h"

#include "form_framework/zFieldBase.h"

#include <QLabel>
#include <QVBoxLayout>

zLabel::zLabel(QWidget* parent)
    : QWidget(parent)
    , m_label(new QLabel(QStringLiteral("zLabel"), this))
{
    m_label->setObjectName(QStringLiteral("lblLabel"));
    m_label->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    refreshLook();
}

QString zLabel::Value() const { return m_label->text().trimmed(); }

void zLabel::setValue(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(Value(), Qt::CaseInsensitive) != 0)
        m_label->setText(trimmed);
}

void zLabel::setRequired(bool required)
{
    if (required == m_required)
        return;
    m_required = required;
    refreshLook();
}

void zLabel::setApplicable(bool applicable)
{
    if (applicable == m_applicable)
        return;
    m_applicable = applicable;
    refreshLook();
}

void zLabel::setBuddy(QWidget* field)
{
    m_label->setBuddy(field);
    // A field without a good name is known by its label: on the box the user types into, since
    // the field control around it stays unnamed.
    QWidget* named = field;
    if (auto* editor = qobject_cast<zFieldBase*>(field); editor && editor->inputBox())
        named = editor->inputBox();
    if (named && named->accessibleName().isEmpty())
        named->setAccessibleName(Value());
}

void zLabel::refreshLook()
{
    m_label->setEnabled(m_applicable);
    QFont font = m_label->font();
    font.setBold(m_required && m_applicable);
    m_label->setFont(font);
}
