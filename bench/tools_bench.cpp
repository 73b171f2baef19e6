// (a) The text replacing tool's walk and in-place replacement over a tree of files, against a bare
// loop that lists the same tree, reads each file, replaces the text and writes it back atomically.
// Each run swaps one word for another of the same length and the next run swaps it back, so every
// run, measured or baseline, rewrites every file with the same amount of work. Target 1.5x.
// (b) The in-place replacement of one file as it grows: a file of 4 MB against one of 32 MB, every
// line holding a match, each run swapping the word back. Linear work gives a ratio near 8 (a
// replacement that moves the rest of the text for every batch of matches gives 60 and more).
// Timed by the thread's processor time, so waits for the disk do not hide the shape; "--file-sizes"
// runs this case alone.
// (c) The report viewer window opening on a 10,000-row report (the statement read, every page laid
// out and painted for the preview) against reading the same rows into a Recordset, on SQLite. The
// ratio is reported; there is no target.

#include "BenchFixture.h"

#include "administration/FileTools.h"
#include "administration/frmCrystal.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "exports/ReportFiles.h"
#include "form_framework/WindowOpening.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <stdexcept>
#include <utility>

namespace {

int gFiles = 5000;
int gFileBytes = 20 * 1024;
int gFolders = 50;
int gRepeats = 5;

const QString kWords[2] = { QStringLiteral("Evidence"), QStringLiteral("Property") };
int gCurrent = 0; // which of the two words the files hold now

void makeTree(const QString& root)
{
    QByteArray line = "Item 0000123 logged as Evidence by the property clerk; seal intact.\n";
    QByteArray body;
    while (body.size() < gFileBytes)
        body += line;
    body.truncate(gFileBytes);
    for (int f = 0; f < gFolders; ++f)
        QDir(root).mkpath(QStringLiteral("folder%1/inner").arg(f));
    for (int i = 0; i < gFiles; ++i) {
        const int folder = i % gFolders;
        const QString path = QStringLiteral("%1/folder%2/%3file%4.txt")
                                 .arg(root)
                                 .arg(folder)
                                 .arg(i % 2 ? QStringLiteral("inner/") : QString())
                                 .arg(i);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(body);
    }
}

int toolRun(const QString& root)
{
    const QString from = kWords[gCurrent];
    const QString to = kWords[1 - gCurrent];
    int failed = 0;
    FolderWalkHandlers handlers;
    handlers.includeSubFolders = [] { return true; };
    handlers.file = [&](const QString& folder, const QString& name) {
        if (!ReplaceTextInFile(folder + name, from, to).isEmpty())
            ++failed;
    };
    handlers.subFolder = [](const QString&) {};
    ProcessFolder(root, QStringLiteral("*.txt"), handlers);
    gCurrent = 1 - gCurrent;
    return failed;
}

int bareRun(const QString& root)
{
    const QByteArray from = kWords[gCurrent].toUtf8();
    const QByteArray to = kWords[1 - gCurrent].toUtf8();
    int failed = 0;
    QDirIterator files(root, { QStringLiteral("*.txt") }, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly)) {
            ++failed;
            continue;
        }
        QByteArray text = in.readAll();
        in.close();
        text.replace(from, to);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
            ++failed;
    }
    gCurrent = 1 - gCurrent;
    return failed;
}

// (b): a file of the given size, every line of it holding one of the two words, replaced back and
// forth so every run does the same work.
class GrowingFile {
public:
    GrowingFile(const QString& path, qsizetype size)
        : m_path(path)
    {
        const QByteArray line = "Item 0000123 logged as Evidence by the property clerk; seal intact.\n";
        QByteArray body;
        body.reserve(size + line.size());
        while (body.size() < size)
            body += line;
        QFile file(path);
        m_failed = !file.open(QIODevice::WriteOnly) || file.write(body) != body.size();
    }
    ~GrowingFile() { QFile::remove(m_path); }
    void replace()
    {
        m_failed |= !ReplaceTextInFile(m_path, kWords[m_current], kWords[1 - m_current]).isEmpty();
        m_current = 1 - m_current;
    }
    bool failed() const { return m_failed; }

private:
    QString m_path;
    int m_current = 0;
    bool m_failed = false;
};

bool benchGrowingFile(const QString& folder, bool smoke)
{
    const qsizetype small = smoke ? 64 * 1024 : 4 * 1024 * 1024;
    const int repeats = smoke ? 1 : 3;
    const auto megabytes = [](qsizetype bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); };
    // The processor time of the thread: what grows with the work, not the waits for a shared disk
    // (the flush of every file) that made the wall clock of this case meaningless on a busy machine.
    const BenchClock clock = std::exchange(CurrentBenchClock(), BenchClock::ThreadCpu);
    // Every block of a megabyte or more comes fresh from the kernel, whatever the size of the file:
    // left to itself the allocator keeps the blocks of the small file for the next run but hands
    // those of 32 MB back at every run, which made the large file pay its pages alone (on this
    // virtual machine a page costs dearly). This is set for the rest of the process: run last.
    ::mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    GrowingFile baseline(folder + QStringLiteral("/base.txt"), small);
    std::printf("tools_bench: one file with a match on every line against one of %g MB (thread CPU time), %d pairs\n",
        megabytes(small), repeats);
    PrintRatioHeader("ms/run");
    for (const int factor : { 2, 4, 8 }) {
        GrowingFile grown(folder + QStringLiteral("/grown.txt"), small * factor);
        const PairedTimes times = Interleaved(repeats, [&] { baseline.replace(); }, [&] { grown.replace(); });
        if (baseline.failed() || grown.failed()) {
            CurrentBenchClock() = clock;
            return false;
        }
        const QByteArray label
            = QStringLiteral("%1 MB file vs %2 MB (linear: %3)").arg(megabytes(small * factor)).arg(megabytes(small)).arg(factor).toUtf8();
        PrintRatioLine(label.constData(), times, 1000.0, 0.0);
    }
    CurrentBenchClock() = clock;
    return true;
}

