#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <initializer_list>

class ActionsMenu;
class DataWindow;
class QMenu;
class QPushButton;
class QShortcut;

// Esc anywhere in `host` (the focus in it or in a pop-up it opened) calls `cancel`, unless a pop-up
// is open: a picker's list, a menu, a calendar or a completer's list. Then Esc closes only that
// pop-up, and the next Esc is the window's cancel.
QShortcut* InstallEscape(QWidget* host, std::function<void()> cancel);

// What both button bars share, and how each is built: the bar named "zbtnButtons" in Tahoma 8.25,
// a row of buttons as designed and the Actions menu under its button. The bar lays its buttons out
// again when resized, Escape presses Close once the bar is shown (InstallEscape), and Close unloads
// the bar's window.
class zButtonBar : public QWidget {
    Q_OBJECT
public:
    // `designed`: the bar's size as designed; its height is the unit of the vertical positions.
    explicit zButtonBar(QSize designed, QWidget* parent = nullptr);

    // A window command in the Actions menu ("-" adds a separator); flag False shows it disabled.
    void AddAction(const QString& caption, bool flag = true);
    QMenu* actionsMenu() const;
    QSize sizeHint() const override { return m_designed; }

Q_SIGNALS:
    // The chosen window command, its caption without "&".
    void ActionClick(QString& actionName);

protected:
    // A button as designed: where it goes, its name and caption, left edge and width, and
    // whether it starts enabled.
    struct Button {
        QPushButton** button;
        const char* name;
        const char* caption;
        int left;
        int width;
        bool enabled = true;
    };
    static constexpr int kGap = 4;

    // The building steps, in this order. The buttons from left to right, `height` high 4 below
    // the top as designed, tabbing in that order.
    void addButtons(std::initializer_list<Button> buttons, int height);
    // The Actions menu, which the Actions button opens under itself; the bar adds its own items.
    ActionsMenu* addActionsMenu(QPushButton* actions);
    // The window's commands go after the bar's own items; Close unloads the bar's window (or
    // closes a window that is none) and Escape presses it; the bar takes its designed size.
    void finishBuilding(QPushButton* close);

    // The Actions menu, once added.
    ActionsMenu* actions() const { return m_menu; }
    // The data window that holds the bar, or none.
    DataWindow* containerForm() const;
    // The button at `left`, `width` wide, at the top and height scaled with the bar's height.
    void place(QPushButton* button, int left, int width);
    // The buttons from the right edge leftwards, kGap apart.
    void placeFromRight(std::initializer_list<QPushButton*> buttons);
    virtual void layOut() = 0;

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // A designed vertical position scaled with the bar's height.
    int scaled(int designed) const;
    void closeClicked();
    void installEscape();

    QSize m_designed;
    int m_buttonHeight = 0;
    ActionsMenu* m_menu = nullptr;
    QPushButton* m_closeButton = nullptr;
    bool m_escapeInstalled = false;
};
