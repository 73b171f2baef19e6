#include "core/TextUtilities.h"
#include "core/AppError.h"
#include "core/Platform.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include "support/PromptRecorder.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }


QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// ---- Paths -------------------------------------------------------------------------------------

TEST(PathTest, AddBackslash)
{
    const std::pair<const char*, const char*> cases[] = {
        { "/opt/bramblecot", "/opt/bramblecot/" },
        { "/opt/bramblecot/", "/opt/bramblecot/" },
        { "C:\\Evidence\\", "C:\\Evidence\\" },
        { "  /opt/reports\\   ", "/opt/reports\\" },
        { " /opt/x ", "/opt/x/" },
        { "", "/" },
        { "   ", "/" },
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(AddBackslash(q(path)), q(expected)) << path;
}

TEST(PathTest, FileNameAndParentFolder)
{
    struct Case {
        const char* path;
        const char* fileName;
        const char* parent;
    };
    const Case cases[] = {
        { "/data/reports/a.txt", "a.txt", "/data/reports" },
        { "/data/reports/", "reports", "/data" },
        { "/data//reports", "reports", "/data" },
        { "/data", "data", "/" },
        { "/", "", "" },
        { "a.txt", "a.txt", "" },
        { "Temp/a.txt", "a.txt", "Temp" },
        { "", "", "" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetFileName(q(c.path)), q(c.fileName)) << c.path;
        EXPECT_EQ(GetParentFolder(q(c.path)), q(c.parent)) << c.path;
    }
}

// ---- Files -------------------------------------------------------------------------------------

class FileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        Prompts().clear();
    }

    QString path(const char* name) const { return folder.filePath(q(name)); }

    // The boxes answer in this order; what they show lands in `shown`.
    void answer(std::deque<int> answers)
    {
        Prompts().clear();
        for (int code : answers)
            Prompts().answer(code);
    }

    QTemporaryDir folder;
    std::vector<PromptRecorder::Box>& shown = Prompts().boxes;
};

TEST_F(FileTest, ExistsTellsFilesFromFolders)
{
    writeFile(path("a.txt"), "x");
    QDir(folder.path()).mkdir(q("Sub"));

    EXPECT_TRUE(FileExists(path("a.txt")));
    EXPECT_FALSE(FolderExists(path("a.txt")));
    EXPECT_TRUE(FolderExists(path("Sub")));
    EXPECT_FALSE(FileExists(path("Sub")));
    EXPECT_FALSE(FileExists(path("missing.txt")));
    EXPECT_FALSE(FolderExists(path("missing")));
    // Linux names are case sensitive.
    EXPECT_FALSE(FileExists(path("A.TXT")));
    EXPECT_FALSE(FileExists(QString()));
}

TEST_F(FileTest, DeleteFilesSkipsMissingPathsAndFolders)
{
    writeFile(path("a.txt"), "a");
    writeFile(path("b.txt"), "b");
    writeFile(path("keep.txt"), "k");
    QDir(folder.path()).mkdir(q("Sub"));

    DeleteFiles({ path("a.txt"), path("missing.txt"), path("Sub"), path("b.txt") });

    EXPECT_FALSE(QFile::exists(path("a.txt")));
    EXPECT_FALSE(QFile::exists(path("b.txt")));
    EXPECT_TRUE(QFile::exists(path("keep.txt")));
    EXPECT_TRUE(FolderExists(path("Sub")));
}

TEST_F(FileTest, RenameFileSucceedsWithoutTouchingTheMessage)
{
    writeFile(path("old.txt"), "content");
    QString message = q("untouched");

    EXPECT_TRUE(RenameFile(path("old.txt"), path("new.txt"), message));

    EXPECT_EQ(message, q("untouched"));
    EXPECT_FALSE(QFile::exists(path("old.txt")));
    EXPECT_EQ(readAll(path("new.txt")), QByteArray("content"));
}

