// The embedded database on disk and its log-on: one file of one operating-system account. The
// file and the folders made for it are the owner's alone, the account's trusted log-on takes only
// the log-in made for that account, and a name that is not a log-in costs what a wrong password
// costs.

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/LoginAdministration.h"
#include "core/Logins.h"
#include "core/Schema.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

mode_t modeOf(const QString& path)
{
    struct stat status { };
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    return status.st_mode & 07777;
}

const QString OsUser = DatabaseConnection::operatingSystemUser();

// What the log-on said: "" when it was accepted, else its refusal.
QString logOn(const ConnectionTarget& target, const Credentials& credentials)
{
    try {
        DatabaseConnection::open(target, credentials);
        return {};
    } catch (const AppError& error) {
        return error.description();
    }
}

QString loginFailed(const QString& name) { return QStringLiteral("Login failed for user '%1'.").arg(name); }

} // namespace

TEST(EmbeddedDatabaseFile, ANewFileAndTheFoldersMadeForItAreTheOwnersAlone)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString path = root.filePath(QStringLiteral("station/data/evidence.db"));
    const ConnectionTarget target { Engine::SQLite, QStringLiteral("(local)"), path };

    ASSERT_EQ(logOn(target, Credentials {}), QString());

    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(modeOf(root.filePath(QStringLiteral("station/data"))), 0700u);
    EXPECT_EQ(modeOf(root.filePath(QStringLiteral("station"))), 0700u);
    // A folder that was there already is not the program's to change.
    const mode_t rootMode = modeOf(root.path());
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));

    ASSERT_EQ(logOn(target, Credentials {}), QString());

    EXPECT_EQ(modeOf(path), 0640u) << "an existing file's mode is the owner's choice";
    EXPECT_EQ(modeOf(root.path()), rootMode);
}

TEST(EmbeddedDatabaseFile, ALinkPlantedWhereTheNewFileGoesIsRefused)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString victim = root.filePath(QStringLiteral("victim.db"));
    const QString path = root.filePath(QStringLiteral("evidence.db"));
    ASSERT_TRUE(QFile::link(victim, path)); // dangling: the database "does not exist" yet

    const QString refusal = logOn({ Engine::SQLite, QStringLiteral("(local)"), path }, Credentials {});

    EXPECT_TRUE(refusal.startsWith(QStringLiteral("Cannot create database"))) << refusal.toStdString();
    EXPECT_FALSE(QFileInfo::exists(victim));
    EXPECT_TRUE(QFileInfo(path).isSymLink());
}

// The trusted log-on is the operating-system account's: it takes the log-in flagged as made for
// that account, never a password log-in that merely has the account's name.
TEST(EmbeddedTrustedLogon, TakesOnlyTheLogInMadeForTheAccount)
{
    TestDatabase database(Engine::SQLite);
    EXPECT_EQ(logOn(database.target(), Credentials {}), QString()) << "the first administrator is the account's";

    // The account's log-in becomes a password log-in of the same name.
    database.connect()->executeStatement(
        QStringLiteral("UPDATE DB_Logins SET OS_Account = 0, Password_Hash = ? WHERE Login_Name = ?"),
        { HashPassword(QStringLiteral("Secret1")), OsUser });

    EXPECT_EQ(logOn(database.target(), Credentials {}), loginFailed(OsUser));
    EXPECT_EQ(logOn(database.target(), Credentials { false, OsUser, QStringLiteral("Secret1") }), QString());
}

TEST(EmbeddedTrustedLogon, ALogInMadeForAnAccountHasNoPasswordToGuess)
{
    TestDatabase database(Engine::SQLite);
    CreateEmbeddedLogin(database.target(), QStringLiteral("night_clerk"), std::nullopt);

    const Recordset row = database.connect()->executeStatement(
        QStringLiteral("SELECT OS_Account, Password_Hash IS NULL FROM DB_Logins WHERE Login_Name = 'night_clerk'"));
    ASSERT_EQ(row.recordCount(), 1);
    EXPECT_EQ(row.valueAt(0, 0).toInt(), 1);
    EXPECT_EQ(row.valueAt(0, 1).toInt(), 1);
    for (const QString& password : { QString(), QStringLiteral("night_clerk"), QStringLiteral("Secret1") })
        EXPECT_EQ(logOn(database.target(), Credentials { false, QStringLiteral("night_clerk"), password }),
            loginFailed(QStringLiteral("night_clerk")))
            << password.toStdString();
}

