#pragma once

#include "form_framework/FormTypes.h"

#include <QIcon>
#include <QSize>
#include <QString>

class QWidget;

// The open-windows list of the main window (zowOpenWindows).
class OpenWindowsList {
public:
    virtual ~OpenWindowsList() = default;
    virtual void AddItem(QWidget* window) = 0;
    virtual void RemoveItem(QWidget* window) = 0;
    virtual void ActivateItem(QWidget* window) = 0;
    virtual void EnableItem(QWidget* window) = 0;
    virtual void DisableItem(QWidget* window) = 0;
    virtual void setCaption(QWidget* window, const QString& caption) = 0;
};

// What the window routines need of the main window. The main window installs itself once its
// load is done (MainWindowLoaded); before that, and in tools and tests without one, data windows
// are shown as windows of their own and nothing is recorded in a main window.
class MainWindowServices {
public:
    virtual ~MainWindowServices() = default;
    virtual QWidget* mainWindow() = 0;
    virtual void setStatusText(const QString& text) = 0;
    virtual OpenWindowsList* openWindows() = 0;
    // Shows a data window as a child of the main window.
    virtual void addChildWindow(QWidget* window) = 0;
    // The active child window, or none.
    virtual QWidget* activeChildWindow() = 0;
    virtual QSize clientAreaSize() = 0;
    virtual QIcon icon() = 0;
    // Caption, database menu, search command: the main window's own business.
    virtual void setCaption(const QString& caption) = 0;
    virtual void setMenuCaption(const QString& key, const QString& caption) = 0;
    virtual void setDatabaseMenuItem(int index, bool current) = 0;
    // A data-changed message, heard after the data windows: what the main window shows of the
    // database's rows (its background colour) follows a save at once.
    virtual void dataChanged(DataChangedAction /*action*/, const QString& /*tableName*/, const QString& /*idList*/) { }
};

MainWindowServices* MainWindow();
void SetMainWindow(MainWindowServices* services);
// True once the main window has finished its load.
bool MainWindowLoaded();
