#pragma once

#include "form_framework/FormTypes.h"
#include "form_framework/WindowOpening.h"

#include <QString>
#include <QWidget>

class zInfo;

// The base of every data window: a widget named after its window class, carrying its controller
// zInfo.
//
// The hooks below are the window's part of the controller's work. zInfo calls them and uses
// their answers; each default serves a plain record or search window, built from its field
// controls (the zFieldBase children), so a window overrides only what it adds.
class DataWindow : public QWidget {
    Q_OBJECT
public:
    explicit DataWindow(const QString& className, QWidget* parent = nullptr);

    zInfo* info() const { return m_info; }
    // Record window: applies the opener's start parameters (in edit mode this loads the record)
    // and leaves the window unchanged; false when that failed, which has been reported. A window
    // shown without start parameters has nothing to apply.
    virtual bool Act_LoadForm();

    // A sizable window remembers its size per user.
    bool Sizable() const { return m_sizable; }
    void setSizable(bool sizable) { m_sizable = sizable; }

    // The widget that carries the window's place and size: the sub-window when the window is a
    // child of the main window, the window itself otherwise.
    QWidget* frame();
    bool isChildOfMainWindow() const;
    // Position and size of the frame in twips.
    int LeftTwips();
    int TopTwips();
    void moveTwips(int left, int top);
    // The opener gave the window its place (moveTwips): the opening keeps it there.
    bool placedByOpener() const { return m_placedByOpener; }
    void resizeTwips(int width, int height);
    // Sizes the frame so the window inside it gets this size (the size its constructor gave it:
    // a sub-window does not take the size of a widget that lays its children out by hand).
    void fitFrameTo(const QSize& size);
    // The frame's size around a window of this size: the sub-window's title bar and borders added.
    QSize frameSizeFor(const QSize& size);
    // The least size that shows every caption, field and button whole: the layout's minimum size
    // (or the minimum size given); empty for a window that places its children by hand and gave
    // none. A sub-window never forces it on its widget, so the opening does.
    virtual QSize contentsMinimumSize() const;
    // Enables or disables the window together with its frame: a window waits, disabled, while a
    // window it opened for one of its pickers is open, and its frame (the window the desktop and
    // screen readers see) must say so too.
    void setWindowEnabled(bool enabled);
    // Brings the window to the front (z-order 0), restoring it when asked.
    void bringToFront(bool restoreMinimized = false);
    // The named child of the window (the search window's layout finds its optional parts so).
    QWidget* member(const QString& name) const;

    // --- Hooks of the controller ------------------------------------------------------------------
    // May the record be saved (record window) or the criteria searched (search window)? The
    // default runs the final check of every field control in creation order; the first invalid
    // one shows its message, takes the focus and makes the answer false.
    virtual bool CheckFieldsProcedure();
    // Loads the record of the controller's identity into the fields; false when that failed and
    // has been reported. The default runs the controller's record query (SearchSQL followed by
    // the identity condition) and copies each column into the field control bound to it.
    virtual bool ActPopulateFormEditProcedure();
    // Just before ActPopulateFormEditProcedure. Default: nothing.
    virtual void BeforePopulateFormEdit() { }
    // The new record's starting values. Default: none.
    virtual void SetDefaultsProcedure() { }
    // Search window: fills the result list from the criteria. The default checks the criteria
    // and runs the controller's SearchSQL with one parameter per filled criterion.
    virtual void PopulateData();
    // At the end of the load, the window's commands for its bar's Actions menu. Default: none.
    virtual void PopulateShortcuts() { }
    // A window opened for a new record, after its defaults and before the opener's presets fill its
    // fields: what the presets given imply beyond their own fields (an option of the window that a
    // preset column chooses). Default: nothing.
    virtual void BeforeApplyPresets(const FormParamDict& presets) { Q_UNUSED(presets); }
    // An opener's default value for a new record (the start parameter). Default: ignored.
    virtual void ProcessDefaultValue(const QString& defaultValue) { Q_UNUSED(defaultValue); }
    // Last step of the load, after the defaults. Default: nothing.
    virtual void AfterPopulateForm() { }
    // A main-window command the controller does not handle for this kind of window (for a record
    // window Print and Preview, for an Other window every one). Default: ignored.
    virtual void ProcessCommand(MainCommand command) { Q_UNUSED(command); }

private:
    zInfo* m_info;
    bool m_sizable = true;
    bool m_placedByOpener = false;
};
