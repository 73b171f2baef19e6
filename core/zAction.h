#pragma once

#include <QString>

// One running action: who began it, under which name, and the words that complete the
// sentence "Unable to ..." when it fails.
class zAction {
public:
    QString ModuleName;
    QString ProcName;
    QString Description;
};
