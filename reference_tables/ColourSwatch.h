#pragma once

#include <QColor>
#include <QVariant>

#include <optional>

class QLabel;
class zNumeric;

// A colour number as the window system stores colours: red + 256 x green + 65536 x blue, each
// component 0 to 255. Nothing for an empty value or one outside 0 to 16777215.
std::optional<QColor> ColorFromNumber(const QVariant& number);

// What the swatch shows while the number is out of range (or not a whole number).
enum class OutOfRangeColour {
    WindowBackground = 0, // the window's own background, as for an empty number
    Unchanged = 1, // the last colour shown stays
};

// Keeps the swatch painted in the colour of the number field: on every change of the number, also
// while it is typed; the window's own background while the number is empty, and for a number out
// of range as `outOfRange` says.
void FollowColorNumber(
    zNumeric* number, QLabel* swatch, OutOfRangeColour outOfRange = OutOfRangeColour::WindowBackground);
