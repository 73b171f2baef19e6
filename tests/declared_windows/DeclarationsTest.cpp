// The declarations sweep: every table declared on the pattern, in every library, agrees with what
// the database says of it and builds its windows. The menu opens a table through DB_Tables (its
// search window's name) and the record checks take the identity from DB_Tables.DB_ID_Field, so a
// declaration whose names differ from the table's row opens nothing or checks the wrong column;
// the search window calls the table's catalogue procedures; and a hook's control handle that names
// no control of its type makes its window refuse to build.

#include "administration/Administration.h"
#include "administration/AdministrationWindows.h"
#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "cases/NotificationWindows.h"
#include "cases/PeopleWindows.h"
#include "core/AppError.h"
#include "core/Database.h"
#include "core/ProcedureCatalogue.h"
#include "custody/CustodyWindows.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "form_framework/FormRegistry.h"
#include "list_controls/ListProcedures.h"
#include "list_controls/zComboBoxText.h"
#include "reference_tables/ReferenceTables.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace {

struct Declared {
    const char* library;
    DeclaredTable table;
};

// Every declaration of every library that declares windows on the pattern.
std::vector<Declared> EveryDeclaration()
{
    std::vector<Declared> all;
    const auto add = [&all](const char* library, const std::vector<DeclaredTable>& tables) {
        for (const DeclaredTable& table : tables)
            all.push_back({ library, table });
    };
    add("reference_tables", ReferenceTables());
    add("cases", CaseDeclarations());
    add("custody", CustodyDeclarations());
    add("administration", AdministrationDeclarations());
    return all;
}

void RegisterEveryWindow()
{
    RegisterListControlProcedures();
    RegisterCaseProcedures();
    RegisterReferenceTableForms();
    RegisterAdministrationForms();
    RegisterPeopleForms();
    RegisterCaseWindows();
    RegisterNotificationWindows();
    RegisterCustodyWindows();
}

// What the sweep checks of a declaration against the database.
enum class Check { RecordWindowRow, SearchWindowRow, Procedures };

// The declarations that differ from the database by design, and why. Keyed by the window that
// names the declaration (its record window, or its search window when it has none).
const std::map<QString, std::map<Check, const char*>>& Exceptions()
{
    static const std::map<QString, std::map<Check, const char*>> exceptions = {
        { QStringLiteral("frmBatchItemAdv"),
            { { Check::RecordWindowRow,
                  "the advanced pair over Batch_Items; the table's row names the plain frmBatchItem" },
                { Check::SearchWindowRow,
                    "the advanced pair over Batch_Items; the table's row names the plain frmBatchItems" } } },
        { QStringLiteral("frmUserInfo"),
            { { Check::RecordWindowRow, "the user's own options over DB_Users, whose row names frmUser" },
                { Check::SearchWindowRow, "a record window alone; DB_Users' row names frmUsers" } } },
        { QStringLiteral("frmDBOptions"),
            { { Check::Procedures, "the one row of DB_App_Options: no search window, so no search procedures" } } },
        { QStringLiteral("frmCurrentActivity"),
            { { Check::SearchWindowRow, "a window over the server's sessions; its table row names no search window" },
                { Check::Procedures, "its own search call (searchCall), no _All/_One pair" } } },
    };
    return exceptions;
}

QString KeyOf(const DeclaredTable& table)
{
    return table.recordWindow.isEmpty() ? table.searchWindow : table.recordWindow;
}

bool Excepted(const DeclaredTable& table, Check check)
{
    const auto found = Exceptions().find(KeyOf(table));
    return found != Exceptions().end() && found->second.count(check) > 0;
}

// Over a fresh database of the production schema with every window registered.
class WindowsFixture : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterEveryWindow();
    }
};

class DeclarationsSweep : public WindowsFixture { };

TEST_P(DeclarationsSweep, EveryDeclaredTableHasItsDatabaseRowWindowsAndProcedures)
{
    DatabaseConnection* connection = DBConnection();
    const std::vector<Declared> declarations = EveryDeclaration();
    std::set<std::string> libraries;
    for (const Declared& declared : declarations)
        libraries.insert(declared.library);
    EXPECT_EQ(libraries.size(), 4u) << "a library declares nothing";
    for (const auto& [library, table] : declarations) {
        SCOPED_TRACE(std::string(library) + ": " + KeyOf(table).toStdString() + " over " + table.table.toStdString());
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
        if (!Excepted(table, Check::RecordWindowRow)) {
            EXPECT_EQ(row.valueAt(0, 1).toString().toStdString(), table.recordWindow.toStdString()) << "record window";
        }
        if (!Excepted(table, Check::SearchWindowRow)) {
            EXPECT_EQ(row.valueAt(0, 2).toString().toStdString(), table.searchWindow.toStdString()) << "search window";
        }
        if (Excepted(table, Check::Procedures))
            continue;
        for (const QString& call : { table.searchProcedure(), table.searchOneProcedure() }) {
            const QString name = call.section(QLatin1Char(' '), 1);
            EXPECT_TRUE(ProcedureCatalogue::instance().contains(name))
                << name.toStdString() << " is not in the catalogue";
        }
    }
}

