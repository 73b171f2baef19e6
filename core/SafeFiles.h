#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Files the program writes for its user (exports, mail-merge data files, the error log, installed
// updates) are never written through a symbolic link planted where the file should be, and new
// ones are readable by their owner only: the data of an evidence room leaves no copy for others.

// True when the path itself is a symbolic link (dangling or not).
bool IsSymbolicLink(const QString& path);

// Writes the bytes to the path as one atomic replacement, with the given permissions (owner
// read/write by default): a new file is made exclusively beside the target (never through a link,
// owner-only until it is complete), written, flushed to the disk and renamed over the target, so
// a link swapped in at any moment is replaced, never written through, and a failed write (a full
// disk) leaves the old file as it was and no temporary file behind. Refuses a path that is a
// symbolic link when called. Returns an empty text on success, otherwise the sentence the user
// reads, naming the file and saying what the system said ("Cannot write <path>: No space left on
// device.").
QString WriteFileSafely(const QString& path, const QByteArray& bytes,
                        QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

// Opens the file for appending without following a symbolic link in its place, creating it with
// the given permissions (POSIX mode bits) when missing. False, with `why` set, when it cannot.
bool OpenForAppendNoFollow(QFile& file, const QString& path, int mode, QString& why);
