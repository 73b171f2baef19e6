// A throwaway window added by the recipe "How to add a custody window" (docs/ARCHITECTURE.md) and
// nothing else: its table and rows, its two search procedures, its sample row, its declaration,
// registration and menu line. Opened for add, it saves a record the search window then finds, and
// the table passes the per-table checks of the sweeps a new table enters (SearchPairs,
// ChangeLogKeys, MenuKeys); a recipe step that is missing or wrong fails here.

#include "../reference_tables/ReferenceFixture.h"

#include "core/Database.h"
#include "core/ProcedureCatalogue.h"
#include "core/Schema.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/zListView.h"
#include "main_window/MainMenuFile.h"
#include "support/SweepChecks.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <memory>

namespace {

// (4) The declaration.
DeclaredTable SealsTable()
{
    DeclaredTable seals = DeclaredTable::of(QStringLiteral("Recipe_Seals"), QStringLiteral("Recipe_Seal_ID"),
        QStringLiteral("frmRecipeSeal"), QStringLiteral("frmRecipeSeals"), QStringLiteral("Seal"),
        QStringLiteral("Seals"));
    seals.fields = {
        DeclaredField::text(QStringLiteral("ztxtName"), QStringLiteral("Recipe_Seal_Name"), QStringLiteral("Seal Name"))
            .length(30)
            .required()
            .unique(),
        DeclaredField::recordDate(
            QStringLiteral("zdatDate"), QStringLiteral("Sealed_Date"), QStringLiteral("Sealed Date")),
        DeclaredField::memo(QStringLiteral("ztxtNote"), QStringLiteral("Seal_Note"), QStringLiteral("Note")),
    };
    seals.criteria = { DeclaredField::text(
        QStringLiteral("ztxtName"), QStringLiteral("Recipe_Seal_Name"), QStringLiteral("Seal Name Like"))
                           .length(30) };
    return seals;
}

// (5) The registration, as the group's Register<Topic>Windows() does it.
void RegisterRecipeSealWindows()
{
    const DeclaredTable seals = SealsTable();
    FormRegistry::registerForm(seals.recordWindow, [seals] { return new DeclaredRecordWindow(seals); });
    FormRegistry::registerForm(seals.searchWindow, [seals] { return new DeclaredSearchWindow(seals); });
}

// (1) The table as the migration writes it, with the engine's type tokens.
QString CreateSealsTable(Engine engine)
{
    auto token = [engine](const char* name) { return SchemaToken(engine, QString::fromLatin1(name)); };
    return QStringLiteral("CREATE TABLE Recipe_Seals (Recipe_Seal_ID %1, Recipe_Seal_Name %2 NOT NULL UNIQUE, "
                          "Sealed_Date %3, Seal_Note %4)")
        .arg(token("{ID}"), token("{NAME}"), token("{DATE}"), token("{TEXT}"));
}

class RecipeWindow : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        // (1) The migration: the table with its type tokens, the two form rows and the table's row.
        owner().executeStatement(CreateSealsTable(GetParam()));
        for (const char* form : { "('frmRecipeSeal', 'Seal')", "('frmRecipeSeals', 'Seals')" })
            owner().executeStatement(
                QStringLiteral("INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ")
                + QString::fromLatin1(form));
        owner().executeStatement(QStringLiteral(
            "INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, DB_ID_Field, "
            "DB_Default_Permission, Single_Record_DB_App_Form_ID, Multiple_Records_DB_App_Form_ID)\n"
            "SELECT 'Recipe_Seals', 'Seals', 'Seal', 'Recipe_Seal_ID', 1, s.DB_App_Form_ID, m.DB_App_Form_ID\n"
            "FROM DB_App_Forms s, DB_App_Forms m WHERE s.DB_App_Form_Name = 'frmRecipeSeal' AND "
            "m.DB_App_Form_Name = 'frmRecipeSeals'"));
        RefreshChangeLogTriggers(owner());
        // (2) The procedures, as their files would hold them.
        ProcedureCatalogue& catalogue = ProcedureCatalogue::instance();
        catalogue.registerProcedure(ProcedureCatalogue::parse(QStringLiteral("usp_Evd_Search_Recipe_Seals_All"),
            QStringLiteral("-- @param Recipe_Seal_Name text\n"
                           "SELECT s.Recipe_Seal_ID AS \"Recipe_Seal_ID\", s.Recipe_Seal_Name AS \"Seal Name\",\n"
                           "       s.Sealed_Date AS \"Sealed Date\"\n"
                           "FROM Recipe_Seals s\n"
                           "WHERE (:Recipe_Seal_Name IS NULL OR s.Recipe_Seal_Name LIKE :Recipe_Seal_Name)\n"
                           "ORDER BY s.Recipe_Seal_Name\n"),
            QString(), QString()));
        catalogue.registerProcedure(ProcedureCatalogue::parse(QStringLiteral("usp_Evd_Search_Recipe_Seals_One"),
            QStringLiteral("-- @param Recipe_Seal_ID integer\n"
                           "SELECT s.Recipe_Seal_ID AS \"Recipe_Seal_ID\", s.Recipe_Seal_Name AS \"Seal Name\",\n"
                           "       s.Sealed_Date AS \"Sealed Date\"\n"
                           "FROM Recipe_Seals s WHERE s.Recipe_Seal_ID = :Recipe_Seal_ID\n"),
            QString(), QString()));
        // The test program starts each test with the windows registered at its start: a test
        // registers the windows it opens.
        RegisterRecipeSealWindows();
        permitLogin({ QStringLiteral("Recipe_Seals") });
    }
};

