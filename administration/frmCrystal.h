#pragma once

#include "form_framework/DataWindow.h"

class ReportPreview;

// The report viewer: one report file of the Reports folder filled with the statement's data, shown
// in pages; the main window's Print command prints it. Opened by ShowCrystalReport with the start
// parameters "ReportFile", "SQL" and "RecordName"; several may be open, each with its own report.
class frmCrystal : public DataWindow {
    Q_OBJECT
public:
    frmCrystal();
    ReportPreview* viewer() const { return m_viewer; }
    QString reportFile() const { return m_reportFile; }
    QString sql() const { return m_sql; }

    void AfterPopulateForm() override;
    void ProcessCommand(MainCommand command) override;
    void ReadReportParameters();
    bool ShowReport();

private:
    ReportPreview* m_viewer;
    QString m_reportFile;
    QString m_sql;
    QString m_recordName;
};
