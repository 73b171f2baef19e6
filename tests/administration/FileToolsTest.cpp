// The folder walk, matcher, extension split and in-place replacement of the file tools, on real
// temporary trees.

#include "administration/FileTools.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

TEST(FileToolsTest, ExtensionListSplitsAtEverySeparator)
{
    struct Case {
        const char* list;
        QStringList entries;
    };
    const Case cases[] = {
        { "txt;ini", { q("txt"), q("ini") } },
        { "txt ini", { q("txt"), q("ini") } },
        { "txt;", { q("txt"), q("") } },
        { " ", { q(""), q("") } },
        { ";;", { q(""), q(""), q("") } },
        { "txt;;ini", { q("txt"), q(""), q("ini") } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitExtensionList(q(c.list)), c.entries) << c.list;
}

TEST(FileToolsTest, PatternsFollowTheWildcardRules)
{
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        { "a.txt", "*.txt", true },
        { "A.TXT", "*.txt", true },
        { "a.txt.bak", "*.txt", false },
        { "README", "*.", true },
        { "a.txt", "*.", false },
        { "README", "*.*", true },
        { "a.b.c", "*.*", true },
        { "a.txt", "?.txt", true },
        { "ab.txt", "?.txt", false },
        { "notes.ini", "*.txt", false },
        { "x.ini", "*.ini", true },
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesFilePattern(q(c.name), q(c.pattern)), c.matches) << c.name << " ~ " << c.pattern;
}

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& relative) const { return m_dir.path() + QLatin1Char('/') + relative; }
    void write(const QString& relative, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Every file and sub-folder the walk reports, relative to the tree.
    QStringList walk(const QString& pattern, bool subFolders)
    {
        QStringList seen;
        FolderWalkHandlers handlers;
        handlers.includeSubFolders = [subFolders] { return subFolders; };
        handlers.file
            = [&](const QString& folder, const QString& name) { seen << (folder + name).mid(m_dir.path().size() + 1); };
        handlers.subFolder = [&](const QString& folder) { seen << q(">> ") + folder.mid(m_dir.path().size() + 1); };
        ProcessFolder(m_dir.path(), pattern, handlers);
        return seen;
    }
    QTemporaryDir m_dir;
};

TEST_F(TreeTest, WalkIsDepthFirstAndSkipsHiddenEntriesAndLinks)
{
    QTemporaryDir outside;
    write(q("a.txt"), "a");
    write(q("b.ini"), "b");
    write(q(".hidden.txt"), "h");
    write(q("one/c.txt"), "c");
    write(q("one/deep/d.txt"), "d");
    write(q("two/e.txt"), "e");
    write(q(".secret/f.txt"), "f");
    QFile::link(m_dir.path(), path(q("one/loop"))); // a link to an ancestor
    QFile::link(outside.path(), path(q("elsewhere"))); // a link out of the tree
    QFile::link(path(q("a.txt")), path(q("linked.txt"))); // a linked file

    EXPECT_EQ(walk(q("*.txt"), true),
        (QStringList { q("a.txt"), q(">> one"), q("one/c.txt"), q(">> one/deep"), q("one/deep/d.txt"), q(">> two"),
            q("two/e.txt") }));
    EXPECT_EQ(walk(q("*.txt"), false), QStringList { q("a.txt") });
}

TEST_F(TreeTest, ReplacementIgnoresCaseAndKeepsTheEncoding)
{
    write(q("plain.txt"), "ABC abc aBc");
    write(q("utf8.txt"), "\xEF\xBB\xBFgr\xC3\xBC\xC3\x9F abc");
    write(q("latin1.txt"), "gr\xFC\xDF abc \xFF");
    write(q("none.txt"), "nothing here");

    EXPECT_EQ(ReplaceTextInFile(path(q("plain.txt")), q("abc"), q("X")), QString());
    EXPECT_EQ(read(q("plain.txt")), QByteArray("X X X"));
    EXPECT_EQ(ReplaceTextInFile(path(q("utf8.txt")), q("ABC"), q("\xC3\xA9")), QString());
    EXPECT_EQ(read(q("utf8.txt")), QByteArray("\xEF\xBB\xBFgr\xC3\xBC\xC3\x9F \xC3\xA9"));
    EXPECT_EQ(ReplaceTextInFile(path(q("latin1.txt")), q("abc"), q("x")), QString());
    EXPECT_EQ(read(q("latin1.txt")), QByteArray("gr\xFC\xDF x \xFF"));
    EXPECT_EQ(ReplaceTextInFile(path(q("none.txt")), q("abc"), q("x")), QString());
    EXPECT_EQ(read(q("none.txt")), QByteArray("nothing here"));
}

