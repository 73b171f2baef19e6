#include "core/Actions.h"
#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/LoginAdministration.h"
#include "core/Logins.h"
#include "support/PromptRecorder.h"
#include "core/RegistrySettings.h"
#include "core/Schema.h"
#include "core/Settings.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QDate>

#include <gtest/gtest.h>

namespace {

class DatabaseLayer : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        Terminations() = {};
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("CREATE TABLE Gadgets (Gadget_ID INTEGER PRIMARY KEY, Gadget_Name VARCHAR(50))")));
    }

    long long count(const QString& table)
    {
        return GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM ") + table).value_or(QVariant(-1)).toLongLong();
    }
};

TEST_P(DatabaseLayer, GetSQLValueTellsNoRowFromNullAndTrimsText)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Gadgets (Gadget_ID, Gadget_Name) VALUES (1, '  padded  ')")));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Gadgets (Gadget_ID, Gadget_Name) VALUES (2, NULL)")));

    EXPECT_FALSE(GetSQLValue(QStringLiteral("SELECT Gadget_Name FROM Gadgets WHERE Gadget_ID = 99")).has_value());
    const auto null = GetSQLValue(QStringLiteral("SELECT Gadget_Name FROM Gadgets WHERE Gadget_ID = 2"));
    ASSERT_TRUE(null.has_value());
    EXPECT_TRUE(null->isNull());
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Gadget_Name FROM Gadgets WHERE Gadget_ID = 1"))->toString(), QStringLiteral("padded"));
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(DatabaseLayer, AFailingQueryIsReportedOnceAsOpenRecordset)
{
    EXPECT_FALSE(GetSQLValue(QStringLiteral("SELECT Missing_Column FROM Gadgets")).has_value());
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QStringLiteral("Unable to Open Recordset\r\n\r\n")));
    EXPECT_EQ(Prompts().boxes[0].title, QStringLiteral("Error"));
}

TEST_P(DatabaseLayer, OpenRecordsetOfACommandWithoutRowsShowsTheErrorDialog)
{
    Prompts().answer(MsgBox::Yes);
    EXPECT_EQ(OpenRecordset(QStringLiteral("UPDATE Gadgets SET Gadget_Name = 'x'")), nullptr);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QStringLiteral("Recordset is closed\r\nMessage: Make sure you open stored "
                                                                   "procedures Forward Only.")));
    EXPECT_EQ(Terminations().calls, 0);
    EXPECT_EQ(DBConnection()->commandTimeout(), 480);
}

TEST_P(DatabaseLayer, ExecuteInTransactionRollsBackAFailedUnit)
{
    EXPECT_FALSE(Act_ExecuteSQLTrans(QStringLiteral("INSERT INTO Gadgets (Gadget_ID, Gadget_Name) VALUES (1, 'a', 'extra')")));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QStringLiteral("Unable to Execute SQL With Transaction\r\n\r\n")));
    EXPECT_FALSE(InTransaction());
    EXPECT_TRUE(Act_ExecuteSQLTrans(QStringLiteral("INSERT INTO Gadgets (Gadget_ID, Gadget_Name) VALUES (1, 'a')")));
    EXPECT_EQ(count(QStringLiteral("Gadgets")), 1);
}

TEST_P(DatabaseLayer, NestedTransactionsCommitOnlyAtTheOutermostLevel)
{
    DBBeginTrans();
    ASSERT_TRUE(Act_ExecuteSQLTrans(QStringLiteral("INSERT INTO Gadgets (Gadget_ID, Gadget_Name) VALUES (1, 'inner')")));
    EXPECT_TRUE(InTransaction()) << "the inner unit must not commit the outer one";
    DBRollbackTrans();
    EXPECT_FALSE(InTransaction());
    EXPECT_EQ(count(QStringLiteral("Gadgets")), 0);
}

