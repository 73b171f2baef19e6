#pragma once

#include "administration/FileToolWindow.h"

// Replaces a text by another, letter case ignored, in the files of the chosen extensions of a folder
// and, when asked, of all its sub-folders.
class frmReplaceText : public FileToolWindow {
    Q_OBJECT
public:
    frmReplaceText();
    void ProcessCommand(MainCommand command) override;
    void RunReplaceText();

protected:
    QList<zFieldBase*> fieldsToCheck() const override;
    void run() override { RunReplaceText(); }
    void loadSettings() override;
    void saveSettings() override;

private:
    zText* ztxtExtensions;
};
