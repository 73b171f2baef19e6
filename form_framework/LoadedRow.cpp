#include "form_framework/LoadedRow.h"

#include "core/Connection.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/TextUtilities.h"

namespace {
const QString LineEnd = QStringLiteral("\r\n");

// The literal of a text exactly as given: the program's SQLString trims surrounding blanks, and a
// stored value that has them must still compare equal to itself.
QString exactLiteral(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}
} // namespace

QString LoadedRow::castToText(const QString& column)
{
    return QStringLiteral("CAST(") + column + QStringLiteral(" AS TEXT)");
}

QString LoadedRow::storedValue(const QString& column) const
{
    return QString::fromLatin1(m_facts->storedValueSql).arg(column);
}

QVariant LoadedRow::textOf(const QString& column) const
{
    const qsizetype at = m_columns.indexOf(column);
    if (at < 0 || m_values.at(at).isNull())
        return QVariant();
    const QString stored = m_values.at(at).toString();
    return m_facts->storedValueInHex ? QString::fromUtf8(QByteArray::fromHex(stored.toLatin1())) : stored;
}

bool LoadedRow::read(const QString& tableName, const QString& identityCondition, const QStringList& columns)
{
    clear();
    if (columns.isEmpty())
        return true;
    m_facts = &FactsOf(DBConnection() ? DBConnection()->engine() : Engine::SQLite);
    QStringList texts;
    for (const QString& column : columns)
        texts << storedValue(column) + QStringLiteral(" AS ") + column;
    std::unique_ptr<Recordset> row;
    if (!Act_OpenRecordset(row,
            QStringLiteral("SELECT ") + texts.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + tableName
                + QStringLiteral(" WHERE ") + identityCondition))
        return false;
    if (!row->eof()) {
        m_columns = columns;
        take(*row, 0);
    }
    CloseRecordset(row);
    return true;
}

void LoadedRow::take(const Recordset& row, int firstColumn)
{
    m_values.clear();
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        const QVariant value = row.value(firstColumn + static_cast<int>(i));
        m_values << (value.isNull() ? QVariant() : QVariant(value.toString()));
    }
}

void LoadedRow::clear()
{
    m_columns.clear();
    m_values.clear();
}

QString LoadedRow::rememberedCondition(qsizetype i, const EngineFacts& facts) const
{
    if (m_values.at(i).isNull())
        return m_columns.at(i) + QStringLiteral(" IS NULL");
    return storedValue(m_columns.at(i)) + QStringLiteral(" = ") + exactLiteral(m_values.at(i).toString())
        + QString::fromLatin1(facts.exactCollation);
}

QString LoadedRow::conditions(const EngineFacts& facts) const
{
    QString text;
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        text += LineEnd + QStringLiteral("AND ") + rememberedCondition(i, facts);
    return text;
}

QString LoadedRow::conditionsAfterWrite(
    const EngineFacts& facts, const PairDictionary& written, const QSet<QString>& textColumns) const
{
    QString text;
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        const QString& column = m_columns.at(i);
        text += LineEnd + QStringLiteral("AND ");
        if (!written.contains(column)) {
            text += rememberedCondition(i, facts);
            continue;
        }
        const QString literal = written.value(column);
        if (literal.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
            text += column + QStringLiteral(" IS NULL");
        else if (textColumns.contains(column) && literal.startsWith(QLatin1Char('\'')))
            // The literal is the text itself, as the write stored it.
            text += castToText(column) + QStringLiteral(" = ") + literal + QString::fromLatin1(facts.exactCollation);
        else
            // A number, date or flag: the literal the write sent is turned into the column's
            // type just as it was then, and compares with what that stored.
            text += column + QStringLiteral(" = ") + literal;
    }
    return text;
}

QString LoadedRow::returnedColumns() const
{
    QString text;
    for (const QString& column : m_columns)
        text += QStringLiteral(", ") + storedValue(column) + QStringLiteral(" AS ") + column;
    return text;
}

QString LastChangeOfRecord(const QString& tableName, int identity)
{
    DatabaseConnection* connection = DBConnection();
    if (!connection)
        return {};
    // Only to name who changed the record: a log that cannot be read leaves the name out, and is
    // no failure of the save to report.
    try {
        const Recordset change = connection->executeStatement(
            QStringLiteral(
                "SELECT DB_Login_Name, DB_Change_Time FROM DB_Change_Log WHERE DB_Table_Name = ? AND DB_PK = ? "
                "ORDER BY DB_Change_Log_ID DESC LIMIT 1"),
            { tableName, identity });
        if (change.recordCount() == 0 || change.valueAt(0, 0).isNull())
            return {};
        return QStringLiteral("by ") + change.valueAt(0, 0).toString().trimmed() + QStringLiteral(" on ")
            + FormatDateTimeMinutesText(change.valueAt(0, 1));
    } catch (...) {
        connection->providerErrors().clear();
        return {};
    }
}
