#pragma once

#include "form_framework/MainWindowServices.h"

#include <QString>
#include <QWidget>

class OpenWindowsModel;
class QListView;
class QMenu;

// The list of open child windows in the main window's navigator pane (zowOpenWindows): one
// entry per window with its caption, the active window's entry selected, a disabled window's
// entry grey. A click brings a window forward (or, for a window waiting on one it opened, that
// one); the right button offers to close the active window or all of them.
class zOpenWindows : public QWidget, public OpenWindowsList {
    Q_OBJECT
public:
    explicit zOpenWindows(QWidget* parent = nullptr);

    void AddItem(QWidget* window) override;
    void RemoveItem(QWidget* window) override;
    void ActivateItem(QWidget* window) override;
    void EnableItem(QWidget* window) override;
    void DisableItem(QWidget* window) override;
    void setCaption(QWidget* window, const QString& caption) override;

    // The entry's key: "#" + the window's number.
    static QString KeyOf(const QWidget* window);
    int count() const;
    QString itemText(int row) const;
    bool itemEnabled(int row) const;
    // The selected entry's row, -1 when none.
    int selectedRow() const;

    QListView* listView() const { return m_view; }
    QMenu* popupMenu() const { return m_menu; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressed(int row, bool rightButton, const QPoint& globalPos);
    void select(int row);

    QListView* m_view;
    OpenWindowsModel* m_model;
    QMenu* m_menu;
};
