// The text replacing tool's walk and in-place replacement over a tree of files, against a bare loop
// that lists the same tree, reads each file, replaces the text and writes it back atomically.
// Each run swaps one word for another of the same length and the next run swaps it back, so every
// run, measured or baseline, rewrites every file with the same amount of work.

#include "BenchTiming.h"

#include "administration/FileTools.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>

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
    handlers.subFolder = [](const QString&) { };
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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (IsSmokeRun(argc, argv)) {
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
    makeTree(root.path());
    int failures = 0;
    const PairedTimes times = Interleaved(
        gRepeats, [&] { failures += bareRun(root.path()); }, [&] { failures += toolRun(root.path()); });
    std::printf("tools_bench: %d files of %d bytes in %d folders, %d pairs\n", gFiles, gFileBytes, gFolders * 2,
        gRepeats);
    PrintRatioHeader("ms/run");
    PrintRatioLine("replace text in a tree vs bare loop", times, 1000.0, 1.5);
    if (failures > 0) {
        std::fprintf(stderr, "%d files could not be rewritten\n", failures);
        return 1;
    }
    return 0;
}
