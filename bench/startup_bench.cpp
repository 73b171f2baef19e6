// Start-up time of Bramblecot_Main, from starting the process to the first paint of its main
// window, against a bare Qt Widgets program (bare_window_bench_helper, its own executable linking
// Qt Widgets alone) that shows one empty window and ends at its first paint through the same hook
// (core/FirstPaint.h); both are started as processes under the offscreen platform, in interleaved
// pairs, and timed by the wall clock and by the processor time the process used. The embedded database is made by the program's migrations and
// its Colors table filled with reference rows whose change log the triggers write.
// Not a test: it prints the figures and the ratio (target: at most 2x). "--smoke" runs an empty
// and a one-row database once each; a folder argument names another program folder.

#include "BenchTiming.h"

#include "core/AppInfo.h"
#include "core/Connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <utility>

#include <sys/resource.h>

namespace {
bool copy(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to) && QFile::setPermissions(to, QFile::permissions(from));
}

// The database as the program makes it (every migration), its Colors table holding `rows` rows.
bool makeDatabase(const QString& folder, int rows)
{
    SetMainPath(folder);
    QFile::remove(QDir(folder).filePath(QStringLiteral("Data/Bench.db")));
    auto connection = DatabaseConnection::open(
        ConnectionTarget { Engine::SQLite, QStringLiteral("(local)"), QStringLiteral("Bench.db") }, Credentials {});
    connection->beginTransaction();
    for (int i = 1; i <= rows; ++i)
        connection->executeStatement(QStringLiteral("INSERT INTO Colors (Color_Name, Color_RGB_Value) VALUES (?, ?)"),
            { QStringLiteral("Bench colour %1").arg(i, 7, 10, QLatin1Char('0')), i % 16777216 });
    connection->commitTransaction();
    const Recordset colors = connection->executeStatement(QStringLiteral("SELECT COUNT(*) FROM Colors"));
    const Recordset logged = connection->executeStatement(QStringLiteral("SELECT COUNT(*) FROM DB_Change_Log"));
    std::printf("database: %d Colors rows (%d of the bench), %d change-log rows\n", colors.valueAt(0, 0).toInt(), rows,
        logged.valueAt(0, 0).toInt());
    return colors.valueAt(0, 0).toInt() >= rows;
}

// Runs a program to its end; false (and its output on stderr) when it fails.
bool run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ok
        = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ok)
        QTextStream(stderr) << program << " " << arguments.join(QLatin1Char(' ')) << " failed: " << process.readAll()
                            << "\n";
    return ok;
}
// The processor time (user and system) of the children reaped so far, in nanoseconds.
qint64 childrenCpuNanoseconds()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ns = [](const timeval& t) { return static_cast<qint64>(t.tv_sec) * 1000000000 + t.tv_usec * 1000; };
    return ns(usage.ru_utime) + ns(usage.ru_stime);
}

// Interleaved pairs of whole runs, each timed by the wall clock and by the processor time of the
// process it started (one warm-up of each first; the order inside a pair alternates).
template <class B, class M> std::pair<PairedTimes, PairedTimes> InterleavedStarts(int repeats, B&& baseline, M&& measured)
{
    baseline();
    measured();
    PairedTimes wall;
    PairedTimes cpu;
    const auto timed = [](auto&& run, std::vector<qint64>& wallTimes, std::vector<qint64>& cpuTimes) {
        const qint64 cpuBefore = childrenCpuNanoseconds();
        QElapsedTimer clock;
        clock.start();
        run();
        wallTimes.push_back(clock.nsecsElapsed());
        cpuTimes.push_back(childrenCpuNanoseconds() - cpuBefore);
    };
    for (int r = 0; r < repeats; ++r) {
        if (r % 2 == 0) {
            timed(baseline, wall.baseline, cpu.baseline);
            timed(measured, wall.measured, cpu.measured);
        } else {
            timed(measured, wall.measured, cpu.measured);
            timed(baseline, wall.baseline, cpu.baseline);
        }
    }
    return { wall, cpu };
}
} // namespace

int main(int argc, char* argv[])
{
    const bool smoke = IsSmokeRun(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication application(argc, argv);
    QString programFolder = QStringLiteral(BRAMBLECOT_PROGRAM_DIR);
    for (int i = 1; i < argc; ++i)
        if (!QByteArray(argv[i]).startsWith("--"))
            programFolder = QString::fromLocal8Bit(argv[i]);

    // A program folder of the bench's own: the program, the web viewer plugin when the build has
    // one, its menu and settings, and the database.
    QTemporaryDir folder;
    for (const char* sub : { "Data", "Errors", "Images", "Temp", "config" })
        QDir(folder.path()).mkpath(QString::fromLatin1(sub));
    const QString main = folder.filePath(QStringLiteral("Bramblecot_Main"));
    if (!copy(programFolder + QStringLiteral("/Bramblecot_Main"), main)
        || !copy(programFolder + QStringLiteral("/menu.txt"), folder.filePath(QStringLiteral("menu.txt")))) {
        QTextStream(stderr) << "Build the program folder first (" << programFolder << ").\n";
        return 1;
    }
    const QStringList plugins = QDir(programFolder).entryList({ QStringLiteral("*.so") }, QDir::Files);
    for (const QString& plugin : plugins)
        copy(programFolder + QLatin1Char('/') + plugin, folder.filePath(plugin));
    QFile settings(folder.filePath(QStringLiteral("Settings.xml")));
    if (!settings.open(QIODevice::WriteOnly))
        return 1;
    settings.write("<Settings><Database><Server>(local)</Server><Database_Name>Bench.db</Database_Name>"
                   "<Engine>SQLite</Engine></Database><Update_Location></Update_Location></Settings>");
    settings.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    const QString bare = QStringLiteral(BARE_WINDOW_PROGRAM);
    const int repeats = smoke ? 1 : 15;
    const std::vector<int> sizes = smoke ? std::vector<int> { 0, 1 } : std::vector<int> { 100000 };

    bool ok = true;
    auto start = [&](const QString& program, const QStringList& arguments) {
        return [&ok, &environment, program, arguments] { ok = run(program, arguments, environment) && ok; };
    };
    for (const int rows : sizes) {
        if (!makeDatabase(folder.path(), rows))
            return 1;
        PrintRatioHeader("ms");
        const auto [wall, cpu]
            = InterleavedStarts(repeats, start(bare, {}), start(main, { QStringLiteral("--exit-after-first-paint") }));
        // The unit is one start; PrintRatioLine shows microseconds per unit, so 1,000 units give ms.
        PrintRatioLine("to the first paint, wall clock", wall, 1000, 2.0);
        PrintRatioLine("to the first paint, processor time", cpu, 1000, 2.0);
        const PairedTimes help = Interleaved(repeats, start(bare, {}), start(main, { QStringLiteral("--help") }));
        PrintRatioLine("--help (libraries loaded, no window)", help, 1000, 0);
        if (!ok)
            return 1;
    }
    std::printf("(ms per start, best of %d; ratios Bramblecot_Main / bare Qt Widgets window)\n", repeats);
    return 0;
}
