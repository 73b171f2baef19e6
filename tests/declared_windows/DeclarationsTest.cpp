// A lookup table's declaration agrees with what the database says of it. The menu opens a table
// through DB_Tables (its search window's name) and the record checks take the identity from
// DB_Tables.DB_ID_Field, so a declaration whose names differ from the table's row opens nothing
// or checks the wrong column; and the search window calls the table's catalogue procedures.

#include "core/ProcedureCatalogue.h"
#include "reference_tables/ReferenceTables.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class DeclarationsSweep : public ::testing::TestWithParam<Engine> { };

TEST_P(DeclarationsSweep, EveryDeclaredTableHasItsDatabaseRowWindowsAndProcedures)
{
    if (!RequireEngine(GetParam()))
        GTEST_SKIP() << "no PostgreSQL cluster is running";
    const TestDatabase database(GetParam());
    const std::unique_ptr<DatabaseConnection> connection = database.connect();
    const std::vector<DeclaredTable> tables = ReferenceTables();
    ASSERT_FALSE(tables.empty());
    for (const DeclaredTable& table : tables) {
        SCOPED_TRACE(table.table.toStdString());
        const Recordset row = connection->executeStatement(
            QStringLiteral("SELECT t.DB_ID_Field, s.DB_App_Form_Name, m.DB_App_Form_Name\n"
                           "FROM DB_Tables t\n"
                           "LEFT JOIN DB_App_Forms s ON s.DB_App_Form_ID = t.Single_Record_DB_App_Form_ID\n"
                           "LEFT JOIN DB_App_Forms m ON m.DB_App_Form_ID = t.Multiple_Records_DB_App_Form_ID\n"
                           "WHERE t.DB_Table_Name = ?"),
            { table.table });
        if (row.recordCount() == 0) {
            ADD_FAILURE() << "table " << table.table.toStdString() << " is declared but has no row in DB_Tables";
            continue;
        }
        EXPECT_EQ(row.valueAt(0, 0).toString().toStdString(), table.identityField.toStdString()) << "DB_ID_Field";
        EXPECT_EQ(row.valueAt(0, 1).toString().toStdString(), table.recordWindow.toStdString()) << "record window";
        EXPECT_EQ(row.valueAt(0, 2).toString().toStdString(), table.searchWindow.toStdString()) << "search window";
        for (const QString& call : { table.searchProcedure(), table.searchOneProcedure() }) {
            const QString name = call.section(QLatin1Char(' '), 1);
            EXPECT_TRUE(ProcedureCatalogue::instance().contains(name))
                << name.toStdString() << " is not in the catalogue";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, DeclarationsSweep, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