TEST_F(FileTest, RenameFileReportsFailuresInTheMessage)
{
    writeFile(path("old.txt"), "old");
    writeFile(path("taken.txt"), "taken");
    QString message;

    EXPECT_FALSE(RenameFile(path("old.txt"), path("taken.txt"), message));
    EXPECT_EQ(message, q("Error 58. File already exists"));
    EXPECT_EQ(readAll(path("taken.txt")), QByteArray("taken"));
    EXPECT_EQ(readAll(path("old.txt")), QByteArray("old"));

    EXPECT_FALSE(RenameFile(path("missing.txt"), path("new.txt"), message));
    EXPECT_EQ(message, q("Error 53. File not found"));

    EXPECT_FALSE(RenameFile(path("old.txt"), path("NoSuchFolder/new.txt"), message));
    EXPECT_TRUE(message.startsWith(q("Error 75. "))) << message.toStdString();
    EXPECT_GT(message.size(), q("Error 75. ").size());
    EXPECT_TRUE(QFile::exists(path("old.txt")));
}

TEST_F(FileTest, SaveTextFileWritesANewFileAsUtf8WithoutAsking)
{
    answer({});
    const QString text = q("Zoë's bag\r\nline 2");

    EXPECT_TRUE(SaveTextFile(path("new.txt"), text));

    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(readAll(path("new.txt")), text.toUtf8());
}

TEST_F(FileTest, SaveTextFileAsksBeforeOverwriting)
{
    const struct {
        int answer;
        bool written;
    } cases[] = { { MsgBox::Yes, true }, { MsgBox::No, false }, { MsgBox::Cancel, false } };

    for (const auto& c : cases) {
        shown.clear();
        writeFile(path("a.txt"), "old");
        answer({ c.answer });

        EXPECT_EQ(SaveTextFile(path("a.txt"), q("new")), c.written) << c.answer;

        EXPECT_EQ(readAll(path("a.txt")), c.written ? QByteArray("new") : QByteArray("old")) << c.answer;
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text,
            q("File <") + path("a.txt") + q("> already exists.\r\n\r\nWould you like to overwrite the file?"));
        EXPECT_EQ(shown[0].title, q("Overwrite?"));
        EXPECT_EQ(shown[0].style, MsgBox::YesNoCancel | MsgBox::Question | MsgBox::DefaultButton2);
    }
}

TEST_F(FileTest, SaveTextFileShowsAFailureOnce)
{
    answer({});

    EXPECT_FALSE(SaveTextFile(path("NoSuchFolder/a.txt"), q("text")));

    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, q("Error"));
    const QString tail = q("\r\n\r\nFile might be open by another appilcation or user.");
    EXPECT_TRUE(shown[0].text.endsWith(tail)) << shown[0].text.toStdString();
    EXPECT_GT(shown[0].text.size(), tail.size()) << "the failure's own description comes first";
}

// ---- Formats -----------------------------------------------------------------------------------

class FormatTest : public testing::Test {
protected:
    // The patterns are fixed: a system locale with its own digits and day-half names changes nothing.
    void SetUp() override
    {
        saved = QLocale();
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    }
    void TearDown() override { QLocale::setDefault(saved); }

    QLocale saved;
};

