#pragma once

#include <QDate>
#include <QTime>

// The numbers and dates of text exports, written straight into a character buffer: a large
// export writes hundreds of thousands of them, and going through QString and QLocale for each
// cost more than reading the rows. The text is the same, byte for byte, as the conversions the
// exports used before (QString::number(value, 'g', 15) and the "MM/dd/yyyy hh:mm:ss AP" formats).

// Room enough for any text the functions below write.
constexpr int kExportFormatSize = 32;

// Up to 15 significant digits, "." as decimal separator and no grouping, in the shorter of plain
// or exponent form ("0.3", "1e-07", "1e+21", "1.23456789012346e+17"). As Qt writes them: zero
// without a sign, "nan" without a sign, "inf" and "-inf", and a value exactly halfway between two
// 15-digit texts rounded away from zero. Returns the end of the text written at out.
char* WriteNumberText(double value, char* out);

// "MM/dd/yyyy"; with a time, then " hh:mm:ss AM" on the 12-hour clock (milliseconds dropped).
// Dates of years 1 to 9999 only: for others (and invalid ones) the result is null and nothing is
// written; the general date formats of core/TextUtilities.h take them.
char* WriteDateText(QDate date, char* out);
char* WriteDateTimeText(QDate date, QTime time, char* out);
