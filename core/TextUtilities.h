#pragma once

#include "core/AppInfo.h"

#include <QString>
#include <QStringList>
#include <QVariant>

// Small path, file, format and text routines that every subsystem calls. GetMainPath and
// GetVersionText live in AppInfo.h.

// Paths and files. Paths compare exactly; "/" is the separator.

// The path without surrounding blanks, with "/" appended unless it already ends in "/" or "\".
QString AddBackslash(const QString& path);
// True when a file (not a folder) exists at the path.
bool FileExists(const QString& path);
bool FolderExists(const QString& path);
// The last component of the path ("/data/a.txt" -> "a.txt", "/data/b/" -> "b").
QString GetFileName(const QString& path);
// The path of the folder that holds the path, without a final "/" unless it is the root
// ("/data/a.txt" -> "/data", "/data" -> "/", "a.txt" -> "").
QString GetParentFolder(const QString& path);
// Deletes each listed file that exists, in order. Throws AppError when a file cannot be deleted.
void DeleteFiles(const QStringList& paths);
// Moves source to target, never onto an existing name or link. Returns true on success and leaves
// message alone; on failure returns false with message = "Error <number>. <description>".
bool RenameFile(const QString& source, const QString& target, QString& message);
// Writes the text as UTF-8, replacing the file atomically. An existing file is replaced only when
// the user answers Yes to the overwrite question; failures are shown in the error box.
// Returns true when the file was written.
bool SaveTextFile(const QString& path, const QString& text);

// Formats with fixed patterns, whatever the system locale. Each takes a QDate, a QDateTime or
// ISO text; a null or unconvertible value gives an empty text.

// MM/dd/yyyy
QString FormatDateText(const QVariant& value);
// MM/dd/yyyy hh:mm:ss AM|PM (12-hour clock)
QString FormatDateTimeText(const QVariant& value);
// MM/dd/yyyy h:mm AM|PM, the time of day as the date fields show it
QString FormatDateTimeMinutesText(const QVariant& value);
// yyyyMMddHHmmss, a sortable key for date columns
QString FormatTimestampText(const QVariant& value);
// "No" for null, zero and texts that read as zero; "Yes" for anything else.
QString FormatYesNoText(const QVariant& value);

// Texts. Searches ignore case.

// How often the delimiter occurs (non-overlapping, left to right). Throws AppError(ErrDivisionByZero) for an
// empty delimiter.
int CountDelimiters(const QString& text, const QString& delimiter);
// The text without its last n characters; empty when n is at least the length.
QString DropRightChars(const QString& text, int n);
// The characters from position start to position end, counted from 1; positions outside the
// text are clipped, and an empty text results when end is before start.
QString TextSlice(const QString& text, int start, int end);
// The text between the end of the first start marker and the first end marker; empty when
// either marker is missing or the end marker comes first.
QString TextBetween(const QString& text, const QString& startMarker, const QString& endMarker);
// The text without its trailing (leading) CR LF pairs; a lone CR or LF stays.
QString TrimTrailingNewLine(const QString& text);
QString TrimLeadingNewLine(const QString& text);
// The lines of a text file, in one pass: split at CR LF, LF or CR, each line without its end.
// A final line end starts no further line, so "a\r\n" is one line and "" none.
QStringList SplitLines(const QString& text);
// The 1-based position of the first occurrence, 0 when absent.
int InStrText(const QString& text, const QString& searchText);
// Whether the identity is an element of the comma-separated list (blanks in the list ignored).
bool InCommaList(const QString& identity, const QString& identityList);
// The plural used in captions and counts: "Series" stays, -s/-h get "es", -y becomes "ies",
// others get "s". Deliberately simple: "Box" gives "Boxs" and "Day" gives "Daies".
QString Plural(const QString& noun);

// The developers' scratch routine: does nothing with the text it is given.
void EmptyTestProc(const QString& text);
