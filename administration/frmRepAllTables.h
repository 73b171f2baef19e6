#pragma once

#include "administration/ReportWindow.h"

class QRadioButton;

// Two reports on the database's own tables: every table with its columns, and the engine's
// integrity checks.
class frmRepAllTables : public ReportWindow {
    Q_OBJECT
public:
    frmRepAllTables();
    QString GetReportSQL() override;
    QString reportTitle() const override;
    bool CheckFieldsProcedure() override { return true; }

private:
    QRadioButton* optReport[2];
};
