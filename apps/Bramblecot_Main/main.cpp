#include "core/AppError.h"
#include "core/AppInfo.h"
#include "cases/CaseProcedures.h"
#include "cases/PeopleWindows.h"
#include "cases/CaseWindows.h"
#include "cases/NotificationWindows.h"
#include "custody/CustodyWindows.h"
#include "form_framework/FormFieldsToText.h"
#include "list_controls/ListProcedures.h"
#include "core/Connection.h"
#include "core/FirstPaint.h"
#include "core/LoginAdministration.h"
#include "core/Logins.h"
#include "main_window/MainStartup.h"
#include "core/Platform.h"
#include "administration/Administration.h"
#include "reference_tables/ReferenceTables.h"
#include "core/Schema.h"
#include "main_window/ViewerWindows.h"
#include "main_window/frmMain.h"
#include "apps/ProgramWindows.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <functional>
#include <optional>
#include <string>

#include <termios.h>
#include <unistd.h>

// Brings a PostgreSQL database's schema up to date; run by the schema owner.
static int upgradeSchema(const QString& server, const QString& database)
{
    QTextStream out(stdout);
    try {
        ConnectionTarget target { Engine::PostgreSQL, server, database };
        auto connection = DatabaseConnection::openForUpgrade(target);
        const int before = SchemaVersion(*connection);
        UpgradeSchema(*connection);
        if (before == 0)
            CreateFirstAdministrator(*connection, connection->loginName(), QString());
        out << "Schema of " << database << " is at version " << LatestSchemaVersion() << " (was " << before << ").\n";
        return 0;
    } catch (const std::exception& error) {
        QTextStream(stderr) << "Cannot upgrade the schema: " << error.what() << "\n";
        return 1;
    }
}

// Runs one command-line task: its failure is printed after the given text, and the task's
// success becomes the program's exit code.
static int runTask(const char* failure, const std::function<void()>& task)
{
    try {
        task();
        return 0;
    } catch (const AppError& error) {
        QTextStream(stderr) << failure << error.description() << "\n";
    } catch (const std::exception& error) {
        QTextStream(stderr) << failure << error.what() << "\n";
    }
    return 1;
}

// Loads the reference rows and the sample records into an embedded database (created when it does
// not exist yet), for trying the program out.
static int loadSampleData(const QString& database)
{
    return runTask("Cannot load the sample data: ", [&database] {
        auto connection = DatabaseConnection::open({ Engine::SQLite, QStringLiteral("(local)"), database }, Credentials {});
        LoadSampleData(*connection);
        QTextStream(stdout) << "Reference rows and sample records loaded into " << database << ".\n";
    });
}

// One line from standard input, not echoed when it is a terminal. The prompt comes only once the
// echo is off: whatever is typed as soon as it shows is never displayed.
static QString readPassword(const char* prompt)
{
    const bool terminal = isatty(STDIN_FILENO) != 0;
    termios saved {};
    if (terminal) {
        tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
        std::fprintf(stderr, "%s", prompt);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fprintf(stderr, "\n");
    }
    return QString::fromStdString(line);
}

// A new password from standard input, typed twice on a terminal; nothing when the two differ or
// the password breaks the log-on window's rule (a log-in that could never log on).
static std::optional<QString> readNewPassword()
{
    const QString password = readPassword("Password: ");
    if (const QString rule = PasswordRuleMessage(password); !rule.isEmpty()) {
        QTextStream(stderr) << "Cannot add the log-in: " << rule << ".\n";
        return std::nullopt;
    }
    if (isatty(STDIN_FILENO) && readPassword("Verify password: ") != password) {
        QTextStream(stderr) << "The passwords differ; nothing was changed.\n";
        return std::nullopt;
    }
    return password;
}

// Adds a log-in to an embedded database; run by one of its system administrators. A trusted log-in
// has no password: it is the operating-system account of its name.
static int createLogin(const QString& database, const QString& login, bool trusted)
{
    std::optional<QString> password;
    if (!trusted) {
        password = readNewPassword();
        if (!password)
            return 1;
    }
    return runTask("Cannot add the log-in: ", [&] {
        CreateEmbeddedLogin(ConnectionTarget { Engine::SQLite, QStringLiteral("(local)"), database }, login, password);
        QTextStream(stdout) << "Log-in " << login.trimmed() << " added to " << database << ".\n";
    });
}

// Adds a log-in to a PostgreSQL database; run by its schema owner. The password is read from
// standard input (twice on a terminal); a peer log-in has none.
static int addUser(const QString& server, const QString& database, const QString& login, bool admin, bool peer)
{
    std::optional<QString> password;
    if (!peer) {
        password = readNewPassword();
        if (!password)
            return 1;
    }
    return runTask("Cannot add the log-in: ", [&] {
        auto connection
            = DatabaseConnection::open(ConnectionTarget { Engine::PostgreSQL, server, database }, Credentials {});
        CreateServerLogin(*connection, login, password, admin);
        QTextStream(stdout) << "Log-in " << login.trimmed().toLower() << " added to " << database
                            << (admin ? " as an administrator" : "") << ".\n";
    });
}

