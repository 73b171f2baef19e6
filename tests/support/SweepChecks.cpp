#include "support/SweepChecks.h"

#include "core/AppError.h"
#include "core/ColumnType.h"
#include "core/Connection.h"
#include "core/ProcedureCatalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The result's columns as "Name:Type", and its first row's first value: the identity.
struct Shape {
    QStringList columns;
    QVariant firstIdentity;
    QString failure; // the engine's error when the procedure could not run
};

Shape shapeOf(DatabaseConnection& connection, const Procedure& procedure, const QString& identityName = {},
    const QVariant& identity = {})
{
    std::vector<QVariant> arguments;
    for (const ProcedureParameter& parameter : procedure.parameters)
        arguments.push_back(parameter.name.compare(identityName, Qt::CaseInsensitive) == 0 ? identity : QVariant());
    Shape shape;
    try {
        const Recordset result = connection.callProcedure(procedure, arguments);
        for (int column = 0; column < result.fieldCount(); ++column)
            shape.columns << result.fieldName(column) + QLatin1Char(':') + ColumnTypeName(result.fieldType(column));
        if (result.recordCount() > 0 && result.fieldCount() > 0)
            shape.firstIdentity = result.valueAt(0, 0);
    } catch (const AppError& error) {
        shape.failure = error.description();
    }
    return shape;
}

QStringList columnsOf(DatabaseConnection& connection, const QString& table)
{
    const Recordset rs = connection.executeStatement(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(table));
    QStringList names;
    for (int i = 0; i < rs.fieldCount(); ++i)
        names << rs.fieldName(i);
    return names;
}

// The table's name as an embedded database keeps it: as its CREATE TABLE declares it.
QString declaredName(DatabaseConnection& embedded, const QString& table)
{
    const Recordset rs = embedded.executeStatement(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?)"), { table });
    return rs.recordCount() > 0 ? rs.valueAt(0, 0).toString() : QString();
}

} // namespace

void ExpectSearchPairAgrees(DatabaseConnection& connection, const QString& allName, const QString& oneName)
{
    const ProcedureCatalogue& catalogue = ProcedureCatalogue::instance();
    const Procedure* searchAll = catalogue.find(allName);
    const Procedure* searchOne = catalogue.find(oneName);
    if (!searchAll || !searchOne) {
        ADD_FAILURE() << (searchAll ? oneName : allName).toStdString() << " is not in the catalogue";
        return;
    }
    const Shape rows = shapeOf(connection, *searchAll);
    if (!rows.failure.isEmpty()) {
        ADD_FAILURE() << allName.toStdString() << " cannot run: " << rows.failure.toStdString();
        return;
    }
    if (rows.firstIdentity.isNull()) {
        ADD_FAILURE() << allName.toStdString() << " lists no row of the sample data to look up with "
                      << oneName.toStdString();
        return;
    }
    const QString identityName = rows.columns.first().section(QLatin1Char(':'), 0, 0);
    if (searchOne->parameterIndex(identityName) < 0) {
        ADD_FAILURE() << oneName.toStdString() << " takes no @" << identityName.toStdString()
                      << ", the identity that " << allName.toStdString() << " gives first";
        return;
    }
    const Shape row = shapeOf(connection, *searchOne, identityName, rows.firstIdentity);
    if (!row.failure.isEmpty()) {
        ADD_FAILURE() << oneName.toStdString() << " cannot run: " << row.failure.toStdString();
        return;
    }
    EXPECT_EQ(row.columns.join(QStringLiteral(", ")).toStdString(), rows.columns.join(QStringLiteral(", ")).toStdString())
        << oneName.toStdString() << " gives other columns than " << allName.toStdString();
    EXPECT_EQ(row.firstIdentity, rows.firstIdentity) << oneName.toStdString() << " did not return the row it was asked for";
}

LoggedChange LastLoggedChange(DatabaseConnection& connection, const QString& table)
{
    const Recordset rs = connection.executeStatement(
        QStringLiteral("SELECT DB_Old_Values, DB_New_Values, DB_Table_Name FROM DB_Change_Log "
                       "WHERE lower(DB_Table_Name) = lower(?) ORDER BY DB_Change_Log_ID DESC LIMIT 1"),
        { table });
    if (rs.recordCount() == 0)
        return {};
    return { rs.valueAt(0, 0).toString(), rs.valueAt(0, 1).toString(), rs.valueAt(0, 2).toString() };
}

QStringList JsonKeysInOrder(const QString& json)
{
    QStringList keys;
    int depth = 0;
    for (int i = 0; i < json.size(); ++i) {
        const QChar c = json.at(i);
        if (c == QLatin1Char('{') || c == QLatin1Char('['))
            ++depth;
        else if (c == QLatin1Char('}') || c == QLatin1Char(']'))
            --depth;
        else if (c == QLatin1Char('"')) {
            QString text;
            for (++i; i < json.size() && json.at(i) != QLatin1Char('"'); ++i) {
                if (json.at(i) == QLatin1Char('\\'))
                    ++i;
                text += json.at(i);
            }
            int next = i + 1;
            while (next < json.size() && json.at(next).isSpace())
                ++next;
            if (depth == 1 && next < json.size() && json.at(next) == QLatin1Char(':'))
                keys << text;
        }
    }
    return keys;
}

void ExpectChangeLogKeysAsDeclared(
    DatabaseConnection& connection, DatabaseConnection& declared, const QString& table, const QString& identity)
{
    const Recordset count = connection.executeStatement(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    if (count.valueAt(0, 0).toInt() == 0) {
        ADD_FAILURE() << table.toStdString() << " has no row to change: add one to the sample rows";
        return;
    }
    connection.executeStatement(
        QStringLiteral("UPDATE %1 SET %2 = %2 WHERE %2 = (SELECT MIN(%2) FROM %1)").arg(table, identity));
    const LoggedChange logged = LastLoggedChange(connection, table);
    const std::string columns = columnsOf(declared, table).join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(logged.table.toStdString(), declaredName(declared, table).toStdString())
        << "the name the log gives " << table.toStdString();
    EXPECT_EQ(JsonKeysInOrder(logged.oldValues).join(QStringLiteral(", ")).toStdString(), columns)
        << logged.oldValues.toStdString();
    EXPECT_EQ(JsonKeysInOrder(logged.newValues).join(QStringLiteral(", ")).toStdString(), columns)
        << logged.newValues.toStdString();
}
