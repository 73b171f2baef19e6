#include "TestMainWindow.h"

#include <QMdiSubWindow>

TestMainWindow::TestMainWindow()
{
    m_area.setObjectName(QStringLiteral("frmMain"));
    m_area.resize(800, 600);
    m_area.show();
    SetMainWindow(this);
}

TestMainWindow::~TestMainWindow()
{
    SetMainWindow(nullptr);
}

void TestMainWindow::addChildWindow(QWidget* window)
{
    QMdiSubWindow* sub = m_area.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
}

QWidget* TestMainWindow::activeChildWindow()
{
    QMdiSubWindow* sub = m_area.activeSubWindow();
    return sub ? sub->widget() : nullptr;
}
