#pragma once

#include "declared_windows/DeclaredTable.h"

// The files attached to items (frmItemFile, frmItemFiles): the path shown for the file register's
// identity, the picture's preview and the programs that open it. Registered by
// RegisterItemFileWindows (custody/CustodyWindows.h).
DeclaredTable ItemFilesTable();
