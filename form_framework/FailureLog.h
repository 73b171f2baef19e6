#pragma once

#include <QString>

// Writes the exception being handled to the error log, for the places that must go on after a
// failure (a command, one window of a broadcast) without showing it: the failure is then at
// least on record. Call it only from inside a catch block.
void LogSwallowedFailure(const QString& where);
