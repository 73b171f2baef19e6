#include "core/AppInfo.h"
#include "core/DatabaseList.h"
#include "core/ErrorReport.h"
#include "core/Platform.h"
#include "support/PromptRecorder.h"
#include "core/RegistrySettings.h"
#include "core/SqlText.h"
#include "core/Startup.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& text, bool executable = false)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

// --- Hand-over to a newer numbered copy --------------------------------------------------------

struct HandOverCase {
    const char* name;
    QStringList executables; // files in the folder that may be run
    QStringList plainFiles; // files that are not executable
    const char* own;
    const char* expected; // "" = no hand-over
};

class HandOver : public ::testing::TestWithParam<HandOverCase> { };

TEST_P(HandOver, ChoosesOnlyAStrictlyHigherNumberedExecutableCopy)
{
    const HandOverCase& c = GetParam();
    QTemporaryDir folder;
    for (const QString& name : c.executables)
        writeFile(folder.filePath(name), "#!/bin/sh\n", true);
    for (const QString& name : c.plainFiles)
        writeFile(folder.filePath(name), "data");
    EXPECT_EQ(NewestVersionFile(folder.path(), QString::fromLatin1(c.own)), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, HandOver,
    ::testing::Values(
        HandOverCase { "BaseAloneGoesToHighest", { "Bramblecot_Main", "Bramblecot_Main2", "Bramblecot_Main10" }, {}, "Bramblecot_Main",
                       "Bramblecot_Main10" },
        HandOverCase { "CopyTwoGoesToTen", { "Bramblecot_Main", "Bramblecot_Main2", "Bramblecot_Main10" }, {}, "Bramblecot_Main2",
                       "Bramblecot_Main10" },
        HandOverCase { "HighestGoesOn", { "Bramblecot_Main", "Bramblecot_Main2", "Bramblecot_Main10" }, {}, "Bramblecot_Main10", "" },
        HandOverCase { "BaseBesideThree", { "Bramblecot_Main", "Bramblecot_Main3" }, {}, "Bramblecot_Main", "Bramblecot_Main3" },
        // A copy numbered 3 looks for the base followed by digits, and never hands back down.
        HandOverCase { "NeverLower", { "Bramblecot_Main", "Bramblecot_Main1" }, {}, "Bramblecot_Main3", "" },
        HandOverCase { "NotExecutable", { "Bramblecot_Main" }, { "Bramblecot_Main7" }, "Bramblecot_Main", "" },
        HandOverCase { "NotDigitsAfterBase", { "Bramblecot_Main", "Bramblecot_Main.bak", "Bramblecot_Main2x", "Bramblecot_MainX9" }, {},
                       "Bramblecot_Main", "" },
        HandOverCase { "NumberTooLarge", { "Bramblecot_Main", "Bramblecot_Main99999" }, {}, "Bramblecot_Main", "" },
        HandOverCase { "EqualNumbersFirstListedWins", { "Bramblecot_Main", "Bramblecot_Main05", "Bramblecot_Main5" }, {},
                       "Bramblecot_Main", "Bramblecot_Main05" }),
    [](const ::testing::TestParamInfo<HandOverCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST(HandOverFolder, AFolderNamedLikeACopyIsNoCopy)
{
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("Bramblecot_Main")), "#!/bin/sh\n", true);
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Bramblecot_Main4")));
    EXPECT_EQ(NewestVersionFile(folder.path(), QStringLiteral("Bramblecot_Main")), QString());
}

TEST(TestModeName, BeginsWithTestInAnyCase)
{
    EXPECT_TRUE(IsTestModeName(QStringLiteral("Test_Bramblecot_Main")));
    EXPECT_TRUE(IsTestModeName(QStringLiteral("tEsTBramblecot")));
    EXPECT_FALSE(IsTestModeName(QStringLiteral("Bramblecot_Main")));
    EXPECT_FALSE(IsTestModeName(QStringLiteral("Tes")));
}

// --- Program folder checks ------------------------------------------------------------------

class StartupChecks : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedPath = GetMainPath();
        Prompts().clear();
        Terminations() = {};
    }
    void TearDown() override { SetMainPath(m_savedPath); }
    QString m_savedPath;
};

TEST_F(StartupChecks, UnreadableProgramFolderEndsWithTheScriptingMessage)
{
    SetMainPath(QStringLiteral("/nonexistent/bramblecot/folder"));
    EXPECT_FALSE(CreateFSO());
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QStringLiteral("Unable to initiate Scripting DLL.\r\n")));
    EXPECT_TRUE(Prompts().boxes[0].text.endsWith(QStringLiteral("\r\n\r\nApplication terminated.")));
    EXPECT_EQ(Prompts().boxes[0].style & MsgBox::Critical, MsgBox::Critical);
    EXPECT_EQ(Terminations().calls, 1);
}