TEST_P(DatabaseLayer, AnInnerFailureRollsTheWholeUnitBack)
{
    DBBeginTrans();
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Gadgets (Gadget_ID, Gadget_Name) VALUES (1, 'outer')")));
    EXPECT_FALSE(Act_ExecuteSQLTrans(QStringLiteral("INSERT INTO Gadgets (Gadget_ID) VALUES (1)")));
    // The outer unit can no longer commit what the inner failure spoilt.
    EXPECT_FALSE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Gadgets (Gadget_ID, Gadget_Name) VALUES (2, 'later')")));
    EXPECT_THROW(DBCommitTrans(), AppError);
    EXPECT_FALSE(InTransaction());
    EXPECT_EQ(count(QStringLiteral("Gadgets")), 0);
}

TEST_P(DatabaseLayer, TransactionScopeRollsBackWhenLeftByAnException)
{
    try {
        TransactionScope unit;
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Gadgets (Gadget_ID, Gadget_Name) VALUES (1, 'a')")));
        throw AppError(ErrToReport, QStringLiteral("stop"));
    } catch (const AppError&) {
    }
    EXPECT_FALSE(InTransaction());
    EXPECT_EQ(count(QStringLiteral("Gadgets")), 0);
}

TEST_P(DatabaseLayer, ProcedureCallsAreCheckedAgainstTheCatalogue)
{
    const std::vector<std::pair<QString, QString>> cases = {
        { QStringLiteral("EXEC usp_Nowhere @A = 1"), QStringLiteral("Could not find stored procedure 'usp_Nowhere'.") },
        { QStringLiteral("EXEC usp_DB_Setting_Get @Setting = 'x'"),
          QStringLiteral("@Setting is not a parameter for procedure usp_DB_Setting_Get.") },
        { QStringLiteral("EXEC usp_DB_Form_Size_Save @DB_App_Form_Name = 'frmX', @DB_Width_Twips = 'wide'"),
          QStringLiteral("Conversion failed when converting the varchar value 'wide' to data type int.") },
        // Positional values: the procedure must exist, and they take the parameters in order.
        { QStringLiteral("EXEC usp_Nowhere 7"), QStringLiteral("Could not find stored procedure 'usp_Nowhere'.") },
        { QStringLiteral("EXEC usp_DB_Setting_Get 'a', 'b'"),
          QStringLiteral("Procedure or function usp_DB_Setting_Get has too many arguments specified.") },
        { QStringLiteral("EXEC usp_DB_Setting_Save 'a', @Setting_Name = 'b'"),
          QStringLiteral("Parameter '@Setting_Name' was supplied multiple times.") },
    };
    for (const auto& [sql, message] : cases) {
        Prompts().clear();
        EXPECT_FALSE(Act_ExecuteSQL(sql));
        ASSERT_EQ(Prompts().boxes.size(), 1u) << qPrintable(sql);
        EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Unable to Execute SQL\r\n\r\n") + message);
    }
}

TEST_P(DatabaseLayer, PositionalValuesTakeTheDeclaredParameterOrder)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("EXEC usp_DB_Setting_Save 'DefaultFolder', @Setting_Value = 'O''Brien'")));
    const std::optional<QVariant> value = GetSQLValue(QStringLiteral("EXEC usp_DB_Setting_Get 'DefaultFolder'"));
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->toString(), QStringLiteral("O'Brien"));
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(DatabaseLayer, InjectedTextInAnArgumentIsOnlyAValue)
{
    const QString attack = QStringLiteral("x'); DROP TABLE Gadgets; --");
    ASSERT_TRUE(Act_SaveSettingDB(QStringLiteral("DefaultFolder"), attack));
    QVariant value;
    ASSERT_TRUE(Act_GetSettingDB(QStringLiteral("DefaultFolder"), value));
    EXPECT_EQ(value.toString(), attack);
    EXPECT_EQ(count(QStringLiteral("Gadgets")), 0); // the table is still there
}

