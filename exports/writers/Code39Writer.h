#pragma once

#include <QImage>
#include <QString>

// Code39Image drawn by libzint.
QImage DrawCode39(const QString& code, int moduleWidth, int barHeight, QString* error);