volatile qint64 g_sink = 0;

const char* const kItemsReport = R"(<Report title="Items by Shelf">
  <Group field="Shelf_No" caption="Shelf {Shelf_No}" totals="true"/>
  <Column field="Item_ID" caption="ID" width="0.6" align="right" total="count"/>
  <Column field="Tag_Code" caption="Tag" width="1.2"/>
  <Column field="Description" caption="Description" width="3"/>
  <Column field="Declared_Value" caption="Value" width="1" align="right" total="sum"/>
</Report>
)";

// Items spread over 40 shelves, in one transaction.
void fillItems(DatabaseConnection& connection, int rows)
{
    connection.executeStatement(QStringLiteral("CREATE TABLE Bench_Item (Item_ID INTEGER NOT NULL PRIMARY KEY, "
                                               "Shelf_No INTEGER NOT NULL, Tag_Code TEXT NOT NULL, "
                                               "Description TEXT NOT NULL, Declared_Value DOUBLE PRECISION NOT NULL)"));
    connection.beginTransaction();
    for (int i = 1; i <= rows; ++i) {
        connection.executeStatement(QStringLiteral("INSERT INTO Bench_Item VALUES (?, ?, ?, ?, ?)"),
            { QVariant::fromValue<qint64>(i), QVariant::fromValue<qint64>(i % 40),
                QStringLiteral("EV-%1").arg(i, 7, 10, QLatin1Char('0')),
                QStringLiteral("Sealed bag of evidence no. %1").arg(i), 12.5 * (i % 321) });
    }
    connection.commitTransaction();
}

// (c): false when the viewer showed nothing.
bool benchReportViewer(const QString& folder, bool smoke)
{
    const int rows = smoke ? 10 : 10000;
    const int repeats = smoke ? 1 : 5;
    SetDBConnection(DatabaseConnection::open(
        { Engine::SQLite, QStringLiteral("(local)"), folder + QStringLiteral("/report.db") }, Credentials {}));
    fillItems(*DBConnection(), rows);
    const QString report = folder + QStringLiteral("/Items.rpt");
    QFile file(report);
    if (!file.open(QIODevice::WriteOnly) || file.write(kItemsReport) < 0)
        return false;
    file.close();
    const QString select = QStringLiteral("SELECT Item_ID, Shelf_No, Tag_Code, Description, Declared_Value "
                                          "FROM Bench_Item ORDER BY Shelf_No, Item_ID");
    // A report the renderer refuses would stop at the error dialog: check it once first.
    {
        const Recordset sample = DBConnection()->execute(select);
        const ReportRenderer check(LoadReportDefinition(report), sample);
    }

    int pages = 0;
    const PairedTimes times = Interleaved(
        repeats, [&] { g_sink = g_sink + DBConnection()->execute(select).recordCount(); },
        [&] {
            FormParamDict parameters;
            parameters.add(QStringLiteral("ReportFile"), report);
            parameters.add(QStringLiteral("SQL"), select);
            FormParams::queue(QStringLiteral("frmCrystal"), parameters);
            frmCrystal window;
            window.AfterPopulateForm();
            pages = window.viewer()->pageCount();
        });
    SetDBConnection(nullptr);
    std::printf("tools_bench: report viewer on %d rows (SQLite), %d pages, %d pairs\n", rows, pages, repeats);
    PrintRatioHeader("ms/run");
    PrintRatioLine("report viewer vs reading the rows", times, 1000.0, 0.0);
    return pages > 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchApplication application(argc, argv);
    const bool smoke = application.smoke();
    if (smoke) {
        gFiles = 20;
        gFileBytes = 1024;
        gFolders = 3;
        gRepeats = 1;
    }
    QTemporaryDir root;
    if (!root.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    // "--file-sizes": only (b), which needs no tree of thousands of files.
    if (std::any_of(argv + 1, argv + argc, [](const char* argument) { return std::strcmp(argument, "--file-sizes") == 0; }))
        return benchGrowingFile(root.path(), smoke) ? 0 : 1;
    makeTree(root.path());
    int failures = 0;
    const PairedTimes times = Interleaved(
        gRepeats, [&] { failures += bareRun(root.path()); }, [&] { failures += toolRun(root.path()); });
    std::printf(
        "tools_bench: %d files of %d bytes in %d folders, %d pairs\n", gFiles, gFileBytes, gFolders * 2, gRepeats);
    PrintRatioHeader("ms/run");
    PrintRatioLine("replace text in a tree vs bare loop", times, 1000.0, 1.5);
    if (failures > 0) {
        std::fprintf(stderr, "%d files could not be rewritten\n", failures);
        return 1;
    }
    try {
        if (!benchReportViewer(root.path(), smoke)) {
            std::fprintf(stderr, "the report viewer showed no page\n");
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tools_bench: %s\n", error.what());
        return 1;
    }
    if (!benchGrowingFile(root.path(), smoke)) {
        std::fprintf(stderr, "a growing file could not be rewritten\n");
        return 1;
    }
    return 0;
}
