#pragma once

#include "form_framework/MainWindowServices.h"

#include <QMdiArea>
#include <QStringList>

// A bare multiple-document host standing in for the main window: it keeps the status text and
// records what the open-windows list is told.
class TestMainWindow final : public MainWindowServices, public OpenWindowsList {
public:
    TestMainWindow();
    ~TestMainWindow() override;

    QWidget* mainWindow() override { return &m_area; }
    void setStatusText(const QString& text) override { statusText = text; }
    OpenWindowsList* openWindows() override { return this; }
    void addChildWindow(QWidget* window) override;
    QWidget* activeChildWindow() override;
    QSize clientAreaSize() override { return m_area.viewport()->size(); }
    QIcon icon() override { return {}; }
    void setCaption(const QString& text) override { caption = text; }
    void setMenuCaption(const QString& key, const QString& text) override { menus << key + QStringLiteral("=") + text; }
    void setDatabaseMenuItem(int index, bool current) override { menus << QStringLiteral("db%1%2").arg(index).arg(current ? "*" : ""); }

    void AddItem(QWidget* window) override { entries << QStringLiteral("add ") + window->objectName(); }
    void RemoveItem(QWidget* window) override { entries << QStringLiteral("remove ") + window->objectName(); }
    void ActivateItem(QWidget* window) override { entries << QStringLiteral("activate ") + window->objectName(); }
    void EnableItem(QWidget* window) override { entries << QStringLiteral("enable ") + window->objectName(); }
    void DisableItem(QWidget* window) override { entries << QStringLiteral("disable ") + window->objectName(); }
    void setCaption(QWidget* window, const QString& text) override { entries << window->objectName() + QStringLiteral(" caption ") + text; }

    QMdiArea& area() { return m_area; }
    QString statusText;
    QString caption;
    QStringList menus;
    QStringList entries;

private:
    QMdiArea m_area;
};
