#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Where a report's texts go, worked out apart from painting: the columns fitted to the page, every
// value broken into the lines its column holds, and every line placed on its page. ReportRenderer
// paints what this decides; the tests give it text widths of their own.

// One line of a report as its data makes it: a group's caption, a row's cells, or a totals line
// (its caption and figures).
struct ReportLine {
    enum class Kind { GroupHeader, Row, GroupTotals, GrandTotals };
    Kind kind = Kind::Row;
    int depth = 0; // the group it belongs to; indents its caption by as many line heights
    QString caption;
    QStringList cells;
};

// What the layout needs of a report column.
struct ReportLayoutColumn {
    QString caption;
    double width = 1.0; // relative to the other columns
    bool hasTotal = false;
    // Values that may wrap inside (texts); dates, times, figures and weights are read whole.
    bool breakable = true;
};

// The printable area (device units), the height of a text line, and how wide a text is in the
// report's regular and bold fonts.
struct ReportPage {
    double width = 0;
    double height = 0;
    double lineHeight = 0;
    std::function<double(const QString&)> plainWidth;
    std::function<double(const QString&)> boldWidth;
};

// One line as laid out: its caption's lines and each cell's lines, its height in text lines and its
// page (from 0). A totals line whose caption has no room beside its figures carries it on lines of
// its own above them.
struct ReportLineLayout {
    QStringList captionLines;
    double captionWidth = 0; // what the caption's lines were broken to, after the indent
    std::vector<QStringList> cellLines;
    bool captionAbove = false;
    int height = 1;
    int page = 0;
};

struct ReportLayout {
    // The bands of every page: the page header and a gap, the title, the column captions, the footer.
    double headerBand = 0;
    double titleBand = 0;
    double captionBand = 0;
    double footerBand = 0;
    // The room kept between neighbouring columns.
    double gap = 0;
    // Each column's text: its left and width, one line high at the top of the page.
    std::vector<QRectF> columns;
    std::vector<QStringList> captionLines;
    int captionHeight = 1; // in text lines
    // The room of a totals line's caption: left of the first column that has a total.
    double captionRoom = 0;
    std::vector<ReportLineLayout> lines; // one for each line given, in order
    int pages = 1;
};

// Columns are sized to their content. Each needs the room of its widest value (and caption); when
// all fit, what the page has left is shared in proportion to the columns' widths. When they do not,
// each column keeps at least its widest word (a date, a figure or a weight whole) and the widest
// columns give up room until the page holds them: their longer values wrap within their column.
// When not even the widest words fit, words break where they must. A value is never shortened.
ReportLayout LayOutReport(
    const std::vector<ReportLayoutColumn>& columns, const std::vector<ReportLine>& lines, const ReportPage& page);
