#include "LoaderFixture.h"

#include "loader/LoaderWindow.h"
#include "support/PromptRecorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include <algorithm>
#include <functional>

namespace {

const QString Completed = QStringLiteral("Updates completed. Starting main program...");
const QString NothingNew = QStringLiteral("No updates found. Starting main program...");
const QString Terminated = QStringLiteral("\r\n\r\nApplication terminated.");

} // namespace

class LoaderRun : public LoaderTest {
protected:
    // Two updates: U1 brings a program and a report, U2 a file for an absolute folder.
    void publishTwoUpdates()
    {
        QDir().mkpath(program(QStringLiteral("Reports")));
        QDir().mkpath(m_root.filePath(QStringLiteral("shared")));
        writeUpdateList("U1\r\nU2\r\n");
        publish(QStringLiteral("U1"), "tool.sh => $(AppPath)\r\nsummary.rpt => $(APPPATH)\\Reports\r\n",
            { { QStringLiteral("tool.sh"), "#!/bin/sh\necho new\n" }, { QStringLiteral("summary.rpt"), "report v1" } });
        publish(QStringLiteral("U2"), "labels.txt => " + m_root.filePath(QStringLiteral("shared")).toUtf8() + "\r\n",
            { { QStringLiteral("labels.txt"), "labels v2" } });
        QFile::setPermissions(updates(QStringLiteral("U1/tool.sh")),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void expectMainProgramStarted() const
    {
        ASSERT_EQ(startRecord().starts.size(), 1u);
        const StartRecord::Start& start = startRecord().starts.front();
        EXPECT_EQ(start.program, program(QStringLiteral("Bramblecot_Main")));
        EXPECT_TRUE(start.arguments.isEmpty());
        EXPECT_EQ(terminations(), 0);
        EXPECT_TRUE(Prompts().boxes.empty());
    }
};

TEST_F(LoaderRun, InstallsEveryPendingUpdateNewestFirstAndStartsTheMainProgram)
{
    publishTwoUpdates();
    writeFile(program(QStringLiteral("tool.sh")), "an older and much longer program text that must not survive\n");

    EXPECT_EQ(runLoader(), 0);

    EXPECT_EQ(readFile(program(QStringLiteral("tool.sh"))), "#!/bin/sh\necho new\n");
    EXPECT_TRUE(QFileInfo(program(QStringLiteral("tool.sh"))).permissions() & QFileDevice::ExeOwner);
    EXPECT_EQ(readFile(program(QStringLiteral("Reports/summary.rpt"))), "report v1");
    EXPECT_EQ(readFile(m_root.filePath(QStringLiteral("shared/labels.txt"))), "labels v2");
    EXPECT_TRUE(recorded(QStringLiteral("U1")));
    EXPECT_TRUE(recorded(QStringLiteral("U2")));
    EXPECT_LT(
        statusIndex(QStringLiteral("Checking update U2...")), statusIndex(QStringLiteral("Checking update U1...")));
    EXPECT_TRUE(statusShown(QStringLiteral("Preparing to install update U1...")));
    EXPECT_TRUE(statusShown(QStringLiteral("Loading file summary.rpt...")));
    EXPECT_EQ(statuses().back(), Completed);
    expectMainProgramStarted();

    // Found from outside by its name, which is not the name of its class.
    EXPECT_EQ(window().objectName(), QStringLiteral("frmMain"));
    const auto* progress = window().findChild<QLabel*>(QStringLiteral("lblProgress"));
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress->text(), Completed);
    const auto* picture = window().findChild<QLabel*>(QStringLiteral("imgImage"));
    ASSERT_TRUE(picture);
    EXPECT_FALSE(picture->pixmap().isNull());
}

TEST_F(LoaderRun, ASecondStartInstallsNothing)
{
    publishTwoUpdates();
    ASSERT_EQ(runLoader(), 0);
    // The published files change, but a recorded update is never installed again.
    writeFile(updates(QStringLiteral("U1/summary.rpt")), "changed after publishing");

    EXPECT_EQ(runLoader(), 0);

    EXPECT_EQ(readFile(program(QStringLiteral("Reports/summary.rpt"))), "report v1");
    EXPECT_TRUE(statusShown(QStringLiteral("Update U2 already installed.")));
    EXPECT_TRUE(statusShown(QStringLiteral("Update U1 already installed.")));
    EXPECT_FALSE(statusShown(QStringLiteral("Loading file summary.rpt...")));
    EXPECT_EQ(statuses().back(), NothingNew);
    expectMainProgramStarted();
}

// A workstation's Settings.xml and menu.txt are its own: an update that carries copies of them
// but does not name them in its file list leaves them alone; one that names them replaces them.
TEST_F(LoaderRun, TheStationsSettingsAndMenuAreReplacedOnlyWhenTheFileListNamesThem)
{
    const QByteArray ownSettings = readFile(program(QStringLiteral("Settings.xml")));
    writeFile(program(QStringLiteral("menu.txt")), "Cases, _Cases\n");
    writeUpdateList("U1\n");
    publish(QStringLiteral("U1"), "tool.sh => $(AppPath)\n",
        { { QStringLiteral("tool.sh"), "tool" }, { QStringLiteral("Settings.xml"), "<Settings>shipped</Settings>" },
            { QStringLiteral("menu.txt"), "shipped menu" } });
    ASSERT_EQ(runLoader(), 0);
    EXPECT_EQ(readFile(program(QStringLiteral("tool.sh"))), "tool");
    EXPECT_EQ(readFile(program(QStringLiteral("Settings.xml"))), ownSettings);
    EXPECT_EQ(readFile(program(QStringLiteral("menu.txt"))), "Cases, _Cases\n");

    const QByteArray newSettings
        = "<Settings><Update_Location>" + updates().toUtf8() + "</Update_Location><Databases/></Settings>";
    writeUpdateList("U1\nU2\n");
    publish(QStringLiteral("U2"), "menu.txt => $(AppPath)\nSettings.xml => $(AppPath)\n",
        { { QStringLiteral("menu.txt"), "the new menu" }, { QStringLiteral("Settings.xml"), newSettings } });
    ASSERT_EQ(runLoader(), 0);
    EXPECT_EQ(readFile(program(QStringLiteral("menu.txt"))), "the new menu");
    EXPECT_EQ(readFile(program(QStringLiteral("Settings.xml"))), newSettings);
}

TEST_F(LoaderRun, TheUsersOwnRecordDecidesWhatIsInstalled)
{
    publishTwoUpdates();
    record(QStringLiteral("U1"));

    EXPECT_EQ(runLoader(), 0);

    EXPECT_FALSE(QFile::exists(program(QStringLiteral("Reports/summary.rpt"))));
    EXPECT_EQ(readFile(m_root.filePath(QStringLiteral("shared/labels.txt"))), "labels v2");
    EXPECT_TRUE(recorded(QStringLiteral("U2")));
    EXPECT_EQ(statuses().back(), Completed);
}

TEST_F(LoaderRun, TheNewestCopyOfAFileWinsWithinARun)
{
    QDir().mkpath(program(QStringLiteral("Reports")));
    writeUpdateList("U1\r\nU2\r\nU3\r\n");
    publish(QStringLiteral("U1"), "shared.txt => $(AppPath)\r\nonly1.txt => $(AppPath)\r\n",
        { { QStringLiteral("shared.txt"), "from U1" }, { QStringLiteral("only1.txt"), "only in U1" } });
    // The same name for another folder is another file.
    publish(
        QStringLiteral("U2"), "shared.txt => $(AppPath)\\Reports\r\n", { { QStringLiteral("shared.txt"), "from U2" } });
    publish(QStringLiteral("U3"), "shared.txt => $(AppPath)\r\nSHARED.txt => $(AppPath)\r\n",
        { { QStringLiteral("shared.txt"), "from U3" }, { QStringLiteral("SHARED.txt"), "upper case U3" } });

    EXPECT_EQ(runLoader(), 0);

    EXPECT_EQ(readFile(program(QStringLiteral("shared.txt"))), "from U3");
    EXPECT_EQ(readFile(program(QStringLiteral("SHARED.txt"))), "upper case U3");
    EXPECT_EQ(readFile(program(QStringLiteral("Reports/shared.txt"))), "from U2");
    EXPECT_EQ(readFile(program(QStringLiteral("only1.txt"))), "only in U1");
    for (const char* update : { "U1", "U2", "U3" })
        EXPECT_TRUE(recorded(QString::fromLatin1(update))) << update;
    EXPECT_EQ(statuses().back(), Completed);
}

TEST_F(LoaderRun, AnOlderUpdateInstalledLaterNeverOverwritesANewerOne)
{
    writeUpdateList("U2\r\n");
    publish(QStringLiteral("U2"), "shared.txt => $(AppPath)\r\n", { { QStringLiteral("shared.txt"), "from U2" } });
    ASSERT_EQ(runLoader(), 0);
    // U1 is published late, as an older update than U2.
    writeUpdateList("U1\r\nU2\r\n");
    publish(QStringLiteral("U1"), "shared.txt => $(AppPath)\r\nonly1.txt => $(AppPath)\r\n",
        { { QStringLiteral("shared.txt"), "from U1" }, { QStringLiteral("only1.txt"), "only in U1" } });

    EXPECT_EQ(runLoader(), 0);

    EXPECT_EQ(readFile(program(QStringLiteral("shared.txt"))), "from U2");
    EXPECT_EQ(readFile(program(QStringLiteral("only1.txt"))), "only in U1");
    EXPECT_TRUE(recorded(QStringLiteral("U1")));
    EXPECT_EQ(statuses().back(), Completed);
}

TEST_F(LoaderRun, AFolderNamedLikeASchemeIsAFolder)
{
    // Relative to the program folder, whatever folder the loader was started from.
    writeSettings(QStringLiteral("ftp-updates"));
    writeFile(program(QStringLiteral("ftp-updates/updates.txt")), "U1\r\n");
    writeFile(program(QStringLiteral("ftp-updates/U1/filelist.txt")), "a.txt => $(AppPath)\r\n");
    writeFile(program(QStringLiteral("ftp-updates/U1/a.txt")), "from the folder");

    EXPECT_EQ(runLoader(), 0);

    EXPECT_EQ(readFile(program(QStringLiteral("a.txt"))), "from the folder");
    expectMainProgramStarted();
}

// Line ends and byte-order marks of the two list files.
struct ListFormat {
    const char* name;
    QByteArray updateList;
    QByteArray fileList;
};

class ListFormats : public LoaderRun, public ::testing::WithParamInterface<ListFormat> { };

TEST_P(ListFormats, AreReadAlike)
{
    writeUpdateList(GetParam().updateList);
    publish(QStringLiteral("U1"), GetParam().fileList,
        { { QStringLiteral("a.txt"), "a" }, { QStringLiteral("b.txt"), "b" } });

    EXPECT_EQ(runLoader(), 0);

    EXPECT_EQ(readFile(program(QStringLiteral("a.txt"))), "a");
    EXPECT_EQ(readFile(program(QStringLiteral("b.txt"))), "b");
    EXPECT_TRUE(recorded(QStringLiteral("U1")));
    EXPECT_EQ(statuses().back(), Completed);
}

INSTANTIATE_TEST_SUITE_P(LoaderRun, ListFormats,
    ::testing::Values(ListFormat { "CrLf", "U1\r\n", "a.txt => $(AppPath)\r\nb.txt => $(AppPath)\r\n" },
        ListFormat { "LfOnly", "U1\n", "a.txt => $(AppPath)\nb.txt => $(AppPath)\n" },
        ListFormat { "CrOnly", "U1\r", "a.txt => $(AppPath)\rb.txt => $(AppPath)" },
        ListFormat { "ByteOrderMark", "\xEF\xBB\xBFU1\r\n",
            "\xEF\xBB\xBF"
            "a.txt => $(AppPath)\r\nb.txt => $(AppPath)\r\n" },
        ListFormat { "BlanksAndEmptyLines", "\r\n  U1  \r\n\r\n   \r\n",
            "\r\n  a.txt   =>   $(AppPath)  \r\n\t\r\nb.txt=>$(AppPath)" }),
    [](const ::testing::TestParamInfo<ListFormat>& caseInfo) { return std::string(caseInfo.param.name); });

// Locations that have no update list: the main program starts as usual.
enum class Location { UpdateFolder, Blank };

struct NoUpdatesCase {
    const char* name;
    Location location;
    const char* updateList; // nullptr: no updates.txt at all
};

class NoUpdates : public LoaderRun, public ::testing::WithParamInterface<NoUpdatesCase> { };

TEST_P(NoUpdates, StartTheMainProgram)
{
    if (GetParam().location == Location::Blank)
        writeSettings(QStringLiteral("  "));
    if (GetParam().updateList)
        writeUpdateList(GetParam().updateList);

    EXPECT_EQ(runLoader(), 0);

    EXPECT_EQ(statuses().back(), NothingNew);
    expectMainProgramStarted();
}

INSTANTIATE_TEST_SUITE_P(LoaderRun, NoUpdates,
    ::testing::Values(NoUpdatesCase { "BlankLocation", Location::Blank, "U1\r\n" },
        NoUpdatesCase { "NoUpdateList", Location::UpdateFolder, nullptr },
        NoUpdatesCase { "EmptyUpdateList", Location::UpdateFolder, "" },
        NoUpdatesCase { "BlankUpdateList", Location::UpdateFolder, "  \r\n\r\n \n" }),
    [](const ::testing::TestParamInfo<NoUpdatesCase>& caseInfo) { return std::string(caseInfo.param.name); });

// An update folder that is not there (a share not mounted, a path mistyped): the window and the
// error log say so once, no box stops the start, and the main program starts.
struct UnreachableCase {
    const char* name;
    const char* settingsLocation; // relative: under the program folder; "@" stands for the test's root
    const char* shownLocation;
};

class UnreachableLocation : public LoaderRun, public ::testing::WithParamInterface<UnreachableCase> { };

TEST_P(UnreachableLocation, IsReportedOnceAndTheMainProgramStarts)
{
    const auto resolve = [this](const char* text) {
        return QString::fromUtf8(text).replace(QStringLiteral("@"), m_root.path()).replace(QStringLiteral("$"), program());
    };
    writeFile(m_root.filePath(QStringLiteral("a-file")), "not a folder");
    writeSettings(resolve(GetParam().settingsLocation));
    const QString expected
        = QStringLiteral("The update location <") + resolve(GetParam().shownLocation) + QStringLiteral("> cannot be reached.");

    EXPECT_EQ(runLoader(), 0);

    EXPECT_EQ(statuses().back(), expected + QStringLiteral(" Starting main program..."));
    EXPECT_EQ(std::count_if(statuses().begin(), statuses().end(),
                  [](const QString& status) { return status.contains(QStringLiteral("cannot be reached")); }),
        1);
    expectMainProgramStarted();
    const QString log = QString::fromUtf8(readFile(program(QStringLiteral("Errors/Bramblecot error.log"))));
    EXPECT_EQ(log.count(expected), 1) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("Respond: Continue"))) << qPrintable(log);
}

