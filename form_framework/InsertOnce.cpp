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

} // namespace

void InsertOnce(zInfo& info, const QString& keyField)
{
    auto pending = std::make_shared<PendingInsert>();
    QObject::connect(&info, &zInfo::ModeChanged, &info, [pending] { *pending = PendingInsert(); });
    zInfo* controller = &info;
    info.setInsertWriter([controller, keyField, pending](const PairDictionary& values) -> std::optional<QVariant> {
        DatabaseConnection* connection = DBConnection();
        if (!connection) {
            report(AppError(ErrConnectionUnusable,
                QStringLiteral("The connection cannot be used to perform this operation. It is either closed or "
                               "invalid in this context."),
                ApplicationTitle()));
            return std::nullopt;
        }
        const QString table = controller->MainTableName();
        const QString identityField = controller->IdentityField();
        WriteKey key { table, identityField, keyField, pending->key };
        try {
            // An earlier save of this record whose answer was lost may have stored it: that
            // record is the one to keep, with what the clerk changed since written onto it.
            if (!key.key.isEmpty()) {
                const QVariant stored = FindWrittenRecord(*connection, key);
                if (!stored.isNull()) {
                    const PairDictionary changed = GetChangedValues(pending->sent, values);
                    if (!changed.isEmpty())
                        connection->execute(BuildUpdateSQL(table, changed) + QStringLiteral("\r\nWHERE ")
                            + identityField + QStringLiteral(" = ") + QString::number(stored.toLongLong()));
                    *pending = PendingInsert();
                    return stored;
                }
            }
        } catch (const AppError& error) {
            report(error);
            return std::nullopt;
        }
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
            report(AppError(error.number(),
                error.description()
                    + QStringLiteral("\r\nWhether the record was stored could not be found out; saving it again "
                                     "stores it once."),
                error.source()));
        else
            report(error);
        return std::nullopt;
    });
}
