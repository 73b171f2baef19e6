#include "administration/FileTools.h"

#include "core/SafeFiles.h"
#include "core/TextUtilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// "*" and "?" against the name, letter case ignored (iterative, with one back-tracking point).
bool wildcardMatch(QStringView name, QStringView pattern)
{
    qsizetype n = 0, p = 0, star = -1, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size()
            && (pattern.at(p) == QLatin1Char('?') || pattern.at(p).toCaseFolded() == name.at(n).toCaseFolded())) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            star = p++;
            resume = n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

} // namespace

QStringList SplitExtensionList(const QString& list)
{
    QString text = list;
    text.replace(QLatin1Char(';'), QLatin1Char(' '));
    return text.split(QLatin1Char(' '));
}

bool MatchesFilePattern(const QString& name, const QString& pattern)
{
    if (pattern == QLatin1String("*.*"))
        return true;
    if (pattern.endsWith(QLatin1Char('.'))) {
        if (name.contains(QLatin1Char('.')))
            return false;
        return wildcardMatch(name, QStringView(pattern).chopped(1));
    }
    return wildcardMatch(name, pattern);
}

void ProcessFolder(const QString& folder, const QString& pattern, const FolderWalkHandlers& handlers)
{
    const QString base = AddBackslash(folder);
    const QDir dir(base);
    // Names beginning with "." are hidden and left out without QDir::Hidden; links are never
    // followed: one to an ancestor would loop, others lead out of the tree.
    const QStringList files = dir.entryList(QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QString& name : files) {
        if (MatchesFilePattern(name, pattern))
            handlers.file(base, name);
    }
    if (!handlers.includeSubFolders())
        return;
    const QStringList folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    QStringList subFolders;
    for (const QString& name : folders)
        subFolders << base + name;
    for (const QString& subFolder : subFolders) {
        handlers.subFolder(subFolder);
        ProcessFolder(subFolder, pattern, handlers);
    }
}

QString ReplaceTextInFile(const QString& path, const QString& findWhat, const QString& replaceWith)
{
    if (IsSymbolicLink(path))
        return QStringLiteral("The file is a symbolic link; it is not written through.");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    file.close();
    if (bytes.isEmpty())
        return QStringLiteral("Input past end of file");
    // Replacing atomically writes a new file beside the old one, which a read-only file does not stop.
    if (!QFileInfo(path).isWritable())
        return QStringLiteral("Permission denied");

    const bool bom = bytes.startsWith(kUtf8Bom);
    const QByteArray body = bom ? bytes.mid(kUtf8Bom.size()) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(body);
    const bool isUtf8 = !utf8.hasError();
    if (!isUtf8)
        text = QString::fromLatin1(bytes);
    text.replace(findWhat, replaceWith, Qt::CaseInsensitive);

    QByteArray out;
    if (isUtf8) {
        out = (bom ? kUtf8Bom : QByteArray()) + text.toUtf8();
    } else {
        for (const QChar c : std::as_const(text)) {
            if (c.unicode() > 0xFF)
                return QStringLiteral("The replacement text cannot be written in the file's encoding (Latin-1)");
        }
        out = text.toLatin1();
    }
    return WriteFileSafely(path, out, QFileInfo(path).permissions());
}

QString ReplacedName(const QString& name, const QString& findWhat, const QString& replaceWith)
{
    QString result = name;
    return result.replace(findWhat, replaceWith, Qt::CaseInsensitive);
}
