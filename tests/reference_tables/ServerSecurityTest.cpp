// A PostgreSQL database set up as the README says: a schema owner without superuser rights runs
// the upgrade, adds a clerk with --add-user, and the clerk, logged on with a password over TCP,
// tries what a hostile clerk with psql would try. The server refuses and nothing changes.

#include "ReferenceFixture.h"

#include "core/AppError.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "list_controls/ListProcedures.h"
#include "reference_tables/LookupRecordWindow.h"
#include "support/PromptRecorder.h"
#include "reference_tables/ReferenceTables.h"
#include "form_framework/zInfo.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

int s_serial = 0;

QString tcpServer() { return QStringLiteral("127.0.0.1:") + qEnvironmentVariable("PGPORT"); }

struct CommandRun {
    int code = -1;
    QString output;
};

// Runs Bramblecot_Main as the role (PGUSER/PGPASSWORD: the owner's password log-on over TCP).
CommandRun runMain(const QStringList& arguments, const QString& input, const QString& role, const QString& password)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGUSER"), role);
    environment.insert(QStringLiteral("PGPASSWORD"), password);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(BRAMBLECOT_MAIN_PATH), arguments);
    if (!process.waitForStarted(30000))
        return {};
    process.write(input.toUtf8());
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAll()) };
}

class ServerSecurity : public ReferenceTest {
protected:
    void SetUp() override
    {
        if (!RequireEngine(Engine::PostgreSQL))
            GTEST_SKIP() << "no PostgreSQL cluster is running";
        // Roles belong to the whole cluster: every one of this database's is named after it.
        database = QStringLiteral("bramblecot_sec_%1_%2").arg(QCoreApplication::applicationPid()).arg(++s_serial);
        owner = database + QStringLiteral("_owner");
        clerk = database + QStringLiteral("_clerk");
        ClusterExec({ QStringLiteral("CREATE ROLE %1 LOGIN CREATEROLE PASSWORD 'Owner1'").arg(owner),
            QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(database, owner) });
        m_made = true;
        const CommandRun upgrade = runMain(
            { QStringLiteral("--upgrade-schema"), tcpServer(), database }, {}, owner, QStringLiteral("Owner1"));
        ASSERT_EQ(upgrade.code, 0) << upgrade.output.toStdString();
        const CommandRun added = runMain({ QStringLiteral("--add-user"), tcpServer(), database, clerk },
            QStringLiteral("Clerk1\n"), owner, QStringLiteral("Owner1"));
        ASSERT_EQ(added.code, 0) << added.output.toStdString();

        const ConnectionTarget target { Engine::PostgreSQL, tcpServer(), database };
        m_owner = DatabaseConnection::open(target, Credentials { false, owner, QStringLiteral("Owner1") });
        // The clerk's table permissions: Salutations and Employee Categories may be written,
        // Ranks not (the clerk's own rows refuse what the table allows), Suffixes not (the
        // table's default refuses).
        ownerDo(QStringLiteral("UPDATE DB_Tables SET DB_Default_Permission = 0 WHERE DB_Table_Name IN ('Suffixes', "
                               "'Employee_Categories')"));
        ownerDo(QStringLiteral(
            "INSERT INTO DB_Table_Permissions (DB_User_ID, DB_Table_ID, DB_Table_Action_ID, DB_Permission) "
            "SELECT u.DB_User_ID, t.DB_Table_ID, a.DB_Table_Action_ID, "
            "CASE WHEN t.DB_Table_Name = 'Ranks' THEN 0 ELSE 1 END "
            "FROM DB_Users u, DB_Tables t, DB_Table_Actions a WHERE u.DB_User_Name = '%1' "
            "AND t.DB_Table_Name IN ('Ranks', 'Employee_Categories') AND a.DB_Table_Action_Name <> 'View'")
                    .arg(clerk));
        ownerDo(QStringLiteral("INSERT INTO Ranks (Rank_Name, Rank_Code) VALUES ('Sergeant', 'SGT')"));
        ownerDo(QStringLiteral("INSERT INTO Salutations (Salutation_Name, Salutation_Code) VALUES ('Doctor', 'DR')"));
        ownerDo(QStringLiteral("INSERT INTO Suffixes (Suffix_Name, Suffix_Code) VALUES ('Junior', 'JR')"));

        DatabaseEntry entry;
        entry.Server = tcpServer();
        entry.DatabaseName = database;
        entry.EngineName = QStringLiteral("PostgreSQL");
        entry.DisplayName = database;
        DBList() = { entry };
        CurrentDB() = 1;
        SetDBConnection(DatabaseConnection::open(target, Credentials { false, clerk, QStringLiteral("Clerk1") }));
        Prompts().clear();
        RegisterListControlProcedures();
        RegisterReferenceTableForms();
    }

