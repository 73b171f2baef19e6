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

#include <sys/stat.h>

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
