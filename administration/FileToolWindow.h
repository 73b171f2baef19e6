#pragma once

#include "form_framework/DataWindow.h"

#include <QElapsedTimer>

class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class zCheckBox;
class zFieldBase;
class zText;

// What the text replacing and file renaming tools share: the folder, find and replace fields, the
// sub-folder check box, the browse, run and close buttons and the running log. A run blocks the
// run, browse and close buttons and the window's closing; the log grows as the walk goes (the
// window keeps painting between files, and while one large file is worked on a worker thread) and
// is shown whole in a text viewer at the end.
class FileToolWindow : public DataWindow {
    Q_OBJECT
public:
    // The log so far (each entry ended by CR LF).
    QString log() const;
    bool running() const { return m_running; }

    // The run button: the permission again, then the fields in order, then the run.
    void btnRename_Click();

protected:
    FileToolWindow(const QString& className, const QString& caption, const QString& runCaption,
        const QString& actionCode, int findMaxLength);

    // The fields checked before a run, in order.
    virtual QList<zFieldBase*> fieldsToCheck() const = 0;
    virtual void run() = 0;

    // Replaces the whole log, or appends one entry (CR LF added), letting pending events run.
    void setResultText(const QString& entry);
    void AddResultText(const QString& entry);
    // The final check of Replace With: it must differ from Find What, letter case ignored.
    QString differentFromFindWhat() const;
    void addRow(const QString& labelText, QWidget* field, QWidget* extra = nullptr);
    void walk(const QString& pattern, const std::function<void(const QString&, const QString&)>& file);
    // Runs the work on a worker thread while this window's events go on; returns its result.
    QString runAside(const std::function<QString()>& work);
    // Lets pending events run when the window has not painted for a moment.
    void keepPainting();

    void AfterPopulateForm() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    virtual void loadSettings();
    virtual void saveSettings();

    zText* ztxtFolder;
    zText* ztxtFindWhat;
    zText* ztxtReplaceWith;
    zCheckBox* zchkSubFolders;
    QPushButton* btnBrowseFolder;
    QPushButton* btnRename;
    QPushButton* btnClose;
    QPlainTextEdit* txtResult;
    QGridLayout* m_grid;

private:
    void setRunning(bool running);
    QString m_actionCode;
    QString m_log;
    bool m_running = false;
    int m_rows = 0;
    QElapsedTimer m_sincePainted;
};