INSTANTIATE_TEST_SUITE_P(LoaderRun, UnreachableLocation,
    ::testing::Values(UnreachableCase { "MissingFolder", "@/nowhere", "@/nowhere" },
        UnreachableCase { "MissingFolderUnderTheProgramFolder", "updates-share", "$updates-share" },
        UnreachableCase { "AFileInPlaceOfTheFolder", "@/a-file", "@/a-file" }),
    [](const ::testing::TestParamInfo<UnreachableCase>& caseInfo) { return std::string(caseInfo.param.name); });

// Every failure: one box ending in "Application terminated.", nothing started, nothing recorded.
class LoaderFailure : public LoaderRun {
protected:
    void expectFailure(const QString& expectedText)
    {
        EXPECT_EQ(runLoader(), 1);
        EXPECT_EQ(onlyMessage(), expectedText + Terminated);
        EXPECT_TRUE(startRecord().starts.empty());
        EXPECT_EQ(terminations(), 1);
    }
};

TEST_F(LoaderFailure, SettingsFileMissing)
{
    QFile::remove(program(QStringLiteral("Settings.xml")));
    expectFailure(QStringLiteral("Cannot find Settings file <Settings.xml>."));
}

TEST_F(LoaderFailure, SettingsWithoutUpdateLocation)
{
    writeFile(program(QStringLiteral("Settings.xml")), "<Settings><Database/></Settings>");
    expectFailure(QStringLiteral("Settings file <Settings.xml> has no Update_Location element."));
}

