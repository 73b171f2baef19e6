#pragma once

#include "form_framework/RecordBar.h"
#include "form_framework/zButtonBar.h"

#include <QString>

class QPushButton;

// The command buttons at the bottom of every record window (named "zbtnButtons"): Save, New,
// Previous and Next, Actions, OK and Close. Every button forwards to the controller of the window
// that holds the bar; the controller drives the enabled states and the Close caption.
class zButtonsAddEdit : public zButtonBar, public RecordBar {
    Q_OBJECT
public:
    explicit zButtonsAddEdit(QWidget* parent = nullptr);

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

protected:
    void layOut() override;

private:
    void saveClicked();
    void okClicked();
    void newClicked();
    void moveClicked(int index);
    void recordHistoryClicked();

    // Set by the builder, in the order of the bar.
    QPushButton *m_save, *m_new, *m_previous, *m_next, *m_actions, *m_ok, *m_close;
    bool m_allowNew = true;
    bool m_allowMove = true;
};
