#include "form_framework/zDate.h"

#include "core/AppError.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"
#include "core/TextUtilities.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>

namespace {

const QDate ZeroDate(1899, 12, 30);

bool isBlank(const QVariant& value)
{
    return !value.isValid() || value.isNull()
        || (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty());
}

std::optional<QTime> readTime(
    const QString& hours, const QString& minutes, const QString& seconds, const QString& designator)
{
    int hour = hours.toInt();
    const int minute = minutes.toInt();
    const int second = seconds.isEmpty() ? 0 : seconds.toInt();
    if (!designator.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        const bool afternoon = designator.at(0).toUpper() == QLatin1Char('P');
        hour = hour % 12 + (afternoon ? 12 : 0);
    }
    const QTime time(hour, minute, second);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

// The designers' pattern in Qt's notation: "mm" after an hour is minutes, "AMPM" the designator.
QString qtPattern(const QString& pattern)
{
    static const QRegularExpression token(QStringLiteral("(?i)(AM/PM|AMPM|yyyy|yy|mm|m|dd|d|hh|h|nn|n|ss|s)"));
    QString result;
    bool afterHour = false;
    qsizetype at = 0;
    auto literal = [&result](const QString& text) {
        for (const QChar c : text) {
            if (c.isLetter())
                result += QStringLiteral("'") + c + QStringLiteral("'");
            else
                result += c;
        }
    };
    auto it = token.globalMatch(pattern);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        literal(pattern.mid(at, match.capturedStart() - at));
        at = match.capturedEnd();
        const QString t = match.captured().toLower();
        if (t == QLatin1String("ampm") || t == QLatin1String("am/pm"))
            result += QStringLiteral("AP");
        else if (t == QLatin1String("yyyy") || t == QLatin1String("yy"))
            result += t;
        else if (t == QLatin1String("mm") || t == QLatin1String("m"))
            result += afterHour ? t : t.toUpper();
        else if (t == QLatin1String("nn") || t == QLatin1String("n"))
            result += t == QLatin1String("nn") ? QStringLiteral("mm") : QStringLiteral("m");
        else
            result += t;
        afterHour = t.startsWith(QLatin1Char('h'));
    }
    literal(pattern.mid(at));
    return result;
}

} // namespace

zDate::zDate(QWidget* parent)
    : zFieldBase(parent)
    , m_text(new QLineEdit(this))
{
    m_text->setObjectName(QStringLiteral("txtDate"));
    setInputBox(m_text);
    connect(m_text, &QLineEdit::textChanged, this, &zDate::boxEdited);
}

std::optional<QDateTime> zDate::ToDate(const QVariant& value)
{
    if (isBlank(value))
        return std::nullopt;
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime moment = value.toDateTime();
        if (!moment.isValid())
            return std::nullopt;
        return QDateTime(moment.date(), moment.time());
    }
    if (value.typeId() == QMetaType::QDate) {
        const QDate date = value.toDate();
        if (!date.isValid())
            return std::nullopt;
        return QDateTime(date, QTime(0, 0));
    }
    const QString text = value.toString().trimmed();
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[ T](\\d{2}):(\\d{2})(?::(\\d{2})(?:\\.\\d+)?)?)?$"));
    static const QRegularExpression us(
        QStringLiteral(
            "^(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*(AM|PM|A|P)?)?$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression timeOnly(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*(AM|PM|A|P)?$"),
        QRegularExpression::CaseInsensitiveOption);
    QDate date;
    std::optional<QTime> time = QTime(0, 0);
    if (const auto m = iso.match(text); m.hasMatch()) {
        date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (m.capturedLength(4) > 0)
            time = readTime(m.captured(4), m.captured(5), m.captured(6), QString());
    } else if (const auto usMatch = us.match(text); usMatch.hasMatch()) {
        int year = usMatch.captured(3).toInt();
        if (usMatch.capturedLength(3) == 2)
            year += year < 30 ? 2000 : 1900;
        date = QDate(year, usMatch.captured(1).toInt(), usMatch.captured(2).toInt());
        if (usMatch.capturedLength(4) > 0)
            time = readTime(usMatch.captured(4), usMatch.captured(5), usMatch.captured(6), usMatch.captured(7));
    } else if (const auto timeMatch = timeOnly.match(text); timeMatch.hasMatch()) {
        date = ZeroDate;
        time = readTime(timeMatch.captured(1), timeMatch.captured(2), timeMatch.captured(3), timeMatch.captured(4));
    } else {
        return std::nullopt;
    }
    if (!date.isValid() || !time)
        return std::nullopt;
    return QDateTime(date, *time);
}

