#include "loader/modFunctions.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/DatabaseList.h"
#include "core/ErrorReport.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"
#include "loader/LoaderWindow.h"
#include "loader/UpdateInstaller.h"
#include "loader/UpdateSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>

namespace {

const QString MainProgramName = QStringLiteral("Bramblecot_Main");

void StartMainProgram()
{
    const QString program = GetMainPath() + MainProgramName;
    if (!Platform::processes().startDetached(program, {}, GetMainPath()))
        RaiseToReport(QStringLiteral("Cannot start the program ") + AngleQuote(program) + QLatin1Char('.'));
}

void Fail(const QString& description)
{
    ShowErrorMessage(description + QStringLiteral("\r\n\r\nApplication terminated."));
}

// The XML parser is linked in, but a probe keeps the promise that a station without a working one
// is told so before anything else happens.
void CheckMSXML()
{
    QDomDocument probe;
    if (!probe.setContent(QStringLiteral("<Settings><Update_Location/></Settings>")))
        RaiseToReport(QStringLiteral(
            "MS XML 3.0 is not supported on this station.\r\nPlease contact system administrator for upgrade."));
}

QString ReadSettings()
{
    const QString path = GetMainPath() + QStringLiteral("Settings.xml");
    if (!FileExists(path))
        RaiseToReport(QStringLiteral("Cannot find Settings file <Settings.xml>."));
    QString location;
    QString failure;
    if (!ReadUpdateLocation(path, location, failure))
        RaiseToReport(failure);
    return location;
}

// A workstation whose update folder is gone (a share not mounted, a mistyped path) would
// otherwise never be updated again without anyone knowing: the window and the error log say so,
// and the program starts as it is.
void ReportUnreachableLocation(LoaderWindow& window, const UpdateSource& source)
{
    const QString text = QStringLiteral("The update location ") + AngleQuote(source.location())
        + QStringLiteral(" cannot be reached.");
    QDir().mkpath(GetMainPath() + QStringLiteral("Errors"));
    WriteErrorLog(MsgBox::Yes, QStringLiteral("Description: ") + text + QStringLiteral("\r\n"));
    window.SetStatus(text + QStringLiteral(" Starting main program..."));
}

} // namespace

int RunLoader(LoaderWindow& window)
{
    PointerControl& pointer = Platform::pointer();
    pointer.set(PointerShape::Busy);
    try {
        window.Form_Load();
        window.show();
        QCoreApplication::processEvents();
        window.SetStatus(QStringLiteral("Looking for updates..."));
        CheckMSXML();
        const UpdateSource source(ReadSettings());
        if (!source.reachable()) {
            ReportUnreachableLocation(window, source);
            StartMainProgram();
            pointer.set(PointerShape::Arrow);
            return 0;
        }
        UpdateInstaller installer(source, [&window](const QString& text) { window.SetStatus(text); });
        const bool installed = installer.GetUpdateList() && installer.InstallUpdates();
        window.SetStatus(installed ? QStringLiteral("Updates completed. Starting main program...")
                                   : QStringLiteral("No updates found. Starting main program..."));
        StartMainProgram();
    } catch (const AppError& error) {
        Fail(error.description());
        pointer.set(PointerShape::Arrow);
        Platform::terminate(1);
        return 1;
    } catch (const std::exception& error) {
        Fail(QString::fromLocal8Bit(error.what()));
        pointer.set(PointerShape::Arrow);
        Platform::terminate(1);
        return 1;
    }
    pointer.set(PointerShape::Arrow);
    return 0;
}