TEST_F(LoaderFailure, SettingsNotXml)
{
    writeFile(program(QStringLiteral("Settings.xml")), "<Settings><Update_Location>");
    EXPECT_EQ(runLoader(), 1);
    EXPECT_TRUE(onlyMessage().startsWith(QStringLiteral("Settings file <Settings.xml> is not a valid XML document")));
    EXPECT_TRUE(startRecord().starts.empty());
}

TEST_F(LoaderFailure, PictureMissing)
{
    QFile::remove(program(QStringLiteral("Images/gun.jpg")));
    expectFailure(
        QStringLiteral("Cannot load the picture <") + program(QStringLiteral("Images/gun.jpg")) + QStringLiteral(">."));
}

TEST_F(LoaderFailure, MainProgramCannotStart)
{
    refuseStarts();
    EXPECT_EQ(runLoader(), 1);
    EXPECT_EQ(onlyMessage(),
        QStringLiteral("Cannot start the program <") + program(QStringLiteral("Bramblecot_Main")) + QStringLiteral(">.")
            + Terminated);
}

TEST_F(LoaderFailure, MalformedFileListLineCopiesNothingOfTheUpdate)
{
    writeUpdateList("U1\r\n");
    publish(QStringLiteral("U1"), "a.txt => $(AppPath)\r\nb.txt $(AppPath)\r\n",
        { { QStringLiteral("a.txt"), "a" }, { QStringLiteral("b.txt"), "b" } });
    expectFailure(
        QStringLiteral("Update <U1> cannot be installed. The line <b.txt $(AppPath)> has no \"=>\" between a file "
                       "name and its destination."));
    EXPECT_FALSE(QFile::exists(program(QStringLiteral("a.txt"))));
    EXPECT_FALSE(recorded(QStringLiteral("U1")));
}