// The administration commands run without a display: they never show a window.
static bool isAdministrationCommand(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--upgrade-schema" || argument == "--create-login" || argument == "--add-user"
            || argument == "--load-sample-data" || argument == "--help" || argument == "-h")
            return true;
    }
    return false;
}

int main(int argc, char* argv[])
{
    const bool administration = isAdministrationCommand(argc, argv);
    if (!administration)
        PrepareWebEngine();
    std::unique_ptr<QCoreApplication> application(administration ? new QCoreApplication(argc, argv) : new QApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("Bramblecot_Main"));
    QCoreApplication::setOrganizationName(QStringLiteral("Bramblecot"));
    SetApplicationTitle(QStringLiteral("Bramblecot_Main"));

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption upgrade(QStringLiteral("upgrade-schema"),
                               QStringLiteral("Bring the schema of a PostgreSQL database up to date (run as its owner): SERVER DATABASE."));
    QCommandLineOption createLoginOption(QStringLiteral("create-login"),
                                         QStringLiteral("Add a password log-in to an embedded database (run by one of its "
                                                        "administrators): DATABASE LOGIN; the password is read from standard input."));
    QCommandLineOption addUserOption(QStringLiteral("add-user"),
                                     QStringLiteral("Add a log-in to a PostgreSQL database (run by its schema owner): SERVER DATABASE "
                                                    "LOGIN; the password is read from standard input."));
    QCommandLineOption adminOption(QStringLiteral("admin"), QStringLiteral("With --add-user: the log-in is a system administrator."));
    QCommandLineOption peerOption(QStringLiteral("peer"),
                                  QStringLiteral("With --add-user: no password; the log-in logs on only as the operating-system user "
                                                 "of its name through the socket folder."));
    QCommandLineOption trustedOption(QStringLiteral("trusted"),
        QStringLiteral("With --create-login: no password; the log-in is the operating-system "
                       "account of that name and logs on only as that account."));
    QCommandLineOption sampleOption(QStringLiteral("load-sample-data"),
                                    QStringLiteral("Load the reference rows and sample records into an embedded database "
                                                   "(created when missing), for trying the program out: DATABASE."));
    QCommandLineOption exitAfterFirstPaint(QStringLiteral("exit-after-first-paint"),
                                           QStringLiteral("End right after the main window's first paint (start-up timing)."));
    exitAfterFirstPaint.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(upgrade);
    parser.addOption(createLoginOption);
    parser.addOption(addUserOption);
    parser.addOption(adminOption);
    parser.addOption(peerOption);
    parser.addOption(trustedOption);
    parser.addOption(sampleOption);
    parser.addOption(exitAfterFirstPaint);
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("The option's arguments."));
    parser.process(*application);
    if (parser.isSet(upgrade)) {
        const QStringList arguments = parser.positionalArguments();
        if (arguments.size() != 2) {
            QTextStream(stderr) << "Usage: Bramblecot_Main --upgrade-schema SERVER DATABASE\n";
            return 2;
        }
        return upgradeSchema(arguments.at(0), arguments.at(1));
    }
    if (parser.isSet(createLoginOption)) {
        const QStringList arguments = parser.positionalArguments();
        if (arguments.size() != 2) {
            QTextStream(stderr) << "Usage: Bramblecot_Main --create-login DATABASE LOGIN [--trusted]\n";
            return 2;
        }
        return createLogin(arguments.at(0), arguments.at(1), parser.isSet(trustedOption));
    }
    if (parser.isSet(addUserOption)) {
        const QStringList arguments = parser.positionalArguments();
        if (arguments.size() != 3) {
            QTextStream(stderr) << "Usage: Bramblecot_Main --add-user SERVER DATABASE LOGIN [--admin] [--peer]\n";
            return 2;
        }
        return addUser(
            arguments.at(0), arguments.at(1), arguments.at(2), parser.isSet(adminOption), parser.isSet(peerOption));
    }
    if (parser.isSet(sampleOption)) {
        const QStringList arguments = parser.positionalArguments();
        if (arguments.size() != 1) {
            QTextStream(stderr) << "Usage: Bramblecot_Main --load-sample-data DATABASE\n";
            return 2;
        }
        return loadSampleData(arguments.at(0));
    }

    Platform::installDesktop();
    RegisterProgramWindows();
    frmMain* main = Main();
    if (!main)
        return 0;
    if (parser.isSet(exitAfterFirstPaint))
        new QuitAfterFirstPaint(main);
    return QCoreApplication::exec();
}
