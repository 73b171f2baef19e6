#include "form_framework/zNumeric.h"

#include "core/MessageBoxes.h"
#include "core/Platform.h"

#include <QLineEdit>
#include <QLocale>

#include <cmath>

zNumeric::zNumeric(QWidget* parent)
    : zFieldBase(parent)
    , m_text(new QLineEdit(this))
{
    m_text->setObjectName(QStringLiteral("txtNum"));
    setInputBox(m_text);
    connect(m_text, &QLineEdit::textChanged, this, &zNumeric::boxEdited);
}

std::optional<double> zNumeric::ToNumber(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    double number = 0;
    bool ok = false;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        number = value.toDouble(&ok);
        break;
    default: {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return std::nullopt;
        // "." is the only decimal point and grouping is refused: a pasted "1,5" must not become 15.
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        number = c.toDouble(text, &ok);
        break;
    }
    }
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

QString zNumeric::GeneralText(double number)
{
    if (number == 0)
        return QStringLiteral("0");
    QString text = QString::number(number, 'g', 15);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    // "1e+300" -> "1E+300", "1.5e-07" -> "1.5E-07": the exponent keeps at least two digits.
    QString mantissa = text.left(e);
    QString exponent = text.mid(e + 1);
    const QChar sign = exponent.at(0);
    QString digits = exponent.mid(1);
    while (digits.size() > 2 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    return mantissa + QStringLiteral("E") + sign + digits;
}

QVariant zNumeric::Value() const
{
    if (!Applicable() || !m_value)
        return {};
    return *m_value;
}

void zNumeric::setValue(const QVariant& value)
{
    const std::optional<double> number = ToNumber(value);
    if (number && m_value && *number == *m_value)
        return;
    m_value = number;
    showNumber();
    resetFKValue();
    if (IsForeignKey())
        lookUpFKValue();
    changeProcessing();
}

void zNumeric::showValue(const QVariant& value)
{
    // The identity's value that the window looked up becomes the number held.
    m_value = ToNumber(value);
    showNumber();
}

void zNumeric::showNumber()
{
    QuietScope quietly(this);
    m_text->setText(m_value ? GeneralText(*m_value) : QString());
}

QString zNumeric::Text() const { return Applicable() ? m_text->text() : QString(); }

QString zNumeric::DBValue() const
{
    const QVariant value = Value();
    return value.isNull() ? QStringLiteral("NULL") : GeneralText(value.toDouble());
}

void zNumeric::setApplicable(bool applicable)
{
    if (applicable == Applicable())
        return;
    zFieldBase::setApplicable(applicable);
    changeProcessing();
}

void zNumeric::Compute()
{
    // No answer counts as 0.
    const QVariant value = computeProcedureValue(QVariant());
    setValue(value.isValid() ? value : QVariant(0.0));
}

void zNumeric::setMin(double min)
{
    if (min < Floor) {
        ShowErrorMessage(QStringLiteral("Min value should be >= ") + GeneralText(Floor));
        return;
    }
    if (min > m_max) {
        ShowErrorMessage(QStringLiteral("Min value should be <= Max value"));
        return;
    }
    m_min = min;
}

void zNumeric::setMax(double max)
{
    if (max > Ceiling) {
        ShowErrorMessage(QStringLiteral("Max value should be <= ") + GeneralText(Ceiling));
        return;
    }
    if (max < m_min) {
        ShowErrorMessage(QStringLiteral("Max value should be >= Min value"));
        return;
    }
    m_max = max;
}

void zNumeric::boxEdited()
{
    clearFieldError();
    if (quiet())
        return;
    m_value = ToNumber(m_text->text());
    resetFKValue();
    changeProcessing();
}

void zNumeric::filterCharacter(int& code)
{
    if (code == 8)
        return;
    if (code == 13) {
        handleEnter(code);
        return;
    }
    if (code >= '0' && code <= '9')
        return;
    if (code == '.' && m_decimalScale > 0 && !m_text->text().contains(QLatin1Char('.')))
        return;
    if (code == '-' && m_min < 0)
        return;
    Platform::prompt().beep();
    code = 0;
}

QString zNumeric::checks(bool final)
{
    const QString text = m_text->text().trimmed();
    if (Required() && text.isEmpty())
        return requiredMessage();
    if (text.isEmpty()) {
        m_value.reset();
        return {};
    }
    const std::optional<double> number = ToNumber(text);
    if (!number)
        return GoodName() + QStringLiteral(" should be numeric");
    // The stored number follows the box (pasted text included).
    m_value = number;
    if (!final)
        showNumber(); // 007 becomes 7, .5 becomes 0.5
    const double value = *m_value;
    if (value < m_min || (value == m_min && !m_minIncluded))
        return GoodName() + QStringLiteral(" should be ") + (m_minIncluded ? QStringLiteral(">=") : QStringLiteral(">"))
            + QStringLiteral(" ") + GeneralText(m_min);
    if (value > m_max || (value == m_max && !m_maxIncluded))
        return GoodName() + QStringLiteral(" should be ") + (m_maxIncluded ? QStringLiteral("<=") : QStringLiteral("<"))
            + QStringLiteral(" ") + GeneralText(m_max);
    const QString shown = m_text->text().trimmed();
    const qsizetype point = shown.indexOf(QLatin1Char('.'));
    if (point >= 0) {
        if (m_decimalScale == 0)
            return GoodName() + QStringLiteral(" should be integer");
        if (shown.size() - point - 1 > m_decimalScale)
            return QStringLiteral("Only ") + QString::number(m_decimalScale)
                + QStringLiteral(" digits after decimal point allowed");
    }
    QString message = uniqueMessage();
    if (message.isEmpty())
        message = lostFocusMessage();
    if (message.isEmpty())
        message = foreignKeyMessage(m_text->text());
    if (message.isEmpty() && final)
        message = finalMessage();
    return message;
}
