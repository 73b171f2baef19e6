#include "form_framework/InsertOnce.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/SqlText.h"
#include "core/WriteOnce.h"
#include "form_framework/DataWindow.h"
#include "form_framework/FormSnapshot.h"

#include <memory>

namespace {

// The key of the window's new record while an insert under it may have been stored, and the
// values that insert sent.
struct PendingInsert {
    QString key;
    PairDictionary sent;
};

// Reports as the save's own insert does ("Unable to Open Recordset" and the engine's text).
void report(const AppError& error)
{
    ActionScope action(
        QStringLiteral("modActFunctions"), QStringLiteral("Act_OpenRecordset"), QStringLiteral("Open Recordset"));
    action.run([&error] { throw error; });
}

// A failure after which whether the record was stored is still not known.
void reportUnknown(const AppError& error)
{
    report(AppError(error.number(),
        error.description()
            + QStringLiteral("\r\nWhether the record was stored could not be found out; saving it again stores it once."),
        error.source()));
}

// The program's connection; none is reported as the save's own statement would.
DatabaseConnection* connectionToUse()
{
    DatabaseConnection* connection = DBConnection();
    if (!connection)
        report(AppError(ErrConnectionUnusable,
            QStringLiteral("The connection cannot be used to perform this operation. It is either closed or invalid "
                           "in this context."),
            ApplicationTitle()));
    return connection;
}

} // namespace

void InsertOnce(zInfo& info, const QString& keyField)
{
    auto pending = std::make_shared<PendingInsert>();
    QObject::connect(&info, &zInfo::ModeChanged, &info, [pending] { *pending = PendingInsert(); });
    zInfo* controller = &info;
    // Asked before the save checks its fields: a record stored under the key is this record, and
    // checked as a second one it would clash with itself ("... already exists").
    info.setStoredInsertFinder([controller, keyField, pending](PairDictionary& sent) -> std::optional<QVariant> {
        if (pending->key.isEmpty())
            return QVariant();
        DatabaseConnection* connection = connectionToUse();
        if (!connection)
            return std::nullopt;
        try {
            const QVariant stored = FindWrittenRecord(
                *connection, WriteKey { controller->MainTableName(), controller->IdentityField(), keyField, pending->key });
            if (!stored.isNull())
                sent = pending->sent;
            return stored;
        } catch (const AppError& error) {
            reportUnknown(error);
            return std::nullopt;
        }
    });
    info.setInsertWriter([controller, keyField, pending](const PairDictionary& values) -> std::optional<QVariant> {
        DatabaseConnection* connection = connectionToUse();
        if (!connection)
            return std::nullopt;
        const QString table = controller->MainTableName();
        const QString identityField = controller->IdentityField();
        // A key kept from an earlier save was looked up by the finder just before: nothing is
        // stored under it, and this insert may use it again.
        WriteKey key { table, identityField, keyField, pending->key };
        if (key.key.isEmpty())
            key.key = NewWriteKey();
        PairDictionary row = values;
        row.set(keyField, SQLString(key.key));
        const QString sql = BuildInsertSQL(table, row) + QStringLiteral("\r\nRETURNING ") + identityField;
        const WriteOutcome outcome
            = WriteOnce(*connection, key, [connection, &sql] { return connection->execute(sql).valueAt(0, 0); });
        if (outcome.state == WriteOutcome::State::Stored) {
            *pending = PendingInsert();
            return outcome.identity;
        }
        // Until a save of this record is known to be stored, its key stays: a commit whose answer
        // was lost, even one the look-up did not find yet, is found by the next save.
        pending->key = key.key;
        pending->sent = values;
        const AppError& error = *outcome.error;
        if (outcome.state == WriteOutcome::State::Unknown)
            reportUnknown(error);
        else
            report(error);
        return std::nullopt;
    });
}
