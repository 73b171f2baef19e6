#include "core/AppInfo.h"
#include "core/Platform.h"
#include "loader/LoaderWindow.h"
#include "loader/modFunctions.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bramblecot"));
    SetApplicationTitle(QStringLiteral("Bramblecot"));
    Platform::installDesktop();
    LoaderWindow window;
    return RunLoader(window);
}
