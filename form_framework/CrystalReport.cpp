#include "CrystalReport.h"

#include "Actions.h"
#include "AppInfo.h"
#include "MessageBoxes.h"
#include "SqlText.h"
#include "TextUtilities.h"
#include "WindowOpening.h"

void ShowCrystalReport(const QString& reportFileName, const QString& statement)
{
    const QString path = GetMainPath() + QStringLiteral("Reports/") + reportFileName;
    {
        BusyPointer busy;
        if (FileExists(path)) {
            FormParamDict parameters;
            parameters.add(QStringLiteral("ReportFile"), path);
            parameters.add(QStringLiteral("SQL"), statement);
            FormParams::queue(QStringLiteral("frmCrystal"), parameters);
            try {
                LoadFormByName(QStringLiteral("frmCrystal"));
            } catch (...) {
                // An opening that failed leaves no stale entry behind.
                FormParams::remove(QStringLiteral("frmCrystal"));
                throw;
            }
            return;
        }
    }
    ShowErrorMessage(QStringLiteral("Cannot find Crystal Report ") + AngleQuote(path));
}
