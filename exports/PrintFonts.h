#pragma once

#include <QFont>

class QTextDocument;

// Printed documents (reports, mail-merge documents) are searched and copied from: a PDF reader or
// pdftotext must find "office" and "Springfield" as typed. Ligature glyphs ("ﬁ", "ﬀ") would stand
// for two letters in the printed text, so print fonts never shape them.

// The font as printed: no ligatures, every letter its own glyph (kerning is kept).
QFont PrintFont(QFont font);

// The document's default font and every character format of its text as printed; images and
// layout are left alone.
void UsePrintFonts(QTextDocument& document);