TEST_F(LoaderFailure, DestinationFolderMissingCopiesNothingOfTheUpdate)
{
    writeUpdateList("U1\r\n");
    publish(QStringLiteral("U1"), "a.txt => $(AppPath)\r\nb.txt => $(AppPath)\\Missing\r\n",
        { { QStringLiteral("a.txt"), "a" }, { QStringLiteral("b.txt"), "b" } });
    expectFailure(QStringLiteral("Cannot copy file <") + updates(QStringLiteral("U1/b.txt")) + QStringLiteral("> to <")
        + program(QStringLiteral("Missing/b.txt"))
        + QStringLiteral(">.\r\n\r\nThe file might be open with another program/user or you don't have permissions to "
                         "access it.\r\n\r\nPath not found."));
    EXPECT_FALSE(QFile::exists(program(QStringLiteral("a.txt"))));
    EXPECT_FALSE(recorded(QStringLiteral("U1")));
}

TEST_F(LoaderFailure, ANewerUpdateStaysWhenAnOlderOneFails)
{
    writeUpdateList("U1\r\nU2\r\n");
    publish(QStringLiteral("U2"), "b.txt => $(AppPath)\r\n", { { QStringLiteral("b.txt"), "b" } });
    // U1's folder was never published.
    expectFailure(QStringLiteral("Cannot read file <") + updates(QStringLiteral("U1/filelist.txt"))
        + QStringLiteral(">: No such file or directory."));
    EXPECT_EQ(readFile(program(QStringLiteral("b.txt"))), "b");
    EXPECT_TRUE(recorded(QStringLiteral("U2")));
    EXPECT_FALSE(recorded(QStringLiteral("U1")));
}

