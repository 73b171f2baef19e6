#include "exports/ReportLayout.h"

#include <algorithm>
#include <cmath>

namespace {

using TextWidth = std::function<double(const QString&)>;

// The text broken into lines no wider than the width: between words, and inside a word only where
// the word alone is wider than the width. A line that fits is kept as it is; nothing is left out.
QStringList wrapText(const QString& text, const TextWidth& widthOf, double width)
{
    const auto fits = [&](const QString& part) { return widthOf(part) <= width + 0.5; };
    QStringList lines;
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QString& paragraph : plain.split(QLatin1Char('\n'))) {
        if (fits(paragraph)) {
            lines << paragraph;
            continue;
        }
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (fits(longer)) {
                line = longer;
                continue;
            }
            if (!line.isEmpty())
                lines << line;
            line = word;
            while (!fits(line) && line.size() > 1) {
                qsizetype fit = 1;
                while (fit + 1 < line.size() && fits(line.left(fit + 1)))
                    ++fit;
                lines << line.left(fit);
                line = line.mid(fit);
            }
        }
        lines << line;
    }
    return lines;
}

// The widest line of the text, and its widest word (what no wrapping can make narrower).
struct TextWidths {
    double whole = 0;
    double word = 0;
};
TextWidths measure(const QString& text, const TextWidth& widthOf, bool breakable)
{
    TextWidths widths;
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QString& paragraph : plain.split(QLatin1Char('\n'))) {
        const double whole = widthOf(paragraph);
        widths.whole = std::max(widths.whole, whole);
        if (!breakable) {
            widths.word = std::max(widths.word, whole);
            continue;
        }
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widths.word = std::max(widths.word, widthOf(word));
    }
    // Measured and laid-out widths may differ by rounding; a value that fits must not wrap.
    widths.whole = std::ceil(widths.whole) + 1;
    widths.word = std::ceil(widths.word) + 1;
    return widths;
}

// Each column's width, the gap between columns kept aside.
std::vector<double> fitColumns(const std::vector<ReportLayoutColumn>& declared, const std::vector<ReportLine>& lines,
    const ReportPage& page, double gap)
{
    const size_t columns = declared.size();
    std::vector<double> natural(columns, 0.0);
    std::vector<double> least(columns, 0.0);
    auto fitIn = [&](size_t c, const QString& text, const TextWidth& widthOf, bool breakable) {
        const TextWidths widths = measure(text, widthOf, breakable);
        natural[c] = std::max(natural[c], widths.whole);
        least[c] = std::max(least[c], widths.word);
    };
    for (size_t c = 0; c < columns; ++c)
        fitIn(c, declared[c].caption, page.boldWidth, true);
    for (const ReportLine& line : lines) {
        if (line.kind == ReportLine::Kind::GroupHeader)
            continue;
        const bool row = line.kind == ReportLine::Kind::Row;
        for (qsizetype c = 0; c < line.cells.size(); ++c)
            fitIn(static_cast<size_t>(c), line.cells.at(c), row ? page.plainWidth : page.boldWidth,
                row && declared[static_cast<size_t>(c)].breakable);
    }
    const double room = std::max(1.0, page.width - gap * static_cast<double>(columns));
    double naturalSum = 0;
    double leastSum = 0;
    double weightSum = 0;
    for (size_t c = 0; c < columns; ++c) {
        naturalSum += natural[c];
        leastSum += least[c];
        weightSum += declared[c].width;
    }
    std::vector<double> widths(columns);
    if (naturalSum <= room) {
        for (size_t c = 0; c < columns; ++c)
            widths[c] = natural[c] + (room - naturalSum) * declared[c].width / weightSum;
    } else if (leastSum <= room) {
        // The widest columns give up room first: every column is held to one width, the largest
        // that fits the page, so a value narrower than that is printed whole on one line and only
        // the longest values wrap.
        const auto widthUnder = [&](size_t c, double limit) { return std::max(least[c], std::min(natural[c], limit)); };
        double low = 0;
        double high = room;
        for (int step = 0; step < 60; ++step) {
            const double limit = (low + high) / 2;
            double used = 0;
            for (size_t c = 0; c < columns; ++c)
                used += widthUnder(c, limit);
            (used <= room ? low : high) = limit;
        }
        double used = 0;
        for (size_t c = 0; c < columns; ++c)
            used += widths[c] = widthUnder(c, low);
        // What rounding left over goes to the columns that wrap.
        double wrapping = 0;
        for (size_t c = 0; c < columns; ++c)
            wrapping += widths[c] < natural[c] ? 1 : 0;
        for (size_t c = 0; c < columns && wrapping > 0; ++c) {
            if (widths[c] < natural[c])
                widths[c] += (room - used) / wrapping;
        }
    } else {
        // Not even the widest words fit: words break where they must.
        for (size_t c = 0; c < columns; ++c)
            widths[c] = room * least[c] / std::max(1.0, leastSum);
    }
    return widths;
}

} // namespace

