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
// read/write by default). Refuses a path that is a symbolic link. Returns an empty text on
// success, otherwise why the file could not be written.
QString WriteFileSafely(const QString& path, const QByteArray& bytes,
                        QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

// Opens the file for appending without following a symbolic link in its place, creating it with
// the given permissions (POSIX mode bits) when missing. False, with `why` set, when it cannot.
bool OpenForAppendNoFollow(QFile& file, const QString& path, int mode, QString& why);
