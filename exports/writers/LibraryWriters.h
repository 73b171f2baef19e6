#pragma once

#include "exports/ExportWriters.h"

// The export writers over libxlsxwriter and libzint: what the module bramblecot_writers.so gives
// the program, and what the tests and benchmarks link in.
ExportWriters& LibraryWriters();
