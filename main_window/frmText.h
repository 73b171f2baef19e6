#pragma once

#include "form_framework/DataWindow.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The text viewer: shows a text (an export, a field listing, a tool's report), lets the user edit
// it, copy it whole and save it to a file. The whole text is kept and saved, however long, and as
// it was given (CR LF, no-break spaces and all) until the user edits it; an edited text keeps the
// line ends the given text used. A fixed-width font with tab stops at the widest cell of every
// tab-separated column lines the columns of an export up. Start parameter "Text". Closing asks to
// save only after an edit that was not saved.
class frmText : public DataWindow {
    Q_OBJECT
public:
    frmText();

    // The text in the viewer (what Save, Save As and Copy All write), and whether it holds changes
    // not saved to a file.
    QString text() const;
    bool unsavedChanges() const { return m_changed; }
    // Saves to the file last saved to, or asks for one; true when the file was written.
    bool Save();
    bool SaveAs();
    void CopyAll();

    // The start parameters are taken at the end of the load; of the main window's commands Save
    // saves and the others beep.
    void AfterPopulateForm() override { takeStartParameters(); }
    void ProcessCommand(MainCommand command) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeStartParameters();
    void showText(const QString& text);
    void setColumnTabStops(const QString& text);
    void textChanged();
    void pathChanged();
    bool mayClose();

    QPlainTextEdit* m_text;
    QLineEdit* m_path;
    QPushButton* m_save;
    QPushButton* m_saveAs;
    QPushButton* m_copyAll;
    QPushButton* m_close;
    bool m_changed = false;
    // The text as given; what the viewer holds until the user edits it.
    QString m_given;
    QString m_lineEnd = QStringLiteral("\n");
    bool m_edited = false;
    bool m_showing = false;
};