TEST_P(DatabaseLayer, SettingsComeBackUnwrapped)
{
    struct Case {
        QString name;
        QVariant saved;
        QString read;
    };
    const std::vector<Case> cases = {
        { QStringLiteral("DB_Show_Toolbar"), true, QStringLiteral("1") },
        { QStringLiteral("DB_Show_Status_Bar"), false, QStringLiteral("0") },
        { QStringLiteral("DB_Query_Timeout"), 30, QStringLiteral("30") },
        { QStringLiteral("DefaultFolder"), QStringLiteral("  /home/clerk/My Files  "), QStringLiteral("/home/clerk/My Files") },
        { QStringLiteral("DB_Replace_Text_Extensions"), QStringLiteral("O'Brien's 'quoted'"), QStringLiteral("O'Brien's 'quoted'") },
        { QStringLiteral("A_New_Setting"), QStringLiteral(""), QStringLiteral("") },
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Act_SaveSettingDB(c.name, c.saved)) << qPrintable(c.name);
        QVariant value;
        ASSERT_TRUE(Act_GetSettingDB(c.name, value)) << qPrintable(c.name);
        EXPECT_EQ(value.toString(), c.read) << qPrintable(c.name);
    }
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(DatabaseLayer, AnUnknownSettingIsReportedAndLeavesTheValueAlone)
{
    QVariant value(QStringLiteral("untouched"));
    EXPECT_FALSE(Act_GetSettingDB(QStringLiteral("No_Such_Setting"), value));
    EXPECT_EQ(value.toString(), QStringLiteral("untouched"));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text,
              QStringLiteral("Unable to Get Settings From the Database\r\n\r\nCannot find Setting <No_Such_Setting>"));
}

TEST_P(DatabaseLayer, EveryNamedSettingHasADefault)
{
    for (const char* name : { "DB_Show_Toolbar", "DB_Show_Status_Bar", "DB_Show_GoTo_Navigator", "DB_Show_Open_Windows_Navigator",
                              "DB_Navigators_On_Left", "DB_Navigators_Width", "DB_Horiz_Div_Y", "DB_Background_Color",
                              "DB_Prompt_Database_Switch", "DB_Query_Timeout", "DefaultFolder", "DB_Item_File_Init_Folder",
                              "DB_Rename_Files_Folder", "DB_Replace_Text_Folder", "DB_Replace_Text_Extensions",
                              "DB_Rename_Files_Include_Sub_Folders", "DB_Replace_Text_Include_Sub_Folders",
                              "DB_Item_File_Preview" }) {
        QVariant value;
        EXPECT_TRUE(Act_GetSettingDB(QString::fromLatin1(name), value)) << name;
    }
}

TEST_P(DatabaseLayer, ResultColumnsCarryTheSameLogicalTypesOnBothEngines)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES ('P-1')")));
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(Act_OpenRecordset(rs, QStringLiteral("SELECT DB_Table_ID, DB_Table_Name, DB_Default_Permission FROM DB_Tables "
                                                     "WHERE DB_Table_Name = 'db_users'")));
    ASSERT_EQ(rs->recordCount(), 1) << "names compare without regard to case";
    EXPECT_EQ(rs->fieldType(0), ColumnType::Integer);
    EXPECT_EQ(rs->fieldType(1), ColumnType::Text);
    EXPECT_EQ(rs->fieldType(2), ColumnType::Boolean);
    EXPECT_EQ(rs->value(QStringLiteral("db_default_permission")).typeId(), QMetaType::Bool);

    ASSERT_TRUE(Act_OpenRecordset(rs, QStringLiteral("EXEC usp_DB_Rep_Signature")));
    EXPECT_EQ(rs->fieldType(rs->fieldIndex(QStringLiteral("Time"))), ColumnType::DateTime);
    EXPECT_EQ(rs->value(QStringLiteral("Time")).toDateTime().date(), QDate::currentDate());
    EXPECT_EQ(rs->value(QStringLiteral("User")).toString(), UserName());
}

TEST_P(DatabaseLayer, SeveralResultSetsAreWalkedInOrder)
{
    // The start-up check writes the user's row if missing, then answers: one result set.
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(Act_OpenRecordset(rs, QStringLiteral("EXEC usp_DB_Check_User_On_Start")));
    EXPECT_EQ(rs->resultSetCount(), 1);
    EXPECT_EQ(rs->value(0).toInt(), 1) << "the first administrator's record is complete";
    EXPECT_FALSE(rs->nextRecordset());
    EXPECT_FALSE(rs->isOpen());
}

