#pragma once

#include "DataWindow.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The text viewer: shows a text (an export, a field listing, a tool's report), lets the user edit
// it, copy it whole and save it to a file. The whole text is kept and saved, however long.
// Start parameter "Text". Closing with unsaved changes asks to save them.
class frmText : public DataWindow {
    Q_OBJECT
public:
    frmText();

    // The text in the viewer, and whether it holds changes not saved to a file.
    QString text() const;
    bool unsavedChanges() const { return m_changed; }
    // Saves to the file last saved to, or asks for one; true when the file was written.
    bool Save();
    bool SaveAs();
    void CopyAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeStartParameters();
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
};