TEST_P(RecipeWindow, AddsARecordItsSearchWindowFinds)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmRecipeSeal"), QStringLiteral("Evidence Bag Seal"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->field(QStringLiteral("ztxtName"))->Text(), QStringLiteral("Evidence Bag Seal"));
    type(window->field(QStringLiteral("zdatDate")), QStringLiteral("03/14/2024"));
    type(window->field(QStringLiteral("ztxtNote")), QStringLiteral("Blue, unnumbered"));
    ASSERT_EQ(save(window), QString());
    const int identity = window->identity()->Value();
    EXPECT_GT(identity, 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Recipe_Seals WHERE Recipe_Seal_ID = %1 AND "
                                   "Recipe_Seal_Name = 'Evidence Bag Seal' AND Seal_Note = 'Blue, unnumbered'")
                        .arg(identity)),
        1);

    DeclaredSearchWindow* search = openSearch(QStringLiteral("frmRecipeSeals"));
    ASSERT_NE(search, nullptr);
    type(search->criteria().front(), QStringLiteral("Evidence Bag Seal"));
    click(search, "btnPopulate");
    QApplication::processEvents();
    ASSERT_EQ(search->grid()->CountItems(), 1);
    search->grid()->listView()->selectRow(0);
    EXPECT_EQ(search->grid()->SelectedItemID(), identity);
}

// The steps that make the table one of the sweeps' tables: a sample row (step (3) of the recipe, as
// database/sample/sample_records.sql writes it), then the per-table checks of SearchPairs and
// ChangeLogKeys, and the menu line of step (6) opening the search window through DB_Tables.
TEST_P(RecipeWindow, EntersTheSweepsOfANewTable)
{
    owner().executeStatement(QStringLiteral(
        "INSERT INTO Recipe_Seals (Recipe_Seal_Name, Sealed_Date, Seal_Note)\n"
        "SELECT 'Tamper Tape', '2024-01-05', 'Red, numbered' WHERE NOT EXISTS "
        "(SELECT 1 FROM Recipe_Seals WHERE Recipe_Seal_Name = 'Tamper Tape')"));

    ExpectSearchPairAgrees(
        owner(), QStringLiteral("usp_Evd_Search_Recipe_Seals_All"), QStringLiteral("usp_Evd_Search_Recipe_Seals_One"));

    // ChangeLogKeys compares with an embedded database of the shipped schema, which the migration
    // would extend by the table. No migration file declares the throwaway table, so a server keeps
    // its own (lower-case) names for it, as for any table no migration declares; a migration of
    // the table gives the declared spelling on both engines.
    TestDatabase declaredDatabase(Engine::SQLite);
    const std::unique_ptr<DatabaseConnection> declared = declaredDatabase.connect();
    const QString asDeclared = CreateSealsTable(Engine::SQLite);
    declared->executeStatement(GetParam() == Engine::PostgreSQL ? asDeclared.toLower() : asDeclared);
    ExpectChangeLogKeysAsDeclared(owner(), *declared, QStringLiteral("Recipe_Seals"), QStringLiteral("Recipe_Seal_ID"));

    // (6) The menu line: its key is the table, which DB_Tables leads to the search window.
    const MenuItem item = GetOneMenuItem(QStringLiteral("Recipe_Seals, _Seals"));
    OpenTableForm(item.Key);
    DeclaredSearchWindow* search = loaded<DeclaredSearchWindow>("frmRecipeSeals");
    ASSERT_NE(search, nullptr) << "the menu key did not open the search window";
    QApplication::processEvents();
    EXPECT_EQ(search->grid()->CountItems(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, RecipeWindow, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(RecipeWindow);

} // namespace
