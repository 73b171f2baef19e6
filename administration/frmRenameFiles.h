#pragma once

#include "administration/FileToolWindow.h"

// Renames every file of a folder (and, when asked, of its sub-folders) whose name holds a text,
// replacing each occurrence (letter case ignored) by another text.
class frmRenameFiles : public FileToolWindow {
    Q_OBJECT
public:
    frmRenameFiles();
    void ProcessCommand(MainCommand command) override;
    void RunRenameFiles();

protected:
    QList<zFieldBase*> fieldsToCheck() const override;
    void run() override { RunRenameFiles(); }

private:
    void RenameOneFile(const QString& folder, const QString& name);
};
