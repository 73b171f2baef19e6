#pragma once

#include "declared_windows/DeclaredTable.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// The framework's own tables, declared as record and search window pairs: the permissions, the
// tables, actions and reports, the users, the user's and the database's options and the file
// update register.
std::vector<DeclaredTable> AdministrationTables();
// Registers every window of the tables above with the form registry.
void RegisterAdministrationTableForms();
// The tables above and the current-activity search window: every declaration of the library, what
// the declarations sweep checks.
std::vector<DeclaredTable> AdministrationDeclarations();

// What "<= Get From File" reads of a local file: the version text (empty: no version
// information) and the creation time where the file system keeps it, else the last change.
struct FileStamp {
    QString version;
    QDateTime dateTime;
};
std::optional<FileStamp> ReadFileStamp(const QString& path);
