#include "core/AppError.h"
#include "loader/UpdateInstaller.h"
#include "loader/UpdateSource.h"

#include <gtest/gtest.h>

TEST(UpdateLocationKind, AddSlashJoinsAddressParts)
{
    EXPECT_EQ(AddSlash(QStringLiteral(" http://host/updates ")), QStringLiteral("http://host/updates/"));
    EXPECT_EQ(AddSlash(QStringLiteral("http://host/updates/")), QStringLiteral("http://host/updates/"));
    EXPECT_EQ(AddSlash(QStringLiteral("http://host/updates\\")), QStringLiteral("http://host/updates\\"));
}

TEST(UpdateFileLineTest, DestinationsResolve)
{
    const QString main = QStringLiteral("/opt/bramblecot/");
    const struct {
        const char* line;
        const char* name;
        const char* file;
    } cases[] = {
        { "a.dll => $(AppPath)", "a.dll", "/opt/bramblecot/a.dll" },
        { "  a.dll   =>   $(apppath)  ", "a.dll", "/opt/bramblecot/a.dll" },
        { "r.rpt => $(AppPath)\\Reports", "r.rpt", "/opt/bramblecot/Reports/r.rpt" },
        { "r.rpt => $(APPPATH)/Reports/Monthly\\", "r.rpt", "/opt/bramblecot/Reports/Monthly/r.rpt" },
        { "x.txt => /srv/shared", "x.txt", "/srv/shared/x.txt" },
        { "sub\\y.txt => $(AppPath)", "sub/y.txt", "/opt/bramblecot/sub/y.txt" },
        // Only the first "=>" divides name from destination.
        { "z.txt => /srv/a=>b", "z.txt", "/srv/a=>b/z.txt" },
    };
    for (const auto& c : cases) {
        QString failure;
        const auto line = ParseUpdateFileLine(QString::fromLatin1(c.line), main, failure);
        ASSERT_TRUE(line) << c.line << ": " << qPrintable(failure);
        EXPECT_EQ(line->name, QString::fromLatin1(c.name)) << c.line;
        EXPECT_EQ(line->destinationFile, QString::fromLatin1(c.file)) << c.line;
    }
}

TEST(UpdateFileLineTest, UnusableLinesAreRefused)
{
    for (const char* line :
        { "a.dll $(AppPath)", " => $(AppPath)", "a.dll =>", "a.dll => Reports", "a.dll => $(AppPath)Reports" }) {
        QString failure;
        EXPECT_FALSE(ParseUpdateFileLine(QString::fromLatin1(line), QStringLiteral("/opt/bramblecot/"), failure))
            << line;
        EXPECT_FALSE(failure.isEmpty()) << line;
    }
}

// The limit counts UTF-8 bytes, not characters: a line of three-byte characters reaches it sooner.
TEST(ListLineLength, CountsBytes)
{
    const QString euro(QChar(0x20AC));
    const struct {
        QString line;
        bool accepted;
    } cases[] = {
        { QString(4096, QLatin1Char('a')), true }, { QString(4097, QLatin1Char('a')), false },
        { euro.repeated(1365), true }, // 4,095 bytes
        { euro.repeated(1366), false }, // 4,098 bytes
        { QStringLiteral("  ") + QString(4094, QLatin1Char('a')) + QStringLiteral("  "), false }, // blanks count
    };
    for (const auto& c : cases) {
        const QString text = QStringLiteral("first\r\n") + c.line + QStringLiteral("\r\nlast");
        if (c.accepted) {
            EXPECT_EQ(ListLines(text, QStringLiteral("list")).size(), 3) << c.line.size();
        } else {
            EXPECT_THROW(ListLines(text, QStringLiteral("list")), AppError) << c.line.size();
            EXPECT_EQ(ListLines(text, QStringLiteral("list"), true),
                (QStringList { QStringLiteral("first"), QStringLiteral("last") }));
        }
    }
}

// A line that would put a file outside the program folder or the absolute folder it names is
// refused, however the ".." is spelt; the same places named plainly are taken.
TEST(UpdateFileLineTest, LinesLeavingTheirFolderAreRefused)
{
    const QString main = QStringLiteral("/opt/bramblecot/");
    const struct {
        const char* line;
        bool accepted;
    } cases[] = {
        { "a.txt => $(AppPath)/../x", false },
        { "../x/a.txt => $(AppPath)", false },
        { "a.txt => $(AppPath)/sub/../../x", false },
        { "a.txt => $(AppPath)/sub/..", false },
        { "a.txt => /srv/shared/../../etc", false },
        { "a.txt => /srv/shared/..", false },
        { "..\\x.txt => $(AppPath)", false },
        { "sub\\..\\..\\x.txt => /srv/shared", false },
        { "a.txt => $(AppPath)\\..\\x", false },
        { "sub/.. => $(AppPath)", false },
        { ".. => $(AppPath)", false },
        // Dots that are part of a name climb nowhere.
        { "..a.txt => $(AppPath)", true },
        { "a..txt => $(AppPath)/sub..dir", true },
        { "./a.txt => $(AppPath)/./Reports", true },
        { "a.txt => /", true },
    };
    for (const auto& c : cases) {
        QString failure;
        const auto line = ParseUpdateFileLine(QString::fromLatin1(c.line), main, failure);
        EXPECT_EQ(line.has_value(), c.accepted) << c.line << ": " << qPrintable(failure);
        if (!c.accepted) {
            EXPECT_TRUE(failure.contains(QStringLiteral("leads outside"))) << c.line << ": " << qPrintable(failure);
        }
    }
}