    void TearDown() override
    {
        ReferenceTest::TearDown();
        CloseConnection();
        SetDBConnection(nullptr);
        DBList().clear();
        CurrentDB() = 0;
        m_owner.reset();
        if (m_made)
            ClusterExec({ QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database),
                QStringLiteral("DROP ROLE IF EXISTS %1").arg(clerk),
                QStringLiteral("DROP ROLE IF EXISTS %1_admins").arg(database),
                QStringLiteral("DROP ROLE IF EXISTS %1_users").arg(database),
                QStringLiteral("DROP ROLE IF EXISTS %1").arg(owner) });
    }

    Recordset ownerDo(const QString& sql) { return m_owner->executeStatement(sql); }
    QString ownerValue(const QString& sql)
    {
        const Recordset rs = m_owner->executeStatement(sql);
        return rs.recordCount() > 0 ? rs.valueAt(0, 0).toString() : QString();
    }
    // What the clerk's raw statement gave: "" when it ran, else the server's refusal.
    static QString clerkDo(const QString& sql)
    {
        try {
            DBConnection()->execute(sql);
            return {};
        } catch (const AppError& error) {
            return error.description().isEmpty() ? QStringLiteral("refused") : error.description();
        }
    }
    QString fill(const char* text) const
    {
        return QString::fromLatin1(text)
            .replace(QLatin1String("{owner}"), owner)
            .replace(QLatin1String("{clerk}"), clerk)
            .replace(QLatin1String("{database}"), database);
    }
    static QString shown()
    {
        QString text;
        for (const PromptRecorder::Box& box : Prompts().boxes)
            text += box.text + QLatin1Char('\n');
        return text;
    }

    QString database;
    QString owner;
    QString clerk;

private:
    bool m_made = false;
    std::unique_ptr<DatabaseConnection> m_owner;
};

struct Hostile {
    const char* name;
    const char* sql; // {owner}, {clerk} and {database} stand for their names
    const char* refusal; // part of the server's text
    const char* state; // the owner's view of what must not change
};