TEST_P(DatabaseLayer, TheChangeLogKeepsInsertUpdateAndDeleteOfARecord)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Employees (Employee_ID, Payroll_Number) VALUES (7, 'P-7')")));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Employees SET Payroll_Number = 'P-8' WHERE Employee_ID = 7")));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Employees WHERE Employee_ID = 7")));
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(Act_OpenRecordset(rs, QStringLiteral("EXEC usp_DB_Search_Record_History @DB_Table_Name = 'Employees', @DB_PK = 7")));
    ASSERT_EQ(rs->recordCount(), 3);
    const QStringList operations { QStringLiteral("Insert"), QStringLiteral("Update"), QStringLiteral("Delete") };
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(rs->valueAt(row, rs->fieldIndex(QStringLiteral("Operation"))).toString(), operations[row]);
        EXPECT_EQ(rs->valueAt(row, rs->fieldIndex(QStringLiteral("User"))).toString().toLower(), UserName().toLower());
    }
    EXPECT_TRUE(rs->valueAt(1, rs->fieldIndex(QStringLiteral("Old Values"))).toString().contains(QStringLiteral("P-7")));
    EXPECT_TRUE(rs->valueAt(1, rs->fieldIndex(QStringLiteral("New Values"))).toString().contains(QStringLiteral("P-8")));
    EXPECT_TRUE(rs->isNullAt(2, rs->fieldIndex(QStringLiteral("New Values"))));
}

TEST_P(DatabaseLayer, PermissionsComeFromAdministratorThenOwnRowThenDefault)
{
    // A clerk who is no administrator: Rename Files defaults to refused, All Tables to permitted.
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 0")));
    auto permission = [](const QString& sql) { return GetSQLValue(sql).value_or(QVariant(QStringLiteral("no row"))); };
    const QString action = QStringLiteral("EXEC usp_DB_Get_DB_Action_Permission @DB_Action_Code = 'RenameFiles'");
    const QString report = QStringLiteral("EXEC usp_DB_Get_DB_Report_Permission @DB_Report_Code = 'AllTables'");
    const QString table = QStringLiteral("EXEC usp_DB_Get_DB_Table_Permission @DB_Table_Action_Name = 'View', @DB_Table_Name = 'DB_Users'");
    EXPECT_EQ(permission(action), QVariant(false));
    EXPECT_EQ(permission(report), QVariant(true));
    EXPECT_EQ(permission(table), QVariant(false));

    const QString me = QStringLiteral("(SELECT DB_User_ID FROM DB_Users WHERE DB_User_Name = SUSER_NAME())");
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO DB_Action_Permissions (DB_User_ID, DB_Action_ID, DB_Permission) "
                                              "SELECT %1, DB_Action_ID, 1 FROM DB_Actions WHERE DB_Action_Code = 'RenameFiles'").arg(me)));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO DB_Report_Permissions (DB_User_ID, DB_Report_ID, DB_Permission) "
                                              "SELECT %1, DB_Report_ID, 0 FROM DB_Reports WHERE DB_Report_Code = 'AllTables'").arg(me)));
    EXPECT_EQ(permission(action), QVariant(true));
    EXPECT_EQ(permission(report), QVariant(false));

    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 1")));
    EXPECT_EQ(permission(report), QVariant(true)) << "an administrator may do everything";
    EXPECT_EQ(permission(table), QVariant(true));

    EXPECT_EQ(permission(QStringLiteral("EXEC usp_DB_Get_DB_Action_Permission @DB_Action_Code = 'Nothing'")), QVariant(QStringLiteral("no row")));
    EXPECT_EQ(permission(QStringLiteral("EXEC usp_DB_Get_DB_Table_Permission @DB_Table_Action_Name = 'Fly', @DB_Table_Name = 'DB_Users'")),
              QVariant(QStringLiteral("no row")));
}

TEST_P(DatabaseLayer, WindowSizesAndFormsComeBackPerUser)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("EXEC usp_DB_Form_Size_Save @DB_App_Form_Name = 'frmItem', @DB_Width_Twips = 9000, "
                                              "@DB_Height_Twips = '6000'")));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("EXEC usp_DB_Form_Size_Save @DB_App_Form_Name = 'FRMITEM', @DB_Width_Twips = 9100, "
                                              "@DB_Height_Twips = 6100")));
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(Act_OpenRecordset(rs, QStringLiteral("EXEC usp_DB_Form_Size_Load @DB_App_Form_Name = 'frmItem'")));
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value(QStringLiteral("DB_Width_Twips")).toInt(), 9100);
    EXPECT_EQ(rs->value(QStringLiteral("DB_Height_Twips")).toInt(), 6100);
    EXPECT_EQ(GetSQLValue(QStringLiteral("EXEC usp_DB_Multiple_Records_Form_For_Table @DB_Table_Name = 'DB_Users'"))->toString(),
              QStringLiteral("frmUsers"));
}

