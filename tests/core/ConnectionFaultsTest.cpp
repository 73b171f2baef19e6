#include "core/Actions.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/ProcedureCatalogue.h"
#include "support/PromptRecorder.h"
#include "core/Settings.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <thread>

namespace {

// What a connection of another user of the database gets when it writes: nothing when the write
// went through, otherwise the engine's text. It waits two seconds at most for a lock.
QString writeFromElsewhere(DatabaseConnection& other, const QString& sql)
{
    try {
        other.executeStatement(sql);
        return {};
    } catch (const AppError& error) {
        return error.description();
    }
}

std::unique_ptr<DatabaseConnection> impatientConnection(const TestDatabase& database)
{
    auto connection = database.connect();
    connection->executeStatement(database.engine() == Engine::SQLite ? QStringLiteral("PRAGMA busy_timeout = 2000")
                                                                     : QStringLiteral("SET lock_timeout = '2s'"));
    return connection;
}

class ConnectionFaults : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        // Quantities stay below 10: adding 5 to every part fails on the second row, after the
        // first row has been written (and locked).
        ASSERT_TRUE(
            Act_ExecuteSQL(QStringLiteral("CREATE TABLE Parts (Part_ID INTEGER PRIMARY KEY, Part_Name VARCHAR(50), "
                                          "Qty INTEGER CHECK (Qty < 10))")))
            << (Prompts().boxes.empty() ? std::string() : Prompts().boxes.back().text.toStdString());
        ASSERT_TRUE(
            Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name, Qty) VALUES (1, 'bolt', 1)")));
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name, Qty) VALUES (2, 'nut', 8)")));
    }
};

// While a failure's message waits for the user, the failed unit holds nothing: it was rolled back
// before the message, and another connection writes the same row at once.
TEST_P(ConnectionFaults, AFailedUnitIsRolledBackBeforeItsMessage)
{
    const QString failingWrite = QStringLiteral("UPDATE Parts SET Qty = Qty + 5");
    struct Case {
        const char* name;
        std::function<void()> run;
        bool unitOpenAfterwards; // the caller's own unit still waits for its rollback
    };
    const std::vector<Case> cases = {
        { "Act_ExecuteSQLTrans", [&] { EXPECT_FALSE(Act_ExecuteSQLTrans(failingWrite)); }, false },
        { "OpenRecordset in a transaction", [&] { EXPECT_EQ(OpenRecordset(failingWrite, true), nullptr); }, false },
        { "a command inside the unit of its caller",
            [&] {
                DBBeginTrans();
                ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Parts SET Part_Name = 'mine' WHERE Part_ID = 1")));
                EXPECT_FALSE(Act_ExecuteSQL(failingWrite));
            },
            true },
    };
    auto other = impatientConnection(*m_database);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prompts().clear();
        bool inTransaction = true;
        QString otherWrite = QStringLiteral("not tried");
        Prompts().whileShown = [&](const PromptRecorder::Box&) {
            if (otherWrite != QLatin1String("not tried"))
                return;
            inTransaction = InTransaction();
            otherWrite = writeFromElsewhere(*other,
                QStringLiteral("UPDATE Parts SET Part_Name = '%1' WHERE Part_ID = 1").arg(QString::fromLatin1(c.name)));
        };
        c.run();
        Prompts().whileShown = nullptr;
        ASSERT_FALSE(Prompts().boxes.empty());
        EXPECT_TRUE(otherWrite.isEmpty()) << qPrintable(otherWrite);
        EXPECT_EQ(inTransaction, c.unitOpenAfterwards);
        if (c.unitOpenAfterwards) {
            // The spoilt unit can only end in a rollback.
            EXPECT_THROW(DBCommitTrans(), AppError);
        }
        EXPECT_FALSE(InTransaction());
        EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Qty FROM Parts WHERE Part_ID = 1"))->toInt(), 1);
        EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Part_Name FROM Parts WHERE Part_ID = 1"))->toString(),
            QString::fromLatin1(c.name));
    }
}

