#pragma once

#include <QImage>
#include <QString>

class Recordset;
struct WorkbookRequest;

// What the exports ask of the libraries that write files: libxlsxwriter (which brings minizip and
// OpenSSL's libcrypto) for workbooks and libzint for Code 39 barcodes. The one implementation
// (exports/writers/) is the only code calling them; the program has it in the module
// bramblecot_writers.so in its folder and loads it the first time a workbook or a barcode is
// made, so start-up maps none of them. The tests and benchmarks link it in (export_writers_linked).
class ExportWriters {
public:
    virtual ~ExportWriters() = default;

    // Writes the workbook into the scratch `file`, which then becomes `path`; "" when written,
    // else why not (WriteExportWorkbook).
    virtual QString writeWorkbook(const QString& file, const QString& path, Recordset& recordset,
        const WorkbookRequest& request)
        = 0;
    // The barcode (Code39Image).
    virtual QImage code39(const QString& code, int moduleWidth, int barHeight, QString* error) = 0;
};

// The module's file in the program folder.
QString ExportWritersModuleFile();

// The writers: the ones a program linked in (UseExportWriters), else the module loaded from the
// program folder on first use. Null when it cannot be loaded; `error` then says so ("The export
// writers could not be loaded: ...").
ExportWriters* LoadExportWriters(QString& error);
// The same, throwing AppError with that text.
ExportWriters& RequireExportWriters();

// A program that links the writers in (the tests and benchmarks) uses those.
void UseExportWriters(ExportWriters& writers);
