#pragma once

#include "form_framework/RecordBar.h"
#include "form_framework/zButtonBar.h"

#include <QString>

class ActionsMenu;
class DataWindow;
class QMenu;
class QPushButton;

// The command buttons at the bottom of every record window (named "zbtnButtons"): Save, New,
// Previous and Next, Actions, OK and Close. Every button forwards to the controller of the window
// that holds the bar; the controller drives the enabled states and the Close caption.
class zButtonsAddEdit : public zButtonBar, public RecordBar {
    Q_OBJECT
public:
    explicit zButtonsAddEdit(QWidget* parent = nullptr);

    // A window command in the Actions menu ("-" adds a separator); flag False shows it disabled.
    void AddAction(const QString& caption, bool flag = true);

    bool AllowNew() const { return m_allowNew; }
    void setAllowNew(bool allow);
    bool AllowMove() const { return m_allowMove; }
    void setAllowMove(bool allow);
    bool SaveEnabled() const;
    void setSaveEnabled(bool enabled) override;
    bool NewEnabled() const override;
    void setNewEnabled(bool enabled) override;
    bool OkEnabled() const;
    void setOkEnabled(bool enabled) override;
    bool ActionsEnabled() const override;
    void setActionsEnabled(bool enabled) override;
    // Press Save or New as a click would; a hidden or disabled button only beeps.
    void ClickSave() override;
    void ClickNew() override;
    QString CloseCaption() const;
    void setCloseCaption(const QString& caption) override;

    QMenu* actionsMenu() const;
    QSize sizeHint() const override { return { 582, 36 }; }

Q_SIGNALS:
    // The chosen window command, its caption without "&".
    void ActionClick(QString& actionName);

protected:
    void layOut() override;

private:
    DataWindow* containerForm() const;
    void saveClicked();
    void okClicked();
    void newClicked();
    void moveClicked(int index);
    void closeClicked();
    void recordHistoryClicked();

    QPushButton* m_save;
    QPushButton* m_new;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_actions;
    QPushButton* m_ok;
    QPushButton* m_close;
    ActionsMenu* m_menu;
    bool m_allowNew = true;
    bool m_allowMove = true;
};
