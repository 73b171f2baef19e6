// The baseline of startup_bench: a program linking Qt Widgets alone that shows one empty window
// and ends right after its first paint, through the same hook as Bramblecot_Main
// --exit-after-first-paint uses for its main window.

#include "core/FirstPaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(800, 600);
    new QuitAfterFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
