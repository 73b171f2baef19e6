// The administration's database side: where the settings that live in framework rows are kept,
// the searches and pickers of the administration windows, the folder register and the
// permission procedures answering from the rows those windows write.

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/LoginAdministration.h"
#include "core/Schema.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Administration : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
    }

    DatabaseConnection& db() { return *DBConnection(); }

    QVariant scalar(const QString& sql, const std::vector<QVariant>& values = {})
    {
        const Recordset rs = db().executeStatement(sql, values);
        return rs.recordCount() > 0 ? rs.valueAt(0, 0) : QVariant();
    }

    // One column of every row a command text gives, as text.
    QStringList column(const QString& command, int index)
    {
        QStringList values;
        Recordset rs = db().execute(command);
        for (int row = 0; row < rs.recordCount(); ++row)
            values << rs.valueAt(row, index).toString();
        return values;
    }

    int userId(const QString& name)
    {
        return scalar(QStringLiteral("SELECT DB_User_ID FROM DB_Users WHERE DB_User_Name = ?"), { name }).toInt();
    }

    int addUser(const QString& name, bool admin = false)
    {
        db().executeStatement(QStringLiteral("INSERT INTO DB_Users (DB_User_Name, DB_Last_Name, DB_First_Name, "
                                             "DB_Sys_Admin) VALUES (?, 'Last', 'First', ?)"),
            { name, admin ? 1 : 0 });
        return userId(name);
    }

    int idOf(const char* table, const char* idColumn, const char* nameColumn, const QString& name)
    {
        return scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                          .arg(QLatin1String(idColumn), QLatin1String(table), QLatin1String(nameColumn)),
            { name })
            .toInt();
    }
    int tableId(const QString& name) { return idOf("DB_Tables", "DB_Table_ID", "DB_Table_Name", name); }
    int actionId(const QString& name)
    {
        return idOf("DB_Table_Actions", "DB_Table_Action_ID", "DB_Table_Action_Name", name);
    }
};

// --- Settings kept in framework rows ----------------------------------------------------------

// The program saves and reads both settings by name, as before; they land in the user's row and
// the database's options, and nothing is left in the per-user settings under their names.
TEST_P(Administration, TheSettingsOfFrameworkRowsReachTheirRows)
{
    const struct {
        const char* name;
        QVariant value;
        const char* stored; // the column of the setting's row
        long long number; // the column's value after the save
        const char* read; // what the setting reads after the save
    } cases[] = {
        { "DB_Prompt_Database_Switch", false,
            "SELECT DB_Prompt_Database_Switch FROM DB_Users WHERE DB_User_Name = SUSER_NAME()", 0, "0" },
        { "DB_Prompt_Database_Switch", true,
            "SELECT DB_Prompt_Database_Switch FROM DB_Users WHERE DB_User_Name = SUSER_NAME()", 1, "1" },
        { "db_prompt_database_switch", QStringLiteral("0"),
            "SELECT DB_Prompt_Database_Switch FROM DB_Users WHERE DB_User_Name = SUSER_NAME()", 0, "0" },
        { "DB_Background_Color", 65280.0,
            "SELECT DB_Background_Color FROM DB_App_Options WHERE DB_Database_Code = DB_NAME()", 65280, "65280" },
        { "DB_BACKGROUND_COLOR", 255,
            "SELECT DB_Background_Color FROM DB_App_Options WHERE DB_Database_Code = DB_NAME()", 255, "255" },
    };
    for (const auto& c : cases) {
        const QString name = QString::fromLatin1(c.name);
        SCOPED_TRACE(name.toStdString() + " = " + c.value.toString().toStdString());
        ASSERT_TRUE(Act_SaveSettingDB(name, c.value));
        EXPECT_EQ(scalar(QString::fromLatin1(c.stored)).toLongLong(), c.number);
        QVariant value;
        ASSERT_TRUE(Act_GetSettingDB(name, value));
        EXPECT_EQ(value.toString(), QString::fromLatin1(c.read));
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM DB_User_Settings WHERE DB_Setting_Name IN "
                                    "('DB_Prompt_Database_Switch', 'DB_Background_Color')"))
                  .toInt(),
        0);

    // A database whose options row carries another name (a copied embedded file) reads the
    // column's default colour rather than failing every start of the main window.
    db().executeStatement(QStringLiteral("UPDATE DB_App_Options SET DB_Database_Code = 'copied_from'"));
    QVariant colour;
    ASSERT_TRUE(Act_GetSettingDB(QStringLiteral("DB_Background_Color"), colour));
    EXPECT_EQ(colour.toString(), QStringLiteral("12632256"));

    // The other settings keep their own store, quotes and all.
    ASSERT_TRUE(Act_SaveSettingDB(QStringLiteral("DefaultFolder"), QStringLiteral("/srv/o'brien's 100%")));
    QVariant folder;
    ASSERT_TRUE(Act_GetSettingDB(QStringLiteral("DefaultFolder"), folder));
    EXPECT_EQ(folder.toString(), QStringLiteral("/srv/o'brien's 100%"));
    EXPECT_TRUE(Prompts().boxes.empty());
}

