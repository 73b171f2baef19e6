#pragma once

#include <QImage>
#include <QString>

// Record codes ("I-0000000042") drawn as Code 39 barcodes, in place of the barcode font the labels
// of the record windows were printed in. The "*" start and stop characters that the font needed
// around the code are added by the symbology itself: a code given between asterisks is drawn
// without them.

// The barcode, black on white with quiet zones and no readable text; moduleWidth pixels per
// narrow bar, barHeight pixels high. A null image when the code is empty or holds a character that
// Code 39 cannot carry; then error (when given) says why.
QImage Code39Image(const QString& code, int moduleWidth = 2, int barHeight = 60, QString* error = nullptr);
