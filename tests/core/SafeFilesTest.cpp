#include "core/AppInfo.h"
#include "core/ErrorReport.h"
#include "core/MessageBoxes.h"
#include "support/PromptRecorder.h"
#include "core/SafeFiles.h"
#include "core/TextUtilities.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int modeOf(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<int>(info.st_mode & 0777);
}

// Mounts a file system in memory over the folder, in this thread's own mount namespace so
// nothing of it outlives the test; false (errno set) when the process may not mount.
bool mountMemoryFileSystem(const QString& folder, const char* options)
{
    return ::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
        && ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options) == 0;
}

class SafeFiles : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Prompts().clear();
        Sleeps().clear();
        QFile victim(path("victim.txt"));
        ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
        victim.write("victim");
        victim.close();
        ASSERT_TRUE(QFile::link(path("victim.txt"), path("planted")));
    }

    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    void expectVictimUntouched()
    {
        EXPECT_EQ(readAll(path("victim.txt")), QByteArray("victim"));
        EXPECT_TRUE(QFileInfo(path("planted")).isSymLink());
    }

    QTemporaryDir m_dir;
};

TEST_F(SafeFiles, NewFilesAreOwnerOnlyAndLinksAreNeverWrittenThrough)
{
    EXPECT_TRUE(WriteFileSafely(path("export.txt"), "rows").isEmpty());
    EXPECT_EQ(readAll(path("export.txt")), QByteArray("rows"));
    EXPECT_EQ(modeOf(path("export.txt")), 0600);

    EXPECT_FALSE(WriteFileSafely(path("planted"), "stolen").isEmpty());
    expectVictimUntouched();

    QFile log;
    QString why;
    ASSERT_TRUE(OpenForAppendNoFollow(log, path("log.txt"), 0640, why)) << why.toStdString();
    log.write("one\n");
    log.close();
    EXPECT_EQ(modeOf(path("log.txt")), 0640);
    EXPECT_FALSE(OpenForAppendNoFollow(log, path("planted"), 0640, why));
    EXPECT_TRUE(why.contains(QStringLiteral("symbolic link")));
    expectVictimUntouched();
}

TEST(SafeFilesRace, ALinkSwappedInWhileWritingIsReplacedNeverWrittenThrough)
{
    // Another program keeps swapping the export's name between a link to the victim and nothing
    // while the export is written again and again: every write either refuses the link it met or
    // puts a whole file of its own in the link's place. (A check followed by an open of the name
    // wrote through the link within a few thousand rounds.) In memory when the test may mount:
    // each written round waits for its flush to the disk, which a busy disk makes slow.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const bool inMemory = mountMemoryFileSystem(dir.path(), "size=4m,mode=0700");
    const QString victim = dir.filePath(QStringLiteral("victim.txt"));
    const QString target = dir.filePath(QStringLiteral("export.txt"));
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("victim");
    }
    std::atomic<bool> stop { false };
    std::thread swapper([&stop, link = QFile::encodeName(target), linked = QFile::encodeName(victim)] {
        std::atomic<int> spin { 0 };
        const auto pause = [&spin] {
            for (int k = 0; k < 1000; ++k)
                spin.fetch_add(1, std::memory_order_relaxed);
        };
        while (!stop) {
            ::unlink(link.constData());
            pause();
            ::symlink(linked.constData(), link.constData());
            pause();
        }
    });
    int written = 0;
    int refused = 0;
    for (int round = 0; round < 30000; ++round) {
        const QString failure = WriteFileSafely(target, "round " + QByteArray::number(round));
        if (failure.isEmpty()) {
            ++written;
        } else {
            ++refused;
            EXPECT_TRUE(failure.contains(QStringLiteral("symbolic link"))) << failure.toStdString();
        }
    }
    stop = true;
    swapper.join();
    EXPECT_EQ(readAll(victim), QByteArray("victim")) << "written " << written << ", refused " << refused;
    EXPECT_GT(written, 0);
    QFile::remove(target);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        QStringList { QStringLiteral("victim.txt") })
        << "no temporary file is left behind";
    if (inMemory)
        ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
}

// A small file system of its own, mounted in this thread's private mount namespace so nothing of
// it outlives the test.
class FullDisk : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Prompts().clear();
        if (!mountMemoryFileSystem(m_dir.path(), "size=64k,mode=0700"))
            GTEST_SKIP() << "mounting a small file system needs the right to mount: " << std::strerror(errno);
        m_mounted = true;
    }
    void TearDown() override
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
    bool m_mounted = false;
};

TEST_F(FullDisk, AnExportSaysTheDiskIsFullNamesTheFileAndLeavesTheOldOneWhole)
{
    const QByteArray tooBig(256 * 1024, 'x');
    const QString fresh = path("new export.txt");
    const QString expected = QStringLiteral("Cannot write ") + fresh + QStringLiteral(": ")
        + QString::fromLocal8Bit(std::strerror(ENOSPC)) + QLatin1Char('.');
    EXPECT_EQ(WriteFileSafely(fresh, tooBig), expected);
    EXPECT_TRUE(entries().isEmpty()) << entries().join(QLatin1Char(' ')).toStdString();

    const QString kept = path("kept.txt");
    ASSERT_EQ(WriteFileSafely(kept, "the old rows"), QString());
    EXPECT_FALSE(WriteFileSafely(kept, tooBig).isEmpty());
    EXPECT_EQ(readAll(kept), QByteArray("the old rows"));
    EXPECT_EQ(entries(), QStringList { QStringLiteral("kept.txt") });

    // The text export's box: what the system said and which file, not "Unknown error".
    Prompts().answer(MsgBox::Yes); // "already exists ... overwrite?"
    EXPECT_FALSE(SaveTextFile(kept, QString::fromLatin1(tooBig)));
    ASSERT_EQ(Prompts().boxes.size(), 2u);
    EXPECT_TRUE(Prompts().boxes[1].text.startsWith(QStringLiteral("Cannot write ") + kept + QStringLiteral(": No space left on device.")))
        << Prompts().boxes[1].text.toStdString();
    EXPECT_EQ(readAll(kept), QByteArray("the old rows"));
    EXPECT_EQ(entries(), QStringList { QStringLiteral("kept.txt") });
}

TEST_F(SafeFiles, ATextExportOverAPlantedLinkIsRefusedOnce)
{
    Prompts().answer(MsgBox::Yes); // "already exists ... overwrite?"
    EXPECT_FALSE(SaveTextFile(path("planted"), QStringLiteral("Case\tItem\r\n")));
    ASSERT_EQ(Prompts().boxes.size(), 2u);
    EXPECT_TRUE(Prompts().boxes[1].text.contains(QStringLiteral("symbolic link")));
    expectVictimUntouched();
}

TEST_F(SafeFiles, TheErrorLogIsNotWrittenThroughAPlantedLink)
{
    const QString savedMainPath = GetMainPath();
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Errors")));
    SetMainPath(m_dir.path());
    const QString log = ErrorLogFile();
    ASSERT_TRUE(QFile::link(path("victim.txt"), log));
    WriteErrorLog(MsgBox::Yes, QStringLiteral("VB Error.\r\nNumber: 1\r\n"));
    SetMainPath(savedMainPath);
    expectVictimUntouched();
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_TRUE(Prompts().boxes.back().text.startsWith(QStringLiteral("Cannot save to Error Log.")));
}

} // namespace