class NumberArguments : public ConnectionFaults {
protected:
    void SetUp() override
    {
        ConnectionFaults::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        ProcedureCatalogue::instance().registerProcedure(
            ProcedureCatalogue::parse(QStringLiteral("usp_Test_Store_Numbers"),
                QStringLiteral("-- @param I integer\n-- @param N number\n-- @param M money\n-- @param T text\n"
                               "-- @param B bit\n"
                               "INSERT INTO Numbers (I, N, M, T, B) VALUES (:I, :N, :M, :T, :B)"),
                QString(), QString()));
        ASSERT_TRUE(Act_ExecuteSQL(
            QStringLiteral("CREATE TABLE Numbers (I BIGINT, N DOUBLE PRECISION, M %1, T VARCHAR(100), B %2)")
                .arg(SchemaToken(GetParam(), QStringLiteral("{MONEY}")),
                    SchemaToken(GetParam(), QStringLiteral("{BIT}")))));
    }

    static QString call(const char* arguments)
    {
        return QStringLiteral("EXEC usp_Test_Store_Numbers ") + QString::fromLatin1(arguments);
    }
};

TEST_P(NumberArguments, AreStoredExactly)
{
    struct Case {
        const char* arguments;
        const char* column;
        QVariant stored;
    };
    const std::vector<Case> cases = {
        { "@I = 9223372036854775807", "I", QVariant::fromValue(std::numeric_limits<qlonglong>::max()) },
        { "@I = -9223372036854775808", "I", QVariant::fromValue(std::numeric_limits<qlonglong>::min()) },
        { "@I = '9223372036854775807'", "I", QVariant::fromValue(std::numeric_limits<qlonglong>::max()) },
        { "@I = 9007199254740993", "I", QVariant::fromValue(9007199254740993LL) }, // 2^53 + 1: no double holds it
        { "@I = 2.9", "I", QVariant::fromValue(2LL) }, // a fraction is cut towards zero, as the server converts
        { "@N = 1e300", "N", 1e300 },
        { "@N = -1e300", "N", -1e300 },
        { "@M = 123456789012.3456", "M", 123456789012.3456 },
        { "@T = 1.1", "T", QStringLiteral("1.1") },
        { "@T = 99999999999999999999", "T", QStringLiteral("99999999999999999999") },
        { "@B = 1e300", "B", QVariant::fromValue(1LL) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Numbers")));
        ASSERT_TRUE(Act_ExecuteSQL(call(c.arguments)));
        const auto value = GetSQLValue(QStringLiteral("SELECT %1 FROM Numbers").arg(QLatin1String(c.column)));
        ASSERT_TRUE(value.has_value());
        if (c.stored.typeId() == QMetaType::Double)
            EXPECT_DOUBLE_EQ(value->toDouble(), c.stored.toDouble());
        else if (c.stored.typeId() == QMetaType::QString)
            EXPECT_EQ(value->toString(), c.stored.toString());
        else
            EXPECT_EQ(value->toLongLong(), c.stored.toLongLong());
    }
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(NumberArguments, OutOfRangeOrNotFiniteAreRefusedBeforeAnythingRuns)
{
    struct Case {
        const char* arguments;
        const char* message;
    };
    const char* integerRange = "is out of the range of the integer type (-9223372036854775808 to 9223372036854775807); "
                               "nothing was run.";
    const std::vector<Case> cases = {
        { "@I = 9223372036854775808", "The value 9223372036854775808 for @I " },
        { "@I = 99999999999999999999", "The value 99999999999999999999 for @I " },
        { "@I = -99999999999999999999", "The value -99999999999999999999 for @I " },
        { "@I = '99999999999999999999'", "The value 99999999999999999999 for @I " },
        { "@I = 1e300", "The value 1e+300 for @I " },
        { "@I = -1e300", "The value -1e+300 for @I " },
        { "@I = 9.3e18", "The value 9.3e+18 for @I " },
        { "@M = 1e15", "The value 1e+15 for @M is out of the range of the money type" },
        { "@M = '-2000000000000000'", "The value -2000000000000000 for @M is out of the range of the money type" },
        { "@N = 1e999",
            "The value inf for @N is not a finite number, so it cannot be stored as number; nothing was run." },
        { "@N = -1e999", "The value -inf for @N is not a finite number" },
        { "@I = 1e999", "The value inf for @I is not a finite number" },
        { "@M = 1e999", "The value inf for @M is not a finite number" },
        { "@T = 1e999", "The value inf for @T is not a finite number" },
        { "@B = 1e999", "The value inf for @B is not a finite number" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        Prompts().clear();
        EXPECT_FALSE(Act_ExecuteSQL(call(c.arguments)));
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        const QString text = Prompts().boxes[0].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Unable to Execute SQL\r\n\r\n") + QString::fromLatin1(c.message)))
            << qPrintable(text);
        if (QByteArray(c.arguments).startsWith("@I") && !QByteArray(c.arguments).contains("e999")) {
            EXPECT_TRUE(text.endsWith(QString::fromLatin1(integerRange))) << qPrintable(text);
        }
    }
    // A value no literal can write, handed over by the program itself.
    const Procedure* procedure = ProcedureCatalogue::instance().find(QStringLiteral("usp_Test_Store_Numbers"));
    ASSERT_NE(procedure, nullptr);
    try {
        DBConnection()->callProcedure(*procedure, { QVariant(), std::nan("") });
        ADD_FAILURE() << "NaN was accepted";
    } catch (const AppError& error) {
        EXPECT_EQ(error.description(),
            QStringLiteral(
                "The value nan for @N is not a finite number, so it cannot be stored as number; nothing was run."));
    }
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Numbers"))->toInt(), 0);
}

// Texts that named no fault: SQLite's "not an error" for a second statement that its own quoting
// hides from the splitter, and a NUL character that broke the PostgreSQL driver's statement.
TEST_P(ConnectionFaults, RefusalsNameTheFault)
{
    ASSERT_TRUE(Act_SaveSettingDB(QStringLiteral("DefaultFolder"), QStringLiteral("/kept")));
    const QString nul(QChar(0));
    struct Case {
        QString sql;
        QString message; // empty: the engine's own text, which must not be "not an error"
    };
    const std::vector<Case> cases = {
        // Brackets quote names on SQLite; the splitter reads the double quotes instead.
        { QStringLiteral("SELECT 1 AS [x\"]; SELECT 2 AS [\"]"),
            GetParam() == Engine::SQLite ? QStringLiteral("Only one statement can be sent at a time.") : QString() },
        { QStringLiteral("EXEC usp_DB_Setting_Save @Setting_Name = 'DefaultFolder', @Setting_Value = 'a") + nul
                + QStringLiteral("b'"),
            QStringLiteral("The text value for @Setting_Value contains a NUL character, which the database cannot "
                           "store; nothing was run.") },
        { QStringLiteral("UPDATE Parts SET Part_Name = 'a") + nul + QStringLiteral("b' WHERE Part_ID = 1"),
            QStringLiteral(
                "The command text contains a NUL character, which the database cannot store; nothing was run.") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.sql));
        Prompts().clear();
        EXPECT_FALSE(Act_ExecuteSQL(c.sql));
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        const QString text = Prompts().boxes[0].text;
        if (!c.message.isEmpty()) {
            EXPECT_EQ(text, QStringLiteral("Unable to Execute SQL\r\n\r\n") + c.message);
        }
        EXPECT_FALSE(text.contains(QStringLiteral("not an error"))) << qPrintable(text);
        EXPECT_FALSE(text.contains(QStringLiteral("qpsqlpstmt"))) << qPrintable(text);
    }
    try {
        DBConnection()->executeStatement(
            QStringLiteral("UPDATE Parts SET Part_Name = ? WHERE Part_ID = 1"), { QString(nul) });
        ADD_FAILURE() << "a NUL character was sent";
    } catch (const AppError& error) {
        EXPECT_EQ(error.description(),
            QStringLiteral("A text value contains a NUL character, which the database cannot store; nothing was run."));
    }
    QVariant folder;
    ASSERT_TRUE(Act_GetSettingDB(QStringLiteral("DefaultFolder"), folder));
    EXPECT_EQ(folder.toString(), QStringLiteral("/kept"));
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT Part_Name FROM Parts WHERE Part_ID = 1"))->toString(),
        QStringLiteral("bolt"));
}

// Units that read, then write, from several connections at once: each waits for the others
// rather than failing with "database is locked".
TEST_P(ConnectionFaults, ConcurrentReadThenWriteUnitsAllSucceed)
{
    constexpr int kConnections = 4;
    constexpr int kUnits = 60;
    std::atomic<int> failures { 0 };
    std::vector<QString> firstFailure(kConnections);
    std::vector<std::thread> workers;
    for (int worker = 0; worker < kConnections; ++worker) {
        workers.emplace_back([&, worker] {
            try {
                auto connection = m_database->connect();
                for (int unit = 0; unit < kUnits; ++unit) {
                    try {
                        connection->beginTransaction();
                        const int seen = connection->executeStatement(QStringLiteral("SELECT COUNT(*) FROM Parts"))
                                             .valueAt(0, 0)
                                             .toInt();
                        // Long enough for the others to read too before this unit writes.
                        std::this_thread::sleep_for(std::chrono::milliseconds(2));
                        connection->executeStatement(
                            QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name, Qty) VALUES (?, ?, 0)"),
                            { 1000 + worker * kUnits + unit, QStringLiteral("after %1").arg(seen) });
                        connection->commitTransaction();
                    } catch (const AppError& error) {
                        connection->rollbackTransaction();
                        ++failures;
                        if (firstFailure[static_cast<size_t>(worker)].isEmpty())
                            firstFailure[static_cast<size_t>(worker)] = error.description();
                    }
                }
            } catch (const AppError& error) {
                ++failures;
                firstFailure[static_cast<size_t>(worker)] = error.description();
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    for (const QString& failure : firstFailure)
        EXPECT_TRUE(failure.isEmpty()) << qPrintable(failure);
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Parts WHERE Part_ID >= 1000"))->toInt(),
        kConnections * kUnits);
}

// A procedure of several statements that only read runs as a read unit: it does not wait for
// another connection's write unit.
TEST_P(ConnectionFaults, AReadingProcedureDoesNotWaitForAWriter)
{
    ProcedureCatalogue::instance().registerProcedure(ProcedureCatalogue::parse(QStringLiteral("usp_Test_Two_Reads"),
        QStringLiteral("SELECT COUNT(*) AS Parts FROM Parts;\nSELECT MAX(Qty) AS Most FROM Parts"), QString(),
        QString()));
    ASSERT_TRUE(Act_ExecuteSQL(GetParam() == Engine::SQLite ? QStringLiteral("PRAGMA busy_timeout = 2000")
                                                            : QStringLiteral("SET lock_timeout = '2s'")));
    auto writer = m_database->connect();
    writer->beginTransaction();
    writer->executeStatement(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name, Qty) VALUES (3, 'washer', 2)"));

    std::unique_ptr<Recordset> rs;
    EXPECT_TRUE(Act_OpenRecordset(rs, QStringLiteral("EXEC usp_Test_Two_Reads")));
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->value(0).toInt(), 2) << "the writer's row is not committed";
    EXPECT_TRUE(Prompts().boxes.empty());
    writer->commitTransaction();
}

INSTANTIATE_TEST_SUITE_P(Engines, ConnectionFaults, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_TEST_SUITE_P(Engines, NumberArguments, ::testing::ValuesIn(TestEngines()), EngineTestName);

// Another session holds the items table locked (a clerk's psql session on PostgreSQL, another
// program's exclusive unit on SQLite): the clerk's read waits a clerk's step, no longer, and is
// told in plain words; once the lock is gone the same read runs.
class LockedRecords : public DatabaseTest {
protected:
    LockedRecords() { logOn = TestLogOn::Clerk; }
};

TEST_P(LockedRecords, AWaitForAnotherSessionsLockEndsInPlainWords)
{
    std::unique_ptr<DatabaseConnection> locker;
    if (GetParam() == Engine::PostgreSQL) {
        const QString name = QStringLiteral("locker_%1").arg(QCoreApplication::applicationPid());
        m_database->createLogin(name, QStringLiteral("Locker'1"));
        locker = m_database->connect(Credentials { false, name, QStringLiteral("Locker'1") });
        locker->beginTransaction();
        locker->executeStatement(QStringLiteral("LOCK TABLE Items IN ACCESS EXCLUSIVE MODE"));
    } else {
        locker = m_database->connect();
        locker->executeStatement(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    Prompts().clear();
    Prompts().answer(MsgBox::Yes);
    QElapsedTimer waited;
    waited.start();
    std::unique_ptr<Recordset> rows;
    EXPECT_FALSE(Act_OpenRecordset(rows, QStringLiteral("SELECT COUNT(*) FROM Items")));
    const qint64 seconds = waited.elapsed() / 1000;
    EXPECT_GE(seconds, DatabaseConnection::LockWaitSeconds - 1);
    EXPECT_LT(seconds, DatabaseConnection::LockWaitSeconds + 10);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text.toStdString(),
        "Unable to Open Recordset\r\n\r\nThe records are locked by another session; try again.");

    if (GetParam() == Engine::PostgreSQL)
        locker->rollbackTransaction();
    else
        locker->executeStatement(QStringLiteral("ROLLBACK"));
    Prompts().clear();
    EXPECT_TRUE(Act_OpenRecordset(rows, QStringLiteral("SELECT COUNT(*) FROM Items")));
    EXPECT_TRUE(Prompts().boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, LockedRecords, ::testing::ValuesIn(TestEngines()), EngineTestName);

// A PostgreSQL session that the server ends (a restart, an administrator) is opened again by the
// next command, with the same log-on.
class LostConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!RequireEngine(Engine::PostgreSQL))
            GTEST_SKIP() << "no PostgreSQL cluster is running";
        Prompts().clear();
        m_database = std::make_unique<TestDatabase>(Engine::PostgreSQL);
        m_database->registerAsCurrent();
        m_admin = m_database->connect();
        m_admin->executeStatement(
            QStringLiteral("CREATE TABLE Parts (Part_ID INTEGER PRIMARY KEY, Part_Name VARCHAR(50))"));
    }
    void TearDown() override
    {
        CloseConnection();
        m_admin.reset();
        m_database.reset();
        DBList().clear();
        CurrentDB() = 0;
    }

    qlonglong backend()
    {
        return GetSQLValue(QStringLiteral("SELECT pg_backend_pid()")).value_or(QVariant(-1)).toLongLong();
    }

    // Ends the program's server session from another connection, and waits until it is gone.
    void endSession()
    {
        const qlonglong pid = backend();
        ASSERT_GT(pid, 0);
        const Recordset ended = m_admin->executeStatement(
            QStringLiteral("SELECT pg_terminate_backend(CAST(? AS INTEGER), 10000)"), { pid });
        ASSERT_TRUE(ended.valueAt(0, 0).toBool());
        Prompts().clear();
    }

    // A statement no session of the database itself may run, sent from the cluster's maintenance
    // database.
    static void onMaintenanceDatabase(const QString& statement)
    {
        const QString name = QStringLiteral("lost-connection-maintenance");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(qEnvironmentVariable("PGHOST"));
            db.setPort(qEnvironmentVariable("PGPORT").toInt());
            db.setDatabaseName(QStringLiteral("postgres"));
            ASSERT_TRUE(db.open()) << qPrintable(db.lastError().text());
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(statement)) << qPrintable(query.lastError().text());
        }
        QSqlDatabase::removeDatabase(name);
    }

    long long parts()
    {
        return m_admin->executeStatement(QStringLiteral("SELECT COUNT(*) FROM Parts")).valueAt(0, 0).toLongLong();
    }

    std::unique_ptr<TestDatabase> m_database;
    std::unique_ptr<DatabaseConnection> m_admin;
};

