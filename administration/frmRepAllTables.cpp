#include "administration/frmRepAllTables.h"

#include "core/SqlText.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/zInfo.h"

#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
struct Report {
    const char* call;
    const char* title;
};
constexpr Report kReports[] = {
    { "EXEC usp_DB_Rep_All_Tables", "All Tables and Columns" },
    { "EXEC usp_DB_Rep_Tables_Integrity", "Check Tables Integrity" },
};
} // namespace

frmRepAllTables::frmRepAllTables()
    : ReportWindow(QStringLiteral("frmRepAllTables"), QStringLiteral("All Tables"))
{
    for (int i = 0; i < 2; ++i) {
        optReport[i] = new QRadioButton(QString::fromLatin1(kReports[i].title), this);
        optReport[i]->setObjectName(QStringLiteral("optReport_%1").arg(i));
        m_layout->addWidget(optReport[i]);
    }
    optReport[0]->setChecked(true);
    auto* crystal = new QPushButton(QStringLiteral("C&rystal Report"), this);
    crystal->setObjectName(QStringLiteral("btnCrystal"));
    crystal->setEnabled(false);
    finishLayout();
    resize(420, 220);
}

QString frmRepAllTables::reportTitle() const
{
    for (int i = 0; i < 2; ++i) {
        if (optReport[i]->isChecked())
            return QString::fromLatin1(kReports[i].title);
    }
    return {};
}

QString frmRepAllTables::GetReportSQL()
{
    if (!info()->CheckFields())
        return {};
    for (int i = 0; i < 2; ++i) {
        if (optReport[i]->isChecked())
            return BuildExecSQL(QString::fromLatin1(kReports[i].call), GetFormSnapshot(this));
    }
    return {};
}
