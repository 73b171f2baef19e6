#pragma once

#include "core/RemoteLocation.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The text with "/" appended unless it already ends in "/" or "\" (blanks around it removed):
// joins the parts of an http or ftp address.
QString AddSlash(const QString& text);

// The update location of Settings.xml: a folder, or an http, https, ftp or ftps address, holding
// updates.txt and one sub-folder per update with its filelist.txt and files. Every failure raises
// AppError (ErrToReport) with the description the user reads.
class UpdateSource {
public:
    // The location as Settings.xml gives it. A relative folder is taken under the program folder,
    // so the result does not depend on where the loader was started from.
    explicit UpdateSource(const QString& location);

    bool isEmpty() const { return m_location.isEmpty(); }
    // False for a folder that does not exist or cannot be entered (a shared folder that is not
    // mounted, a path mistyped in Settings.xml). Remote addresses are answered by their transfers.
    bool reachable() const;
    // The location as the messages name it: the folder (under the program folder when relative)
    // or the address.
    const QString& location() const { return m_location; }

    // The text of updates.txt, or nothing when the location has no update list: no location, a
    // missing local file, a remote "not found", or a remote answer that is a page ("<...").
    std::optional<QString> readUpdateList() const;
    // The text of an update's filelist.txt. Raises when it cannot be read or fetched.
    QString readFileList(const QString& update) const;
    // The same, or nothing when it cannot be had (an update already installed is not worth
    // stopping the start for).
    std::optional<QString> tryReadFileList(const QString& update) const;

    // Where the lists are, as the messages name them: a path, or an address.
    QString updateListName() const;
    QString fileListName(const QString& update) const;

    // Checks, before anything of an update is written, what can be checked of one of its files:
    // the local source exists and the destination folder exists. Raises the copy's own failure.
    void checkFile(const QString& update, const QString& name, const QString& destinationFile) const;
    // Copies or downloads a file of an update to the destination file, replacing it atomically:
    // a failed transfer leaves the old file as it was and no partial file behind.
    void installFile(const QString& update, const QString& name, const QString& destinationFile) const;

private:
    QString address(const QString& update, const QString& name) const;
    QString localPath(const QString& update, const QString& name) const;
    static void checkLocalCopy(const QString& source, const QString& destination);
    void copyLocalFile(const QString& source, const QString& destination) const;
    void downloadFile(const QString& address, const QString& destination) const;

    QString m_location;
    bool m_remote = false;
};

// Decodes a list file (UTF-8, a byte-order mark ignored).
QString DecodeListText(const QByteArray& data);
