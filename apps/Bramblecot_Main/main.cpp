#include "AppInfo.h"
#include "Connection.h"
#include "Platform.h"
#include "Schema.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

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

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bramblecot_Main"));
    SetApplicationTitle(QStringLiteral("Bramblecot_Main"));

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption upgrade(QStringLiteral("upgrade-schema"),
                               QStringLiteral("Bring the schema of a PostgreSQL database up to date (run as its owner)."));
    parser.addOption(upgrade);
    parser.addPositionalArgument(QStringLiteral("server"), QStringLiteral("Host, host:port or socket folder."));
    parser.addPositionalArgument(QStringLiteral("database"), QStringLiteral("The database name."));
    parser.process(application);
    if (parser.isSet(upgrade)) {
        const QStringList arguments = parser.positionalArguments();
        if (arguments.size() != 2) {
            QTextStream(stderr) << "Usage: Bramblecot_Main --upgrade-schema SERVER DATABASE\n";
            return 2;
        }
        return upgradeSchema(arguments.at(0), arguments.at(1));
    }

    QTextStream(stderr) << "Bramblecot_Main: the main window is not built yet, so the application cannot be run. "
                           "The database layer and its tests are in place.\n";
    return 0;
}
