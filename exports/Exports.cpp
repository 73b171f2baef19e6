#include "exports/Exports.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/TextUtilities.h"
#include "core/Viewers.h"
#include "exports/ExportFormats.h"

#include <QDate>
#include <QDateTime>

#include <charconv>
#include <cstring>
#include <vector>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QChar kTab = QLatin1Char('\t');

std::unique_ptr<Recordset> openOrRaise(const QString& sql)
{
    std::unique_ptr<Recordset> recordset;
    if (!Act_OpenRecordset(recordset, sql) || !recordset)
        RaiseSilent();
    return recordset;
}

// Numbers, dates and times written into a character buffer; null when the value needs the
// general formats (a date as text, a year outside 1 to 9999) or is of another kind.
char* formattedValue(const QVariant& value, ColumnType type, char* out)
{
    switch (type) {
    case ColumnType::Integer:
        return std::to_chars(out, out + kExportFormatSize, value.toLongLong()).ptr;
    case ColumnType::Double:
    case ColumnType::Currency:
        return WriteNumberText(value.toDouble(), out);
    case ColumnType::Date:
    case ColumnType::DateTime:
        if (value.typeId() == QMetaType::QDate) {
            const QDate date = *static_cast<const QDate*>(value.constData());
            return type == ColumnType::Date ? WriteDateText(date, out) : WriteDateTimeText(date, QTime(0, 0), out);
        }
        if (value.typeId() == QMetaType::QDateTime) {
            const QDateTime& moment = *static_cast<const QDateTime*>(value.constData());
            return type == ColumnType::Date ? WriteDateText(moment.date(), out)
                                            : WriteDateTimeText(moment.date(), moment.time(), out);
        }
        return nullptr;
    case ColumnType::Boolean:
    case ColumnType::Text:
        break;
    }
    return nullptr;
}

QString generalValueText(const QVariant& value, ColumnType type)
{
    switch (type) {
    case ColumnType::Date:
        return FormatDateText(value);
    case ColumnType::DateTime:
        return FormatDateTimeText(value);
    case ColumnType::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

// The clip text is gathered in a fixed block of characters and added to the result a block at a
// time, so the result grows a few times instead of once per value.
class TextBlocks {
public:
    explicit TextBlocks(QString& out)
        : m_out(out)
    {
    }
    ~TextBlocks() { flush(); }
    TextBlocks(const TextBlocks&) = delete;
    TextBlocks& operator=(const TextBlocks&) = delete;

    void add(char16_t c)
    {
        if (m_used == kSize)
            flush();
        m_block[m_used++] = c;
    }
    void add(QStringView text)
    {
        if (text.size() > kSize - m_used) {
            flush();
            if (text.size() > kSize) {
                m_out.append(text);
                return;
            }
        }
        std::memcpy(m_block + m_used, text.utf16(), size_t(text.size()) * sizeof(char16_t));
        m_used += text.size();
    }
    void add(const char* begin, const char* end)
    {
        if (end - begin > kSize - m_used)
            flush();
        m_used = std::copy(begin, end, m_block + m_used) - m_block;
    }
    void addValue(const QVariant& value, ColumnType type)
    {
        if (!value.isValid() || value.isNull())
            return;
        char text[kExportFormatSize];
        if (const char* end = formattedValue(value, type, text)) {
            add(text, end);
        } else if (value.typeId() == QMetaType::QString && type == ColumnType::Text) {
            add(QStringView(*static_cast<const QString*>(value.constData())));
        } else {
            add(QStringView(generalValueText(value, type)));
        }
    }
    void flush()
    {
        m_out.append(QStringView(m_block, m_used));
        m_used = 0;
    }

private:
    static constexpr qsizetype kSize = 16384;
    QString& m_out;
    char16_t m_block[kSize];
    qsizetype m_used = 0;
};

} // namespace

QString ValueText(const QVariant& value, ColumnType type)
{
    if (!value.isValid() || value.isNull())
        return {};
    char text[kExportFormatSize];
    if (const char* end = formattedValue(value, type, text))
        return QString::fromLatin1(text, end - text);
    return generalValueText(value, type);
}

namespace {
QString currentDatabaseName()
{
    const DatabaseEntry* entry = DatabaseAt(CurrentDB());
    return entry ? entry->DisplayName : QString();
}
} // namespace

QString ReportSignature()
{
    std::unique_ptr<Recordset> recordset = openOrRaise(QStringLiteral("EXEC usp_DB_Rep_Signature"));
    QString signature = QStringLiteral("Created on ");
    if (!recordset->eof()) {
        signature += FormatDateTimeText(recordset->value(QStringLiteral("Time"))) + QStringLiteral(" by ")
            + NullToString(recordset->value(QStringLiteral("User")));
    } else {
        signature += QStringLiteral(" by ");
    }
    CloseRecordset(recordset);
    return signature;
}

namespace {
// The rows of the current result set added to the text, so an export gathers everything in one
// buffer instead of copying each result set's text into it.
void appendClipText(QString& text, const Recordset& recordset)
{
    const int fields = recordset.fieldCount();
    std::vector<ColumnType> types;
    for (int column = 0; column < fields; ++column)
        types.push_back(recordset.fieldType(column));
    text.reserve(text.size() + qsizetype(recordset.recordCount()) * fields * 10);
    {
        TextBlocks blocks(text);
        for (int row = 0; row < recordset.recordCount(); ++row) {
            for (int column = 0; column < fields; ++column) {
                if (column > 0)
                    blocks.add(u'\t');
                blocks.addValue(recordset.valueAt(row, column), types[size_t(column)]);
            }
            blocks.add(u'\r');
            blocks.add(u'\n');
        }
    }
}
} // namespace

QString ClipText(const Recordset& recordset)
{
    QString text;
    appendClipText(text, recordset);
    return text;
}

bool ExportToText(const QString& statement, const QString& title, const QString& subtitle)
{
    ActionScope action(QStringLiteral("modReports"), QStringLiteral("ExportToText"), QStringLiteral("Export to Text"));
    return action.run([&] {
        QString text;
        {
            BusyPointer busy;
            text = title + kCrLf + subtitle + kCrLf + kCrLf;
            text += ReportSignature() + kCrLf;
            text += QStringLiteral("Database: ") + currentDatabaseName() + kCrLf;
            QString query = statement;
            query.replace(kCrLf, kCrLf + kTab, Qt::CaseInsensitive);
            text += QStringLiteral("Query:") + kTab + query + kCrLf + kCrLf + kCrLf;

            std::unique_ptr<Recordset> recordset = openOrRaise(statement);
            if (recordset->isOpen()) {
                do {
                    QStringList names;
                    for (int column = 0; column < recordset->fieldCount(); ++column)
                        names << recordset->fieldName(column);
                    text += names.join(kTab) + kCrLf;
                    if (recordset->recordCount() > 0)
                        appendClipText(text, *recordset);
                    text += kCrLf + kCrLf;
                } while (recordset->nextRecordset());
            }
            CloseRecordset(recordset);
        }
        ShowText(text);
    });
}
