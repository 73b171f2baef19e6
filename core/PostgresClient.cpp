#include "core/PostgresClient.h"

#include "core/AppError.h"
#include "core/EngineFacts.h"
#include "core/ProgramModules.h"

namespace {
PostgresClient* s_client = nullptr;
}

QString PostgresModuleFile()
{
    return QStringLiteral("bramblecot_postgres.so");
}

PostgresClient& RequirePostgresClient()
{
    if (s_client)
        return *s_client;
    QString error;
    using Factory = PostgresClient* (*)();
    const auto factory
        = reinterpret_cast<Factory>(ResolveProgramModule(PostgresModuleFile(), "bramblecot_postgres_client", error));
    PostgresClient* client = factory ? factory() : nullptr;
    if (!client)
        throw AppError(ErrProviderFailure,
            QStringLiteral("The PostgreSQL engine could not be loaded: ")
                + (error.isEmpty() ? PostgresModuleFile() + QStringLiteral(" gave no client.") : error),
            QString::fromLatin1(FactsOf(Engine::PostgreSQL).errorSource));
    s_client = client;
    return *client;
}

void UsePostgresClient(PostgresClient& client)
{
    s_client = &client;
}

pg_conn* PostgresHandle(const QVariant& driverHandle)
{
    // Qt normalises a typedef'd pointer to the struct's name, so both spellings are accepted.
    if (!driverHandle.isValid()
        || (qstrcmp(driverHandle.typeName(), "PGconn*") != 0 && qstrcmp(driverHandle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<pg_conn* const*>(driverHandle.constData());
}
