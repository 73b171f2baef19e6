#include "core/AppError.h"
#include "main_window/MainMenuFile.h"
#include "support/PromptRecorder.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const char* name;
    const char* line;
    const char* key;
    const char* caption;
    int level;
    bool flag;
};

class MenuLine : public ::testing::TestWithParam<LineCase> { };

TEST_P(MenuLine, Parses)
{
    const LineCase& c = GetParam();
    const MenuItem item = GetOneMenuItem(QString::fromUtf8(c.line));
    EXPECT_EQ(item.Key, QString::fromUtf8(c.key));
    EXPECT_EQ(item.Caption, QString::fromUtf8(c.caption));
    EXPECT_EQ(item.Level, c.level);
    EXPECT_EQ(item.Flag, c.flag);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MenuLine,
    ::testing::Values(LineCase { "TopLevel", "Cases, _Cases", "Cases", "_Cases", 1, true },
                      LineCase { "TwoTabs", "\t\tColors, C_olors", "Colors", "C_olors", 3, true },
                      LineCase { "FlagFalse", "\tItems , Items list , False", "Items", "Items list", 2, false },
                      LineCase { "FlagTrueAnyCase", "Items, Items, tRUE", "Items", "Items", 1, true },
                      LineCase { "FlagZero", "Items, Items, 0", "Items", "Items", 1, false },
                      LineCase { "FlagNumber", "Items, Items, -1", "Items", "Items", 1, true },
                      LineCase { "QuotedCaption", "People, \"Pe_ople\"", "People", "Pe_ople", 1, true },
                      LineCase { "Separator", "\t-", "", "-", 2, false },
                      LineCase { "AmpersandKept", "Rep, Cut & Paste", "Rep", "Cut & Paste", 1, true }),
    [](const ::testing::TestParamInfo<LineCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST(MenuLineErrors, NoCommaAndBadFlagAreRefused)
{
    EXPECT_THROW(GetOneMenuItem(QStringLiteral("Cases")), AppError);
    EXPECT_THROW(GetOneMenuItem(QStringLiteral("Cases, Cases, maybe")), AppError);
}

TEST(MenuCaptions, AmpersandsDoubledUnderscoreMarksAccelerator)
{
    EXPECT_EQ(MenuCaption(QStringLiteral("Cut & _Paste")), QStringLiteral("Cut && &Paste"));
    EXPECT_EQ(TreeCaption(QStringLiteral("Cut & _Paste")), QStringLiteral("Cut & Paste"));
}

class MenuFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompts().clear();
        ASSERT_TRUE(m_folder.isValid());
    }
    void load(const QByteArray& text)
    {
        const QString path = m_folder.filePath(QStringLiteral("menu.txt"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        LoadMainMenuFrom(path, &m_menu, &m_tree);
    }
    QStringList treeKeys() const
    {
        QStringList keys;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&m_tree)); *it; ++it) {
            QString key = (*it)->data(0, kMenuKeyRole).toString();
            for (QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent())
                key.prepend(QLatin1Char('>'));
            keys << key;
        }
        return keys;
    }
    QAction* item(const QString& name) { return m_menu.findChild<QAction*>(name); }

    QTemporaryDir m_folder;
    QMenu m_menu;
    QTreeWidget m_tree;
};

TEST_F(MenuFile, NestingGreyingAndSeparatorsInMenuAndTree)
{
    load("; a comment\n"
         "' another\n"
         "\n"
         "Cases, _Cases\n"
         "   \tCase_People, Case _People\n" // spaces before the tab still give level 2
         "\tHidden, _Hidden, False\n"
         "\t\tBelowHidden, Below\n"
         "\t-\n"
         "\t\tBelowSeparator, Under\n"
         "Items, \"It_ems & More\"\n");
    EXPECT_TRUE(Prompts().boxes.empty());
    // The tree drops the greyed entry, the separator and everything below them.
    EXPECT_EQ(treeKeys(), (QStringList { QStringLiteral("Cases"), QStringLiteral(">Case_People"), QStringLiteral("Items") }));
    ASSERT_NE(item(QStringLiteral("Hidden")), nullptr);
    EXPECT_FALSE(item(QStringLiteral("Hidden"))->isEnabled());
    ASSERT_NE(item(QStringLiteral("Items")), nullptr);
    EXPECT_EQ(item(QStringLiteral("Items"))->text(), QStringLiteral("It&ems && More"));
    EXPECT_EQ(m_tree.topLevelItem(1)->text(0), QStringLiteral("Items & More"));
    // Deeper entries hang under a submenu of the entry above them.
    ASSERT_NE(item(QStringLiteral("Cases"))->menu(), nullptr);
    EXPECT_TRUE(item(QStringLiteral("Cases"))->menu()->actions().contains(item(QStringLiteral("Case_People"))));
}

