#pragma once

#include <QString>

// Modules of the program: shared objects in the program folder that hold the code needing a heavy
// library (the PostgreSQL client, the workbook and barcode writers), so that start-up maps none of
// them. Each exports one extern "C" factory giving the module's interface.

// Loads `fileName` from the program folder (GetMainPath()) once and returns its `factory` symbol;
// the module stays loaded for the rest of the process. Null when the file is missing or is not
// that module; `error` then says why. A failed attempt is not kept, so a module put in place
// later is found on the next use.
void* ResolveProgramModule(const QString& fileName, const char* factory, QString& error);