TEST(EmbeddedTrustedLogon, CreateLoginTrustedFlagsTheLogIn)
{
    TestDatabase database(Engine::SQLite);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(BRAMBLECOT_MAIN_PATH),
        { QStringLiteral("--create-login"), database.target().databaseName, QStringLiteral("day_clerk"),
            QStringLiteral("--trusted") });
    ASSERT_TRUE(process.waitForStarted(30000));
    process.closeWriteChannel(); // no password is read
    ASSERT_TRUE(process.waitForFinished(120000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAll().toStdString();

    const Recordset row = database.connect()->executeStatement(
        QStringLiteral("SELECT OS_Account, Password_Hash FROM DB_Logins WHERE Login_Name = 'day_clerk'"));
    ASSERT_EQ(row.recordCount(), 1);
    EXPECT_EQ(row.valueAt(0, 0).toInt(), 1);
    EXPECT_TRUE(row.valueAt(0, 1).isNull());
}

TEST(CreateLoginCommand, RefusesAPasswordTheLogonWindowCouldNeverSend)
{
    TestDatabase database(Engine::SQLite);
    const auto logins = [&database] {
        return database.connect()->executeStatement(QStringLiteral("SELECT COUNT(*) FROM DB_Logins")).valueAt(0, 0).toInt();
    };
    const int before = logins();
    for (const QString& password : { QString(40, QLatin1Char('x')), QStringLiteral("Sec\tret1"), QStringLiteral("abc") }) {
        SCOPED_TRACE(password.toStdString());
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(BRAMBLECOT_MAIN_PATH),
            { QStringLiteral("--create-login"), database.target().databaseName, QStringLiteral("day_clerk") });
        ASSERT_TRUE(process.waitForStarted(30000));
        process.write((password + QLatin1Char('\n')).toUtf8());
        process.closeWriteChannel();
        ASSERT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_EQ(QString::fromUtf8(process.readAll()),
            QStringLiteral("Cannot add the log-in: ") + PasswordRuleMessage(password) + QStringLiteral(".\n"));
    }
    EXPECT_EQ(logins(), before);
}

// On a terminal the password prompt shows only once the terminal has stopped echoing: a clerk who
// types as soon as the prompt shows never has the password displayed. The test keeps the
// terminal's output full, so the program's first write to it waits; the echo must be off by then.
TEST(CreateLoginCommand, ThePromptShowsOnlyOnceTheEchoIsOff)
{
    TestDatabase database(Engine::SQLite);
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const QByteArray terminal(::ptsname(master));
    const int slave = ::open(terminal.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(slave, 0);
    termios settings {};
    ASSERT_EQ(::tcgetattr(slave, &settings), 0);
    ASSERT_TRUE(settings.c_lflag & ECHO);
    // Filled to the last byte: the terminal moves what it holds along on its own time, so the
    // filling goes on, in ever smaller pieces, until a pass a moment later finds no room at all.
    const QByteArray filler(4096, 'x');
    for (bool roomLeft = true; roomLeft;) {
        roomLeft = false;
        for (const size_t piece : { 4096u, 256u, 16u, 1u }) {
            while (::write(slave, filler.constData(), piece) > 0)
                roomLeft = true;
        }
        ::usleep(50000);
    }

    const QByteArray program(BRAMBLECOT_MAIN_PATH);
    const QByteArray file = QFile::encodeName(database.target().databaseName);
    const char* arguments[] = { program.constData(), "--create-login", file.constData(), "day_clerk", nullptr };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setsid();
        const int own = ::open(terminal.constData(), O_RDWR); // blocking, and the controlling terminal
        if (own < 0)
            ::_exit(127);
        ::dup2(own, 0);
        ::dup2(own, 1);
        ::dup2(own, 2);
        ::execv(arguments[0], const_cast<char* const*>(arguments));
        ::_exit(127);
    }
    bool echoOff = false;
    for (int waited = 0; waited < 30000 && !echoOff; waited += 20) {
        ::usleep(20000);
        echoOff = ::tcgetattr(slave, &settings) == 0 && !(settings.c_lflag & ECHO);
    }
    EXPECT_TRUE(echoOff) << "the program waits to show its prompt with the echo still on";

    // Let the prompt through, answer it with a password the rule refuses, and let the program end.
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    QByteArray shown;
    for (int waited = 0; waited < 30000 && !shown.contains("Password: "); waited += 20) {
        char buffer[4096];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got > 0)
            shown.append(buffer, got);
        else
            ::usleep(20000);
    }
    EXPECT_TRUE(shown.contains("Password: "));
    const char answer[] = "ab\n";
    EXPECT_EQ(::write(master, answer, sizeof answer - 1), static_cast<ssize_t>(sizeof answer - 1));
    int status = 0;
    for (int waited = 0; waited < 30000 && ::waitpid(child, &status, WNOHANG) == 0; waited += 20) {
        char buffer[4096];
        while (::read(master, buffer, sizeof buffer) > 0) { }
        ::usleep(20000);
    }
    if (::waitpid(child, &status, WNOHANG) == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    ::close(slave);
    ::close(master);
}

