// A PostgreSQL database set up as the README says: a schema owner without superuser rights runs
// the upgrade, adds a clerk with --add-user, and the clerk, logged on with a password over TCP,
// tries what a hostile clerk with psql would try. The server refuses and nothing changes.
//
// The table of bad input runs on both engines: on PostgreSQL every row; on the embedded database,
// where the program's permissions are advisory and a direct statement meets no server guard, the
// rows that go through the program (its windows, its command texts, its files).

#include "ReferenceFixture.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/ErrorReport.h"
#include "core/MessageBoxes.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zInfo.h"
#include "list_controls/ListProcedures.h"
#include "loader/UpdateInstaller.h"
#include "loader/UpdateSource.h"
#include "administration/AdministrationWindows.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "form_framework/zFieldBase.h"
#include "reference_tables/ReferenceTables.h"
#include "support/PromptRecorder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

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
        if (!RequireEngine(GetParam()))
            GTEST_SKIP() << "no PostgreSQL cluster is running";
        if (GetParam() == Engine::SQLite) {
            setUpEmbedded();
            return;
        }
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
        setClerksPermissions();

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
        RegisterAdministrationTableForms();
    }

    // The embedded database: its first administrator (the operating-system account) stands for
    // the owner, and the clerk logs on with a password.
    void setUpEmbedded()
    {
        m_database = std::make_unique<TestDatabase>(Engine::SQLite);
        database = QFileInfo(m_database->target().databaseName).completeBaseName();
        owner = DatabaseConnection::operatingSystemUser();
        clerk = QStringLiteral("clerk");
        m_owner = m_database->connect();
        m_database->createLogin(clerk, QStringLiteral("Clerk1"));
        setClerksPermissions();
        m_database->registerAsCurrent();
        CloseConnection();
        SetDBConnection(m_database->connect(Credentials { false, clerk, QStringLiteral("Clerk1") }));
        Prompts().clear();
        RegisterListControlProcedures();
        RegisterReferenceTableForms();
        RegisterAdministrationTableForms();
    }

    void setClerksPermissions()
    {
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

// How a row of bad input reaches the program or the server.
enum class Via {
    Sql, // the clerk's own statement, as psql would send it: only a server guards against it
    CommandText, // a command text through the program's connection, as the clerk's session
    OpenTable, // the navigator opens the table's search window (the View permission)
    SaveNew, // the record window of the table saves a new record
    SaveEdit, // the record window saves a change to the first record
    SaveUserRow, // "<window> <log-in> <control>": the window on that user's row, the control changed, saved
    Delete, // the grid deletes the first record
    PoisonedIdField, // the owner plants the text as the table's DB_ID_Field; the clerk deletes
    ErrorLog, // a symbolic link is planted as the error log, then a query fails and is logged
    UpdateLine, // an update's file list holds a good line and then this one
};

struct BadInput {
    const char* name;
    Via via;
    const char* input; // {owner}, {clerk} and {database} stand for their names
    const char* refusal; // part of the text the clerk is shown or the server answers
    const char* state; // the owner's view of what must not change; file rows compare the files
};

const BadInput badInputs[] = {
    { "AddARankRefusedByTheClerksOwnRow", Via::Sql, "INSERT INTO Ranks (Rank_Name, Rank_Code) VALUES ('Chief', 'CH')",
        "You are not permitted to Add <Rank>.", "SELECT string_agg(Rank_Name, ',') FROM Ranks" },
    { "EditARank", Via::Sql, "UPDATE Ranks SET Rank_Code = 'X'", "You are not permitted to Edit <Rank>.",
        "SELECT string_agg(Rank_Code, ',') FROM Ranks" },
    { "EditNoRankIsRefusedAsWell", Via::Sql, "UPDATE Ranks SET Rank_Code = 'X' WHERE Rank_ID < 0",
        "You are not permitted to Edit <Rank>.", "SELECT COUNT(*) FROM DB_Change_Log" },
    { "DeleteARank", Via::Sql, "DELETE FROM Ranks", "You are not permitted to Delete <Rank>.",
        "SELECT COUNT(*) FROM Ranks" },
    { "AddASuffixRefusedByTheTablesDefault", Via::Sql,
        "INSERT INTO Suffixes (Suffix_Name, Suffix_Code) VALUES ('Senior', 'SR')",
        "You are not permitted to Add <Suffix>.", "SELECT COUNT(*) FROM Suffixes" },
    { "MakeOneselfAnAdministrator", Via::Sql, "UPDATE DB_Users SET DB_Sys_Admin = 1", "You are not permitted to Edit <User>.",
        "SELECT SUM(DB_Sys_Admin) || ' ' || pg_has_role('{clerk}', current_database() || '_admins', 'MEMBER') FROM "
        "DB_Users" },
    { "JoinTheAdministratorsRole", Via::Sql, "GRANT {database}_admins TO {clerk}", "",
        "SELECT pg_has_role('{clerk}', '{database}_admins', 'MEMBER')" },
    // The owner's functions that change roles and grants are not for users to call.
    { "CallTheAdministratorsRoleFunction", Via::Sql, "SELECT bramblecot_set_admin_role('{clerk}', true)",
        "permission denied", "SELECT pg_has_role('{clerk}', '{database}_admins', 'MEMBER')" },
    { "CallTheGrantFunction", Via::Sql, "SELECT bramblecot_secure_table('ranks', 'own', NULL, 'rank_code', '{}', '{}')",
        "permission denied", "SELECT COUNT(*) FROM pg_trigger WHERE tgname = 'ranks_permission'" },
    { "RenameAnotherUser", Via::Sql, "UPDATE DB_Users SET DB_First_Name = 'Mallory' WHERE DB_User_Name = '{owner}'",
        "You are not permitted to Edit <User>.", "SELECT DB_First_Name FROM DB_Users WHERE DB_User_Name = '{owner}'" },
    { "LinkOneselfToAnEmployee", Via::Sql, "UPDATE DB_Users SET Employee_ID = 1 WHERE DB_User_Name = '{clerk}'",
        "You are not permitted to Edit <User>.", "SELECT COUNT(*) FROM DB_Change_Log" },
    { "RenameOneselfsLogIn", Via::Sql, "UPDATE DB_Users SET DB_User_Name = 'mallory' WHERE DB_User_Name = '{clerk}'",
        "You are not permitted to Edit <User>.", "SELECT string_agg(DB_User_Name, ',' ORDER BY DB_User_ID) FROM DB_Users" },
    { "RemoveOneselfsRow", Via::Sql, "DELETE FROM DB_Users WHERE DB_User_Name = '{clerk}'",
        "You are not permitted to Delete <User>.", "SELECT COUNT(*) FROM DB_Users" },
    { "AddAnotherUser", Via::Sql, "INSERT INTO DB_Users (DB_User_Name) VALUES ('mallory')",
        "You are not permitted to Add <User>.", "SELECT COUNT(*) FROM DB_Users" },
    { "AddAnAdministratorsRow", Via::Sql,
        "INSERT INTO DB_Users (DB_User_Name, DB_Sys_Admin) VALUES ('{clerk}_2', 1)",
        "You are not permitted to Add <User>.", "SELECT COUNT(*) FROM DB_Users" },
    { "WriteAnotherUsersSetting", Via::Sql,
        "INSERT INTO DB_User_Settings (DB_Login_Name, DB_Setting_Name, DB_Setting_Value) VALUES ('{owner}', 'x', 'y')",
        "You are not permitted to Add <db_user_settings>.", "SELECT COUNT(*) FROM DB_User_Settings" },
    { "DeleteTheChangeLog", Via::Sql, "DELETE FROM DB_Change_Log", "permission denied",
        "SELECT COUNT(*) FROM DB_Change_Log" },
    { "RewriteTheChangeLog", Via::Sql, "UPDATE DB_Change_Log SET DB_Login_Name = 'nobody'", "permission denied",
        "SELECT string_agg(DB_Login_Name, ',') FROM DB_Change_Log" },
    { "ForgeAChangeLogRow", Via::Sql,
        "INSERT INTO DB_Change_Log (DB_Table_Name, DB_Operation) VALUES ('Ranks', 'Insert')", "permission denied",
        "SELECT COUNT(*) FROM DB_Change_Log" },
    { "TruncateAPermittedTable", Via::Sql, "TRUNCATE Salutations", "permission denied",
        "SELECT COUNT(*) FROM Salutations" },
    { "DisableTheTriggers", Via::Sql, "ALTER TABLE Salutations DISABLE TRIGGER ALL", "must be owner",
        "SELECT string_agg(tgname || ':' || tgenabled::text, ',' ORDER BY tgname) FROM pg_trigger WHERE tgrelid = "
        "'salutations'::regclass" },
    { "DropThePermissionTrigger", Via::Sql, "DROP TRIGGER ranks_permission ON Ranks", "must be owner",
        "SELECT COUNT(*) FROM pg_trigger WHERE tgname = 'ranks_permission'" },
    { "AddATable", Via::Sql,
        "INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name) VALUES ('Loot', 'Loot', "
        "'Loot')",
        "permission denied", "SELECT COUNT(*) FROM DB_Tables" },
    { "GrantOneselfATablePermission", Via::Sql, "UPDATE DB_Table_Permissions SET DB_Permission = 1",
        "permission denied", "SELECT SUM(DB_Permission) FROM DB_Table_Permissions" },
    // The decisions the permission trigger reads are the owner's to work out.
    { "WriteTheWorkedOutDecisions", Via::Sql, "UPDATE DB_Table_Rights SET DB_May_Add = true", "permission denied",
        "SELECT string_agg(DB_Table_Key || DB_Login_Key || DB_May_Add, ',' ORDER BY DB_Table_Key, DB_Login_Key) "
        "FROM DB_Table_Rights" },
    { "CallTheDecisionsRefresh", Via::Sql, "SELECT bramblecot_work_out_table_rights()", "permission denied",
        "SELECT COUNT(*) FROM DB_Table_Rights" },
    { "CreateATable", Via::Sql, "CREATE TABLE Loot (Loot_ID INTEGER)", "permission denied",
        "SELECT COUNT(*) FROM pg_tables WHERE tablename = 'loot'" },
    // A temporary DB_Users would otherwise stand in for the real one in an unqualified query.
    { "ShadowATableWithATemporaryOne", Via::Sql, "CREATE TEMP TABLE DB_Users (DB_User_Name TEXT, DB_Sys_Admin INTEGER)",
        "permission denied", "SELECT COUNT(*) FROM DB_Users" },
    // Through the program, on both engines.
    { "ViewARefusedTable", Via::OpenTable, "Suffixes", "You are not permitted to View <Suffix>.", nullptr },
    { "AddARankThroughItsWindow", Via::SaveNew, "frmRank", "You are not permitted to Add <Rank>.",
        "SELECT COUNT(*) FROM Ranks" },
    { "EditARankThroughItsWindow", Via::SaveEdit, "frmRank", "You are not permitted to Edit <Rank>.",
        "SELECT COUNT(*) FROM Ranks WHERE Rank_Name = 'Sergeant' AND Rank_Code = 'SGT'" },
    { "DeleteARankThroughTheGrid", Via::Delete, "Ranks", "You are not permitted to Delete <Rank>.",
        "SELECT COUNT(*) FROM Ranks" },
    // A user's own options window saves their own row's names and defaults, nobody else's row.
    { "AnotherUsersOptions", Via::SaveUserRow, "frmUserInfo {owner} ztxtLastName",
        "You are not permitted to Edit <User>.", "SELECT DB_Last_Name FROM DB_Users WHERE DB_User_Name = '{owner}'" },
    { "OnesOwnAdministratorFlag", Via::SaveUserRow, "frmUser {clerk} zchkSysAdmin",
        "You are not permitted to Edit <User>.", "SELECT DB_Sys_Admin FROM DB_Users WHERE DB_User_Name = '{clerk}'" },
    { "IdentityFieldWithThreeStatements", Via::PoisonedIdField,
        "Salutation_ID IN (0); DELETE FROM Salutations; SELECT 1 WHERE Salutation_ID",
        "is not a plain name of letters, digits and underscores.", "SELECT COUNT(*) FROM Salutations" },
    { "IdentityFieldThatIsAlwaysTrue", Via::PoisonedIdField, "1=1 OR Salutation_ID",
        "is not a plain name of letters, digits and underscores.", "SELECT COUNT(*) FROM Salutations" },
    { "IdentityFieldWithAQuote", Via::PoisonedIdField, "Salutation_ID'",
        "is not a plain name of letters, digits and underscores.", "SELECT COUNT(*) FROM Salutations" },
    // The clerk's own statements through the program's connection meet the guard of the user rows too.
    { "MakeOneselfAnAdministratorByCommandText", Via::CommandText,
        "UPDATE DB_Users SET DB_Sys_Admin = 1 WHERE DB_User_Name = '{clerk}'", "You are not permitted to Edit <User>.",
        "SELECT DB_Sys_Admin FROM DB_Users WHERE DB_User_Name = '{clerk}'" },
    { "RenameAnotherUserByCommandText", Via::CommandText,
        "UPDATE DB_Users SET DB_Last_Name = 'Mallory' WHERE DB_User_Name = '{owner}'",
        "You are not permitted to Edit <User>.", "SELECT DB_Last_Name FROM DB_Users WHERE DB_User_Name = '{owner}'" },
    // Second statements hidden behind quoting a simpler reader would misread.
    { "SecondStatementAfterAnEscapedQuote", Via::CommandText, "SELECT E'it\\'s'; DELETE FROM Salutations",
        "Only one statement can be sent at a time.", "SELECT COUNT(*) FROM Salutations" },
    { "SecondStatementAfterABackslashInAPlainString", Via::CommandText, "SELECT 'a\\'; DELETE FROM Salutations; --'",
        "Only one statement can be sent at a time.", "SELECT COUNT(*) FROM Salutations" },
    { "SecondStatementAfterDollarQuoting", Via::CommandText, "SELECT $tag$ ' $tag$; DELETE FROM Salutations; --'",
        "Only one statement can be sent at a time.", "SELECT COUNT(*) FROM Salutations" },
    { "SecondStatementAfterACommentEndedByALoneCr", Via::CommandText, "SELECT 1 -- note\r; DELETE FROM Salutations",
        "Only one statement can be sent at a time.", "SELECT COUNT(*) FROM Salutations" },
    { "SecondStatementAfterNestedComments", Via::CommandText, "SELECT 1 /* a /* b */ */ ; DELETE FROM Salutations",
        "Only one statement can be sent at a time.", "SELECT COUNT(*) FROM Salutations" },
    { "ALinkPlantedAsTheErrorLog", Via::ErrorLog, "SELECT No_Such_Column FROM Salutations", "Cannot save to Error Log.",
        nullptr },
    { "UpdateLineAboveTheProgramFolder", Via::UpdateLine, "a.txt => $(AppPath)/../x",
        "leads outside the program folder", nullptr },
    { "UpdateLineWhoseNameClimbsUp", Via::UpdateLine, "../x/a.txt => $(AppPath)", "leads outside the program folder",
        nullptr },
};

// Every file under the folder, links as links, with a digest of its content: what "nothing
// changed" means for a file row.
QString filesUnder(const QString& root)
{
    QStringList entries;
    QDirIterator it(
        root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString entry = QDir(root).relativeFilePath(info.filePath());
        if (info.isSymLink()) {
            entry += QStringLiteral(" -> ") + info.symLinkTarget();
        } else if (info.isFile()) {
            QFile file(info.filePath());
            if (file.open(QIODevice::ReadOnly))
                entry += QStringLiteral(" ")
                    + QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
        }
        entries << entry;
    }
    entries.sort();
    return entries.join(QLatin1Char('\n'));
}

class BadInputTable : public ServerSecurity {
protected:
    // Makes what the row needs before the state is taken.
    void prepare(const BadInput& row)
    {
        switch (row.via) {
        case Via::PoisonedIdField:
            ownerDo(QStringLiteral("UPDATE DB_Tables SET DB_ID_Field = '%1' WHERE DB_Table_Name = 'Salutations'")
                        .arg(QString::fromUtf8(row.input).replace(QLatin1Char('\''), QStringLiteral("''"))));
            break;
        case Via::ErrorLog:
            QDir().mkpath(program(QStringLiteral("Errors")));
            writeScratch(QStringLiteral("victim.txt"), "the link's target");
            SetMainPath(program());
            ASSERT_TRUE(QFile::link(m_scratch.filePath(QStringLiteral("victim.txt")), ErrorLogFile()));
            break;
        case Via::UpdateLine:
            QDir().mkpath(program());
            writeScratch(QStringLiteral("updates/updates.txt"), "BadInput\r\n");
            writeScratch(QStringLiteral("updates/BadInput/filelist.txt"),
                "good.txt => $(AppPath)\r\n" + QByteArray(row.input) + "\r\n");
            writeScratch(QStringLiteral("updates/BadInput/good.txt"), "good");
            writeScratch(QStringLiteral("updates/BadInput/a.txt"), "a");
            writeScratch(QStringLiteral("updates/x/a.txt"), "a");
            SetMainPath(program());
            break;
        default:
            break;
        }
    }

    // Tries the row as the clerk; the refusal the clerk met, or "" when it went through.
    QString attempt(const BadInput& row)
    {
        Prompts().clear();
        const QString input = fill(row.input);
        switch (row.via) {
        case Via::Sql:
        case Via::CommandText:
            return clerkDo(input);
        case Via::OpenTable:
            OpenTableForm(input);
            break;
        case Via::SaveNew:
        case Via::SaveEdit: {
            DeclaredRecordWindow* window = row.via == Via::SaveNew
                ? openNew(input)
                : openEdit(input, ownerValue(QStringLiteral("SELECT MIN(Rank_ID) FROM Ranks")).toInt());
            if (!window)
                return QStringLiteral("the window did not open");
            type(window->field(QStringLiteral("ztxtName")), QStringLiteral("Chief"));
            type(window->field(QStringLiteral("ztxtCode")), QStringLiteral("CH"));
            return save(window);
        }
        case Via::SaveUserRow: {
            const QStringList parts = input.split(QLatin1Char(' '));
            const int identity
                = ownerValue(QStringLiteral("SELECT DB_User_ID FROM DB_Users WHERE DB_User_Name = '%1'").arg(parts.at(1)))
                      .toInt();
            DeclaredRecordWindow* window = openEdit(parts.at(0), identity);
            if (!window)
                return shown().isEmpty() ? QStringLiteral("the window did not open") : shown();
            // A row without names (a log-in just added) is given them, as the window requires.
            for (const QString& name : { QStringLiteral("ztxtLastName"), QStringLiteral("ztxtFirstName") }) {
                if (window->field(name)->Value().toString().isEmpty())
                    type(window->field(name), QStringLiteral("Moss"));
            }
            zFieldBase* changed = window->field(parts.at(2));
            if (parts.at(2).startsWith(QLatin1String("zchk")))
                changed->setValue(changed->Value().toBool() ? 0 : 1);
            else
                type(changed, QStringLiteral("Mallory"));
            return save(window);
        }
        case Via::Delete:
        case Via::PoisonedIdField: {
            const bool ranks = row.via == Via::Delete;
            const QString table = ranks ? input : QStringLiteral("Salutations");
            const QString id = ownerValue(ranks ? QStringLiteral("SELECT MIN(Rank_ID) FROM Ranks")
                                                : QStringLiteral("SELECT MIN(Salutation_ID) FROM Salutations"));
            Prompts().answer(MsgBox::Yes);
            if (Act_DeleteRecords(table, QStringLiteral("Record"), QStringLiteral("First"), id, true))
                return shown();
            break;
        }
        case Via::ErrorLog:
            Prompts().answer(MsgBox::Yes); // the error dialog: continue
            if (OpenRecordset(input))
                return {};
            break;
        case Via::UpdateLine:
            try {
                const UpdateSource source(m_scratch.filePath(QStringLiteral("updates")));
                UpdateInstaller installer(source, [](const QString&) {});
                if (installer.GetUpdateList())
                    installer.InstallUpdates();
                return {};
            } catch (const AppError& error) {
                return error.description();
            }
        }
        return shown().isEmpty() ? QStringLiteral("refused without a message") : shown();
    }

    QString state(const BadInput& row)
    {
        if (row.via == Via::OpenTable)
            return QString::number(LoadedWindows().size()) + QStringLiteral(" windows");
        if (!row.state)
            return filesUnder(m_scratch.path());
        return ownerValue(fill(row.state));
    }

    // Puts back what prepare changed outside the database's rows.
    void restore(const BadInput& row)
    {
        if (row.via == Via::PoisonedIdField)
            ownerDo(QStringLiteral(
                "UPDATE DB_Tables SET DB_ID_Field = 'Salutation_ID' WHERE DB_Table_Name = 'Salutations'"));
        SetMainPath(m_savedMainPath);
        for (QWidget* window : LoadedWindows()) {
            if (DataWindow* data = AsDataWindow(window)) {
                data->info()->setRefreshScreen(false);
                data->info()->setDataChanged(false);
            }
            UnloadWindow(window);
        }
    }

    QString program(const QString& relative = {}) const
    {
        return m_scratch.filePath(QStringLiteral("program")) + QLatin1Char('/') + relative;
    }

    void writeScratch(const QString& relative, const QByteArray& content)
    {
        const QString path = m_scratch.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir m_scratch;
    const QString m_savedMainPath = GetMainPath();
};

TEST_P(BadInputTable, IsRefusedAndChangesNothing)
{
    for (const BadInput& row : badInputs) {
        if (row.via == Via::Sql && GetParam() != Engine::PostgreSQL)
            continue; // no server stands between a direct statement and the embedded file
        SCOPED_TRACE(row.name);
        prepare(row);
        const QString before = state(row);
        const QString refusal = attempt(row);
        const QString after = state(row);
        restore(row);
        EXPECT_FALSE(refusal.isEmpty()) << "it went through";
        EXPECT_TRUE(refusal.contains(fill(row.refusal))) << refusal.toStdString();
        EXPECT_EQ(after, before);
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
    DeclaredRecordWindow* added = openNew(QStringLiteral("frmRank"));
    ASSERT_NE(added, nullptr);
    type(added->field(QStringLiteral("ztxtName")), QStringLiteral("Chief"));
    type(added->field(QStringLiteral("ztxtCode")), QStringLiteral("CH"));
    Prompts().clear();
    EXPECT_FALSE(added->info()->SaveData(true));
    EXPECT_TRUE(shown().contains(QStringLiteral("You are not permitted to Add <Rank>."))) << shown().toStdString();

    const int sergeant = ownerValue(QStringLiteral("SELECT Rank_ID FROM Ranks WHERE Rank_Code = 'SGT'")).toInt();
    DeclaredRecordWindow* edited = openEdit(QStringLiteral("frmRank"), sergeant);
    ASSERT_NE(edited, nullptr);
    type(edited->field(QStringLiteral("ztxtCode")), QStringLiteral("SG"));
    Prompts().clear();
    EXPECT_FALSE(edited->info()->SaveData(true));
    EXPECT_TRUE(shown().contains(QStringLiteral("You are not permitted to Edit <Rank>."))) << shown().toStdString();
    EXPECT_EQ(ownerValue(QStringLiteral("SELECT string_agg(Rank_Name || Rank_Code, ',') FROM Ranks")), ranks);

    // The same path on a table the clerk may write saves, and the log names the clerk.
    DeclaredRecordWindow* permitted = openNew(QStringLiteral("frmSalutation"));
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
    // On the server a change renews only the decisions it touches: after every step they must be
    // what working every decision out anew gives.
    const auto decisions = [this] {
        const Recordset rs = ownerDo(QStringLiteral(
            "SELECT string_agg(concat_ws(' ', DB_Table_Key, DB_Login_Key, DB_May_Add, DB_May_Edit, DB_May_Delete, "
            "DB_Record_Good_Name), E'\\n' ORDER BY DB_Table_Key, DB_Login_Key) FROM DB_Table_Rights"));
        return rs.valueAt(0, 0).toString();
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
        if (GetParam() == Engine::PostgreSQL) {
            const QString kept = decisions();
            ownerDo(QStringLiteral("SELECT bramblecot_work_out_table_rights()"));
            EXPECT_EQ(kept.toStdString(), decisions().toStdString());
        }
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
    // A table no other table refers to (a picture of an item), so the owner may truncate it.
    ownerDo(QStringLiteral("TRUNCATE Item_Files"));
    EXPECT_EQ(ownerValue(QStringLiteral("SELECT DB_Operation || ' ' || DB_Session_User FROM DB_Change_Log "
                                        "WHERE DB_Table_Name = 'item_files' ORDER BY DB_Change_Log_ID DESC LIMIT 1")),
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
        // What the log-on window could never send: the role would be made and never log on.
        { { QStringLiteral("--add-user"), tcpServer(), database, clerk + QStringLiteral("x") },
            "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\n", "Password should be at most 30 characters long" },
        { { QStringLiteral("--add-user"), tcpServer(), database, clerk + QStringLiteral("x") }, "Sec\tret1\n",
            "Password may not hold blanks" },
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
INSTANTIATE_TEST_SUITE_P(Engines, BadInputTable, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
