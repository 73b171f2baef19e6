#include "main_window/MainStartup.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/Platform.h"
#include "core/Startup.h"
#include "main_window/frmLogon.h"
#include "main_window/frmMain.h"
#include "main_window/frmSplash.h"

#include <memory>

frmMain* Main()
{
    // Every path out of start-up returns the pointer to normal.
    BusyPointer busy;
    const bool developmentRun = !CompiledCheck();
    if (!CheckMSXML() || !CreateFSO())
        return nullptr;
    if (!developmentRun) {
        if (RunNewestVersion()) {
            Platform::terminate(0);
            return nullptr;
        }
        SetTestMode(IsTestModeName(ExecutableBaseName()));
    }
    LoadDatabases();

    std::unique_ptr<frmSplash> splash;
    if (!OpenConnection(CurrentDB(), true, QString(), QString()).isEmpty()) {
        // The splash is loaded but stays hidden while the log-on window asks.
        splash = std::make_unique<frmSplash>();
        PointerDefault();
        const bool connected = frmLogon::Run();
        PointerBusy();
        if (!connected)
            return nullptr;
    }

    auto* main = new frmMain;
    main->Load();
    main->showOnScreen();
    if (UserShouldCompleteRecord())
        main->mnuUserInfo_Click();
    splash.reset();
    return main;
}
