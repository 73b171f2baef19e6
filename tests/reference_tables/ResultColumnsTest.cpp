// The result columns of the catalogue procedures are the same on both engines: the same names in
// the same letter case and order, and the same logical types. Grid captions, text and workbook
// headers, rowset files and kept column widths all take their names from there, so a column that
// PostgreSQL folds to lower case shows up as a different column.

#include "ReferenceFixture.h"

#include "core/AppError.h"
#include "exports/Exports.h"
#include "list_controls/ListProcedures.h"
#include "core/ProcedureCatalogue.h"
#include "core/Schema.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Arguments for the parameters whose NULL would tell the procedure nothing: a value, or a query
// run on the engine's own database so that both engines get a row that exists there. Integer
// identities ("..._ID") are found through DB_Tables; every other parameter is NULL.
struct Argument {
    const char* parameter;
    const char* value;
    bool query = false;
};

const Argument kArguments[] = {
    { "DB_Table_Name", "Case_Statuses" },
    { "DB_PK", "SELECT MIN(Case_Status_ID) FROM Case_Statuses", true },
    { "DB_Action_Code", "SELECT MIN(DB_Action_Code) FROM DB_Actions", true },
    { "DB_Report_Code", "SELECT MIN(DB_Report_Code) FROM DB_Reports", true },
    { "DB_Table_Action_Name", "View" },
    { "DB_App_Form_Name", "frmCaseStatuses" },
    { "DB_App_Grid_Name", "zlvwData" },
    { "DB_Width_Twips", "9000" },
    { "DB_Height_Twips", "6000" },
    { "Setting_Name", "SELECT MIN(DB_Setting_Name) FROM DB_Setting_Defaults", true },
    { "Setting_Value", "'Kept'" },
    { "Column_Width_SQL", "SELECT 'Name', 1800" },
    { "SP_Name", "usp_Evd_Search_Case_Statuses_All" },
    { "ID_List", "1,2,3" },
};

// One engine's database of the production schema with the sample reference rows, and a
// connection of its own to it.
struct EngineDatabase {
    explicit EngineDatabase(Engine engine)
        : database(std::make_unique<TestDatabase>(engine))
        , connection(database->connect())
    {
        LoadSampleData(*connection);
    }

    QVariant scalar(const QString& sql) const
    {
        const Recordset rs = connection->executeStatement(sql);
        return rs.recordCount() > 0 ? rs.valueAt(0, 0) : QVariant();
    }

    QVariant argument(const ProcedureParameter& parameter) const
    {
        for (const Argument& given : kArguments) {
            if (parameter.name.compare(QLatin1String(given.parameter), Qt::CaseInsensitive) == 0)
                return given.query ? scalar(QString::fromLatin1(given.value))
                                   : QVariant(QString::fromLatin1(given.value));
        }
        if (parameter.type == ParameterType::Integer
            && parameter.name.endsWith(QLatin1String("_ID"), Qt::CaseInsensitive)) {
            const Recordset table = connection->executeStatement(
                QStringLiteral("SELECT DB_Table_Name FROM DB_Tables WHERE lower(DB_ID_Field) = lower(?)"),
                { parameter.name });
            if (table.recordCount() > 0)
                return scalar(
                    QStringLiteral("SELECT MIN(%1) FROM %2").arg(parameter.name, table.valueAt(0, 0).toString()));
        }
        return {};
    }

    // Every result set's columns as "Name:Type", one line per result set; the failure when the
    // procedure cannot run.
    QStringList shape(const Procedure& procedure, QString& failure) const
    {
        std::vector<QVariant> arguments;
        for (const ProcedureParameter& parameter : procedure.parameters)
            arguments.push_back(argument(parameter));
        QStringList sets;
        try {
            Recordset result = connection->callProcedure(procedure, arguments);
            if (!result.isOpen())
                return sets;
            do {
                QStringList columns;
                for (int column = 0; column < result.fieldCount(); ++column)
                    columns << result.fieldName(column) + QLatin1Char(':') + ColumnTypeName(result.fieldType(column));
                sets << columns.join(QStringLiteral(", "));
            } while (result.nextRecordset());
        } catch (const AppError& error) {
            failure = error.description();
        }
        return sets;
    }

    std::unique_ptr<TestDatabase> database;
    std::unique_ptr<DatabaseConnection> connection;
};

} // namespace

TEST(ResultColumns, EveryCatalogueProcedureGivesTheSameColumnsOnBothEngines)
{
    if (!RequireEngine(Engine::PostgreSQL))
        GTEST_SKIP() << "no PostgreSQL cluster is running";
    RegisterListControlProcedures();
    const EngineDatabase sqlite(Engine::SQLite);
    const EngineDatabase postgres(Engine::PostgreSQL);

    const QStringList names = ProcedureCatalogue::instance().names();
    ASSERT_TRUE(names.contains(QStringLiteral("usp_Evd_Search_Case_Statuses_All")));
    for (const QString& name : names) {
        const Procedure* procedure = ProcedureCatalogue::instance().find(name);
        QString sqliteFailure;
        QString postgresFailure;
        const QStringList onSqlite = sqlite.shape(*procedure, sqliteFailure);
        const QStringList onPostgres = postgres.shape(*procedure, postgresFailure);
        EXPECT_TRUE(sqliteFailure.isEmpty())
            << name.toStdString() << " cannot run on SQLite: " << sqliteFailure.toStdString();
        EXPECT_TRUE(postgresFailure.isEmpty())
            << name.toStdString() << " cannot run on PostgreSQL: " << postgresFailure.toStdString();
        if (sqliteFailure.isEmpty() && postgresFailure.isEmpty()) {
            EXPECT_EQ(onPostgres.join(QStringLiteral(" | ")).toStdString(),
                onSqlite.join(QStringLiteral(" | ")).toStdString())
                << name.toStdString() << ": PostgreSQL's columns differ from SQLite's";
        }
    }
}

// What the user sees of it: the text export of a search shows its identity column as declared.
class ResultHeaders : public ReferenceTest { };

TEST_P(ResultHeaders, TextExportOfASearchKeepsTheDeclaredColumnNames)
{
    ExportToText(QStringLiteral("EXEC usp_Evd_Search_Case_Statuses_All"), QStringLiteral("Case Statuses"), QString());
    ASSERT_EQ(viewers->texts.size(), 1);
    EXPECT_TRUE(viewers->texts.front().contains(QStringLiteral("\r\nCase_Status_ID\tName\tCode\r\n")))
        << viewers->texts.front().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, ResultHeaders, ::testing::ValuesIn(TestEngines()), EngineTestName);
