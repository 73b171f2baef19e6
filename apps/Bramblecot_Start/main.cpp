#include "AppInfo.h"
#include "Platform.h"
#include "frmMain.h"
#include "modFunctions.h"

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
