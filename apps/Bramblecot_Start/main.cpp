#include "core/AppInfo.h"
#include "core/Platform.h"
#include "loader/frmMain.h"
#include "loader/modFunctions.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bramblecot"));
    SetApplicationTitle(QStringLiteral("Bramblecot"));
    Platform::installDesktop();
    frmMain window;
    return RunLoader(window);
}