TEST_F(LostConnection, TheNextCommandReopensItWithTheSameLogOn)
{
    const QString login = QStringLiteral("Clerk_%1").arg(QCoreApplication::applicationPid());
    m_database->createLogin(login, QStringLiteral("Secret'Pass"));
    DBList()[0].Server = QStringLiteral("127.0.0.1:") + qEnvironmentVariable("PGPORT");
    ASSERT_EQ(OpenConnection(1, false, login, QStringLiteral("Secret'Pass")), QString());
    const qlonglong before = backend();
    endSession();

    // The command that finds the connection broken reports it, once, through the error dialog.
    EXPECT_EQ(OpenRecordset(QStringLiteral("SELECT pg_backend_pid()")), nullptr);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    const QString text = Prompts().boxes[0].text;
    EXPECT_EQ(Prompts().boxes[0].title, QStringLiteral("Error: %1").arg(ErrProviderFailure));
    EXPECT_FALSE(text.contains(QStringLiteral("()"))) << qPrintable(text);
    EXPECT_TRUE(
        text.contains(QStringLiteral("The connection to the database was lost; the next command opens it again.")))
        << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Recommendation: Exit application. Restart application.")))
        << qPrintable(text);
    EXPECT_TRUE(DBConnection()->connectionLost());

    Prompts().clear();
    DBConnection()->setCommandTimeout(7);
    const qlonglong after = backend();
    EXPECT_GT(after, 0);
    EXPECT_NE(after, before);
    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_FALSE(DBConnection()->connectionLost());
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT SUSER_NAME()"))->toString(), login.toLower());
    EXPECT_EQ(GetSQLValue(QStringLiteral("SHOW statement_timeout"))->toString(), QStringLiteral("7s"))
        << "the command timeout applies to the new session";
}

