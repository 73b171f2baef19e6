#pragma once

// Registers the report viewer, the report windows, the file tools, the test window and the
// windows of the framework tables (permissions, users, options, file updates) with the
// form registry.
void RegisterAdministrationForms();
