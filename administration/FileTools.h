#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The folder walk and file routines of the text replacing and file renaming tools.

// The extension list as the replacing tool reads it: every ";" counts as a blank, and the text is
// split at every single blank, so "txt;" gives "txt" and "" and " " gives two empty entries.
QStringList SplitExtensionList(const QString& list);

// File-name wildcards as the tools' users know them: "*" any run of characters, "?" one
// character, letter case ignored; "*.*" matches every name and a pattern ending in "." (as "*.")
// only names without a dot.
bool MatchesFilePattern(const QString& name, const QString& pattern);

// What the walk reports to its tool.
struct FolderWalkHandlers {
    // Read again at every level: false stops the walk at the folder's own files.
    std::function<bool()> includeSubFolders;
    // A matching file: the folder with a trailing "/" and the file's name.
    std::function<void(const QString& folder, const QString& name)> file;
    // A sub-folder about to be walked, as a full path without a trailing separator.
    std::function<void(const QString& folder)> subFolder;
};

// Walks the folder depth first: its files matching the pattern (by name), then each sub-folder's
// whole tree in turn. Hidden entries (names beginning with ".") and symbolic links are neither
// listed nor followed; each folder's listing is read whole before anything in it is handled, so a
// renamed file is never met again under its new name.
void ProcessFolder(const QString& folder, const QString& pattern, const FolderWalkHandlers& handlers);

// Replaces every occurrence of findWhat (letter case ignored) by replaceWith in the file and writes
// it back atomically, keeping its permissions; a file without a match is written back unchanged.
// Valid UTF-8 (a byte-order mark kept) is handled as UTF-8, anything else as Latin-1, which keeps
// every byte. The work is linear in the file's size, and the routine may run on any thread.
// Returns an empty text on success, else the description of the failure.
QString ReplaceTextInFile(const QString& path, const QString& findWhat, const QString& replaceWith);

// The name with every occurrence of findWhat (letter case ignored) replaced; the rest of the name
// keeps its letter case.
QString ReplacedName(const QString& name, const QString& findWhat, const QString& replaceWith);
