#pragma once

#include "form_framework/DataWindow.h"

class QPushButton;
class QVBoxLayout;
class zCheckBox;

// The report windows' common part: criteria built like a search window's, sent to a workbook
// ("Send Data to &Excel") or a tab-separated text ("&Tab Delimited"); the main window's Tab and
// Excel commands act like the buttons, the others beep.
class ReportWindow : public DataWindow {
    Q_OBJECT
public:
    // The report's statement; empty when a criterion failed its check (the field said why).
    virtual QString GetReportSQL() = 0;
    virtual QString reportTitle() const = 0;
    void btnExcel_Click();
    void btnTab_Click();
    void ProcessCommand(MainCommand command) override;

protected:
    ReportWindow(const QString& className, const QString& caption);
    // Adds the page-setup box and the buttons below the criteria.
    void finishLayout();

    QVBoxLayout* m_layout;
    zCheckBox* zchkWithPageSetup;
    QPushButton* btnExcel;
    QPushButton* btnTab;
    QPushButton* btnClose;
};
