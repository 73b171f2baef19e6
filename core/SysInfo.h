#pragma once

#include <QString>
#include <QStringList>

// The desktop's system information program.

struct SystemInformationProgram {
    QString program; // full path of the executable; empty when none is installed
    QStringList arguments;
};

// The first system information program found on the search path, in a fixed order of preference
// (KDE's Info Center, HardInfo).
SystemInformationProgram FindSystemInformationProgram();
// Starts it through the process starter; when none is installed or it cannot be started, says
// "System Information Is Unavailable At This Time".
void StartSysInfo();
