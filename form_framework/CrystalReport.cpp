#include "form_framework/CrystalReport.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "core/MessageBoxes.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"
#include "form_framework/QueuedFormParams.h"
#include "form_framework/WindowOpening.h"

namespace {

QString& viewerWindow()
{
    static QString name;
    return name;
}

} // namespace

void SetReportViewerWindow(const QString& windowName) { viewerWindow() = windowName; }

bool ShowCrystalReport(const QString& reportFileName, const QString& statement, const QString& recordName)
{
    bool opened = false;
    ActionScope action(
        QStringLiteral("modCrystal"), QStringLiteral("ShowCrystalReport"), QStringLiteral("Show Report"));
    const bool ran = action.run([&] {
        const QString path = GetMainPath() + QStringLiteral("Reports/") + reportFileName;
        {
            BusyPointer busy;
            if (FileExists(path)) {
                FormParamDict parameters;
                parameters.add(QStringLiteral("ReportFile"), path);
                parameters.add(QStringLiteral("SQL"), statement);
                parameters.add(QStringLiteral("RecordName"), recordName);
                const QueuedFormParams queued(viewerWindow(), parameters);
                opened = LoadFormByName(viewerWindow()) != nullptr;
                return;
            }
        }
        ShowErrorMessage(QStringLiteral("Cannot find Crystal Report ") + AngleQuote(path));
    });
    return ran && opened;
}