TEST_F(LostConnection, AnOpenUnitIsReportedRolledBackAndNeverRunAgain)
{
    ASSERT_EQ(OpenConnection(1, true, QString(), QString()), QString());
    DBBeginTrans();
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name) VALUES (1, 'before')")));
    endSession();

    EXPECT_FALSE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name) VALUES (2, 'during')")));
    EXPECT_FALSE(
        Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name) VALUES (3, 'later in the unit')")));
    ASSERT_EQ(Prompts().boxes.size(), 2u);
    EXPECT_TRUE(Prompts().boxes[0].text.endsWith(
        QStringLiteral("The connection to the database was lost; the next command opens it again. "
                       "The open transaction has been rolled back.")))
        << qPrintable(Prompts().boxes[0].text);
    EXPECT_FALSE(Prompts().boxes[0].text.contains(QStringLiteral("()")));
    EXPECT_EQ(Prompts().boxes[1].text,
        QStringLiteral(
            "Unable to Execute SQL\r\n\r\nThe connection to the database was lost and the open transaction has been "
            "rolled back; its remaining commands were not run."));
    EXPECT_THROW(DBCommitTrans(), AppError);
    EXPECT_FALSE(InTransaction());

    Prompts().clear();
    EXPECT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name) VALUES (4, 'after')")));
    for (const PromptRecorder::Box& box : Prompts().boxes)
        ADD_FAILURE() << qPrintable(box.text);
    EXPECT_EQ(parts(), 1) << "nothing of the lost unit was stored or run again";
}

