// The baseline of startup_bench: a program linking Qt Widgets alone that shows one empty window
// and ends once it is idle, as Bramblecot_Main --exit-when-idle does with its main window.

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(0, &application, &QApplication::quit);
    return QApplication::exec();
}