// A clerk saves their own prompt choice on either engine; on the server the database's colour
// stays the administrators' (the server refuses the clerk's save and the colour is unchanged).
TEST_P(Administration, AClerkSavesTheirOwnPromptButNotTheDatabaseColour)
{
    const QString clerk = QStringLiteral("adm_clerk_%1").arg(QCoreApplication::applicationPid());
    m_database->createLogin(clerk, QStringLiteral("Secret1"));
    ConnectionTarget target = m_database->target();
    if (GetParam() == Engine::PostgreSQL)
        target.server = QStringLiteral("127.0.0.1:") + qEnvironmentVariable("PGPORT");
    auto connection = DatabaseConnection::open(target, Credentials { false, clerk, QStringLiteral("Secret1") });

    connection->execute(QStringLiteral("EXEC usp_DB_Setting_Save @Setting_Name = 'DB_Prompt_Database_Switch', "
                                       "@Setting_Value = '0'"));
    connection->execute(
        QStringLiteral("EXEC usp_DB_Setting_Save @Setting_Name = 'DB_Show_Toolbar', @Setting_Value = '0'"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT DB_Prompt_Database_Switch FROM DB_Users WHERE DB_User_Name = ?"), { clerk })
                  .toInt(),
        0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT DB_Prompt_Database_Switch FROM DB_Users WHERE DB_User_Name = SUSER_NAME()"))
                  .toInt(),
        1)
        << "the administrator's own choice is untouched";
    Recordset read = connection->execute(QStringLiteral("EXEC usp_DB_Setting_Get @Setting_Name = 'DB_Show_Toolbar'"));
    ASSERT_EQ(read.recordCount(), 1);
    EXPECT_EQ(read.valueAt(0, 0).toString(), QStringLiteral("0"));

    if (GetParam() == Engine::PostgreSQL) {
        EXPECT_THROW(connection->execute(QStringLiteral(
                         "EXEC usp_DB_Setting_Save @Setting_Name = 'DB_Background_Color', @Setting_Value = '255'")),
            AppError);
        EXPECT_EQ(scalar(QStringLiteral("SELECT DB_Background_Color FROM DB_App_Options")).toInt(), 12632256);
    }
}

// A database of the version before: a user's own prompt choice moves into the user's row; the
// defaults and per-user rows of both names go; other settings stay.
TEST_P(Administration, TheUpgradeCarriesAUsersPromptChoiceIntoTheUserRow)
{
    addUser(QStringLiteral("moved_off"));
    addUser(QStringLiteral("moved_on"));
    addUser(QStringLiteral("never_chose"));
    // As the version before left it: the new tables and rows absent, both settings in the old store
    // (the later tables that refer to the folder register go first).
    for (const char* statement : {
             "DROP TABLE Item_Files",
             "DROP TABLE DB_Files",
             "DROP TABLE DB_File_Updates",
             "DROP TABLE DB_File_Names",
             "DROP TABLE DB_Folders",
             "DELETE FROM DB_Tables WHERE DB_Table_Name IN ('DB_File_Updates', 'DB_File_Names', 'DB_Folders')",
             "DELETE FROM DB_App_Forms WHERE DB_App_Form_Name IN ('frmFileUpdate', 'frmFileUpdates')",
             "INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Background_Color', "
             "'12632256')",
             "INSERT INTO DB_Setting_Defaults (DB_Setting_Name, DB_Setting_Value) VALUES ('DB_Prompt_Database_Switch', "
             "'1')",
             "INSERT INTO DB_User_Settings (DB_Login_Name, DB_Setting_Name, DB_Setting_Value) VALUES "
             "('MOVED_OFF', 'DB_Prompt_Database_Switch', '0')",
             "INSERT INTO DB_User_Settings (DB_Login_Name, DB_Setting_Name, DB_Setting_Value) VALUES "
             "('moved_on', 'DB_Prompt_Database_Switch', '1')",
             "INSERT INTO DB_User_Settings (DB_Login_Name, DB_Setting_Name, DB_Setting_Value) VALUES "
             "('moved_off', 'DB_Background_Color', '255')",
             "INSERT INTO DB_User_Settings (DB_Login_Name, DB_Setting_Name, DB_Setting_Value) VALUES "
             "('moved_off', 'DB_Show_Toolbar', '0')",
             "UPDATE DB_Users SET DB_Prompt_Database_Switch = 1",
         })
        db().executeStatement(QString::fromLatin1(statement));

    for (const QString& statement : SchemaStatements(db(), QStringLiteral("0016_administration")))
        db().executeStatement(statement);

    const struct {
        const char* user;
        int prompt;
    } users[] = { { "moved_off", 0 }, { "moved_on", 1 }, { "never_chose", 1 } };
    for (const auto& u : users) {
        EXPECT_EQ(scalar(QStringLiteral("SELECT DB_Prompt_Database_Switch FROM DB_Users WHERE DB_User_Name = ?"),
                      { QString::fromLatin1(u.user) })
                      .toInt(),
            u.prompt)
            << u.user;
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM DB_Setting_Defaults WHERE DB_Setting_Name IN "
                                    "('DB_Prompt_Database_Switch', 'DB_Background_Color')"))
                  .toInt(),
        0);
    EXPECT_EQ(column(QStringLiteral("SELECT DB_Setting_Name FROM DB_User_Settings ORDER BY DB_Setting_Name"), 0),
        QStringList { QStringLiteral("DB_Show_Toolbar") });
    EXPECT_EQ(column(QStringLiteral("EXEC usp_DB_Get_Info_For_Drop_Down_Button @DB_Table_Name = 'DB_File_Updates'"), 2),
        QStringList { QStringLiteral("frmFileUpdates") });
}