TEST_F(TreeTest, AFileOfManyMatchesGetsWhatAWholeTextReplaceGives)
{
    // Lines in mixed case with characters of two and three bytes around the matches; the reference
    // is the whole-text replace the routine did before it became one pass.
    QByteArray utf8;
    QByteArray latin1;
    for (int line = 0; line < 40000; ++line) {
        utf8 += "Gr\xC3\xBC\xC3\x9F EVIDENCE " + QByteArray::number(line) + " evidence\xE2\x82\xAC eViDeNcEevidence\n";
        latin1 += "gr\xFC\xDF Evidence " + QByteArray::number(line) + " \xFF EVIDENCE\n";
    }
    write(q("utf8.txt"), utf8);
    write(q("latin1.txt"), latin1);
    write(q("cut.txt"), "abc \xC3\xA9 abc \xC3"); // ends inside a character: no UTF-8
    struct Case {
        const char* file;
        const char* find;
        const char* replace;
    };
    const Case cases[] = {
        { "utf8.txt", "evidence", "Property \xC3\xA9" }, // longer
        { "utf8.txt", "PROPERTY \xC3\x89", "" }, // removed (the case of the accented letter ignored too)
        { "latin1.txt", "evidence", "it" }, // shorter
        { "latin1.txt", "\xC3\xBF", "yy" }, // a Latin-1 letter above the ASCII range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.find);
        const QByteArray before = read(q(c.file));
        const bool isUtf8 = QString::fromLatin1(c.file).startsWith(q("utf8"));
        QString expected = isUtf8 ? QString::fromUtf8(before) : QString::fromLatin1(before);
        expected.replace(q(c.find), q(c.replace), Qt::CaseInsensitive);
        ASSERT_NE(expected.size(), isUtf8 ? QString::fromUtf8(before).size() : before.size()) << "the case replaces";
        EXPECT_EQ(ReplaceTextInFile(path(q(c.file)), q(c.find), q(c.replace)), QString());
        EXPECT_EQ(read(q(c.file)), isUtf8 ? expected.toUtf8() : expected.toLatin1());
    }
    EXPECT_EQ(ReplaceTextInFile(path(q("cut.txt")), q("abc"), q("x")), QString());
    EXPECT_EQ(read(q("cut.txt")), QByteArray("x \xC3\xA9 x \xC3")) << "every byte kept";
    EXPECT_EQ(ReplaceTextInFile(path(q("cut.txt")), q("x"), q("\xE2\x82\xAC")),
        q("The replacement text cannot be written in the file's encoding (Latin-1)"));
    EXPECT_EQ(read(q("cut.txt")), QByteArray("x \xC3\xA9 x \xC3"));
}

TEST_F(TreeTest, FailuresLeaveTheFileAsItWas)
{
    write(q("empty.txt"), "");
    write(q("locked.txt"), "abc");
    QFile::setPermissions(path(q("locked.txt")), QFileDevice::ReadOwner);
    write(q("shared.txt"), "abc");
    const auto shared
        = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(path(q("shared.txt")), shared);

    EXPECT_EQ(ReplaceTextInFile(path(q("empty.txt")), q("a"), q("b")), q("Input past end of file"));
    if (::geteuid() != 0) { // the superuser writes whatever the permissions say
        EXPECT_EQ(ReplaceTextInFile(path(q("locked.txt")), q("a"), q("b")), q("Permission denied"));
        EXPECT_EQ(read(q("locked.txt")), QByteArray("abc"));
    }
    // A replaced file keeps its permissions.
    EXPECT_EQ(ReplaceTextInFile(path(q("shared.txt")), q("a"), q("b")), QString());
    EXPECT_EQ(read(q("shared.txt")), QByteArray("bbc"));
    const auto bits = QFileDevice::Permissions(0x7077); // owner, group and others
    EXPECT_EQ(QFile::permissions(path(q("shared.txt"))) & bits, shared & bits);
}

} // namespace
