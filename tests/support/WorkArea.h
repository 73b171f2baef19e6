#pragma once

// The main window's work area alone, installed as the main window, so data windows open in
// sub-window frames as they do in the program, without the menus and settings of the real one.

#include "form_framework/MainWindowServices.h"

#include <QMdiArea>
#include <QSize>

class WorkArea final : public MainWindowServices {
public:
    explicit WorkArea(const QSize& size = QSize(1000, 700));
    ~WorkArea() override;
    WorkArea(const WorkArea&) = delete;
    WorkArea& operator=(const WorkArea&) = delete;

    QWidget* mainWindow() override { return &area; }
    void setStatusText(const QString&) override { }
    OpenWindowsList* openWindows() override { return nullptr; }
    void addChildWindow(QWidget* window) override;
    QWidget* activeChildWindow() override;
    QSize clientAreaSize() override { return area.viewport()->size(); }
    QIcon icon() override { return {}; }
    void setCaption(const QString&) override { }
    void setMenuCaption(const QString&, const QString&) override { }
    void setDatabaseMenuItem(int, bool) override { }

    QMdiArea area;
};
