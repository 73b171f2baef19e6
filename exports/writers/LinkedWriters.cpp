// Linked (whole) into the tests and benchmarks: they use the export writers linked in, where the
// program loads them from its folder.

#include "exports/writers/LibraryWriters.h"

namespace {
[[maybe_unused]] const bool s_linked = [] {
    UseExportWriters(LibraryWriters());
    return true;
}();
}
