#pragma once

#include <QString>

#include <functional>

class DataWindow;

// The field listing of a record window (the tab-delimited command on a record window) is written
// by the export routines, which install it here; false when none is installed.
bool ShowFieldListing(DataWindow* window, const QString& title);
void SetFieldListing(std::function<void(DataWindow*, const QString&)> listing);