// --- Searches and pickers -----------------------------------------------------------------------

// Every criterion empty lists every row; one criterion narrows by it alone. Texts are matched as
// beginnings in any letter case; quotes are data, and "%" matches as the pattern it is.
TEST_P(Administration, SearchesAnswerEveryCriterionEmptyAndOneCriterion)
{
    const int alice = addUser(QStringLiteral("alice"));
    const int obrien = addUser(QStringLiteral("o'brien"));
    const int users = tableId(QStringLiteral("DB_Users"));
    const int folders = tableId(QStringLiteral("DB_Folders"));
    const int view = actionId(QStringLiteral("View"));
    const int remove = actionId(QStringLiteral("Delete"));
    const QString insert
        = QStringLiteral("INSERT INTO DB_Table_Permissions (DB_User_ID, DB_Table_ID, DB_Table_Action_ID, "
                         "DB_Permission) VALUES (?, ?, ?, ?)");
    db().executeStatement(insert, { alice, users, view, 1 });
    db().executeStatement(insert, { alice, folders, remove, 0 });
    db().executeStatement(insert, { obrien, users, remove, 1 });
    const int renameFiles = idOf("DB_Actions", "DB_Action_ID", "DB_Action_Code", QStringLiteral("RenameFiles"));
    const int dbChanges = idOf("DB_Reports", "DB_Report_ID", "DB_Report_Code", QStringLiteral("DB_Changes"));
    db().executeStatement(QStringLiteral("INSERT INTO DB_Action_Permissions (DB_User_ID, DB_Action_ID) VALUES (?, ?)"),
        { obrien, renameFiles });
    db().executeStatement(QStringLiteral("INSERT INTO DB_Report_Permissions (DB_User_ID, DB_Report_ID) VALUES (?, ?)"),
        { alice, dbChanges });

    db().executeStatement(
        QStringLiteral("INSERT INTO DB_Folders (DB_Folder_Name) VALUES ('/srv/app'), ('/opt/client')"));
    db().executeStatement(QStringLiteral("INSERT INTO DB_File_Names (DB_File_Name, DB_Program_File) VALUES "
                                         "('Bramblecot_Main', 1), ('Bramblecot_Start', 1), ('readme.txt', 0)"));
    const int server = idOf("DB_Folders", "DB_Folder_ID", "DB_Folder_Name", QStringLiteral("/srv/app"));
    const int client = idOf("DB_Folders", "DB_Folder_ID", "DB_Folder_Name", QStringLiteral("/opt/client"));
    for (const char* file : { "Bramblecot_Main", "readme.txt" }) {
        db().executeStatement(QStringLiteral("INSERT INTO DB_File_Updates (DB_File_Name_ID, Server_DB_Folder_ID, "
                                             "Client_DB_Folder_ID, File_Version) VALUES (?, ?, ?, '1.2')"),
            { idOf("DB_File_Names", "DB_File_Name_ID", "DB_File_Name", QString::fromLatin1(file)), server, client });
    }

    const QString allTables = QStringLiteral("EXEC usp_DB_Search_DB_Table_Permissions_All ");
    const struct {
        QString command;
        int column;
        QStringList expected;
    } cases[] = {
        { allTables, 1, { "alice", "alice", "o'brien" } },
        { allTables + QStringLiteral("@DB_Table_Action_ID = %1").arg(remove), 3, { "Delete", "Delete" } },
        { allTables + QStringLiteral("@DB_User_ID = %1").arg(alice), 2, { "DB_Folders", "DB_Users" } },
        { allTables + QStringLiteral("@DB_Table_ID = %1, @DB_User_ID = %2").arg(users).arg(obrien), 3, { "Delete" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_Action_Permissions_All "), 2, { "Rename Files" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_Action_Permissions_All @DB_User_ID = %1").arg(alice), 2, {} },
        { QStringLiteral("EXEC usp_DB_Search_DB_Report_Permissions_All @DB_Report_ID = %1").arg(dbChanges), 1,
            { "alice" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_Users_All @DB_User_Name = 'O''B'"), 1, { "o'brien" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_Users_All @DB_User_Name = 'AL'"), 1, { "alice" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_Users_All @DB_User_Name = '%''b'"), 1, { "o'brien" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_Users_All @DB_User_Name = 'nobody'"), 1, {} },
        { QStringLiteral("EXEC usp_DB_Search_DB_Tables_All @DB_Table_Name = 'db_file'"), 1,
            { "DB_File_Names", "DB_File_Updates", "DB_Files" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_Actions_All "), 2, { "RenameFiles", "ReplaceText" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_Actions_All @DB_Action_Name = 'Ren'"), 1, { "Rename Files" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_Reports_All "), 2,
            { "AllTables", "DB_Changes", "RunSQLtoExcelReport" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_File_Updates_All "), 1, { "Bramblecot_Main", "readme.txt" } },
        { QStringLiteral("EXEC usp_DB_Search_DB_File_Updates_All @DB_File_Name = 'READ'"), 4, { "/srv/app" } },
        { QStringLiteral("EXEC usp_DB_DropDown_DB_File_Names_Program "), 1, { "Bramblecot_Main", "Bramblecot_Start" } },
        { QStringLiteral("EXEC usp_DB_Combo_DB_Table_Actions "), 1, { "View", "Add", "Edit", "Delete" } },
        { QStringLiteral("EXEC usp_DB_Combo_DB_Reports "), 1,
            { "All Tables", "Database Changes", "Run SQL to Excel Report" } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(column(c.command, c.column), c.expected) << c.command.toStdString();

    // The single-row searches give the row with the columns of the list.
    const int permission = scalar(QStringLiteral("SELECT DB_Table_Permission_ID FROM DB_Table_Permissions WHERE "
                                                 "DB_User_ID = ? AND DB_Table_ID = ?"),
        { obrien, users })
                               .toInt();
    Recordset all = db().execute(allTables);
    Recordset one = db().execute(
        QStringLiteral("EXEC usp_DB_Search_DB_Table_Permissions_One @DB_Table_Permission_ID = %1").arg(permission));
    ASSERT_EQ(one.recordCount(), 1);
    ASSERT_EQ(one.fieldCount(), all.fieldCount());
    for (int i = 0; i < one.fieldCount(); ++i)
        EXPECT_EQ(one.fieldName(i), all.fieldName(i));
    EXPECT_EQ(one.valueAt(0, 0).toInt(), permission);
    EXPECT_EQ(one.valueAt(0, 1).toString(), QStringLiteral("o'brien"));
}

// --- Folder register ----------------------------------------------------------------------------

TEST_P(Administration, FolderTextsAreFoundOrRegisteredAndIdentitiesGiveThemBack)
{
    const auto folderId = [this](const QString& text) {
        Recordset rs
            = db().execute(QStringLiteral("EXEC usp_DB_Get_DB_Folder_ID @DB_Folder_Name = ") + SQLString(text));
        return rs.recordCount() > 0 ? rs.valueAt(0, 0) : QVariant();
    };
    const QVariant first = folderId(QStringLiteral("  /srv/o'brien/100%  "));
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(folderId(QStringLiteral("/srv/o'brien/100%")), first) << "the trimmed text is found again";
    const QVariant other = folderId(QStringLiteral("/SRV/o'brien/100%"));
    EXPECT_NE(other, first) << "paths compare exactly";
    EXPECT_TRUE(folderId(QStringLiteral("   ")).isNull());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM DB_Folders")).toInt(), 2);

    EXPECT_EQ(column(QStringLiteral("EXEC usp_DB_Get_Folder_From_ID @DB_Folder_ID = %1").arg(first.toInt()), 0),
        QStringList { QStringLiteral("/srv/o'brien/100%") });
    EXPECT_TRUE(column(QStringLiteral("EXEC usp_DB_Get_Folder_From_ID @DB_Folder_ID = NULL"), 0).isEmpty());
    EXPECT_TRUE(column(QStringLiteral("EXEC usp_DB_Get_Folder_From_ID @DB_Folder_ID = 0"), 0).isEmpty());
}

// --- Permission procedures ------------------------------------------------------------------------

// A clerk's answers come from their own rows, else the object's default; an administrator may do
// everything whatever the rows say.
TEST_P(Administration, PermissionProceduresAnswerFromTheRows)
{
    const QString clerk = QStringLiteral("adm_perm_%1").arg(QCoreApplication::applicationPid());
    m_database->createLogin(clerk, QStringLiteral("Secret1"));
    const int clerkId = userId(clerk);
    ASSERT_GT(clerkId, 0);
    const QString insert
        = QStringLiteral("INSERT INTO DB_Table_Permissions (DB_User_ID, DB_Table_ID, DB_Table_Action_ID, "
                         "DB_Permission) VALUES (?, ?, ?, ?)");
    db().executeStatement(
        insert, { clerkId, tableId(QStringLiteral("DB_File_Updates")), actionId(QStringLiteral("View")), 1 });
    db().executeStatement(
        insert, { clerkId, tableId(QStringLiteral("DB_Folders")), actionId(QStringLiteral("Add")), 0 });
    db().executeStatement(QStringLiteral("INSERT INTO DB_Action_Permissions (DB_User_ID, DB_Action_ID, DB_Permission) "
                                         "VALUES (?, ?, 1)"),
        { clerkId, idOf("DB_Actions", "DB_Action_ID", "DB_Action_Code", QStringLiteral("RenameFiles")) });
    db().executeStatement(QStringLiteral("INSERT INTO DB_Report_Permissions (DB_User_ID, DB_Report_ID, DB_Permission) "
                                         "VALUES (?, ?, 0)"),
        { clerkId, idOf("DB_Reports", "DB_Report_ID", "DB_Report_Code", QStringLiteral("AllTables")) });

    const struct {
        const char* command;
        bool clerk; // as the clerk
        bool admin; // as the same user once an administrator
    } cases[] = {
        { "EXEC usp_DB_Get_DB_Table_Permission @DB_Table_Action_Name = 'View', @DB_Table_Name = 'DB_File_Updates'",
            true, true },
        { "EXEC usp_DB_Get_DB_Table_Permission @DB_Table_Action_Name = 'Edit', @DB_Table_Name = 'DB_File_Updates'",
            false, true },
        { "EXEC usp_DB_Get_DB_Table_Permission @DB_Table_Action_Name = 'Add', @DB_Table_Name = 'DB_Folders'", false,
            true },
        { "EXEC usp_DB_Get_DB_Table_Permission @DB_Table_Action_Name = 'add', @DB_Table_Name = 'db_folders'", false,
            true },
        { "EXEC usp_DB_Get_DB_Table_Permission @DB_Table_Action_Name = 'View', @DB_Table_Name = 'DB_Folders'", true,
            true },
        { "EXEC usp_DB_Get_DB_Action_Permission @DB_Action_Code = 'RenameFiles'", true, true },
        { "EXEC usp_DB_Get_DB_Action_Permission @DB_Action_Code = 'ReplaceText'", false, true },
        { "EXEC usp_DB_Get_DB_Report_Permission @DB_Report_Code = 'AllTables'", false, true },
        { "EXEC usp_DB_Get_DB_Report_Permission @DB_Report_Code = 'DB_Changes'", false, true },
    };
    ConnectionTarget target = m_database->target();
    if (GetParam() == Engine::PostgreSQL)
        target.server = QStringLiteral("127.0.0.1:") + qEnvironmentVariable("PGPORT");
    for (const bool admin : { false, true }) {
        db().executeStatement(
            QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = ? WHERE DB_User_ID = ?"), { admin ? 1 : 0, clerkId });
        auto connection = DatabaseConnection::open(target, Credentials { false, clerk, QStringLiteral("Secret1") });
        for (const auto& c : cases) {
            Recordset rs = connection->execute(QString::fromLatin1(c.command));
            ASSERT_EQ(rs.recordCount(), 1) << c.command;
            EXPECT_EQ(rs.valueAt(0, 0).toBool(), admin ? c.admin : c.clerk) << c.command << (admin ? " (admin)" : "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Administration, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
