#pragma once

#include "loader/UpdateSource.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// One line of an update's filelist.txt: "name => destination folder".
struct UpdateFileLine {
    QString name;
    // The folder the file goes to, "$(AppPath)" resolved, with "/" for "\".
    QString destinationFolder;
    // The full, clean path of the file there; the key of the files already brought in this run.
    QString destinationFile;
    // The folder the file must stay inside: the program folder for "$(AppPath)", else the
    // absolute folder the line names.
    QString baseFolder;
};

// Splits a line of a file list. "$(AppPath)" (any letter case) stands for the program folder
// (mainPath, ending in "/"); any other destination must be an absolute folder. A name or a
// destination with a ".." component is refused, so no file lands outside the program folder or
// the absolute folder its line names. Returns nothing, with the reason in failure, for a line
// that cannot be used.
std::optional<UpdateFileLine> ParseUpdateFileLine(const QString& line, const QString& mainPath, QString& failure);

// The longest line a list may hold, in UTF-8 bytes: the longest path a file name can have.
constexpr qsizetype kMaxListLineBytes = 4096;

// The lines of a list file: split at CR LF, LF or CR, blanks around each removed, empty ones dropped.
// A line longer than kMaxListLineBytes raises AppError (ErrToReport) naming the list (listName) and
// the line's number, or is left out when lenient.
QStringList ListLines(const QString& text, const QString& listName, bool lenient = false);

// Installs the updates of an update location that the current user has not installed yet: newest
// (last in updates.txt) first, each file copied only once per run, so the newest copy wins; each
// update is recorded in the per-user store (section "Updates") once all its files are in place.
// Failures raise AppError (ErrToReport); the update being installed then stays unrecorded.
class UpdateInstaller {
public:
    using StatusSink = std::function<void(const QString&)>;

    UpdateInstaller(const UpdateSource& source, StatusSink status);

    // Reads updates.txt; false when the location has no update list.
    bool GetUpdateList();
    // Installs the listed updates; true when at least one was not installed before.
    bool InstallUpdates();

    static bool IsInstalled(const QString& update);

private:
    // The usable lines of an update's file list; a bad line raises, unless lenient.
    std::vector<UpdateFileLine> GetFileList(const QString& update, const QString& text, bool lenient) const;
    void InstallUpdate(const QString& update);
    void NoteInstalledFiles(const QString& update);
    static void CheckStaysInside(const QString& update, const UpdateFileLine& file);
    void CopyUpdateFile(const QString& update, const UpdateFileLine& line);

    const UpdateSource& m_source;
    StatusSink m_status;
    QStringList m_updateList;
    // Destination files already written (or owned by a newer installed update) in this run.
    QSet<QString> m_copiedFiles;
};
