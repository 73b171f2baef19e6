#include "core/SysInfo.h"

#include "core/MessageBoxes.h"
#include "core/Platform.h"

#include <QStandardPaths>

SystemInformationProgram FindSystemInformationProgram()
{
    static const char* const candidates[] = { "kinfocenter", "hardinfo2", "hardinfo" };
    for (const char* name : candidates) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return { path, {} };
    }
    return {};
}

void StartSysInfo()
{
    const SystemInformationProgram found = FindSystemInformationProgram();
    bool started = false;
    if (!found.program.isEmpty()) {
        try {
            started = Platform::processes().startDetached(found.program, found.arguments, QString());
        } catch (...) {
            started = false;
        }
    }
    if (!started)
        ShowInfoMessage(QStringLiteral("System Information Is Unavailable At This Time"));
}
