#include "reference_tables/ColourSwatch.h"

#include "form_framework/zNumeric.h"

#include <QLabel>

#include <cmath>

std::optional<QColor> ColorFromNumber(const QVariant& number)
{
    const std::optional<double> value = zNumeric::ToNumber(number);
    if (!value || *value < 0 || *value > 16777215 || std::floor(*value) != *value)
        return std::nullopt;
    const auto colour = static_cast<qint32>(*value);
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

void FollowColorNumber(zNumeric* number, QLabel* swatch, OutOfRangeColour outOfRange)
{
    swatch->setAutoFillBackground(true);
    auto paint = [number, swatch, outOfRange] {
        QPalette palette = swatch->parentWidget() ? swatch->parentWidget()->palette() : swatch->palette();
        const std::optional<QColor> colour = ColorFromNumber(number->Value());
        if (colour)
            palette.setColor(QPalette::Window, *colour);
        else if (outOfRange == OutOfRangeColour::Unchanged && !number->Text().trimmed().isEmpty())
            return;
        swatch->setPalette(palette);
    };
    QObject::connect(number, &zNumeric::Change, swatch, paint);
    paint();
}