const Hostile hostileStatements[] = {
    { "AddARankRefusedByTheClerksOwnRow", "INSERT INTO Ranks (Rank_Name, Rank_Code) VALUES ('Chief', 'CH')",
        "You are not permitted to Add <Rank>.", "SELECT string_agg(Rank_Name, ',') FROM Ranks" },
    { "EditARank", "UPDATE Ranks SET Rank_Code = 'X'", "You are not permitted to Edit <Rank>.",
        "SELECT string_agg(Rank_Code, ',') FROM Ranks" },
    { "EditNoRankIsRefusedAsWell", "UPDATE Ranks SET Rank_Code = 'X' WHERE Rank_ID < 0",
        "You are not permitted to Edit <Rank>.", "SELECT COUNT(*) FROM DB_Change_Log" },
    { "DeleteARank", "DELETE FROM Ranks", "You are not permitted to Delete <Rank>.", "SELECT COUNT(*) FROM Ranks" },
    { "AddASuffixRefusedByTheTablesDefault", "INSERT INTO Suffixes (Suffix_Name, Suffix_Code) VALUES ('Senior', 'SR')",
        "You are not permitted to Add <Suffix>.", "SELECT COUNT(*) FROM Suffixes" },
    { "MakeOneselfAnAdministrator", "UPDATE DB_Users SET DB_Sys_Admin = 1", "permission denied",
        "SELECT SUM(DB_Sys_Admin) || ' ' || pg_has_role('{clerk}', current_database() || '_admins', 'MEMBER') FROM "
        "DB_Users" },
    { "JoinTheAdministratorsRole", "GRANT {database}_admins TO {clerk}", "",
        "SELECT pg_has_role('{clerk}', '{database}_admins', 'MEMBER')" },
    // The owner's functions that change roles and grants are not for users to call.
    { "CallTheAdministratorsRoleFunction", "SELECT bramblecot_set_admin_role('{clerk}', true)", "permission denied",
        "SELECT pg_has_role('{clerk}', '{database}_admins', 'MEMBER')" },
    { "CallTheGrantFunction", "SELECT bramblecot_secure_table('ranks', 'own', NULL, 'rank_code', '{}', '{}')",
        "permission denied", "SELECT COUNT(*) FROM pg_trigger WHERE tgname = 'ranks_permission'" },
    { "RenameAnotherUser", "UPDATE DB_Users SET DB_First_Name = 'Mallory' WHERE DB_User_Name = '{owner}'",
        "You are not permitted to Edit <User>.", "SELECT DB_First_Name FROM DB_Users WHERE DB_User_Name = '{owner}'" },
    { "LinkOneselfToAnEmployee", "UPDATE DB_Users SET Employee_ID = NULL WHERE DB_User_Name = '{clerk}'",
        "permission denied", "SELECT COUNT(*) FROM DB_Change_Log" },
    { "WriteAnotherUsersSetting",
        "INSERT INTO DB_User_Settings (DB_Login_Name, DB_Setting_Name, DB_Setting_Value) VALUES ('{owner}', 'x', 'y')",
        "You are not permitted to Add <db_user_settings>.", "SELECT COUNT(*) FROM DB_User_Settings" },
    { "DeleteTheChangeLog", "DELETE FROM DB_Change_Log", "permission denied", "SELECT COUNT(*) FROM DB_Change_Log" },
    { "RewriteTheChangeLog", "UPDATE DB_Change_Log SET DB_Login_Name = 'nobody'", "permission denied",
        "SELECT string_agg(DB_Login_Name, ',') FROM DB_Change_Log" },
    { "ForgeAChangeLogRow", "INSERT INTO DB_Change_Log (DB_Table_Name, DB_Operation) VALUES ('Ranks', 'Insert')",
        "permission denied", "SELECT COUNT(*) FROM DB_Change_Log" },
    { "TruncateAPermittedTable", "TRUNCATE Salutations", "permission denied", "SELECT COUNT(*) FROM Salutations" },
    { "DisableTheTriggers", "ALTER TABLE Salutations DISABLE TRIGGER ALL", "must be owner",
        "SELECT string_agg(tgname || ':' || tgenabled::text, ',' ORDER BY tgname) FROM pg_trigger WHERE tgrelid = "
        "'salutations'::regclass" },
    { "DropThePermissionTrigger", "DROP TRIGGER ranks_permission ON Ranks", "must be owner",
        "SELECT COUNT(*) FROM pg_trigger WHERE tgname = 'ranks_permission'" },
    { "AddATable",
        "INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name) VALUES ('Loot', 'Loot', "
        "'Loot')",
        "permission denied", "SELECT COUNT(*) FROM DB_Tables" },
    { "GrantOneselfATablePermission", "UPDATE DB_Table_Permissions SET DB_Permission = 1", "permission denied",
        "SELECT SUM(DB_Permission) FROM DB_Table_Permissions" },
    // The decisions the permission trigger reads are the owner's to work out.
    { "WriteTheWorkedOutDecisions", "UPDATE DB_Table_Rights SET DB_May_Add = true", "permission denied",
        "SELECT string_agg(DB_Table_Key || DB_Login_Key || DB_May_Add, ',' ORDER BY DB_Table_Key, DB_Login_Key) "
        "FROM DB_Table_Rights" },
    { "CallTheDecisionsRefresh", "SELECT bramblecot_work_out_table_rights()", "permission denied",
        "SELECT COUNT(*) FROM DB_Table_Rights" },
    { "CreateATable", "CREATE TABLE Loot (Loot_ID INTEGER)", "permission denied",
        "SELECT COUNT(*) FROM pg_tables WHERE tablename = 'loot'" },
    // A temporary DB_Users would otherwise stand in for the real one in an unqualified query.
    { "ShadowATableWithATemporaryOne", "CREATE TEMP TABLE DB_Users (DB_User_Name TEXT, DB_Sys_Admin INTEGER)",
        "permission denied", "SELECT COUNT(*) FROM DB_Users" },
};

TEST_P(ServerSecurity, HostileStatementsAreRefusedAndChangeNothing)
{
    for (const Hostile& hostile : hostileStatements) {
        SCOPED_TRACE(hostile.name);
        const QString state = fill(hostile.state);
        const QString before = ownerValue(state);
        const QString refusal = clerkDo(fill(hostile.sql));
        EXPECT_FALSE(refusal.isEmpty()) << "the statement ran";
        EXPECT_TRUE(refusal.contains(QString::fromLatin1(hostile.refusal))) << refusal.toStdString();
        EXPECT_EQ(ownerValue(state), before);
    }
}

