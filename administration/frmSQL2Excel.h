#pragma once

#include "form_framework/DataWindow.h"

class QPushButton;
class zCheckBox;
class zMemo;
class zText;

// A typed SQL statement's result as a formatted workbook. The statement runs in the connection's
// read-only scope: a report permission is the right to read, never to change the database.
class frmSQL2Excel : public DataWindow {
    Q_OBJECT
public:
    frmSQL2Excel();
    bool CheckFieldsProcedure() override;
    void ProcessCommand(MainCommand command) override;
    // Exports when the fields pass their checks; the window stays open. True when exported.
    bool btnOK_Click();

private:
    zMemo* zmemSQL;
    zText* ztxtRepName;
    zText* ztxtAddlInfo;
    zCheckBox* zchkWithPageSetup;
    QPushButton* btnOK;
    QPushButton* btnClose;
};
