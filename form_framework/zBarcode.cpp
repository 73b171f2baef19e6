#include "form_framework/zBarcode.h"

#include "core/Twips.h"

#include <QPainter>
#include <QPixmap>

namespace {

// A 16 x 16 picture of a few bars, drawn here so the program needs no picture file for it.
QPixmap markerPicture()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const int bars[][2] = { { 1, 1 }, { 3, 2 }, { 6, 1 }, { 8, 1 }, { 10, 2 }, { 13, 1 } };
    for (const auto& bar : bars)
        painter.fillRect(bar[0], 2, bar[1], 12, Qt::black);
    return picture;
}

} // namespace

zBarcode::zBarcode(QWidget* parent)
    : QLabel(parent)
{
    setPixmap(markerPicture());
    setAlignment(Qt::AlignCenter);
    setFixedSize(TwipsToPixels(240), TwipsToPixels(315));
}