TEST_P(DatabaseLayer, SampleDataLoadsOnceAndTwiceAlike)
{
    LoadSampleData(*DBConnection());
    const auto count = [](const char* table) {
        return GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)))->toInt();
    };
    const int statuses = count("Case_Statuses");
    const int states = count("States");
    EXPECT_GT(statuses, 0);
    EXPECT_GT(states, 0);
    EXPECT_GT(count("Units"), 0) << "units hang on the unit types every database starts with";
    LoadSampleData(*DBConnection());
    EXPECT_EQ(count("Case_Statuses"), statuses);
    EXPECT_EQ(count("States"), states);
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Color_RGB_Value FROM Colors WHERE Color_Name = 'blue'"))->toInt(), 255 * 65536)
        << "a colour number is red + 256 x green + 65536 x blue";
}

INSTANTIATE_TEST_SUITE_P(Engines, DatabaseLayer, ::testing::ValuesIn(TestEngines()), EngineTestName);

// Log-ons: the database is not the program's connection here, each test logs on itself.
class LogOn : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (!RequireEngine(GetParam()))
            GTEST_SKIP() << "no PostgreSQL cluster is running";
        Prompts().clear();
        m_database = std::make_unique<TestDatabase>(GetParam());
        m_database->registerAsCurrent();
        // Roles belong to the whole cluster, and test processes run side by side.
        m_login = QStringLiteral("Clerk_%1").arg(QCoreApplication::applicationPid());
        m_database->createLogin(m_login, QStringLiteral("Secret'Pass"));
        if (GetParam() == Engine::PostgreSQL) {
            // Password log-ons reach the server over TCP; the socket is for the trusted log-on.
            DBList()[0].Server = QStringLiteral("127.0.0.1:") + qEnvironmentVariable("PGPORT");
        }
    }
    void TearDown() override
    {
        CloseConnection();
        m_database.reset();
        DBList().clear();
        CurrentDB() = 0;
    }
    std::unique_ptr<TestDatabase> m_database;
    QString m_login;
};

TEST_P(LogOn, APasswordLogOnSetsTheUserAndRemembersIt)
{
    EXPECT_EQ(OpenConnection(1, false, m_login.toUpper(), QStringLiteral("Secret'Pass")), QString());
    EXPECT_EQ(UserName().toLower(), m_login.toLower());
    EXPECT_FALSE(HostName().isEmpty());
    EXPECT_FALSE(TrustedConnection());
    EXPECT_EQ(RegistrySettings::value(QStringLiteral("Options"), QStringLiteral("LastUser")), UserName());
    EXPECT_EQ(DBConnection()->commandTimeout(), 30) << "the stored query timeout applies after log-on";
}

TEST_P(LogOn, WrongPasswordsFailWithTheEnginesTextAndLeaveNoConnection)
{
    for (const QString& password : { QStringLiteral("secret'pass"), QStringLiteral(""), QStringLiteral("wrong") }) {
        const QString result = OpenConnection(1, false, m_login, password);
        EXPECT_TRUE(result.startsWith(QStringLiteral("SQL Server Login Failed.\r\n"))) << qPrintable(result);
        EXPECT_GT(result.size(), QStringLiteral("SQL Server Login Failed.\r\n").size());
        EXPECT_EQ(DBConnection(), nullptr);
    }
}

TEST_P(LogOn, TheTrustedLogOnIsTheOperatingSystemUser)
{
    if (GetParam() == Engine::PostgreSQL)
        DBList()[0].Server = m_database->target().server;
    EXPECT_EQ(OpenConnection(1, true, QString(), QString()), QString());
    EXPECT_EQ(UserName().toLower(), DatabaseConnection::operatingSystemUser().toLower());
    EXPECT_TRUE(TrustedConnection());
}

