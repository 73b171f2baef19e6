#pragma once

#include <QString>

class DataWindow;
class QPushButton;
class QWidget;

// What the two button bars share: their buttons, the window that holds them and Escape.
namespace BarButtons {
QPushButton* make(QWidget* bar, const QString& name, const QString& caption);
// The data window that holds the bar, or none.
DataWindow* containerOf(const QWidget* bar);
// Escape presses the Close button while the focus is anywhere in the bar's window.
void installEscape(QWidget* bar, QPushButton* close);
// Vertical positions scale with the bar: the designed height counts `units`.
int scaled(int designed, int barHeight, int units);
} // namespace BarButtons
