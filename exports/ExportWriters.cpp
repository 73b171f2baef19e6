#include "exports/ExportWriters.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/ProgramModules.h"

namespace {
ExportWriters* s_writers = nullptr;
}

QString ExportWritersModuleFile()
{
    return QStringLiteral("bramblecot_writers.so");
}

ExportWriters* LoadExportWriters(QString& error)
{
    if (s_writers)
        return s_writers;
    QString why;
    using Factory = ExportWriters* (*)();
    const auto factory
        = reinterpret_cast<Factory>(ResolveProgramModule(ExportWritersModuleFile(), "bramblecot_export_writers", why));
    s_writers = factory ? factory() : nullptr;
    if (!s_writers)
        error = QStringLiteral("The export writers could not be loaded: ")
            + (why.isEmpty() ? ExportWritersModuleFile() + QStringLiteral(" gave none.") : why);
    return s_writers;
}

ExportWriters& RequireExportWriters()
{
    QString error;
    ExportWriters* writers = LoadExportWriters(error);
    if (!writers)
        throw AppError(ErrToReport, error, ApplicationTitle());
    return *writers;
}

void UseExportWriters(ExportWriters& writers)
{
    s_writers = &writers;
}
