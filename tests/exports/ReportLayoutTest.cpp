// The report layout apart from painting: columns fitted to the page and values broken into lines,
// measured with fixed character widths (6 units a character, 7 in bold) so each case is exact.

#include "exports/ReportLayout.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <numeric>

namespace {

ReportPage pageOf(double width, double height = 1000)
{
    ReportPage page;
    page.width = width;
    page.height = height;
    page.lineHeight = 10;
    page.plainWidth = [](const QString& text) { return 6.0 * static_cast<double>(text.size()); };
    page.boldWidth = [](const QString& text) { return 7.0 * static_cast<double>(text.size()); };
    return page;
}

ReportLine rowOf(const QStringList& cells)
{
    ReportLine line;
    line.cells = cells;
    return line;
}

QString withoutBlanks(QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s"))); }

TEST(ReportLayout, ColumnsFitThePageAndEveryValueIsPrintedWhole)
{
    const QString location = QStringLiteral("Evidence Room > North Wing > Shelf 12 > Box 7 > Upper compartment");
    const QString word = QStringLiteral("Pneumonoultramicroscopicsilicovolcanoconiosis");
    const struct Case {
        const char* name;
        double pageWidth;
        std::vector<ReportLayoutColumn> columns;
        QStringList cells; // one row
        std::vector<int> lineCounts; // how many lines each cell takes
    } cases[] = {
        { "a long location wraps between words; the date with its time stays whole", 300,
            { { QStringLiteral("Date"), 1, false, false }, { QStringLiteral("Location"), 3, false, true } },
            { QStringLiteral("04/02/2024 10:35 AM"), location }, { 1, 3 } },
        { "everything fits on one line: the room to spare is shared", 1000,
            { { QStringLiteral("Date"), 1, false, false }, { QStringLiteral("Location"), 3, false, true } },
            { QStringLiteral("04/02/2024 10:35 AM"), location }, { 1, 1 } },
        { "a weight with its unit is read whole beside a wrapping text", 200,
            { { QStringLiteral("Note"), 2, false, true }, { QStringLiteral("Weight"), 1, false, false } },
            { QStringLiteral("seal broken on arrival and bag resealed"), QStringLiteral("12.5 g") }, { 2, 1 } },
        { "an empty column keeps the room of its caption", 300,
            { { QStringLiteral("Received By"), 1, false, true }, { QStringLiteral("Item"), 1, false, true } },
            { QString(), QStringLiteral("I-42") }, { 1, 1 } },
        { "one very long word breaks inside where no column can hold it", 150,
            { { QStringLiteral("Description"), 1, false, true } }, { word }, { 2 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReportPage page = pageOf(c.pageWidth);
        const ReportLayout layout = LayOutReport(c.columns, { rowOf(c.cells) }, page);
        ASSERT_EQ(layout.columns.size(), c.columns.size());
        ASSERT_EQ(layout.lines.size(), 1u);
        EXPECT_EQ(layout.gap, 12);
        // The columns stand side by side, a gap apart, within the page.
        double right = 0;
        for (const QRectF& column : layout.columns) {
            EXPECT_NEAR(column.left(), right + layout.gap / 2, 1e-6);
            right = column.right() + layout.gap / 2;
        }
        EXPECT_LE(right, c.pageWidth + 1e-6);
        const ReportLineLayout& row = layout.lines.front();
        for (size_t k = 0; k < c.columns.size(); ++k) {
            SCOPED_TRACE(c.columns[k].caption.toStdString());
            const QStringList& lines = row.cellLines[k];
            EXPECT_EQ(static_cast<int>(lines.size()), c.lineCounts[k]) << lines.join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(withoutBlanks(lines.join(QString())), withoutBlanks(c.cells.at(static_cast<qsizetype>(k))))
                << "nothing is left out";
            for (const QString& line : lines)
                EXPECT_LE(page.plainWidth(line), layout.columns[k].width() + 0.5) << line.toStdString();
            EXPECT_GE(layout.columns[k].width() + 0.5, page.boldWidth(c.columns[k].caption))
                << "the caption fits its column";
        }
        EXPECT_EQ(row.height, *std::max_element(c.lineCounts.begin(), c.lineCounts.end()));
    }
}

// Room left over is shared in proportion to the declared widths; a location only wraps at a blank.
TEST(ReportLayout, SpareRoomFollowsTheDeclaredWidthsAndWordsStayWhole)
{
    const ReportLayout roomy
        = LayOutReport({ { QStringLiteral("A"), 1, false, true }, { QStringLiteral("B"), 3, false, true } },
            { rowOf({ QStringLiteral("x"), QStringLiteral("y") }) }, pageOf(424));
    // Each needs 8 units (7 for a bold letter, rounded up, plus one); 400 - 16 are shared 1 to 3.
    EXPECT_NEAR(roomy.columns[0].width(), 8 + 96, 1e-6);
    EXPECT_NEAR(roomy.columns[1].width(), 8 + 288, 1e-6);

    const ReportLayout tight = LayOutReport({ { QStringLiteral("Location"), 1, false, true } },
        { rowOf({ QStringLiteral("Shelf 12 > Box 7 > Upper compartment") }) }, pageOf(120));
    for (const QString& line : tight.lines.front().cellLines.front())
        EXPECT_FALSE(line.startsWith(QLatin1Char(' ')) || line.endsWith(QLatin1Char(' '))) << line.toStdString();
    EXPECT_EQ(tight.lines.front().cellLines.front(),
        QStringList({ QStringLiteral("Shelf 12 > Box 7 >"), QStringLiteral("Upper compartment") }));
}

// Totals: the caption stands left of the first figure when it fits there, on lines of its own above
// the figures when it does not; group captions indent by their depth.
TEST(ReportLayout, TotalsCaptionsStandBesideOrAboveTheirFigures)
{
    const std::vector<ReportLayoutColumn> columns
        = { { QStringLiteral("Location"), 3, false, true }, { QStringLiteral("Weight"), 1, true, false } };
    ReportLine header;
    header.kind = ReportLine::Kind::GroupHeader;
    header.caption = QStringLiteral("Case C-42");
    ReportLine row = rowOf({ QStringLiteral("Vault"), QStringLiteral("2.5 g") });
    row.depth = 1;
    ReportLine shortTotal;
    shortTotal.kind = ReportLine::Kind::GroupTotals;
    shortTotal.caption = QStringLiteral("Total");
    shortTotal.cells = QStringList({ QString(), QStringLiteral("2.5") });
    ReportLine longTotal = shortTotal;
    longTotal.kind = ReportLine::Kind::GrandTotals;
    longTotal.caption = QStringLiteral("Grand Total of every location in the room");
    const ReportLayout layout = LayOutReport(columns, { header, row, shortTotal, longTotal }, pageOf(300));
    EXPECT_NEAR(layout.captionRoom, layout.columns[1].left() - layout.gap / 2, 1e-6);
    EXPECT_EQ(layout.lines[0].captionLines, QStringList({ QStringLiteral("Case C-42") }));
    EXPECT_FALSE(layout.lines[2].captionAbove);
    EXPECT_EQ(layout.lines[2].height, 1);
    EXPECT_TRUE(layout.lines[3].captionAbove);
    EXPECT_EQ(layout.lines[3].height, 1 + static_cast<int>(layout.lines[3].captionLines.size()));
    EXPECT_NEAR(layout.lines[3].captionWidth, 300, 1e-6);
}

// Lines fill each page below its header bands and above its footer; a page break never splits a line.
TEST(ReportLayout, LinesFillPagesAndNeverSplit)
{
    const std::vector<ReportLayoutColumn> columns = { { QStringLiteral("Location"), 1, false, true } };
    std::vector<ReportLine> lines;
    for (int i = 0; i < 40; ++i)
        lines.push_back(rowOf({ i % 5 == 0 ? QStringLiteral("a b c d e f g h") : QStringLiteral("a") }));
    // The column is 20 units wide: the long rows take 4 lines ("a b", "c d"...).
    const ReportPage page = pageOf(32, 200);
    const ReportLayout layout = LayOutReport(columns, lines, page);
    const double top = layout.headerBand + layout.titleBand + layout.captionBand;
    const double bottom = page.height - layout.footerBand;
    EXPECT_EQ(layout.lines[0].height, 4);
    std::vector<double> used(static_cast<size_t>(layout.pages), top);
    int previous = 0;
    for (const ReportLineLayout& line : layout.lines) {
        EXPECT_GE(line.page, previous);
        EXPECT_LE(line.page, previous + 1);
        previous = line.page;
        used[static_cast<size_t>(line.page)] += page.lineHeight * line.height;
    }
    EXPECT_EQ(layout.pages, layout.lines.back().page + 1);
    EXPECT_GT(layout.pages, 1);
    for (const double height : used)
        EXPECT_LE(height, bottom);
}

} // namespace