TEST_F(FormatTest, DatesAndTimes)
{
    struct Case {
        QVariant value;
        const char* date;
        const char* dateTime;
        const char* timestamp;
    };
    const Case cases[] = {
        { QDate(2024, 3, 5), "03/05/2024", "03/05/2024 12:00:00 AM", "20240305000000" },
        { QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)), "03/05/2024", "03/05/2024 02:07:09 PM", "20240305140709" },
        { QDateTime(QDate(1999, 12, 31), QTime(0, 30)), "12/31/1999", "12/31/1999 12:30:00 AM", "19991231003000" },
        { QDateTime(QDate(2024, 11, 20), QTime(12, 5)), "11/20/2024", "11/20/2024 12:05:00 PM", "20241120120500" },
        { q("2024-03-05"), "03/05/2024", "03/05/2024 12:00:00 AM", "20240305000000" },
        { q(" 2024-03-05 14:07:00 "), "03/05/2024", "03/05/2024 02:07:00 PM", "20240305140700" },
        { q("2024-03-05T23:59:59.250"), "03/05/2024", "03/05/2024 11:59:59 PM", "20240305235959" },
        // A local time that a daylight-saving change skips in some zones is still a stored value.
        { q("2024-03-31 02:30:00"), "03/31/2024", "03/31/2024 02:30:00 AM", "20240331023000" },
        { QVariant(), "", "", "" },
        { QDate(), "", "", "" },
        { q(""), "", "", "" },
        { q("03/05/2024"), "", "", "" },
        { q("2024-03-05 25:00:00"), "", "", "" },
        { q("2024-03-05 and more"), "", "", "" },
        { QVariant(42), "", "", "" },
    };
    for (const Case& c : cases) {
        const std::string shownValue = c.value.toString().toStdString();
        EXPECT_EQ(FormatDateText(c.value), q(c.date)) << shownValue;
        EXPECT_EQ(FormatDateTimeText(c.value), q(c.dateTime)) << shownValue;
        EXPECT_EQ(FormatTimestampText(c.value), q(c.timestamp)) << shownValue;
    }
    // To the minute, as the date fields show a time of day.
    const std::pair<QVariant, const char*> minutes[] = {
        { QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)), "03/05/2024 2:07 PM" },
        { QDateTime(QDate(1999, 12, 31), QTime(0, 30)), "12/31/1999 12:30 AM" },
        { q("2024-11-20 12:05:59.999"), "11/20/2024 12:05 PM" },
        { q("2024-03-05"), "03/05/2024 12:00 AM" },
        { q("not a date"), "" },
    };
    for (const auto& [value, text] : minutes)
        EXPECT_EQ(FormatDateTimeMinutesText(value), q(text)) << value.toString().toStdString();
}

TEST_F(FormatTest, YesNo)
{
    const std::pair<QVariant, const char*> cases[] = {
        { QVariant(), "No" },
        { QVariant(0), "No" },
        { QVariant(0.0), "No" },
        { QVariant(false), "No" },
        { q(" 0 "), "No" },
        { q("0.0"), "No" },
        { q(""), "No" },
        { q("   "), "No" },
        { QVariant(1), "Yes" },
        { QVariant(-1), "Yes" },
        { QVariant(0.25), "Yes" },
        { QVariant(qint64(1) << 40), "Yes" },
        { QVariant(true), "Yes" },
        { q("1"), "Yes" },
        { q(" -3.5"), "Yes" },
        { q("abc"), "Yes" },
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(FormatYesNoText(value), q(expected)) << value.toString().toStdString();
}

// ---- Texts -------------------------------------------------------------------------------------

TEST(TextTest, CountDelimiters)
{
    const std::tuple<const char*, const char*, int> cases[] = {
        { "1,2,3", ",", 2 },
        { "", ",", 0 },
        { "abc", ",", 0 },
        { "a AND b and c", " and ", 2 },
        { "aaa", "aa", 1 }, // occurrences do not overlap
        { "aaaa", "aa", 2 },
        { "a\r\nb\r\n", "\r\n", 2 },
    };
    for (const auto& [text, delimiter, expected] : cases)
        EXPECT_EQ(CountDelimiters(q(text), q(delimiter)), expected) << text << " / " << delimiter;
}

TEST(TextTest, CountDelimitersRefusesAnEmptyDelimiter)
{
    try {
        CountDelimiters(q("abc"), QString());
        FAIL() << "no error raised";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), 11);
        EXPECT_EQ(error.description(), q("Division by zero"));
    }
}

TEST(TextTest, DropRightChars)
{
    const std::tuple<const char*, int, const char*> cases[] = {
        { "abc", 1, "ab" },
        { "abc", 3, "" },
        { "abc", 5, "" },
        { "abc", 0, "abc" },
        { "", 2, "" },
        { "a, b, ", 2, "a, b" },
    };
    for (const auto& [text, n, expected] : cases)
        EXPECT_EQ(DropRightChars(q(text), n), q(expected)) << text << " " << n;
}