// A list line longer than any file name (4,096 bytes) ends the start at once, whichever list holds
// it and however long it is; the updates before it in the run are not touched.
struct LongLineCase {
    const char* name;
    bool inFileList;
    qsizetype length;
};

class LongListLine : public LoaderFailure, public ::testing::WithParamInterface<LongLineCase> { };

TEST_P(LongListLine, IsRefusedAndNothingIsInstalled)
{
    const LongLineCase& c = GetParam();
    const QByteArray line(c.length, 'x');
    QString list;
    if (c.inFileList) {
        writeUpdateList("U1\r\n");
        publish(QStringLiteral("U1"), "a.txt => $(AppPath)\r\n" + line + "\r\n", { { QStringLiteral("a.txt"), "a" } });
        list = updates(QStringLiteral("U1/filelist.txt"));
    } else {
        writeUpdateList("U1\r\n" + line);
        publish(QStringLiteral("U1"), "a.txt => $(AppPath)\r\n", { { QStringLiteral("a.txt"), "a" } });
        list = updates(QStringLiteral("updates.txt"));
    }
    expectFailure(QStringLiteral("Line 2 of <") + list + QStringLiteral("> is ") + QString::number(c.length)
        + QStringLiteral(" bytes long; a line of an update list names a file and can be at most 4096 bytes long."));
    EXPECT_FALSE(QFile::exists(program(QStringLiteral("a.txt"))));
    EXPECT_FALSE(recorded(QStringLiteral("U1")));
}