TEST_F(MenuFile, ReadOnceOnly)
{
    load("Cases, Cases\n");
    load("Items, Items\n");
    EXPECT_EQ(treeKeys(), QStringList { QStringLiteral("Cases") });
}

TEST_F(MenuFile, BrokenLineIsReportedAndSkipped)
{
    Prompts().answer(6);
    load("Cases, Cases\nBroken line\nItems, Items\n");
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.contains(
        QStringLiteral("has 1 line that cannot be used:\r\nLine 2: The menu line <Broken line> has no comma.")));
    EXPECT_EQ(treeKeys(), (QStringList { QStringLiteral("Cases"), QStringLiteral("Items") }));
}

TEST_F(MenuFile, EveryKindOfLineEndSplitsLines)
{
    for (const QByteArray& end : { QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r") }) {
        m_tree.clear();
        m_menu.clear();
        load("Cases, Cases" + end + "\tPeople, People" + end + "Items, Items" + end);
        EXPECT_TRUE(Prompts().boxes.empty()) << end.toHex().constData();
        EXPECT_EQ(
            treeKeys(), (QStringList { QStringLiteral("Cases"), QStringLiteral(">People"), QStringLiteral("Items") }))
            << end.toHex().constData();
    }
}

// A damaged file gives one box: the first ten refused lines with their numbers, then a count.
TEST_F(MenuFile, RefusedLinesAreReportedInOneBox)
{
    Prompts().answer(6);
    QByteArray text = "Cases, Cases\r\n";
    for (int i = 1; i <= 25; ++i)
        text += "junk" + QByteArray::number(i) + (i % 2 ? "\r\n" : "\r");
    text += "Items, Items, maybe\nDesk, Desk\n";
    load(text);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    const QString box = Prompts().boxes[0].text;
    EXPECT_TRUE(box.startsWith(QStringLiteral("The Main Menu file <") + m_folder.filePath(QStringLiteral("menu.txt"))
        + QStringLiteral("> has 26 lines that cannot be used:\r\n")))
        << box.toStdString();
    EXPECT_TRUE(box.contains(QStringLiteral("Line 2: The menu line <junk1> has no comma.\r\n")));
    EXPECT_TRUE(box.contains(QStringLiteral("Line 11: The menu line <junk10> has no comma.\r\n... and 16 more.")));
    EXPECT_FALSE(box.contains(QStringLiteral("junk11")));
    EXPECT_EQ(treeKeys(), (QStringList { QStringLiteral("Cases"), QStringLiteral("Desk") }));
}

TEST_F(MenuFile, LevelAboveTenEndsLoading)
{
    Prompts().answer(6);
    load("Cases, Cases\n\t\t\t\t\t\t\t\t\t\tDeep, Deep\nItems, Items\n");
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.contains(QStringLiteral("deeper than 10")));
    EXPECT_EQ(treeKeys(), QStringList { QStringLiteral("Cases") });
}

TEST_F(MenuFile, MissingFileIsReportedAndLeavesMenuEmpty)
{
    Prompts().answer(6);
    LoadMainMenuFrom(m_folder.filePath(QStringLiteral("nothing.txt")), &m_menu, &m_tree);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QStringLiteral("Cannot find Main Menu file\r\nMessage: Cannot find Main Menu file ")));
    EXPECT_EQ(m_tree.topLevelItemCount(), 0);
    EXPECT_TRUE(m_menu.actions().isEmpty());
}

// Which tables the shipped menu must offer is the database's to say: see MenuKeysTest.cpp.
TEST_F(MenuFile, ShippedMenuLoadsWithoutComplaint)
{
    LoadMainMenuFrom(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/menu.txt"), &m_menu, &m_tree);
    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_GT(m_tree.topLevelItemCount(), 0);
}

} // namespace