// A database made before the flag existed: its log-ins without a password were made for the
// account, its password log-ins were not.
TEST(EmbeddedTrustedLogon, TheUpgradeFlagsTheLogInsMadeWithoutAPassword)
{
    TestDatabase database(Engine::SQLite);
    database.createLogin(OsUser + QStringLiteral("_clerk"), QStringLiteral("Secret1"));
    {
        auto connection = database.connect();
        connection->executeStatement(QStringLiteral("ALTER TABLE DB_Logins DROP COLUMN OS_Account"));
        // Later migrations stay applied: only the one that added the flag runs again.
        for (const QString& statement : SchemaStatements(*connection, QStringLiteral("0014_trusted_logins")))
            connection->executeStatement(statement);
    }

    EXPECT_EQ(logOn(database.target(), Credentials {}), QString());

    const Recordset rows = database.connect()->executeStatement(
        QStringLiteral("SELECT Login_Name, OS_Account FROM DB_Logins ORDER BY OS_Account DESC"));
    ASSERT_EQ(rows.recordCount(), 2);
    EXPECT_EQ(rows.valueAt(0, 0).toString(), OsUser);
    EXPECT_EQ(rows.valueAt(0, 1).toInt(), 1);
    EXPECT_EQ(rows.valueAt(1, 1).toInt(), 0);
}

// A name that is no log-in runs the same Argon2id verification as a wrong password, against a
// stand-in hash of the same parameters, so the answer's time does not tell which names exist.
TEST(EmbeddedPasswordLogon, AnUnknownNameCostsWhatAWrongPasswordCosts)
{
    TestDatabase database(Engine::SQLite);
    database.createLogin(QStringLiteral("clerk"), QStringLiteral("Secret1"));
    CreateEmbeddedLogin(database.target(), QStringLiteral("account_only"), std::nullopt);
    const ConnectionTarget& target = database.target();

    const struct {
        const char* name;
        Credentials credentials;
    } cases[] = {
        { "wrong password", { false, QStringLiteral("clerk"), QStringLiteral("Wrong1") } },
        { "unknown name", { false, QStringLiteral("nobody"), QStringLiteral("Wrong1") } },
        { "log-in without a password", { false, QStringLiteral("account_only"), QStringLiteral("Wrong1") } },
    };
    for (const auto& c : cases) {
        const quint64 before = PasswordVerificationCount();
        EXPECT_EQ(logOn(target, c.credentials), loginFailed(c.credentials.userName)) << c.name;
        EXPECT_EQ(PasswordVerificationCount() - before, 1u) << c.name;
    }

    // And the stand-in costs as much: the quickest of a few tries each, with a wide margin (a
    // stand-in of cheaper parameters, or none, is a hundred times quicker).
    const auto quickest = [&target](const Credentials& credentials) {
        qint64 best = std::numeric_limits<qint64>::max();
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer clock;
            clock.start();
            logOn(target, credentials);
            best = std::min(best, clock.nsecsElapsed());
        }
        return best;
    };
    const double wrongPassword = static_cast<double>(quickest(cases[0].credentials));
    const double unknownName = static_cast<double>(quickest(cases[1].credentials));
    EXPECT_GT(unknownName / wrongPassword, 0.25) << unknownName << " ns against " << wrongPassword << " ns";
}