TEST_F(StartupChecks, ParserAndFolderPresentGoOn)
{
    EXPECT_TRUE(CheckMSXML());
    EXPECT_TRUE(CreateFSO());
    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_EQ(Terminations().calls, 0);
}

// --- The program folder's own files -------------------------------------------------------------

// The build puts the shipped Settings.xml and menu.txt in the program folder only where it has
// none: a station's own copy, even an empty one, is never overwritten.
TEST(ProgramFolderBuild, ShippedSettingsAndMenuAreCopiedOnlyWhereTheFolderHasNone)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto build = [&](const QString& name) {
        QProcess cmake;
        cmake.setProcessChannelMode(QProcess::MergedChannels);
        cmake.start(QStringLiteral(BRAMBLECOT_CMAKE_COMMAND),
            { QStringLiteral("-DSOURCE=" BRAMBLECOT_SOURCE_DIR "/program_files/") + name,
                QStringLiteral("-DDESTINATION=") + folder.filePath(name),
                QStringLiteral("-P"), QStringLiteral(BRAMBLECOT_SOURCE_DIR "/apps/CopyIfMissing.cmake") });
        EXPECT_TRUE(cmake.waitForFinished(60000));
        EXPECT_EQ(cmake.exitCode(), 0) << cmake.readAll().toStdString();
    };
    const auto read = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    for (const QString& name : { QStringLiteral("Settings.xml"), QStringLiteral("menu.txt") }) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray shipped = read(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/") + name);
        build(name);
        EXPECT_EQ(read(folder.filePath(name)), shipped) << "a folder without one gets the shipped file";
        writeFile(folder.filePath(name), "the station's own");
        build(name);
        EXPECT_EQ(read(folder.filePath(name)), "the station's own");
        writeFile(folder.filePath(name), QByteArray());
        build(name);
        EXPECT_EQ(read(folder.filePath(name)), QByteArray()) << "an empty file is the station's to mend";
    }
}

// --- Settings.xml and the remembered database -----------------------------------------------

class DatabaseListing : public StartupChecks {
protected:
    void SetUp() override
    {
        StartupChecks::SetUp();
        ASSERT_TRUE(m_folder.isValid());
        SetMainPath(m_folder.path());
        QDir(m_folder.path()).mkpath(QStringLiteral("Errors"));
        RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("DBOnServer"), QString());
        DBList().clear();
        CurrentDB() = 0;
    }
    void TearDown() override
    {
        DBList().clear();
        CurrentDB() = 0;
        StartupChecks::TearDown();
    }
    void writeSettings(const QByteArray& text) { writeFile(m_folder.filePath(QStringLiteral("Settings.xml")), text); }
    // What the error log recorded (the procedure of each failure is written there).
    static QString errorLog()
    {
        QFile file(ErrorLogFile());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QString remembered() const { return RegistrySettings::value(QStringLiteral("Options"), QStringLiteral("DBOnServer")); }
    QTemporaryDir m_folder;
};

const QByteArray kTwoNested = "<Settings><Group><Database><Server>(local)</Server><Database_Name>First.db</Database_Name></Database>"
                              "</Group><Other><Deeper><Database><Server> pg.example </Server><Database_Name>second</Database_Name>"
                              "<Engine>PostgreSQL</Engine></Database></Deeper></Other><Update_Location/></Settings>";

TEST_F(DatabaseListing, NestedEntriesInDocumentOrderAndFirstIsRemembered)
{
    writeSettings(kTwoNested);
    LoadDatabases();
    ASSERT_EQ(DBCount(), 2);
    EXPECT_EQ(DatabaseAt(1)->DisplayName, QStringLiteral("First.db on (local)"));
    EXPECT_EQ(DatabaseAt(2)->DisplayName, QStringLiteral("second on pg.example"));
    EXPECT_EQ(DatabaseAt(2)->EngineName, QStringLiteral("PostgreSQL"));
    EXPECT_EQ(CurrentDB(), 1);
    EXPECT_EQ(remembered(), QStringLiteral("First.db on (local)"));
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_F(DatabaseListing, RememberedInOtherCaseIsChosenAndNotRewritten)
{
    writeSettings(kTwoNested);
    RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("DBOnServer"), QStringLiteral("SECOND ON PG.EXAMPLE"));
    LoadDatabases();
    EXPECT_EQ(CurrentDB(), 2);
    EXPECT_EQ(remembered(), QStringLiteral("SECOND ON PG.EXAMPLE"));
}

