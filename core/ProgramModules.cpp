#include "core/ProgramModules.h"

#include "core/AppInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>

#include <elf.h>

#include <cstring>

namespace {

// Whether a range of the file lies within its size, without overflowing.
bool within(quint64 offset, quint64 length, quint64 size) { return offset <= size && length <= size - offset; }

template <typename Header, typename ProgramHeader, typename SectionHeader>
QString checkExtents(QFile& file, quint64 size)
{
    Header header;
    if (!file.seek(0) || file.read(reinterpret_cast<char*>(&header), sizeof header) != static_cast<qint64>(sizeof header))
        return QStringLiteral("its header is cut short");
    const auto table = [&](quint64 offset, quint64 count, quint64 entrySize, quint64 wanted) -> QString {
        if (count == 0)
            return {};
        if (entrySize < wanted || count > size / entrySize || !within(offset, count * entrySize, size))
            return QStringLiteral("its header tables end beyond the file's %1 bytes").arg(size);
        return {};
    };
    QString why = table(header.e_phoff, header.e_phnum, header.e_phentsize, sizeof(ProgramHeader));
    if (why.isEmpty())
        why = table(header.e_shoff, header.e_shnum, header.e_shentsize, sizeof(SectionHeader));
    if (!why.isEmpty())
        return why;
    for (quint64 i = 0; i < header.e_phnum; ++i) {
        ProgramHeader segment;
        if (!file.seek(static_cast<qint64>(header.e_phoff + i * header.e_phentsize))
            || file.read(reinterpret_cast<char*>(&segment), sizeof segment) != static_cast<qint64>(sizeof segment))
            return QStringLiteral("its header tables cannot be read");
        if (!within(segment.p_offset, segment.p_filesz, size))
            return QStringLiteral("its segment %1 ends beyond the file's %2 bytes").arg(i).arg(size);
    }
    for (quint64 i = 0; i < header.e_shnum; ++i) {
        SectionHeader section;
        if (!file.seek(static_cast<qint64>(header.e_shoff + i * header.e_shentsize))
            || file.read(reinterpret_cast<char*>(&section), sizeof section) != static_cast<qint64>(sizeof section))
            return QStringLiteral("its header tables cannot be read");
        if (section.sh_type != SHT_NOBITS && !within(section.sh_offset, section.sh_size, size))
            return QStringLiteral("its section %1 ends beyond the file's %2 bytes").arg(i).arg(size);
    }
    return {};
}

// Why the file cannot be a whole shared object; nothing when its headers fit it. The loader maps
// a module's segments as its headers place them, and a file cut short (an interrupted copy) would
// only fail when the program first touches a page beyond its end, with SIGBUS: it is refused here,
// before it is loaded. A file that is no ELF object at all is left to the loader to name.
QString cutShort(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const quint64 size = static_cast<quint64>(file.size());
    unsigned char ident[EI_NIDENT] = {};
    if (file.read(reinterpret_cast<char*>(ident), EI_NIDENT) != EI_NIDENT || std::memcmp(ident, ELFMAG, SELFMAG) != 0)
        return {};
    if (ident[EI_CLASS] == ELFCLASS64)
        return checkExtents<Elf64_Ehdr, Elf64_Phdr, Elf64_Shdr>(file, size);
    if (ident[EI_CLASS] == ELFCLASS32)
        return checkExtents<Elf32_Ehdr, Elf32_Phdr, Elf32_Shdr>(file, size);
    return {};
}

} // namespace

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
    if (const QString why = cutShort(file); !why.isEmpty()) {
        error = file + QStringLiteral(" is cut short: ") + why + QLatin1Char('.');
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
