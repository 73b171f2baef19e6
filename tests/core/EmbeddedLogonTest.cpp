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
#include <sys/stat.h>

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

// The trusted log-ins migration's place in schema/migrations.txt; the later ones run again too.
constexpr int TrustedLoginsVersion = 14;

// A database made before the flag existed: its log-ins without a password were made for the
// account, its password log-ins were not.
TEST(EmbeddedTrustedLogon, TheUpgradeFlagsTheLogInsMadeWithoutAPassword)
{
    TestDatabase database(Engine::SQLite);
    database.createLogin(OsUser + QStringLiteral("_clerk"), QStringLiteral("Secret1"));
    {
        auto connection = database.connect();
        connection->executeStatement(QStringLiteral("ALTER TABLE DB_Logins DROP COLUMN OS_Account"));
        connection->executeStatement(
            QStringLiteral("DELETE FROM DB_Schema_Version WHERE Version >= ?"), { TrustedLoginsVersion });
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
