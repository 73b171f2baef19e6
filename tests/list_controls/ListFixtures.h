#pragma once

// Windows over the test table Things that carry the real list controls, a main-window stand-in
// whose open-windows list is the real one, and the database fixture that builds them.

#include "form_framework/DataWindow.h"
#include "form_framework/MainWindowServices.h"
#include "support/TestDatabase.h"

#include <QMdiArea>
#include <QString>

#include <memory>

class QPushButton;
class zButtonsSearch;
class zComboBoxText;
class zIdentity;
class zListView;
class zOpenWindows;
class zText;

class ListMainWindow final : public MainWindowServices {
public:
    ListMainWindow();
    ~ListMainWindow() override;

    QWidget* mainWindow() override { return &frame; }
    void setStatusText(const QString& text) override { statusText = text; }
    OpenWindowsList* openWindows() override;
    void addChildWindow(QWidget* window) override;
    QWidget* activeChildWindow() override;
    QSize clientAreaSize() override { return area->viewport()->size(); }
    QIcon icon() override { return {}; }
    void setCaption(const QString&) override { }
    void setMenuCaption(const QString&, const QString&) override { }
    void setDatabaseMenuItem(int, bool) override { }

    QWidget frame; // the navigator pane's list beside the windows, in one top-level window
    QMdiArea* area;
    zOpenWindows* list;
    QString statusText;
};

// The record window of Things: its name field, and nothing else to save.
class frmThing : public DataWindow {
    Q_OBJECT
public:
    frmThing();
    bool Act_LoadForm() override;
    void ProcessDefaultValue(const QString& defaultValue) override;
    zIdentity* id;
    zText* name;
};

// The search window of Things: the real grid and search bar, a search button.
class frmThings : public DataWindow {
    Q_OBJECT
public:
    frmThings();
    void PopulateData() override;
    zListView* grid;
    zButtonsSearch* bar;
    QPushButton* populate;
    int searches = 0;
};

// A window with pickers of Things: one over the plain list procedure, one whose procedure takes
// a parameter. A record window (add mode) or, as frmPickerSearch, a search window (mode 4).
class frmPickerHost : public DataWindow {
    Q_OBJECT
public:
    explicit frmPickerHost(bool search);
    zComboBoxText* picker;
    zComboBoxText* kindPicker;
};

class ListTest : public DatabaseTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Inserts a row of Things and returns its identity.
    int addThing(const QString& name, const QString& rest = QString());
    template <class Window> Window* open(const QString& name) { return qobject_cast<Window*>(openWindow(name)); }
    DataWindow* openWindow(const QString& name);
    int count(const QString& sql);

    std::unique_ptr<ListMainWindow> host;
};
