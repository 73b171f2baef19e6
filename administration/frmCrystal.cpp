#include "administration/frmCrystal.h"

#include "core/Platform.h"
#include "exports/ReportFiles.h"
#include "form_framework/ChildWindows.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zInfo.h"

#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QVBoxLayout>

frmCrystal::frmCrystal()
    : DataWindow(QStringLiteral("frmCrystal"))
{
    setWindowTitle(QStringLiteral("View Report"));
    info()->setFormType(FormType::Other);
    m_viewer = new ReportPreview(this);
    m_viewer->setObjectName(QStringLiteral("CRViewer"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_viewer);
    connect(m_viewer, &ReportPreview::closeRequested, this, [this] { UnloadWindow(this); });
    resize(800, 600);
}

void frmCrystal::AfterPopulateForm()
{
    ReadReportParameters();
    ShowReport();
}

void frmCrystal::ReadReportParameters()
{
    if (!FormParams::contains(objectName()))
        return;
    const FormParamDict& parameters = FormParams::entry(objectName());
    m_reportFile = parameters.value(QStringLiteral("ReportFile")).toString();
    m_sql = parameters.value(QStringLiteral("SQL")).toString();
    m_recordName = parameters.value(QStringLiteral("RecordName")).toString().trimmed();
    FormParams::remove(objectName());
}

bool frmCrystal::ShowReport()
{
    // A failure is reported with the statement; the window stays open with what it shows.
    if (!m_viewer->ShowReport(m_reportFile, m_sql, objectName() + QStringLiteral("::ShowReport")))
        return false;
    SetCaption(this, QStringLiteral("View Report - ") + m_viewer->title());
    // Printed pages are named after the report and its record, never the program's window.
    QString name = m_viewer->title().trimmed();
    if (name.isEmpty())
        name = QFileInfo(m_reportFile).completeBaseName();
    if (!m_recordName.isEmpty())
        name += QStringLiteral(" - ") + m_recordName;
    m_viewer->setDocumentName(name);
    m_viewer->previewWidget()->fitToWidth();
    return true;
}

void frmCrystal::ProcessCommand(MainCommand command)
{
    if (command == MainCommand::Print)
        m_viewer->printReport();
    else
        Platform::prompt().beep();
}
