#pragma once

struct DeclaredTable;

// "Current Activity": the server's processes on the current database as the log-in may see them
// (on the embedded database, this program's own process). A search window with no record window
// behind it: no New, Edit, Delete or record history, and a double click opens nothing.
const DeclaredTable& CurrentActivityDeclaration();