TEST_F(LostConnection, AFailedReopeningIsReportedAndTheNextCommandTriesAgain)
{
    ASSERT_EQ(OpenConnection(1, true, QString(), QString()), QString());
    const QString database = m_database->target().databaseName;
    endSession();
    onMaintenanceDatabase(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(database));
    EXPECT_FALSE(
        Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name) VALUES (1, 'finds it broken')")));
    EXPECT_FALSE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name) VALUES (2, 'cannot reopen')")));
    onMaintenanceDatabase(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true").arg(database));
    ASSERT_EQ(Prompts().boxes.size(), 2u);
    EXPECT_TRUE(Prompts().boxes[1].text.startsWith(QStringLiteral(
        "Unable to Execute SQL\r\n\r\nThe connection to the database was lost and could not be opened again.\r\n")))
        << qPrintable(Prompts().boxes[1].text);
    EXPECT_TRUE(DBConnection()->connectionLost());

    Prompts().clear();
    EXPECT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name) VALUES (3, 'reopened')")));
    for (const PromptRecorder::Box& box : Prompts().boxes)
        ADD_FAILURE() << qPrintable(box.text);
    EXPECT_EQ(parts(), 1);
}

// A cluster of the test's own, restarted under an open connection as an administrator's
// "pg_ctl restart -m immediate" does it: the server goes without a word (no SQLSTATE), unlike a
// session an administrator ends. The shared test cluster stays untouched.
class ServerRestart : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!RequireEngine(Engine::PostgreSQL))
            GTEST_SKIP() << "no PostgreSQL cluster is running";
        const QString started = script(QStringLiteral("source \"$1\" start && echo \"$PGHOST|$PGPORT|$BRAMBLECOT_PG_BASE|$BRAMBLECOT_PG_OWNER\""));
        const QStringList parts = started.trimmed().split(QLatin1Char('|'));
        ASSERT_EQ(parts.size(), 4) << qPrintable(started);
        m_base = parts[2];
        m_owner = parts[3];
        m_host = qEnvironmentVariable("PGHOST");
        m_port = qEnvironmentVariable("PGPORT");
        // The fixtures find their cluster in the environment.
        qputenv("PGHOST", parts[0].toUtf8());
        qputenv("PGPORT", parts[1].toUtf8());
        Prompts().clear();
        m_database = std::make_unique<TestDatabase>(Engine::PostgreSQL);
        m_database->registerAsCurrent();
        ASSERT_EQ(OpenConnection(1, true, QString(), QString()), QString());
    }
    void TearDown() override
    {
        CloseConnection();
        SetDBConnection(nullptr);
        m_database.reset();
        DBList().clear();
        CurrentDB() = 0;
        if (!m_base.isEmpty()) {
            script(QStringLiteral("bash \"$1\" stop \"$2\" \"$3\""), { m_base, m_owner });
            qputenv("PGHOST", m_host.toUtf8());
            qputenv("PGPORT", m_port.toUtf8());
        }
    }

    // Runs a line of bash with the cluster script as $1 (and the arguments as $2...); its output.
    static QString script(const QString& line, const QStringList& arguments = {})
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral("bash"),
            QStringList { QStringLiteral("-c"), line, QStringLiteral("bash"),
                QStringLiteral(BRAMBLECOT_SOURCE_DIR "/scripts/pg-cluster.sh") }
                + arguments);
        process.waitForFinished(120000);
        return QString::fromUtf8(process.readAll());
    }

    void restartImmediately()
    {
        // The cluster commits without waiting for its log: what the test wrote must outlive the crash.
        ClusterExec({ QStringLiteral("CHECKPOINT") });
        const QString pgCtl = QStringLiteral("/usr/lib/postgresql/15/bin/pg_ctl");
        QStringList command { pgCtl, QStringLiteral("-D"), m_base + QStringLiteral("/data"), QStringLiteral("-m"),
            QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("-l"),
            m_base + QStringLiteral("/log/server.log"), QStringLiteral("restart") };
        if (m_owner == QLatin1String("postgres") && DatabaseConnection::operatingSystemUser() != m_owner)
            command = QStringList { QStringLiteral("-u"), m_owner, QStringLiteral("--") } + command;
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        const QString program = command.first() == pgCtl ? command.takeFirst() : QStringLiteral("runuser");
        // The server account may not enter the test's working folder (a checkout only its owner
        // may enter); the restarted server must not start from there.
        process.setWorkingDirectory(QStringLiteral("/"));
        process.start(program, command);
        ASSERT_TRUE(process.waitForFinished(120000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAll().toStdString();
        Prompts().clear();
    }

    std::unique_ptr<TestDatabase> m_database;
    QString m_base;
    QString m_owner;
    QString m_host;
    QString m_port;
};

// The command that finds the connection broken reports it once, with the note, whichever way it
// reaches the server; the next command opens the connection again and runs.
TEST_F(ServerRestart, TheCommandThatFindsTheConnectionBrokenReportsItOnceAndTheNextRuns)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("CREATE TABLE Parts (Part_ID INTEGER PRIMARY KEY, Part_Name VARCHAR(50))")));
    const struct {
        const char* how;
        std::function<bool()> command;
    } ways[] = {
        { "a statement", [] { return OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM Parts")) != nullptr; } },
        { "a statement with values", [] { return GetSQLValue(QStringLiteral("SELECT Part_Name FROM Parts WHERE Part_ID = 1")).has_value(); } },
        { "a catalogue procedure",
            [] { return OpenRecordset(QStringLiteral("EXEC usp_DB_Get_Current_DB_User_ID")) != nullptr; } },
        { "a write", [] { return Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name) VALUES (2, 'nut')")); } },
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Parts")));
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Parts (Part_ID, Part_Name) VALUES (1, 'bolt')")));
        way.command(); // the statement is prepared before the restart
        restartImmediately();

        EXPECT_FALSE(way.command());
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        const QString text = Prompts().boxes[0].text;
        EXPECT_TRUE(
            text.contains(QStringLiteral("The connection to the database was lost; the next command opens it again.")))
            << qPrintable(text);
        EXPECT_TRUE(DBConnection()->connectionLost());

        Prompts().clear();
        EXPECT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Parts WHERE Part_ID = 2")));
        EXPECT_TRUE(way.command());
        for (const PromptRecorder::Box& box : Prompts().boxes)
            ADD_FAILURE() << qPrintable(box.text);
        EXPECT_FALSE(DBConnection()->connectionLost());
    }
}

} // namespace
