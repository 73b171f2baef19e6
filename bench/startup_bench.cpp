// Start-up time of Bramblecot_Main, from starting the process to its main window shown and idle,
// against a bare Qt program that shows one empty window, both measured in the same run under the
// offscreen platform. The embedded database holds 100,000 reference rows and their change log.
// Not a test: it prints the figures and the ratio (target: at most 3x).

#include "core/AppInfo.h"
#include "core/Connection.h"
#include "core/Schema.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {
constexpr int kRows = 100000;
constexpr int kRuns = 7;

int bareWindow(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(0, &application, &QApplication::quit);
    return QApplication::exec();
}

// A reference table of the first wave (the shape of a lookup table) filled with rows whose writes
// the change-log triggers record.
void makeDatabase(const QString& folder)
{
    SetMainPath(folder);
    auto connection = DatabaseConnection::open(ConnectionTarget { Engine::SQLite, QStringLiteral("(local)"), QStringLiteral("Bench.db") }, Credentials {});
    connection->executeStatement(QStringLiteral("CREATE TABLE Colors (Color_ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                                "Color_Name TEXT COLLATE NOCASE NOT NULL UNIQUE, Color_Code TEXT)"));
    RefreshChangeLogTriggers(*connection);
    connection->beginTransaction();
    for (int i = 1; i <= kRows; ++i)
        connection->executeStatement(QStringLiteral("INSERT INTO Colors (Color_Name, Color_Code) VALUES (?, ?)"),
                                     { QStringLiteral("Colour %1").arg(i, 6, 10, QLatin1Char('0')), QString::number(i % 997) });
    connection->commitTransaction();
    const Recordset logged = connection->executeStatement(QStringLiteral("SELECT COUNT(*) FROM DB_Change_Log"));
    QTextStream(stdout) << "database: " << kRows << " reference rows, " << logged.valueAt(0, 0).toInt() << " change-log rows\n";
}

bool copy(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to) && QFile::setPermissions(to, QFile::permissions(from));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timedRun(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment, bool& ok)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    ok = process.waitForFinished(60000) && process.exitCode() == 0;
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (!ok)
        QTextStream(stderr) << program << " failed: " << process.readAll() << "\n";
    return ms;
}
} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--bare")
        return bareWindow(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication application(argc, argv);
    const QString programFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(BRAMBLECOT_PROGRAM_DIR);

    // A program folder of the bench's own: the program, its menu and settings, and the database.
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("Data"));
    QDir(folder.path()).mkpath(QStringLiteral("Errors"));
    QDir(folder.path()).mkpath(QStringLiteral("Images"));
    QDir(folder.path()).mkpath(QStringLiteral("config"));
    const QString main = folder.filePath(QStringLiteral("Bramblecot_Main"));
    if (!copy(programFolder + QStringLiteral("/Bramblecot_Main"), main)
        || !copy(programFolder + QStringLiteral("/menu.txt"), folder.filePath(QStringLiteral("menu.txt")))) {
        QTextStream(stderr) << "Build the program folder first (" << programFolder << ").\n";
        return 1;
    }
    QFile settings(folder.filePath(QStringLiteral("Settings.xml")));
    settings.open(QIODevice::WriteOnly);
    settings.write("<Settings><Database><Server>(local)</Server><Database_Name>Bench.db</Database_Name>"
                   "<Engine>SQLite</Engine></Database><Update_Location></Update_Location></Settings>");
    settings.close();
    makeDatabase(folder.path());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    std::vector<double> bare;
    std::vector<double> bramblecot;
    for (int run = 0; run < kRuns; ++run) {
        bool ok = false;
        bare.push_back(timedRun(QCoreApplication::applicationFilePath(), { QStringLiteral("--bare") }, environment, ok));
        if (!ok)
            return 1;
        bramblecot.push_back(timedRun(main, { QStringLiteral("--exit-when-idle") }, environment, ok));
        if (!ok)
            return 1;
    }
    const double baseline = median(bare);
    const double measured = median(bramblecot);
    QTextStream(stdout) << QStringLiteral("bare Qt window:  %1 ms (median of %2)\n").arg(baseline, 0, 'f', 1).arg(kRuns)
                        << QStringLiteral("Bramblecot_Main: %1 ms (median of %2)\n").arg(measured, 0, 'f', 1).arg(kRuns)
                        << QStringLiteral("ratio:           %1x (target at most 3x)\n").arg(measured / baseline, 0, 'f', 2);
    return 0;
}
