// The database files the program carries: every file of the source folders is compiled in, and
// every migration that schema/migrations.txt names has its file for each engine. A file the build
// left out, or a migration listed without its file, otherwise shows only when a database is
// created or opened ("The schema file ... is missing from the program."). And an engine's own
// copy of a file is kept only where the engines really differ.

#include "core/EngineFacts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QString kSourceFolder = QStringLiteral(BRAMBLECOT_SOURCE_DIR "/database/");

QSet<QString> filesIn(const QString& folder)
{
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    return QSet<QString>(names.begin(), names.end());
}

QStringList sorted(const QSet<QString>& names)
{
    QStringList list(names.begin(), names.end());
    list.sort();
    return list;
}

// The migrations in their order, read as the schema code reads them: one a line, blank lines and
// "#" comments left out.
QStringList migrationNames()
{
    QFile file(QStringLiteral(":/schema/migrations.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList names;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString name = line.trimmed();
        if (!name.isEmpty() && !name.startsWith(QLatin1Char('#')))
            names << name;
    }
    return names;
}

TEST(DatabaseFiles, EveryFileOfTheSourceFoldersIsCompiledIn)
{
    for (const char* folder : { "procedures", "schema", "sample" }) {
        SCOPED_TRACE(folder);
        QSet<QString> source;
        for (const QString& name : filesIn(kSourceFolder + QLatin1String(folder))) {
            if (name.endsWith(QLatin1String(".sql")) || name == QLatin1String("migrations.txt"))
                source << name;
        }
        const QSet<QString> compiled = filesIn(QStringLiteral(":/") + QLatin1String(folder));
        ASSERT_FALSE(source.isEmpty());
        for (const QString& name : sorted(source - compiled))
            ADD_FAILURE() << folder << "/" << name.toStdString() << " is in the source folder but not in the program";
        for (const QString& name : sorted(compiled - source))
            ADD_FAILURE() << folder << "/" << name.toStdString()
                          << " is in the program but no longer in the source folder";
    }
}

TEST(DatabaseFiles, EveryListedMigrationHasItsFileOnBothEnginesAndEveryFileIsListed)
{
    const QStringList migrations = migrationNames();
    ASSERT_FALSE(migrations.isEmpty()) << "schema/migrations.txt is missing from the program";
    for (const QString& migration : migrations) {
        EXPECT_EQ(migrations.count(migration), 1) << "migration " << migration.toStdString() << " is listed twice";
        for (const Engine engine : { Engine::SQLite, Engine::PostgreSQL }) {
            const QString variant
                = QStringLiteral(":/schema/%1.%2.sql").arg(migration, QString::fromLatin1(FactsOf(engine).fileSuffix));
            const QString common = QStringLiteral(":/schema/%1.sql").arg(migration);
            EXPECT_TRUE(QFile::exists(variant) || QFile::exists(common))
                << "migration " << migration.toStdString() << " of schema/migrations.txt has no file for "
                << FactsOf(engine).name;
        }
    }
    // A schema file that no migration names would never be applied.
    for (const QString& file : sorted(filesIn(QStringLiteral(":/schema")))) {
        if (!file.endsWith(QLatin1String(".sql")))
            continue;
        QString migration = file.chopped(4);
        for (const Engine engine : { Engine::SQLite, Engine::PostgreSQL }) {
            const QString suffix = QLatin1Char('.') + QString::fromLatin1(FactsOf(engine).fileSuffix);
            if (migration.endsWith(suffix))
                migration.chop(suffix.size());
        }
        EXPECT_TRUE(migrations.contains(migration))
            << "schema/" << file.toStdString() << " is not named in schema/migrations.txt";
    }
}

QStringList linesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

// How many lines a line diff of the two texts shows: those of either that are not in their
// longest common sequence.
qsizetype differingLines(const QStringList& a, const QStringList& b)
{
    std::vector<qsizetype> previous(static_cast<size_t>(b.size()) + 1, 0);
    std::vector<qsizetype> current(previous.size(), 0);
    for (const QString& line : a) {
        for (qsizetype j = 0; j < b.size(); ++j) {
            const auto at = static_cast<size_t>(j);
            current[at + 1] = line == b.at(j) ? previous[at] + 1 : std::max(previous[at + 1], current[at]);
        }
        std::swap(previous, current);
    }
    return a.size() + b.size() - 2 * previous.back();
}

// A pair <name>.sqlite.sql and <name>.pg.sql is two copies to keep in step by hand: a WHERE
// changed in one alone is found by no other test. Where the copies differ in a few lines, the
// engine-neutral functions (DAY_AFTER, ADD_DAYS, the session functions) or the type tokens write
// them once; a migration's engine-only statements go in an appendix beside its common file.
TEST(DatabaseFiles, NoEnginePairDiffersInFewerThanTenLines)
{
    const QString sqlite = QStringLiteral(".%1.sql").arg(QString::fromLatin1(FactsOf(Engine::SQLite).fileSuffix));
    const QString postgres = QStringLiteral(".%1.sql").arg(QString::fromLatin1(FactsOf(Engine::PostgreSQL).fileSuffix));
    ASSERT_TRUE(QDir(kSourceFolder + QStringLiteral("schema")).exists()) << kSourceFolder.toStdString();
    QDirIterator files(kSourceFolder, { QLatin1Char('*') + sqlite }, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString other = path.chopped(sqlite.size()) + postgres;
        if (!QFile::exists(other))
            continue;
        const qsizetype differing = differingLines(linesOf(path), linesOf(other));
        EXPECT_GE(differing, 10) << QDir(kSourceFolder).relativeFilePath(path).toStdString() << " and "
                                 << QDir(kSourceFolder).relativeFilePath(other).toStdString() << " differ in "
                                 << differing << " lines only: write them once";
    }
}

} // namespace