TEST_P(ServerSecurity, TheClerkWritesPermittedTablesAndOwnRowsAndTheLogShowsWhoTheServerSaw)
{
    // What the client declares is the clerk's to say; the role and the address are the server's.
    ASSERT_EQ(clerkDo(QStringLiteral("SELECT set_config('bramblecot.host', 'CHIEF-PC', false)")), QString());
    const struct {
        const char* sql;
        const char* table;
    } permitted[] = {
        { "INSERT INTO Employee_Categories (Employee_Category_Name, Employee_Category_Code) VALUES ('Civilian', 'C')",
            "employee_categories" },
        { "UPDATE Salutations SET Salutation_Code = 'DOC'", "salutations" },
        { "UPDATE DB_Users SET DB_First_Name = 'Casey' WHERE DB_User_Name = '{clerk}'", "db_users" },
    };
    for (const auto& write : permitted) {
        SCOPED_TRACE(write.sql);
        EXPECT_EQ(clerkDo(fill(write.sql)), QString());
        const Recordset logged = ownerDo(
            QStringLiteral("SELECT DB_Login_Name, DB_Session_User, DB_Client_Address, DB_Host_Name "
                           "FROM DB_Change_Log WHERE DB_Table_Name = '%1' ORDER BY DB_Change_Log_ID DESC LIMIT 1")
                .arg(QString::fromLatin1(write.table)));
        ASSERT_EQ(logged.recordCount(), 1);
        EXPECT_EQ(logged.valueAt(0, 0).toString(), clerk);
        EXPECT_EQ(logged.valueAt(0, 1).toString(), clerk);
        EXPECT_EQ(logged.valueAt(0, 2).toString(), QStringLiteral("127.0.0.1"));
        EXPECT_EQ(logged.valueAt(0, 3).toString(), QStringLiteral("CHIEF-PC"));
    }
    // The per-user tables take the clerk's own rows: the start-up check and a setting.
    EXPECT_EQ(clerkDo(QStringLiteral("EXEC usp_DB_Check_User_On_Start")), QString());
    EXPECT_EQ(
        clerkDo(QStringLiteral("EXEC usp_DB_Setting_Save @Setting_Name = 'Last_Folder', @Setting_Value = '''/tmp'''")),
        QString());
    EXPECT_EQ(
        ownerValue(QStringLiteral("SELECT DB_Login_Name FROM DB_User_Settings WHERE DB_Setting_Name = 'Last_Folder'")),
        clerk);
}

TEST_P(ServerSecurity, TheSavePathIsRefusedWhereTheClerksPermissionsRefuse)
{
    const QString ranks = ownerValue(QStringLiteral("SELECT string_agg(Rank_Name || Rank_Code, ',') FROM Ranks"));
    LookupRecordWindow* added = openNew(QStringLiteral("frmRank"));
    ASSERT_NE(added, nullptr);
    type(added->field(QStringLiteral("ztxtName")), QStringLiteral("Chief"));
    type(added->field(QStringLiteral("ztxtCode")), QStringLiteral("CH"));
    Prompts().clear();
    EXPECT_FALSE(added->info()->SaveData(true));
    EXPECT_TRUE(shown().contains(QStringLiteral("You are not permitted to Add <Rank>."))) << shown().toStdString();

    const int sergeant = ownerValue(QStringLiteral("SELECT Rank_ID FROM Ranks WHERE Rank_Code = 'SGT'")).toInt();
    LookupRecordWindow* edited = openEdit(QStringLiteral("frmRank"), sergeant);
    ASSERT_NE(edited, nullptr);
    type(edited->field(QStringLiteral("ztxtCode")), QStringLiteral("SG"));
    Prompts().clear();
    EXPECT_FALSE(edited->info()->SaveData(true));
    EXPECT_TRUE(shown().contains(QStringLiteral("You are not permitted to Edit <Rank>."))) << shown().toStdString();
    EXPECT_EQ(ownerValue(QStringLiteral("SELECT string_agg(Rank_Name || Rank_Code, ',') FROM Ranks")), ranks);

    // The same path on a table the clerk may write saves, and the log names the clerk.
    LookupRecordWindow* permitted = openNew(QStringLiteral("frmSalutation"));
    ASSERT_NE(permitted, nullptr);
    type(permitted->field(QStringLiteral("ztxtName")), QStringLiteral("Mister"));
    type(permitted->field(QStringLiteral("ztxtCode")), QStringLiteral("MR"));
    EXPECT_EQ(save(permitted), QString());
    EXPECT_EQ(ownerValue(QStringLiteral("SELECT DB_Session_User FROM DB_Change_Log WHERE DB_Table_Name = 'salutations' "
                                        "AND DB_New_Values LIKE '%Mister%'")),
        clerk);
}

