#include "exports/Code39.h"

#include "core/MessageBoxes.h"
#include "exports/ExportWriters.h"

QImage Code39Image(const QString& code, int moduleWidth, int barHeight, QString* error)
{
    QString why;
    ExportWriters* writers = LoadExportWriters(why);
    if (!writers) {
        // Told once: every record window with a record code draws one.
        static bool told = false;
        if (!told) {
            told = true;
            ShowErrorMessage(why);
        }
        if (error)
            *error = why;
        return {};
    }
    return writers->code39(code, moduleWidth, barHeight, error);
}
