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

QString LoadedRow::textOf(const QString& column)
{
    return QStringLiteral("CAST(") + column + QStringLiteral(" AS TEXT)");
}

bool LoadedRow::read(const QString& tableName, const QString& identityCondition, const QStringList& columns)
{
    clear();
    if (columns.isEmpty())
        return true;
    QStringList texts;
    for (const QString& column : columns)
        texts << textOf(column) + QStringLiteral(" AS ") + column;
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

QString LoadedRow::conditions(const EngineFacts& facts) const
{
    QString text;
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        text += LineEnd + QStringLiteral("AND ");
        if (m_values.at(i).isNull())
            text += m_columns.at(i) + QStringLiteral(" IS NULL");
        else
            text += textOf(m_columns.at(i)) + QStringLiteral(" = ") + exactLiteral(m_values.at(i).toString())
                + QString::fromLatin1(facts.exactCollation);
    }
    return text;
}

QString LoadedRow::returnedColumns() const
{
    QString text;
    for (const QString& column : m_columns)
        text += QStringLiteral(", ") + textOf(column) + QStringLiteral(" AS ") + column;
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
            + FormatDateTimeText(change.valueAt(0, 1));
    } catch (...) {
        connection->providerErrors().clear();
        return {};
    }
}
