#include "core/WriteOnce.h"

#include "core/Connection.h"
#include "core/TransactionGuard.h"

#include <QUuid>

QString NewWriteKey() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

QVariant FindWrittenRecord(DatabaseConnection& connection, const WriteKey& key)
{
    // The names are the program's own (the windows' declarations), never read from the database.
    const Recordset found = connection.executeStatement(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(key.identityField, key.table, key.keyField), { key.key });
    return found.recordCount() > 0 ? found.valueAt(0, 0) : QVariant();
}

WriteOutcome WriteOnce(DatabaseConnection& connection, const WriteKey& key, const std::function<QVariant()>& write)
{
    WriteOutcome outcome;
    try {
        TransactionGuard unit(connection);
        const QVariant identity = write();
        unit.commit();
        outcome.state = WriteOutcome::State::Stored;
        outcome.identity = identity;
        return outcome;
    } catch (const AppError& error) {
        outcome.error = error;
    }
    // On a working connection the failed unit was rolled back: nothing was stored.
    if (!connection.connectionLost())
        return outcome;
    try {
        const QVariant identity = FindWrittenRecord(connection, key);
        if (!identity.isNull()) {
            outcome.state = WriteOutcome::State::Stored;
            outcome.identity = identity;
            outcome.error.reset();
        }
    } catch (const AppError& lookUp) {
        outcome.state = WriteOutcome::State::Unknown;
        outcome.error = lookUp;
    }
    return outcome;
}
