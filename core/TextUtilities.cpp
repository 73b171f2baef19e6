#include "core/TextUtilities.h"

#include "core/AppError.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"
#include "core/SafeFiles.h"
#include "core/SqlText.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QTime>

#include <optional>

namespace {
const QString LineEnd = QStringLiteral("\r\n");

// A moment as the formats see it: a date and, for date-times, a time of day. Kept apart from
// QDateTime so that no time zone or daylight-saving gap can shift or reject a stored value.
struct Moment {
    QDate date;
    QTime time { 0, 0 };
};

// Reads a QDate, a QDateTime or ISO text ("2024-03-05", "2024-03-05 14:07:00", "2024-03-05T14:07").
std::optional<Moment> toMoment(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    Moment moment;
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        moment.date = value.toDate();
        break;
    case QMetaType::QDateTime: {
        const QDateTime dateTime = value.toDateTime();
        if (!dateTime.isValid())
            return std::nullopt;
        moment.date = dateTime.date();
        moment.time = dateTime.time();
        break;
    }
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        const int dateLength = 10;
        moment.date = QDate::fromString(text.left(dateLength), Qt::ISODate);
        if (text.size() > dateLength) {
            const QChar separator = text.at(dateLength);
            if (separator != QLatin1Char(' ') && separator != QLatin1Char('T'))
                return std::nullopt;
            moment.time = QTime::fromString(text.mid(dateLength + 1), Qt::ISODateWithMs);
        }
        break;
    }
    default:
        return std::nullopt;
    }
    if (!moment.date.isValid() || !moment.time.isValid())
        return std::nullopt;
    return moment;
}

QString formatMoment(const QVariant& value, const QString& datePattern, const QString& timePattern)
{
    const std::optional<Moment> moment = toMoment(value);
    if (!moment)
        return QString();
    const QLocale c = QLocale::c();
    // The date of every list row and export line: written directly, the pattern need not be read.
    QString text;
    if (datePattern == QLatin1String("MM/dd/yyyy")) {
        const QDate& d = moment->date;
        text = QStringLiteral("%1/%2/%3").arg(d.month(), 2, 10, QLatin1Char('0')).arg(d.day(), 2, 10, QLatin1Char('0')).arg(d.year(), 4, 10, QLatin1Char('0'));
    } else {
        text = c.toString(moment->date, datePattern);
    }
    if (!timePattern.isEmpty())
        text += c.toString(moment->time, timePattern);
    return text;
}

QString errorMessage(qint32 number, const QString& description)
{
    return QStringLiteral("Error ") + QString::number(number) + QStringLiteral(". ") + description;
}

bool endsWithIgnoringCase(const QString& text, const QString& ending)
{
    return text.endsWith(ending, Qt::CaseInsensitive);
}
} // namespace

QString AddBackslash(const QString& path)
{
    const QString trimmed = trimBlanks(path);
    if (trimmed.endsWith(QLatin1Char('/')) || trimmed.endsWith(QLatin1Char('\\')))
        return trimmed;
    return trimmed + QLatin1Char('/');
}

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

bool FolderExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

