#pragma once

#include "administration/ReportWindow.h"

class zComboBoxText;
class zDate;

// The changes the database recorded, filtered by user, table, table action, program and dates.
class frmRepDBChanges : public ReportWindow {
    Q_OBJECT
public:
    frmRepDBChanges();
    QString GetReportSQL() override;
    QString reportTitle() const override { return QStringLiteral("Database Changes"); }
    bool CheckFieldsProcedure() override;

private:
    zComboBoxText* zcbtUser;
    zComboBoxText* zcbtTable;
    zComboBoxText* zcbtTableAction;
    zComboBoxText* zcbtProgram;
    zDate* zdatDate[2];
};
