#include "support/WorkArea.h"

#include <QMdiSubWindow>

WorkArea::WorkArea(const QSize& size)
{
    area.resize(size);
    area.show();
    SetMainWindow(this);
}

WorkArea::~WorkArea()
{
    if (MainWindow() == this)
        SetMainWindow(nullptr);
}

void WorkArea::addChildWindow(QWidget* window)
{
    area.addSubWindow(window)->setAttribute(Qt::WA_DeleteOnClose);
}

QWidget* WorkArea::activeChildWindow()
{
    return area.activeSubWindow() ? area.activeSubWindow()->widget() : nullptr;
}