QString GetFileName(const QString& path)
{
    qsizetype end = path.size();
    while (end > 0 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

QString GetParentFolder(const QString& path)
{
    qsizetype end = path.size();
    while (end > 0 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    if (end == 0)
        return QString(); // empty, or the root itself
    qsizetype slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    if (slash < 0)
        return QString(); // a bare name has no folder in its text
    while (slash > 0 && path.at(slash - 1) == QLatin1Char('/'))
        --slash;
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

void DeleteFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (!FileExists(path))
            continue;
        QFile file(path);
        if (!file.remove())
            throw AppError(ErrPermissionDenied, file.errorString(), ApplicationTitle());
    }
}

bool RenameFile(const QString& source, const QString& target, QString& message)
{
    if (!FileExists(source)) {
        message = errorMessage(ErrFileNotFound, QStringLiteral("File not found"));
        return false;
    }
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() || targetInfo.isSymLink()) {
        message = errorMessage(ErrFileAlreadyExists, QStringLiteral("File already exists"));
        return false;
    }
    QFile file(source);
    if (!file.rename(target)) {
        message = errorMessage(ErrPathFileAccess, file.errorString());
        return false;
    }
    return true;
}

bool SaveTextFile(const QString& path, const QString& text)
{
    if (FileExists(path)) {
        const QString question = QStringLiteral("File ") + AngleQuote(path) + QStringLiteral(" already exists.")
            + LineEnd + LineEnd + QStringLiteral("Would you like to overwrite the file?");
        if (AskQuestion(question, QStringLiteral("Overwrite?"), MsgBox::DefaultButton2) != MsgBox::Yes)
            return false;
    }
    const QString failure = WriteFileSafely(path, text.toUtf8());
    if (!failure.isEmpty()) {
        ShowErrorMessage(failure + LineEnd + LineEnd
            + QStringLiteral("File might be open by another appilcation or user."));
        return false;
    }
    return true;
}

QString FormatDateText(const QVariant& value) { return formatMoment(value, QStringLiteral("MM/dd/yyyy"), QString()); }

QString FormatDateTimeText(const QVariant& value)
{
    return formatMoment(value, QStringLiteral("MM/dd/yyyy"), QStringLiteral(" hh:mm:ss AP"));
}

QString FormatDateTimeMinutesText(const QVariant& value)
{
    return formatMoment(value, QStringLiteral("MM/dd/yyyy"), QStringLiteral(" h:mm AP"));
}

QString FormatTimestampText(const QVariant& value)
{
    return formatMoment(value, QStringLiteral("yyyyMMdd"), QStringLiteral("HHmmss"));
}

QString FormatYesNoText(const QVariant& value)
{
    const QString yes = QStringLiteral("Yes");
    const QString no = QStringLiteral("No");
    if (!value.isValid() || value.isNull())
        return no;
    bool isNumber = false;
    double number = 0;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? yes : no;
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return no;
        number = QLocale::c().toDouble(text, &isNumber);
        break;
    }
    default:
        number = value.toDouble(&isNumber);
        break;
    }
    // A value that is not a number (a word, a date) counts as set.
    return isNumber && number == 0 ? no : yes;
}

int CountDelimiters(const QString& text, const QString& delimiter)
{
    if (delimiter.isEmpty())
        throw AppError(ErrDivisionByZero, QStringLiteral("Division by zero"), ApplicationTitle());
    QString rest = text;
    rest.remove(delimiter, Qt::CaseInsensitive);
    return int((text.size() - rest.size()) / delimiter.size());
}

QString DropRightChars(const QString& text, int n)
{
    if (n >= text.size())
        return QString();
    return n <= 0 ? text : text.left(text.size() - n);
}

QString TextSlice(const QString& text, int start, int end)
{
    const qsizetype first = qMax(start, 1);
    const qsizetype last = qMin<qsizetype>(end, text.size());
    if (last < first)
        return QString();
    return text.mid(first - 1, last - first + 1);
}

QString TextBetween(const QString& text, const QString& startMarker, const QString& endMarker)
{
    const qsizetype startFound = text.indexOf(startMarker, 0, Qt::CaseInsensitive);
    const qsizetype endFound = text.indexOf(endMarker, 0, Qt::CaseInsensitive);
    if (startFound < 0 || endFound < 0)
        return QString();
    const qsizetype first = startFound + startMarker.size();
    if (endFound < first)
        return QString();
    return text.mid(first, endFound - first);
}

QString TrimTrailingNewLine(const QString& text)
{
    qsizetype end = text.size();
    while (end >= LineEnd.size() && QStringView(text).first(end).endsWith(LineEnd))
        end -= LineEnd.size();
    return text.left(end);
}

QString TrimLeadingNewLine(const QString& text)
{
    qsizetype start = 0;
    while (QStringView(text).sliced(start).startsWith(LineEnd))
        start += LineEnd.size();
    return text.mid(start);
}

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

int InStrText(const QString& text, const QString& searchText)
{
    if (text.isEmpty())
        return 0;
    return int(text.indexOf(searchText, 0, Qt::CaseInsensitive) + 1);
}

bool InCommaList(const QString& identity, const QString& identityList)
{
    QString list = identityList;
    list.remove(QLatin1Char(' '));
    const QString comma = QStringLiteral(",");
    return (comma + list + comma).contains(comma + identity + comma, Qt::CaseInsensitive);
}

QString Plural(const QString& noun)
{
    if (endsWithIgnoringCase(noun, QStringLiteral("Series")))
        return noun;
    if (endsWithIgnoringCase(noun, QStringLiteral("s")) || endsWithIgnoringCase(noun, QStringLiteral("h")))
        return noun + QStringLiteral("es");
    if (endsWithIgnoringCase(noun, QStringLiteral("y")))
        return noun.left(noun.size() - 1) + QStringLiteral("ies");
    return noun + QStringLiteral("s");
}

void EmptyTestProc(const QString& text)
{
    Q_UNUSED(text);
}
