#pragma once

// Registers the report viewer, the report windows, the file tools and the test window with the
// form registry.
void RegisterAdministrationForms();