TEST_F(DatabaseListing, RememberedThatNoLongerExistsFallsBackToTheFirst)
{
    writeSettings(kTwoNested);
    RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("DBOnServer"), QStringLiteral("Gone.db on (local)"));
    LoadDatabases();
    EXPECT_EQ(CurrentDB(), 1);
    EXPECT_EQ(remembered(), QStringLiteral("First.db on (local)"));
}

TEST_F(DatabaseListing, MissingFileShowsTheDialogTwiceAndLeavesAnEmptyList)
{
    Prompts().answer(MsgBox::Yes);
    Prompts().answer(MsgBox::Yes);
    LoadDatabases();
    EXPECT_EQ(DBCount(), 0);
    EXPECT_EQ(CurrentDB(), 0);
    ASSERT_EQ(Prompts().boxes.size(), 2u);
    EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QStringLiteral("Cannot find Settings file\r\nMessage: Cannot find Settings file <")));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("modStart::ReadDBsFromXML")));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("modStart::LoadDatabases")));
    EXPECT_EQ(Terminations().calls, 0);
}

TEST_F(DatabaseListing, AnsweringNoToTheMissingFileEndsTheProgram)
{
    Prompts().answer(MsgBox::No);
    ReadDBsFromXML();
    EXPECT_EQ(Terminations().calls, 1);
}

// A settings file that cannot be used: the first dialog says what is wrong with it (and where),
// the list stays empty, and the program goes on without a crash.
TEST_F(DatabaseListing, UnusableFileIsNamedWithItsFaultAndGivesNoEntries)
{
    const struct {
        const char* name;
        QByteArray text; // written as the file; "<folder>" makes Settings.xml a folder no one can read as a file
        const char* description; // "" = no dialog of its own: only the empty list's
        const char* detail;
    } cases[] = {
        { "not XML", "<Settings><Database><Server>x", "Settings file is not a valid XML document", "is not a valid XML document: " },
        { "empty", QByteArray(), "Settings file is empty", "is empty." },
        { "blanks only", " \r\n\t\n", "Settings file is empty", "is empty." },
        { "unreadable", "<folder>", "Cannot read Settings file", "Cannot open Settings file <" },
        { "no databases", "<Settings/>", "", "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Prompts().clear();
        Prompts().answer(MsgBox::Yes);
        Prompts().answer(MsgBox::Yes);
        const QString path = m_folder.filePath(QStringLiteral("Settings.xml"));
        QFile::remove(path);
        QDir(path).removeRecursively();
        if (c.text == "<folder>")
            ASSERT_TRUE(QDir().mkpath(path));
        else
            writeSettings(c.text);
        LoadDatabases();
        EXPECT_EQ(DBCount(), 0);
        EXPECT_EQ(CurrentDB(), 0);
        EXPECT_EQ(Terminations().calls, 0);
        // The empty list has no first entry to choose: its dialog comes last.
        ASSERT_EQ(Prompts().boxes.size(), *c.description ? 2u : 1u);
        EXPECT_TRUE(Prompts().boxes.back().text.startsWith(QStringLiteral("Subscript out of range")));
        if (!*c.description)
            continue;
        const QString first = Prompts().boxes.front().text;
        EXPECT_TRUE(first.startsWith(QString::fromLatin1(c.description) + QStringLiteral("\r\nMessage: "))) << qPrintable(first);
        EXPECT_TRUE(first.contains(QString::fromLatin1(c.detail))) << qPrintable(first);
        EXPECT_TRUE(first.contains(AngleQuote(path))) << qPrintable(first);
    }
    EXPECT_TRUE(errorLog().contains(QStringLiteral("modStart::ReadDBsFromXML")));
}

TEST_F(DatabaseListing, DatabaseWithoutServerStopsThereKeepingEarlierEntries)
{
    writeSettings("<Settings><Database><Server>(local)</Server><Database_Name>A.db</Database_Name></Database>"
                  "<Database><Database_Name>B.db</Database_Name></Database>"
                  "<Database><Server>(local)</Server><Database_Name>C.db</Database_Name></Database></Settings>");
    Prompts().answer(MsgBox::Yes);
    LoadDatabases();
    ASSERT_EQ(DBCount(), 1);
    EXPECT_EQ(DatabaseAt(1)->DatabaseName, QStringLiteral("A.db"));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.contains(QStringLiteral("has no Server element")));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("modStart::ReadDBsFromXML")));
}

} // namespace