INSTANTIATE_TEST_SUITE_P(LoaderFailure, LongListLine,
    ::testing::Values(LongLineCase { "UpdateListJustOver", false, 4097 },
        LongLineCase { "UpdateList100k", false, 100'000 }, LongLineCase { "UpdateList10MB", false, 10'000'000 },
        LongLineCase { "FileList100k", true, 100'000 }, LongLineCase { "FileList10MB", true, 10'000'000 }),
    [](const ::testing::TestParamInfo<LongLineCase>& caseInfo) { return std::string(caseInfo.param.name); });

// A file list with one line leading outside the program folder or its named folder stops the
// update before its first file is written: the good line before it installs nothing either.
struct EscapingLineCase {
    const char* name;
    QByteArray line; // "<outside>" stands for a folder beside the program folder
};

class EscapingListLine : public LoaderFailure, public ::testing::WithParamInterface<EscapingLineCase> { };

TEST_P(EscapingListLine, StopsTheUpdateAndInstallsNothing)
{
    const QString outside = m_root.filePath(QStringLiteral("outside"));
    QDir().mkpath(outside);
    QDir().mkpath(program(QStringLiteral("sub")));
    QByteArray line = GetParam().line;
    line.replace("<outside>", outside.toUtf8());
    writeUpdateList("U1\r\n");
    publish(QStringLiteral("U1"), "good.txt => $(AppPath)\r\n" + line + "\r\n",
        { { QStringLiteral("good.txt"), "good" }, { QStringLiteral("a.txt"), "a" } });
    QDir().mkpath(updates(QStringLiteral("x")));
    writeFile(updates(QStringLiteral("x/a.txt")), "a");

    expectFailure(QStringLiteral("Update <U1> cannot be installed. The line <") + QString::fromUtf8(line)
        + QStringLiteral(
            "> leads outside the program folder or the folder it names; an update file may not go there."));
    EXPECT_FALSE(QFile::exists(program(QStringLiteral("good.txt"))));
    EXPECT_TRUE(QDir(outside).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_FALSE(QFile::exists(m_root.filePath(QStringLiteral("x/a.txt"))));
    EXPECT_FALSE(recorded(QStringLiteral("U1")));
}

INSTANTIATE_TEST_SUITE_P(LoaderFailure, EscapingListLine,
    ::testing::Values(EscapingLineCase { "ParentOfAppPath", "a.txt => $(AppPath)/../outside" },
        EscapingLineCase { "NameClimbsUp", "../x/a.txt => $(AppPath)" },
        EscapingLineCase { "DownAndTwiceUp", "a.txt => $(AppPath)/sub/../../outside" },
        EscapingLineCase { "AbsoluteFolderClimbsUp", "a.txt => <outside>/../outside" },
        EscapingLineCase { "BackslashesClimbUp", "a.txt => $(AppPath)\\..\\outside" }),
    [](const ::testing::TestParamInfo<EscapingLineCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(LoaderFailure, AFolderLinkedOutsideTheProgramFolderIsRefused)
{
    const QString outside = m_root.filePath(QStringLiteral("outside"));
    QDir().mkpath(outside);
    ASSERT_TRUE(QFile::link(outside, program(QStringLiteral("Reports"))));
    writeUpdateList("U1\r\n");
    publish(QStringLiteral("U1"), "good.txt => $(AppPath)\r\nr.rpt => $(AppPath)/Reports\r\n",
        { { QStringLiteral("good.txt"), "good" }, { QStringLiteral("r.rpt"), "report" } });

    expectFailure(QStringLiteral("Update <U1> cannot be installed. The folder <") + program(QStringLiteral("Reports"))
        + QStringLiteral("> of file <r.rpt> leads outside <") + QDir::cleanPath(program())
        + QStringLiteral("> through a symbolic link."));
    EXPECT_FALSE(QFile::exists(program(QStringLiteral("good.txt"))));
    EXPECT_TRUE(QDir(outside).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(LoaderFailure, ALinkPlantedAsAnInstalledFileIsNotWrittenThrough)
{
    const QString target = m_root.filePath(QStringLiteral("victim.txt"));
    writeFile(target, "the link's target");
    ASSERT_TRUE(QFile::link(target, program(QStringLiteral("a.txt"))));
    writeUpdateList("U1\r\n");
    publish(QStringLiteral("U1"), "good.txt => $(AppPath)\r\na.txt => $(AppPath)\r\n",
        { { QStringLiteral("good.txt"), "good" }, { QStringLiteral("a.txt"), "from the update" } });

    expectFailure(QStringLiteral("Cannot copy file <") + updates(QStringLiteral("U1/a.txt")) + QStringLiteral("> to <")
        + program(QStringLiteral("a.txt"))
        + QStringLiteral(">.\r\n\r\nThe file might be open with another program/user or you don't have permissions to "
                         "access it.\r\n\r\nThe file ")
        + program(QStringLiteral("a.txt")) + QStringLiteral(" is a symbolic link; it is not written through."));
    EXPECT_EQ(readFile(target), "the link's target");
    EXPECT_FALSE(QFile::exists(program(QStringLiteral("good.txt"))));
}

// An installed file keeps the mode it should have: a program stays runnable, nobody but its owner
// may rewrite it.
TEST_F(LoaderRun, CopiedFilesTakeTheSourcesModeLessWriteForOthers)
{
    writeUpdateList("U1\r\n");
    publish(QStringLiteral("U1"), "tool.sh => $(AppPath)\r\nopen.txt => $(AppPath)\r\nmine.txt => $(AppPath)\r\n",
        { { QStringLiteral("tool.sh"), "#!/bin/sh\n" }, { QStringLiteral("open.txt"), "open" },
            { QStringLiteral("mine.txt"), "mine" } });
    const struct {
        const char* name;
        QFileDevice::Permissions source;
        QFileDevice::Permissions installed;
    } cases[] = {
        { "tool.sh",
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                | QFileDevice::ExeOther,
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                | QFileDevice::ExeOther },
        { "open.txt",
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
                | QFileDevice::ReadOther | QFileDevice::WriteOther,
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther },
        { "mine.txt", QFileDevice::ReadOwner | QFileDevice::WriteOwner,
            QFileDevice::ReadOwner | QFileDevice::WriteOwner },
    };
    for (const auto& c : cases)
        ASSERT_TRUE(QFile::setPermissions(updates(QStringLiteral("U1/") + QString::fromLatin1(c.name)), c.source));

    EXPECT_EQ(runLoader(), 0);

    for (const auto& c : cases) {
        const QFileDevice::Permissions all = QFileInfo(program(QString::fromLatin1(c.name))).permissions();
        // QFileInfo adds the "User" bits of the current user to the owner's: compare only these.
        EXPECT_EQ(all & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser), c.installed)
            << c.name;
    }
    // Nothing of the staging is left beside the files.
    EXPECT_EQ(QDir(program()).entryList({ QStringLiteral(".*.??????") }, QDir::Files | QDir::Hidden), QStringList());
}
