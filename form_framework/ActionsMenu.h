#pragma once

#include <QList>
#include <QSet>
#include <QObject>
#include <QString>

class QAbstractButton;
class QAction;
class QMenu;
class QWidget;

// The Actions popup menu of a button bar: the bar's fixed items first, then the window's own
// commands behind a separator that shows once the first command is added. A chosen command is
// raised as ActionClick with its caption stripped of every "&". Every entry has an access key: a
// window command whose caption names none gets a letter not yet taken in the menu, preferring the
// first letters of its words.
class ActionsMenu : public QObject {
    Q_OBJECT
public:
    explicit ActionsMenu(QWidget* bar);

    QMenu* menu() const { return m_menu; }
    // Called once the bar has added its fixed items: the window's commands start here.
    void beginWindowCommands();
    // A window command ("-" adds a separator); enabled = flag. Commands stay as long as the bar.
    QAction* addWindowCommand(const QString& caption, bool flag);

    // Opens under the button, left-aligned with it, wherever the pointer is: a keyboard user's
    // eyes are on the button (the menu moves above it only when the screen ends below).
    void popUpUnder(QAbstractButton* button);
    // Opens at the pointer, left-aligned (the result grid's right click).
    void popUpAtPointer();

    // Runs usp_DB_Search_Record_History for one record and shows its change log in a text viewer.
    static void ShowRecordHistory(const QString& tableName, const QString& identityText, const QString& formCaption,
                                  const QString& recordText);

    // The caption with an access key: as it is when it has one ("&&" is a plain "&"), else with "&"
    // before the first letter or digit of a word, then any letter or digit, whose key is not in
    // taken; when every one is taken, before its first letter or digit all the same.
    static QString WithAccessKey(const QString& caption, const QSet<QChar>& taken);
    // The key of a caption's "&", case folded; a null QChar when it has none.
    static QChar AccessKey(const QString& caption);

Q_SIGNALS:
    void ActionClick(QString& actionName);

private:
    QMenu* m_menu;
    QList<QAction*> m_commands;
};