TEST_P(LogOn, AnUnreachableServerOrUnknownEngineFails)
{
    DBList()[0].Server = GetParam() == Engine::PostgreSQL ? QStringLiteral("127.0.0.1:1") : DBList()[0].Server;
    if (GetParam() == Engine::SQLite)
        DBList()[0].DatabaseName = QStringLiteral("/nonexistent-folder/none.db");
    const QString result = OpenConnection(1, false, m_login, QStringLiteral("Secret'Pass"));
    EXPECT_TRUE(result.startsWith(QStringLiteral("SQL Server Login Failed.\r\n"))) << qPrintable(result);
    EXPECT_EQ(DBConnection(), nullptr);

    DBList()[0].EngineName = QStringLiteral("Oracle");
    EXPECT_EQ(OpenConnection(1, true, QString(), QString()), QStringLiteral("SQL Server Login Failed.\r\nUnknown database engine 'Oracle'."));
}

INSTANTIATE_TEST_SUITE_P(Engines, LogOn, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace

// The log-on window takes 4 to 30 characters without blanks (it removes them at the ends and takes
// no space key): a log-in made with any other password could never log on.
TEST(PasswordRule, IsTheLogonWindowsRule)
{
    const QString blanks = QStringLiteral("Password may not hold blanks: the Logon window cannot send them");
    const QString printable
        = QStringLiteral("Password may hold only printable characters: the Logon window cannot send others");
    const std::pair<QString, QString> cases[] = {
        { QStringLiteral("abcd"), QString() }, { QString(30, QLatin1Char('x')), QString() },
        { QStringLiteral("Secret'Pass"), QString() },
        { QStringLiteral("abc"), QStringLiteral("Password should be at least 4 characters long") },
        { QString(), QStringLiteral("Password should be at least 4 characters long") },
        { QString(31, QLatin1Char('x')),
            QStringLiteral("Password should be at most 30 characters long: the Logon window takes no more") },
        { QString(40, QLatin1Char('x')),
            QStringLiteral("Password should be at most 30 characters long: the Logon window takes no more") },
        { QStringLiteral(" abcd"), blanks }, { QStringLiteral("abcd "), blanks }, { QStringLiteral("ab cd"), blanks },
        { QStringLiteral("abcd\r"), blanks }, // a line end from a piped file
        { QStringLiteral("Sec\tret1"), blanks }, // a TAB moves the log-on window to its next box
        { QStringLiteral("Sec\x01ret1"), printable }, { QStringLiteral("Sec\x7Fret1"), printable },
        { QStringLiteral("Sec") + QChar(0x200B) + QStringLiteral("ret1"), printable }, // a format character
        { QStringLiteral("Gr\u00FC\u00DFe\u20AC1"), QString() }, // printable beyond ASCII is typed
    };
    for (const auto& [password, message] : cases)
        EXPECT_EQ(PasswordRuleMessage(password), message) << password.toStdString();
}

TEST(CreateLogin, RefusesWhatTheLogonWindowCannotSend)
{
    TestDatabase database(Engine::SQLite);
    const auto logins = [&database] {
        return database.connect()
            ->executeStatement(QStringLiteral("SELECT COUNT(*) FROM DB_Logins"))
            .valueAt(0, 0)
            .toInt();
    };
    const int before = logins();
    for (const QString& password : { QString(40, QLatin1Char('x')), QStringLiteral(" Secret1"),
             QStringLiteral("Secret1 "), QStringLiteral("abc") }) {
        try {
            CreateEmbeddedLogin(database.target(), QStringLiteral("clerk"), password);
            ADD_FAILURE() << "accepted <" << password.toStdString() << ">";
        } catch (const AppError& error) {
            EXPECT_EQ(error.description(), PasswordRuleMessage(password) + QLatin1Char('.'));
        }
    }
    EXPECT_EQ(logins(), before);

    const QString longest(30, QLatin1Char('x'));
    CreateEmbeddedLogin(database.target(), QStringLiteral("clerk"), longest);
    EXPECT_NO_THROW(database.connect(Credentials { false, QStringLiteral("clerk"), longest }));
}
