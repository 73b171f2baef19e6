#include "administration/FileTools.h"

#include "core/SafeFiles.h"
#include "core/TextUtilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringMatcher>

#include <algorithm>

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

// True when the bytes end before their last UTF-8 sequence does.
bool endsInsideACharacter(QByteArrayView bytes)
{
    qsizetype lead = bytes.size() - 1;
    while (lead >= 0 && bytes.size() - lead <= 4 && (static_cast<uchar>(bytes.at(lead)) & 0xC0) == 0x80)
        --lead;
    if (lead < 0 || bytes.size() - lead > 4)
        return false; // only continuation bytes: the decoder has found that wrong already
    const auto first = static_cast<uchar>(bytes.at(lead));
    const qsizetype length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    return bytes.size() - lead < length;
}


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
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    file.close();
    if (bytes.isEmpty())
        return QStringLiteral("Input past end of file");
    // Replacing atomically writes a new file beside the old one, which a read-only file does not stop.
    if (!QFileInfo(path).isWritable())
        return QStringLiteral("Permission denied");

    const bool bom = bytes.startsWith(kUtf8Bom);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(QByteArrayView(bytes).sliced(bom ? kUtf8Bom.size() : 0));
    // A file cut inside its last character is no UTF-8 either (the decoder would wait for the rest).
    const bool isUtf8 = !utf8.hasError() && !endsInsideACharacter(bytes);
    if (!isUtf8)
        text = QString::fromLatin1(bytes);
    const qsizetype size = bytes.size();
    bytes = QByteArray();

    // One pass: each stretch between matches is encoded once, each match replaced as it is met.
    // (QString::replace moves the rest of the text again for every thousand matches: quadratic.)
    const auto encode = [isUtf8](QStringView part) { return isUtf8 ? part.toUtf8() : part.toLatin1(); };
    const bool latin1Replacement
        = std::none_of(replaceWith.cbegin(), replaceWith.cend(), [](QChar c) { return c.unicode() > 0xFF; });
    const QByteArray replacement = encode(replaceWith);
    QByteArray out;
    out.reserve(size);
    if (bom && isUtf8)
        out += kUtf8Bom;
    qsizetype copied = 0; // the text before this is in out
    if (!findWhat.isEmpty()) {
        const QStringMatcher matcher(findWhat, Qt::CaseInsensitive);
        for (qsizetype found = matcher.indexIn(text); found >= 0; found = matcher.indexIn(text, copied)) {
            if (!isUtf8 && !latin1Replacement)
                return QStringLiteral("The replacement text cannot be written in the file's encoding (Latin-1)");
            out += encode(QStringView(text).sliced(copied, found - copied));
            out += replacement;
            copied = found + findWhat.size();
        }
    }
    out += encode(QStringView(text).sliced(copied));
    text = QString();
    return WriteFileSafely(path, out, QFileInfo(path).permissions());
}

QString ReplacedName(const QString& name, const QString& findWhat, const QString& replaceWith)
{
    QString result = name;
    return result.replace(findWhat, replaceWith, Qt::CaseInsensitive);
}