TEST(TextTest, TextSlice)
{
    const std::tuple<int, int, const char*> cases[] = {
        { 2, 4, "bcd" },
        { 1, 1, "a" },
        { 1, 6, "abcdef" },
        { 5, 99, "ef" },
        { 4, 3, "" },
        { 7, 9, "" },
        { 0, 2, "ab" },
    };
    for (const auto& [start, end, expected] : cases)
        EXPECT_EQ(TextSlice(q("abcdef"), start, end), q(expected)) << start << ".." << end;
}

TEST(TextTest, TextBetween)
{
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        { "<b>Value</b>", "<b>", "</b>", "Value" },
        { "<B>Value</b>", "<b>", "</B>", "Value" },
        { "x[1] y[2]", "[", "]", "1" },
        { "[]", "[", "]", "" },
        { "Value</b>", "<b>", "</b>", "" },
        { "<b>Value", "<b>", "</b>", "" },
        { "end) start(", "(", ")", "" },
    };
    for (const auto& [text, startMarker, endMarker, expected] : cases)
        EXPECT_EQ(TextBetween(q(text), q(startMarker), q(endMarker)), q(expected)) << text;
}

TEST(TextTest, TrimNewLines)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // text, without trailing, without leading
        { "word\r\n\r\n", "word", "word\r\n\r\n" },
        { "\r\n\r\nword", "\r\n\r\nword", "word" },
        { "\r\na\r\nb\r\n", "\r\na\r\nb", "a\r\nb\r\n" },
        { "word\r", "word\r", "word\r" },
        { "\nword\n", "\nword\n", "\nword\n" },
        { "word\r\r\n", "word\r", "word\r\r\n" },
        { "\r\n\r\n", "", "" },
        { "", "", "" },
    };
    for (const auto& [text, trailing, leading] : cases) {
        EXPECT_EQ(TrimTrailingNewLine(q(text)), q(trailing)) << text;
        EXPECT_EQ(TrimLeadingNewLine(q(text)), q(leading)) << text;
    }
}

TEST(TextTest, SplitLinesAtEveryKindOfLineEnd)
{
    const std::pair<const char*, QStringList> cases[] = {
        { "a\r\nb\nc\rd", { "a", "b", "c", "d" } },
        { "a\r\r\nb", { "a", "", "b" } }, // CR then CR LF: an empty line between
        { "a\n\rb", { "a", "", "b" } }, // LF CR is two line ends
        { "a\r\n", { "a" } }, { "a\r", { "a" } }, { "\n", { "" } }, { "", {} },
        { "\ta \r\n", { "\ta " } }, // blanks and tabs stay
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(SplitLines(q(text)), lines) << text;
}

TEST(TextTest, InStrText)
{
    const std::tuple<const char*, const char*, int> cases[] = {
        { "Evidence Room", "room", 10 },
        { "abcabc", "C", 3 },
        { "abc", "x", 0 },
        { "abc", "", 1 },
        { "", "", 0 },
        { "", "a", 0 },
    };
    for (const auto& [text, search, expected] : cases)
        EXPECT_EQ(InStrText(q(text), q(search)), expected) << text << " / " << search;
}

TEST(TextTest, InCommaList)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        { "12", "3, 12,40", true },
        { "12", "3,112,40", false },
        { "12", "12", true },
        { "12", " 1 2 ", true }, // every blank is removed, even inside an element
        { "ab", "x,AB", true },
        { "12", "", false },
        { "3", "3,12", true },
        { "40", "3,12, 40 ", true },
    };
    for (const auto& [identity, list, expected] : cases)
        EXPECT_EQ(InCommaList(q(identity), q(list)), expected) << identity << " in " << list;
}

TEST(TextTest, Plural)
{
    const std::pair<const char*, const char*> cases[] = {
        { "Property", "Properties" },
        { "Batch", "Batches" },
        { "Status", "Statuses" },
        { "Box", "Boxs" },
        { "Day", "Daies" },
        { "Series", "Series" },
        { "Gun series", "Gun series" },
        { "Case", "Cases" },
        { "", "s" },
        { "CASH", "CASHes" },
    };
    for (const auto& [noun, expected] : cases)
        EXPECT_EQ(Plural(q(noun)), q(expected)) << noun;
}

} // namespace
