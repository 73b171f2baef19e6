#include "core/ProgramModules.h"

#include "core/AppInfo.h"

#include <QFileInfo>
#include <QHash>
#include <QLibrary>

void* ResolveProgramModule(const QString& fileName, const char* factory, QString& error)
{
    // One loader per file and symbol, never unloaded: the objects a module makes live as long as
    // the process.
    static QHash<QString, void*> resolved;
    const QString file = GetMainPath() + fileName;
    const QString key = file + QLatin1Char('\n') + QLatin1String(factory);
    if (void* symbol = resolved.value(key))
        return symbol;
    if (!QFileInfo::exists(file)) {
        error = file + QStringLiteral(" is missing.");
        return nullptr;
    }
    QLibrary library(file);
    if (!library.load()) {
        error = library.errorString();
        return nullptr;
    }
    void* symbol = reinterpret_cast<void*>(library.resolve(factory));
    if (!symbol) {
        error = file + QStringLiteral(" is not the module it should be: ") + library.errorString();
        // Unloaded again, so that the right module put in its place is loaded on the next use.
        library.unload();
        return nullptr;
    }
    resolved.insert(key, symbol);
    return symbol;
}
