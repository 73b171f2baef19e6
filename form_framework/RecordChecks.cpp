#include "form_framework/RecordChecks.h"

#include "core/Actions.h"
#include "form_framework/BoundField.h"
#include "form_framework/DataWindow.h"
#include "core/Database.h"
#include "form_framework/FormSnapshot.h"
#include "core/MessageBoxes.h"
#include "core/Permissions.h"
#include "form_framework/PickerField.h"
#include "core/Platform.h"
#include "core/RecordCodes.h"
#include "core/SqlText.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"

#include <QRegularExpression>
#include <QWidget>

#include <optional>

namespace {

// "= literal", or "IS NULL" for an empty member: NULL never equals anything.
QString equalsLiteral(const QString& literal)
{
    return literal.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0 ? QStringLiteral("IS NULL") : QStringLiteral("= ") + literal;
}

long long countOf(const QString& sql)
{
    const auto value = GetSQLValue(sql);
    return value ? value->toLongLong() : 0;
}

} // namespace

bool Act_DeleteRecords(const QString& tableName, const QString& recordKind, const QString& recordName, const QString& idList,
                       bool broadcast)
{
    ActionScope action(QStringLiteral("modActFunctions"), QStringLiteral("Act_DeleteRecords"), QStringLiteral("Delete Record(s)"));
    return action.run([&] {
        if (!CheckTablePermission(QStringLiteral("Delete"), tableName, true))
            return;
        const int count = static_cast<int>(idList.count(QLatin1Char(','))) + 1;
        const QString objectText = count == 1 ? recordKind + QStringLiteral(" ") + AngleQuote(recordName)
                                              : QString::number(count) + QStringLiteral(" ") + recordKind + QStringLiteral(" Records");
        if (ConfirmDelete(objectText) != MsgBox::Yes)
            return;
        action.setDescription(QStringLiteral("Delete ") + objectText);
        // The identities go into the statement, so they must be nothing but numbers.
        static const QRegularExpression identities(QStringLiteral("^\\s*-?\\d+\\s*(,\\s*-?\\d+\\s*)*$"));
        if (!identities.match(idList).hasMatch())
            RaiseToReport(QStringLiteral("Invalid identity list ") + AngleQuote(idList));
        const auto idField = GetSQLValue(QStringLiteral("SELECT DB_ID_Field FROM DB_Tables WHERE DB_Table_Name = ") + SQLString(tableName));
        if (!idField || NullToString(*idField).isEmpty())
            RaiseToReport(QStringLiteral("The table ") + AngleQuote(tableName) + QStringLiteral(" has no identity field registered."));
        // Both names enter the statement as text; the identity field is read from the database,
        // where whoever can write DB_Tables could otherwise plant SQL for an administrator to run.
        const QString table = RequirePlainIdentifier(tableName, QStringLiteral("table name"));
        const QString identity = RequirePlainIdentifier(NullToString(*idField).trimmed(),
                                                        QStringLiteral("identity field of the table ") + AngleQuote(tableName));
        if (!Act_ExecuteSQLTrans(QStringLiteral("DELETE FROM ") + table + QStringLiteral("\r\nWHERE ") + identity
                                 + QStringLiteral(" IN (") + idList + QStringLiteral(")")))
            RaiseSilent();
        if (broadcast)
            BroadcastDataChanged(DataChangedAction::Deleted, tableName, idList);
    });
}

QString CheckUniqueValue(BoundField* field, DataWindow* window)
{
    if (field->Value().isNull())
        return {};
    zInfo* info = window->info();
    QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + info->MainTableName() + QStringLiteral(" WHERE ") + field->DBFieldName()
        + QStringLiteral(" ") + equalsLiteral(field->ResultDBValue());
    if (info->Mode() == FormMode::Edit && info->zID())
        sql += QStringLiteral("\r\nAND ") + info->IdentityField() + QStringLiteral(" <> ") + info->zID()->DBValue();
    if (countOf(sql) > 0)
        return info->FormCaption() + QStringLiteral(" with ") + field->GoodName() + QStringLiteral(" ") + AngleQuote(field->Text())
            + QStringLiteral(" already exists in the database");
    return {};
}