// Each change to the permission tables or the user rows holds for the clerk's very next statement.
TEST_P(ServerSecurity, APermissionChangeHoldsForTheNextStatement)
{
    const QString addSuffix = QStringLiteral("INSERT INTO Suffixes (Suffix_Name, Suffix_Code) VALUES ('S%1', 'S%1')");
    const char* refused = "You are not permitted to Add <Suffix>.";
    const QString clerkRow = QStringLiteral("(SELECT DB_User_ID FROM DB_Users WHERE DB_User_Name = '{clerk}')");
    const QString suffixAdd = QStringLiteral(
        "(SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = 'Suffixes'), (SELECT DB_Table_Action_ID FROM "
        "DB_Table_Actions WHERE DB_Table_Action_Name = 'Add')");
    const struct {
        QString change; // the owner's
        const char* refusal; // of the clerk's next insert; "" where it may
    } steps[] = {
        { QStringLiteral("SELECT 1"), refused }, // the table's default refuses
        { QStringLiteral("UPDATE DB_Tables SET DB_Default_Permission = 1 WHERE DB_Table_Name = 'Suffixes'"), "" },
        { QStringLiteral("INSERT INTO DB_Table_Permissions (DB_User_ID, DB_Table_ID, DB_Table_Action_ID, "
                         "DB_Permission) SELECT %1, %2, 1")
                .arg(clerkRow, suffixAdd),
            "" },
        { QStringLiteral("UPDATE DB_Table_Permissions SET DB_Permission = 0 WHERE DB_User_ID = %1").arg(clerkRow),
            refused }, // the user's row beats the table's default
        { QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 1 WHERE DB_User_Name = '{clerk}'"), "" },
        { QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 0 WHERE DB_User_Name = '{clerk}'"), refused },
        { QStringLiteral("DELETE FROM DB_Table_Permissions WHERE DB_User_ID = %1").arg(clerkRow), "" },
        { QStringLiteral("UPDATE DB_Table_Actions SET DB_Table_Action_Name = 'Append' WHERE DB_Table_Action_Name = "
                         "'Add'"),
            refused }, // no action of that name: nobody may
        { QStringLiteral("UPDATE DB_Table_Actions SET DB_Table_Action_Name = 'ADD' WHERE DB_Table_Action_Name = "
                         "'Append'"),
            "" }, // names compare case-insensitively
        { QStringLiteral("UPDATE DB_Tables SET DB_Table_Name = 'Suffix_List' WHERE DB_Table_Name = 'Suffixes'"),
            "You are not permitted to Add <suffixes>." }, // a table the program does not know
        { QStringLiteral("UPDATE DB_Tables SET DB_Table_Name = 'SUFFIXES' WHERE DB_Table_Name = 'Suffix_List'"), "" },
        // A log-in without a user row has the table's default.
        { QStringLiteral("DELETE FROM DB_Users WHERE DB_User_Name = '{clerk}'"), "" },
        { QStringLiteral("UPDATE DB_Tables SET DB_Default_Permission = 0 WHERE DB_Table_Name = 'Suffixes'"), refused },
    };
    int serial = 0;
    for (const auto& step : steps) {
        const QString change = fill(step.change.toUtf8().constData());
        SCOPED_TRACE(change.toStdString());
        ownerDo(change);
        const QString refusal = clerkDo(addSuffix.arg(++serial));
        if (*step.refusal == '\0')
            EXPECT_EQ(refusal, QString());
        else
            EXPECT_TRUE(refusal.contains(QString::fromLatin1(step.refusal))) << refusal.toStdString();
    }
}

TEST_P(ServerSecurity, TheAdministratorFlagAndTheAdministratorsRoleMoveTogether)
{
    const QString isAdmin
        = QStringLiteral("SELECT pg_has_role('%1', current_database() || '_admins', 'MEMBER')").arg(clerk);
    EXPECT_EQ(ownerValue(isAdmin), QStringLiteral("false"));
    ownerDo(QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 1 WHERE DB_User_Name = '%1'").arg(clerk));
    EXPECT_EQ(ownerValue(isAdmin), QStringLiteral("true"));
    // Now an administrator, the clerk writes the framework and is no longer held by table permissions.
    EXPECT_EQ(
        clerkDo(QStringLiteral("UPDATE DB_Tables SET DB_Comments_For_User = 'checked' WHERE DB_Table_Name = 'Ranks'")),
        QString());
    EXPECT_EQ(clerkDo(QStringLiteral("INSERT INTO Ranks (Rank_Name, Rank_Code) VALUES ('Chief', 'CH')")), QString());
    ownerDo(QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 0 WHERE DB_User_Name = '%1'").arg(clerk));
    EXPECT_EQ(ownerValue(isAdmin), QStringLiteral("false"));
    EXPECT_TRUE(clerkDo(QStringLiteral("UPDATE DB_Tables SET DB_Comments_For_User = NULL"))
                    .contains(QStringLiteral("permission denied")));
}

TEST_P(ServerSecurity, TheOwnersTruncateIsLoggedAndTheLogKeepsEveryRowEvenFromTheOwner)
{
    ownerDo(QStringLiteral("TRUNCATE Suffixes"));
    EXPECT_EQ(ownerValue(QStringLiteral("SELECT DB_Operation || ' ' || DB_Session_User FROM DB_Change_Log "
                                        "WHERE DB_Table_Name = 'suffixes' ORDER BY DB_Change_Log_ID DESC LIMIT 1")),
        QStringLiteral("Truncate ") + owner);
    const QString count = ownerValue(QStringLiteral("SELECT COUNT(*) FROM DB_Change_Log"));
    for (const char* sql :
        { "DELETE FROM DB_Change_Log", "UPDATE DB_Change_Log SET DB_PK = 0", "TRUNCATE DB_Change_Log" }) {
        SCOPED_TRACE(sql);
        EXPECT_THROW(ownerDo(QString::fromLatin1(sql)), AppError);
    }
    EXPECT_EQ(ownerValue(QStringLiteral("SELECT COUNT(*) FROM DB_Change_Log")), count);
}

TEST_P(ServerSecurity, AddUserRefusesWhatItCannotMakeSafely)
{
    const struct {
        QStringList arguments;
        const char* input;
        const char* message;
    } cases[] = {
        { { QStringLiteral("--add-user"), tcpServer(), database, clerk }, "Clerk2\n", "exists already" },
        { { QStringLiteral("--add-user"), tcpServer(), database, QStringLiteral("bad\"name") }, "Secret1\n",
            "letters, digits and underscores" },
        { { QStringLiteral("--add-user"), tcpServer(), database, clerk + QStringLiteral("x") }, "abc\n",
            "at least 4 characters" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const CommandRun run = runMain(c.arguments, QString::fromLatin1(c.input), owner, QStringLiteral("Owner1"));
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(run.output.contains(QString::fromLatin1(c.message))) << run.output.toStdString();
    }
    // A clerk is no schema owner: the server refuses the role it would make.
    const CommandRun byClerk
        = runMain({ QStringLiteral("--add-user"), tcpServer(), database, clerk + QStringLiteral("y") },
            QStringLiteral("Secret1\n"), clerk, QStringLiteral("Clerk1"));
    EXPECT_EQ(byClerk.code, 1);
    EXPECT_TRUE(byClerk.output.contains(QStringLiteral("permission denied"))) << byClerk.output.toStdString();
    EXPECT_EQ(ownerValue(QStringLiteral("SELECT COUNT(*) FROM pg_roles WHERE rolname LIKE '%1_%'").arg(clerk)),
        QStringLiteral("0"));

    // A peer log-in has no password; --admin makes the row an administrator's and the role a member.
    const QString peer = database + QStringLiteral("_peer");
    const CommandRun added = runMain({ QStringLiteral("--add-user"), tcpServer(), database, peer,
                                         QStringLiteral("--peer"), QStringLiteral("--admin") },
        {}, owner, QStringLiteral("Owner1"));
    EXPECT_EQ(added.code, 0) << added.output.toStdString();
    EXPECT_EQ(ownerValue(QStringLiteral(
                  "SELECT DB_Sys_Admin || ' ' || pg_has_role('%1', current_database() || '_admins', 'MEMBER') "
                  "FROM DB_Users WHERE DB_User_Name = '%1'")
                             .arg(peer)),
        QStringLiteral("1 true"));
    ClusterExec({ QStringLiteral("DROP ROLE IF EXISTS %1").arg(peer) });
}

INSTANTIATE_TEST_SUITE_P(PostgreSQL, ServerSecurity, ::testing::Values(Engine::PostgreSQL), EngineTestName);

} // namespace
