// The module bramblecot_postgres.so: the program loads it from its folder the first time it opens
// a PostgreSQL connection (RequirePostgresClient).

#include "core/postgres/LibpqClient.h"

extern "C" Q_DECL_EXPORT PostgresClient* bramblecot_postgres_client()
{
    return &LibpqClient();
}