bool CheckUniqueCombination(const QList<BoundField*>& fields, DataWindow* window, QWidget* focusControl)
{
    if (fields.isEmpty())
        return true;
    zInfo* info = window->info();
    QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + info->MainTableName() + QStringLiteral("\r\n");
    QString names;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        BoundField* field = fields.at(i);
        sql += (i == 0 ? QStringLiteral("WHERE ") : QStringLiteral("AND ")) + field->DBFieldName() + QStringLiteral(" ")
            + equalsLiteral(field->ResultDBValue()) + QStringLiteral("\r\n");
        names += (i == 0 ? QString() : QStringLiteral(" and ")) + field->GoodName() + QStringLiteral(" ") + AngleQuote(field->Text());
    }
    if (info->Mode() == FormMode::Edit && info->zID())
        sql += QStringLiteral("AND ") + info->IdentityField() + QStringLiteral(" <> ") + info->zID()->DBValue();
    if (countOf(sql) > 0) {
        ShowValidationMessage(QStringLiteral("Combination of ") + names + QStringLiteral(" already exists in the database."));
        if (focusControl)
            focusControl->setFocus();
        return false;
    }
    return true;
}

void ResolveEmployee(PickerField* picker)
{
    if (picker->IsMissing() || picker->Value().toInt() >= 1)
        return;
    const QString text = picker->Text().trimmed();
    const bool me = text.compare(QLatin1String("I"), Qt::CaseInsensitive) == 0
        || text.compare(QLatin1String("Me"), Qt::CaseInsensitive) == 0;
    if (me) {
        std::unique_ptr<Recordset> mine = OpenRecordset(QStringLiteral("EXEC usp_Evd_Get_Me"), false);
        if (mine && !mine->eof() && !mine->value(0).isNull()) {
            picker->setValue(mine->value(0).toInt());
            return;
        }
    }
    std::unique_ptr<Recordset> payroll
        = OpenRecordset(QStringLiteral("SELECT Employee_ID FROM Employees WHERE Payroll_Number = ") + SQLString(text), false);
    if (payroll && !payroll->eof()) {
        picker->setValue(payroll->value(0).toInt());
        return;
    }
    // "Me" from a log-in that no employee is linked to names no one: the user is told why, rather
    // than offered to add an employee of that name, and the field is left for a real choice.
    if (me) {
        picker->setText(QString());
        ShowValidationMessage(QStringLiteral("This log-in ") + AngleQuote(UserName())
            + QStringLiteral(" has no employee, so ") + AngleQuote(text)
            + QStringLiteral(" names no one. An administrator links an employee to the log-in in its User window."));
        return;
    }
    // An employee record code, or a bare identity; anything else (a sign, a blank, an eleventh
    // digit, a number beyond 32 bits) leaves the picker unresolved: its own validation reports it.
    std::optional<int> identity;
    const RecordCode code = ReadRecordCode(text, QLatin1Char('E'));
    if (code.reading == RecordCodeReading::Identity)
        identity = code.identity;
    else if (code.reading == RecordCodeReading::NotACode)
        identity = ReadIdentityNumber(text);
    if (identity)
        picker->setValue(*identity);
}

void ResolveTypedName(PickerField* picker, const QString& table, const QString& identityColumn, const QString& nameColumn)
{
    if (picker->Value().toInt() != -1)
        return;
    const QString text = picker->Text().trimmed();
    if (text.isEmpty())
        return;
    // The names are identifiers of ours, never user text; the typed text goes as a literal.
    const std::optional<QVariant> found = GetSQLValue(QStringLiteral("SELECT ") + identityColumn + QStringLiteral(" FROM ")
        + table + QStringLiteral(" WHERE ") + nameColumn + QStringLiteral(" = ") + SQLString(text) + QStringLiteral(" ORDER BY ")
        + identityColumn + QStringLiteral(" LIMIT 1"));
    if (!found || found->isNull())
        return;
    const int identity = found->toInt();
    picker->setValue(identity);
    // A record added since the list was filled (by another user, say) joins the list first.
    if (picker->Value().toInt() != identity) {
        picker->AddItemsByID(QString::number(identity));
        picker->setValue(identity);
    }
}