QString zDate::FormatDate(const QDateTime& date, const QString& pattern)
{
    const QLocale c = QLocale::c();
    if (!pattern.trimmed().isEmpty())
        return c.toString(date, qtPattern(pattern.trimmed()));
    const QString longTime = QStringLiteral("h:mm:ss AP");
    if (date.date() == ZeroDate)
        return c.toString(date.time(), longTime);
    QString text = c.toString(date.date(), QStringLiteral("MM/dd/yyyy"));
    if (date.time() != QTime(0, 0))
        text += QStringLiteral(" ") + c.toString(date.time(), longTime);
    return text;
}

std::optional<QString> zDate::shownForm(const QVariant& value) const
{
    if (isBlank(value))
        return QString();
    const std::optional<QDateTime> date = ToDate(value);
    if (!date)
        return std::nullopt;
    return FormatDate(*date, m_dataFormat);
}

QVariant zDate::Value() const
{
    if (!Applicable())
        return {};
    const std::optional<QDateTime> date = ToDate(m_text->text());
    return date ? QVariant(*date) : QVariant();
}

void zDate::setValue(const QVariant& value)
{
    const std::optional<QString> shown = shownForm(value);
    if (!shown)
        throw AppError(ErrTypeMismatch, QStringLiteral("Type mismatch"));
    m_text->setText(*shown);
}

QString zDate::Text() const { return m_text->text(); }

QString zDate::DBValue() const
{
    const QVariant value = Value();
    if (value.isNull())
        return QStringLiteral("NULL");
    const QDateTime date = value.toDateTime();
    const QLocale c = QLocale::c();
    if (date.time() == QTime(0, 0))
        return QStringLiteral("'") + c.toString(date.date(), QStringLiteral("yyyy-MM-dd")) + QStringLiteral("'");
    return QStringLiteral("'") + c.toString(date, QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral("'");
}

void zDate::setDataFormat(const QString& format)
{
    const QString previous = m_dataFormat;
    m_dataFormat = format.trimmed();
    const std::optional<QString> shown = shownForm(m_text->text());
    if (!shown) {
        m_dataFormat = previous;
        throw AppError(ErrTypeMismatch, QStringLiteral("Type mismatch"));
    }
    QuietScope quietly(this);
    m_text->setText(*shown);
}

void zDate::setMin(const QDateTime& min)
{
    if (min < Floor()) {
        ShowErrorMessage(QStringLiteral("Min value should be >= ") + FormatDateText(Floor().date()));
        return;
    }
    if (min > m_max) {
        ShowErrorMessage(QStringLiteral("Min value should be <= Max value"));
        return;
    }
    m_min = min;
}

void zDate::setMax(const QDateTime& max)
{
    if (max > Ceiling()) {
        ShowErrorMessage(QStringLiteral("Max value should be <= ") + FormatDateText(Ceiling().date()));
        return;
    }
    if (max < m_min) {
        ShowErrorMessage(QStringLiteral("Max value should be >= Min value"));
        return;
    }
    m_max = max;
}

void zDate::boxEdited()
{
    if (quiet())
        return;
    clearFieldError();
    changeProcessing();
}

void zDate::filterCharacter(int& code)
{
    if (code == 8)
        return;
    if (code == 13) {
        handleEnter(code);
        return;
    }
    if (!m_keyFilter.isEmpty() && !m_keyFilter.contains(QChar(static_cast<char16_t>(code)), Qt::CaseInsensitive)) {
        Platform::prompt().beep();
        code = 0;
    }
}

void zDate::redraw()
{
    // Unlike the text field, a date that does not apply stays enabled; only Locked disables it.
    zFieldBase::redraw();
    setEnabled(!Locked());
}

QString zDate::checks(bool final)
{
    const QString text = m_text->text().trimmed();
    if (Required() && text.isEmpty())
        return requiredMessage();
    if (text.isEmpty())
        return {};
    const std::optional<QDateTime> date = ToDate(text);
    if (!date)
        return GoodName() + QStringLiteral(" should be in date format");
    if (!final) {
        const QString shown = FormatDate(*date, m_dataFormat);
        if (shown != m_text->text()) {
            QuietScope quietly(this);
            m_text->setText(shown);
        }
    }
    if (*date < m_min || (*date == m_min && !m_minIncluded))
        return GoodName() + QStringLiteral(" should be ") + (m_minIncluded ? QStringLiteral(">=") : QStringLiteral(">"))
            + QStringLiteral(" ") + FormatDate(m_min, QString());
    if (*date > m_max || (*date == m_max && !m_maxIncluded))
        return GoodName() + QStringLiteral(" should be ") + (m_maxIncluded ? QStringLiteral("<=") : QStringLiteral("<"))
            + QStringLiteral(" ") + FormatDate(m_max, QString());
    QString message = lostFocusMessage();
    if (message.isEmpty() && final)
        message = finalMessage();
    return message;
}