ReportLayout LayOutReport(
    const std::vector<ReportLayoutColumn>& declared, const std::vector<ReportLine>& lines, const ReportPage& page)
{
    ReportLayout layout;
    const double lineHeight = page.lineHeight;
    layout.headerBand = lineHeight * 2; // page header and a gap
    layout.titleBand = lineHeight * 2.5;
    layout.footerBand = lineHeight * 2;
    // Neighbouring columns keep a gap of about two figures, so a right-aligned value never runs into
    // the next column's text.
    layout.gap = page.plainWidth(QStringLiteral("00"));
    const double gap = layout.gap;

    const size_t columns = declared.size();
    const std::vector<double> widths = fitColumns(declared, lines, page, gap);
    double x = 0;
    for (size_t c = 0; c < columns; ++c) {
        layout.columns.emplace_back(x + gap / 2, 0, widths[c], lineHeight);
        x += widths[c] + gap;
    }
    // The caption of a totals line stands left of the first column that has a total, when it fits
    // there; otherwise on lines of its own above the figures, which then stay under their columns.
    layout.captionRoom = page.width;
    for (size_t c = 0; c < columns; ++c) {
        if (declared[c].hasTotal) {
            layout.captionRoom = layout.columns[c].left() - gap / 2;
            break;
        }
    }

    // Every line broken to its columns' widths; its height is its tallest cell.
    layout.captionLines.assign(columns, QStringList());
    for (size_t c = 0; c < columns; ++c) {
        layout.captionLines[c] = wrapText(declared[c].caption, page.boldWidth, widths[c]);
        layout.captionHeight = std::max(layout.captionHeight, static_cast<int>(layout.captionLines[c].size()));
    }
    for (const ReportLine& line : lines) {
        ReportLineLayout placed;
        const double indent = line.depth * lineHeight;
        const TextWidth& cellWidth = line.kind == ReportLine::Kind::Row ? page.plainWidth : page.boldWidth;
        placed.cellLines.assign(static_cast<size_t>(line.cells.size()), QStringList());
        for (qsizetype c = 0; c < line.cells.size(); ++c) {
            const size_t column = static_cast<size_t>(c);
            placed.cellLines[column] = wrapText(line.cells.at(c), cellWidth, widths[column]);
            placed.height = std::max(placed.height, static_cast<int>(placed.cellLines[column].size()));
        }
        switch (line.kind) {
        case ReportLine::Kind::GroupHeader:
            placed.captionWidth = page.width - indent;
            placed.captionLines = wrapText(line.caption, page.boldWidth, placed.captionWidth);
            placed.height = std::max(1, static_cast<int>(placed.captionLines.size()));
            break;
        case ReportLine::Kind::GroupTotals:
        case ReportLine::Kind::GrandTotals:
            placed.captionAbove = indent + page.boldWidth(line.caption) > layout.captionRoom - gap / 2;
            placed.captionWidth = (placed.captionAbove ? page.width : layout.captionRoom - gap / 2) - indent;
            placed.captionLines = wrapText(line.caption, page.boldWidth, placed.captionWidth);
            if (placed.captionAbove)
                placed.height += static_cast<int>(placed.captionLines.size());
            else
                placed.height = std::max(placed.height, static_cast<int>(placed.captionLines.size()));
            break;
        case ReportLine::Kind::Row:
            break;
        }
        layout.lines.push_back(placed);
    }
    layout.captionBand = lineHeight * (layout.captionHeight + 0.5);

    // Every page carries the page header, the title, the column captions and the page footer; the
    // lines fill what is left.
    const double pageHeight = page.height - layout.footerBand;
    const double headerHeight = layout.headerBand + layout.titleBand + layout.captionBand;
    int onPage = 0;
    double used = headerHeight;
    for (ReportLineLayout& line : layout.lines) {
        const double height = lineHeight * line.height;
        // A line taller than a page starts a page of its own and runs over its foot.
        if (used + height > pageHeight && used > headerHeight) {
            ++onPage;
            used = headerHeight;
        }
        line.page = onPage;
        used += height;
    }
    layout.pages = onPage + 1;
    return layout;
}
