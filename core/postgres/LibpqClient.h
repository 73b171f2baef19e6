#pragma once

#include "core/PostgresClient.h"

// The PostgreSQL client over libpq: what the module bramblecot_postgres.so gives the program, and
// what the tests and benchmarks link in.
PostgresClient& LibpqClient();
