// The module bramblecot_writers.so: the program loads it from its folder the first time it writes
// a workbook or draws a barcode (LoadExportWriters).

#include "exports/writers/LibraryWriters.h"

extern "C" Q_DECL_EXPORT ExportWriters* bramblecot_export_writers()
{
    return &LibraryWriters();
}
