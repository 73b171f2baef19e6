#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QAbstractButton;
class QAction;
class QMenu;
class QWidget;

// The Actions popup menu of a button bar: the bar's fixed items first, then the window's own
// commands behind a separator that shows once the first command is added. A chosen command is
// raised as ActionClick with its caption stripped of every "&".
class ActionsMenu : public QObject {
    Q_OBJECT
public:
    explicit ActionsMenu(QWidget* bar);

    QMenu* menu() const { return m_menu; }
    // Called once the bar has added its fixed items: the window's commands start here.
    void beginWindowCommands();
    // A window command ("-" adds a separator); enabled = flag. Commands stay as long as the bar.
    QAction* addWindowCommand(const QString& caption, bool flag);

    // Opens upwards from the press position on the button, right-aligned at the pointer; the
    // pointer is first moved onto the button when it is elsewhere (a keyboard press).
    void popUpAbove(QAbstractButton* button, int pressY);
    // Opens at the pointer, left-aligned.
    void popUpAtPointer();

    // Runs usp_DB_Search_Record_History for one record and shows its change log in a text viewer.
    static void ShowRecordHistory(const QString& tableName, const QString& identityText, const QString& formCaption,
                                  const QString& recordText);

Q_SIGNALS:
    void ActionClick(QString& actionName);

private:
    QMenu* m_menu;
    QList<QAction*> m_commands;
};
