// Linked (whole) into the tests and benchmarks: they use the PostgreSQL client linked in, where the
// program loads it from its folder.

#include "core/postgres/LibpqClient.h"

namespace {
[[maybe_unused]] const bool s_linked = [] {
    UsePostgresClient(LibpqClient());
    return true;
}();
}
