#include "exports/PrintFonts.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

QFont PrintFont(QFont font)
{
    // Latin text needs no shaping; without it each letter keeps its own glyph, so the ligature
    // features of fonts such as DejaVu never join "f" and "i".
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    return font;
}

void UsePrintFonts(QTextDocument& document)
{
    document.setDefaultFont(PrintFont(document.defaultFont()));
    // A character format that names its own font family does not inherit the default's strategy.
    QTextCharFormat noShaping;
    noShaping.setFontStyleStrategy(QFont::StyleStrategy(document.defaultFont().styleStrategy()));
    QTextCursor cursor(&document);
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(noShaping);
}
