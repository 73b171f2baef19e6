#include "custody/ItemActionProcedures.h"

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/ProcedureCatalogue.h"
#include "core/TransactionGuard.h"
#include "core/WriteOnce.h"
#include "form_framework/zDate.h"

namespace {

const QString kInsertItemAction = QStringLiteral("usp_Evd_Insert_Item_Action");

[[noreturn]] void refuse(const QString& message) { throw AppError(ErrProviderCommand, message, kInsertItemAction); }

// Argument positions, in the declared order.
enum Argument { ItemId, CaseId, BatchId, Performer, TypeId, DateTime, Description, LocationId, Key };

Recordset insertItemAction(DatabaseConnection& connection, const std::vector<QVariant>& arguments)
{
    const auto at
        = [&arguments](Argument which) -> const QVariant& { return arguments.at(static_cast<size_t>(which)); };
    const auto given = [&at](Argument which) {
        const QVariant& value = at(which);
        return !value.isNull() && value.toLongLong() > 0;
    };
    const int subjects = (given(ItemId) ? 1 : 0) + (given(CaseId) ? 1 : 0) + (given(BatchId) ? 1 : 0);
    if (subjects != 1)
        refuse(QStringLiteral("An item action concerns exactly one item, case or batch; nothing was inserted."));
    if (!given(Performer))
        refuse(QStringLiteral("An item action needs the employee who performed it; nothing was inserted."));

    // Only the given subject is written; a 0 or negative identity beside it stands for none.
    const auto subject = [&](Argument which) { return given(which) ? at(which) : QVariant(); };
    const QVariant key = at(Key).isNull() || at(Key).toString().isEmpty() ? QVariant() : at(Key);
    TransactionGuard unit(connection);
    // Under a key that is stored already the insert writes nothing: the action asked for is the one
    // a lost answer left behind, and its identity is answered again.
    const Recordset inserted = connection.executeStatement(
        QStringLiteral("INSERT INTO Item_Actions (Item_ID, Case_ID, Batch_ID, Item_Action_Type_ID, "
                       "Performed_By_Employee_ID, Item_Action_Date_Time, Item_Action_Description, Item_Action_Key) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (Item_Action_Key) DO NOTHING "
                       "RETURNING Item_Action_ID"),
        { subject(ItemId), subject(CaseId), subject(BatchId), at(TypeId), at(Performer), at(DateTime), at(Description),
            key });
    const bool written = inserted.recordCount() > 0;
    const QVariant actionId = written ? inserted.valueAt(0, 0)
                                      : FindWrittenRecord(connection,
                                          { QStringLiteral("Item_Actions"), QStringLiteral("Item_Action_ID"),
                                              QStringLiteral("Item_Action_Key"), key.toString() });
    if (written && given(LocationId)) {
        connection.executeStatement(
            QStringLiteral(
                "INSERT INTO Item_Locations (Item_Action_ID, Location_ID) "
                "SELECT ?, ? FROM Item_Action_Types t JOIN DB_Tables d ON d.DB_Table_ID = t.Related_DB_Table_ID "
                "WHERE t.Item_Action_Type_ID = ? AND lower(d.DB_Table_Name) = 'item_locations'"),
            { actionId, at(LocationId), at(TypeId) });
    }
    unit.commit();

    Recordset result;
    result.addResultSet({ { QStringLiteral("Item_Action_ID"), ColumnType::Integer } });
    result.appendInteger(0, actionId.toLongLong());
    result.finishRow();
    result.finishResultSet();
    return result;
}

// The item actions whose type keeps its details in detailTable, newest first: identity and
// "<subject> - <past-tense type> <date and time>", the moment in the general date form that the
// date fields and grids show, whatever text the engine gives it.
NativeProcedure actionsCarrying(const QString& detailTable)
{
    return [detailTable](DatabaseConnection& connection, const std::vector<QVariant>&) {
        const Recordset actions = connection.executeStatement(
            QStringLiteral("SELECT a.Item_Action_ID, COALESCE('Item ' || i.Item_Number, 'Case ' || c.Case_Number, "
                           "'Batch ' || b.Batch_Number) || ' - ' || t.Item_Action_Type_Name_Past, "
                           "a.Item_Action_Date_Time "
                           "FROM Item_Actions a "
                           "JOIN Item_Action_Types t ON t.Item_Action_Type_ID = a.Item_Action_Type_ID "
                           "JOIN DB_Tables d ON d.DB_Table_ID = t.Related_DB_Table_ID "
                           "LEFT JOIN Items i ON i.Item_ID = a.Item_ID "
                           "LEFT JOIN Cases c ON c.Case_ID = a.Case_ID "
                           "LEFT JOIN Batches b ON b.Batch_ID = a.Batch_ID "
                           "WHERE lower(d.DB_Table_Name) = ? "
                           "ORDER BY a.Item_Action_Date_Time DESC, a.Item_Action_ID DESC"),
            { detailTable });
        Recordset result;
        result.addResultSet({ { QStringLiteral("Item_Action_ID"), ColumnType::Integer },
            { QStringLiteral("Item_Action"), ColumnType::Text } });
        for (int row = 0; row < actions.recordCount(); ++row) {
            QString text = actions.valueAt(row, 1).toString();
            if (const std::optional<QDateTime> moment = zDate::ToDate(actions.valueAt(row, 2)))
                text += QLatin1Char(' ') + zDate::FormatDate(*moment, QString());
            result.appendInteger(0, actions.valueAt(row, 0).toLongLong());
            result.appendText(1, text);
            result.finishRow();
        }
        result.finishResultSet();
        return result;
    };
}

} // namespace

void RegisterItemActionProcedures()
{
    ProcedureCatalogue::instance().registerNative(kInsertItemAction,
        { { QStringLiteral("Item_ID"), ParameterType::Integer }, { QStringLiteral("Case_ID"), ParameterType::Integer },
            { QStringLiteral("Batch_ID"), ParameterType::Integer },
            { QStringLiteral("Performed_By_Employee_ID"), ParameterType::Integer },
            { QStringLiteral("Item_Action_Type_ID"), ParameterType::Integer },
            { QStringLiteral("Item_Action_Date_Time"), ParameterType::DateTime },
            { QStringLiteral("Item_Action_Description"), ParameterType::Text },
            { QStringLiteral("Location_ID"), ParameterType::Integer },
            { QStringLiteral("Item_Action_Key"), ParameterType::Text } },
        insertItemAction);
    ProcedureCatalogue::instance().registerNative(QStringLiteral("usp_Evd_DropDown_Item_Actions_Locations"), {},
        actionsCarrying(QStringLiteral("item_locations")));
    ProcedureCatalogue::instance().registerNative(QStringLiteral("usp_Evd_DropDown_Item_Actions_Transfers"), {},
        actionsCarrying(QStringLiteral("item_transfers")));
}
