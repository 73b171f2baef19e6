#include "administration/ReportWindow.h"

#include "core/Platform.h"
#include "exports/Exports.h"
#include "exports/SpreadsheetExport.h"
#include "form_framework/WindowList.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zInfo.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

ReportWindow::ReportWindow(const QString& className, const QString& caption)
    : DataWindow(className)
{
    setWindowTitle(caption);
    info()->setFormType(FormType::Other);
    info()->setMode(FormMode::SearchList);
    m_layout = new QVBoxLayout(this);
    zchkWithPageSetup = new zCheckBox(this);
    zchkWithPageSetup->setObjectName(QStringLiteral("zchkWithPageSetup"));
    zchkWithPageSetup->setCaption(QStringLiteral("With Page Setup (longer)"));
    zchkWithPageSetup->setGoodName(QStringLiteral("With Page Setup"));
    zchkWithPageSetup->setPartOfTheQuery(false);
    zchkWithPageSetup->setMinimumSize(220, 24);
    auto button = [this](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    btnExcel = button("btnExcel", "Send Data to &Excel");
    btnTab = button("btnTab", "&Tab Delimited");
    btnClose = button("btnClose", "&Close");
    connect(btnExcel, &QPushButton::clicked, this, &ReportWindow::btnExcel_Click);
    connect(btnTab, &QPushButton::clicked, this, &ReportWindow::btnTab_Click);
    connect(btnClose, &QPushButton::clicked, this, [this] { UnloadWindow(this); });
}

void ReportWindow::finishLayout()
{
    m_layout->addWidget(zchkWithPageSetup);
    auto* row = new QHBoxLayout;
    row->addWidget(btnExcel);
    row->addWidget(btnTab);
    for (QPushButton* extra : findChildren<QPushButton*>(QStringLiteral("btnCrystal"), Qt::FindDirectChildrenOnly))
        row->addWidget(extra);
    row->addStretch();
    row->addWidget(btnClose);
    m_layout->addLayout(row);
    m_layout->addStretch();
}

void ReportWindow::btnExcel_Click()
{
    btnExcel->setFocus();
    QApplication::processEvents();
    const QString sql = GetReportSQL();
    if (!sql.isEmpty())
        ExportToExcel(sql, reportTitle(), {}, true, QString(), zchkWithPageSetup->Value().toBool());
}

void ReportWindow::btnTab_Click()
{
    btnTab->setFocus();
    QApplication::processEvents();
    const QString sql = GetReportSQL();
    if (!sql.isEmpty())
        ExportToText(sql, reportTitle(), QString());
}

void ReportWindow::ProcessCommand(MainCommand command)
{
    if (command == MainCommand::TabDelimited)
        btnTab_Click();
    else if (command == MainCommand::Excel)
        btnExcel_Click();
    else
        Platform::prompt().beep();
}