// Every declared window is registered and builds: its record window with every control its hooks
// name through a handle, of the handle's type; its search window. A misspelt control name fails
// here, naming the window and the control.
TEST_P(DeclarationsSweep, EveryDeclaredWindowBuildsWithEveryControlItsHooksName)
{
    std::set<QString> recordWindows;
    for (const auto& [library, table] : EveryDeclaration()) {
        SCOPED_TRACE(std::string(library) + ": " + KeyOf(table).toStdString());
        if (!table.recordWindow.isEmpty()) {
            recordWindows.insert(table.recordWindow.toLower());
            ASSERT_TRUE(FormRegistry::contains(table.recordWindow)) << "not registered";
            std::unique_ptr<DataWindow> built;
            try {
                built.reset(FormRegistry::create(table.recordWindow));
            } catch (const AppError& refused) {
                ADD_FAILURE() << refused.description().toStdString();
                continue;
            }
            auto* window = qobject_cast<DeclaredRecordWindow*>(built.get());
            ASSERT_NE(window, nullptr) << "not a declared record window";
            EXPECT_EQ(window->table().table.toStdString(), table.table.toStdString())
                << "registered over another table";
            // The registered window holds every handle naming it (one whose declaration set its
            // record window after of() would not), and each finds its control.
            for (const ControlHandle* handle : ControlHandle::naming(table.recordWindow)) {
                EXPECT_EQ(handle->problemIn(*window).toStdString(), "") << handle->name().toStdString();
            }
        }
        if (!table.searchWindow.isEmpty()) {
            ASSERT_TRUE(FormRegistry::contains(table.searchWindow)) << "not registered";
            const std::unique_ptr<DataWindow> built(FormRegistry::create(table.searchWindow));
            auto* window = qobject_cast<DeclaredSearchWindow*>(built.get());
            ASSERT_NE(window, nullptr) << "not a declared search window";
            EXPECT_EQ(window->table().table.toStdString(), table.table.toStdString())
                << "registered over another table";
        }
    }
    // A handle naming a window that is no declared record window belongs to a window of fields only,
    // which checks its handles as it makes its fields: that window must be registered and build.
    // A handle naming no window at all would never be checked.
    std::set<QString> fieldsOnly;
    for (const ControlHandle* handle : ControlHandle::all()) {
        for (const QString& window : handle->windows()) {
            if (recordWindows.count(window.toLower()) > 0)
                continue;
            EXPECT_TRUE(FormRegistry::contains(window))
                << "the handle of " << handle->name().toStdString() << " names " << window.toStdString()
                << ", which is no declared record window and no registered window";
            if (FormRegistry::contains(window))
                fieldsOnly.insert(window);
        }
    }
    for (const QString& window : fieldsOnly) {
        SCOPED_TRACE(window.toStdString());
        try {
            const std::unique_ptr<DataWindow> built(FormRegistry::create(window));
            EXPECT_NE(built, nullptr);
        } catch (const AppError& refused) {
            ADD_FAILURE() << refused.description().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, DeclarationsSweep, ::testing::ValuesIn(TestEngines()), EngineTestName);

// A handle that names no control, or a control of another type, stops its window from being built
// with a message naming both; the window builds again once the handle is gone.
class DeclaredControls : public WindowsFixture { };

TEST_P(DeclaredControls, AWrongNameOrTypeRefusesTheWindowNamingItAndTheControl)
{
    struct Case {
        const char* control;
        const char* message;
    };
    const Case cases[] = {
        { "zcbtNoSuchControl", "The window <frmCaseStatus> cannot be built: it has no control <zcbtNoSuchControl>." },
        { "ztxtName",
            "The window <frmCaseStatus> cannot be built: its control <ztxtName> is a zText, not a "
            "zComboBoxText." },
    };
    // The declaration as the program makes it, taking the handles there are at the time.
    const auto caseStatuses = [] {
        for (const DeclaredTable& table : CaseClassificationTables())
            if (table.recordWindow == QLatin1String("frmCaseStatus"))
                return table;
        return DeclaredTable {};
    };
    for (const Case& wrong : cases) {
        SCOPED_TRACE(wrong.control);
        const DeclaredControl<zComboBoxText> handle { { "frmCaseStatus" }, wrong.control };
        try {
            const DeclaredRecordWindow window(caseStatuses());
            ADD_FAILURE() << "the window was built";
        } catch (const AppError& refused) {
            EXPECT_EQ(refused.description().toStdString(), wrong.message);
        }
    }
    const DeclaredRecordWindow window(caseStatuses());
    EXPECT_TRUE(window.table().controls.empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, DeclaredControls, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
