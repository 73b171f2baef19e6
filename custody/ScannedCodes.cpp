#include "custody/ScannedCodes.h"

#include "core/RecordCodes.h"
#include "core/SqlText.h"

#include <array>

namespace {

const std::array<ScannedKindFacts, 6>& kinds()
{
    static const std::array<ScannedKindFacts, 6> facts { {
        { ScannedKind::Case, QLatin1Char('C'), "Case", "SELECT Case_Number FROM Cases WHERE Case_ID = ", "frmCase",
            "Cases" },
        { ScannedKind::Item, QLatin1Char('I'), "Item", "SELECT Item_Number FROM Items WHERE Item_ID = ", "frmItem",
            "Items" },
        { ScannedKind::Employee, QLatin1Char('E'), "Employee",
            "SELECT Employee FROM vw_Evd_Employees WHERE Employee_ID = ", "frmEmployee", "Employees" },
        { ScannedKind::Batch, QLatin1Char('B'), "Batch", "SELECT Batch_Number FROM Batches WHERE Batch_ID = ",
            "frmBatch", "Batches" },
        { ScannedKind::Location, QLatin1Char('L'), "Location",
            "SELECT Location_Name FROM Full_Name_Locations WHERE Location_ID = ", "frmLocation", "Locations" },
        { ScannedKind::Notification, QLatin1Char('N'), "Notification",
            "SELECT CAST(Notification_ID AS VARCHAR(10)) FROM Notifications WHERE Notification_ID = ",
            "frmNotification", "Notifications" },
    } };
    return facts;
}

const QString Unknown = QStringLiteral("???");

} // namespace

const ScannedKindFacts* FactsOf(ScannedKind kind)
{
    for (const ScannedKindFacts& facts : kinds()) {
        if (facts.kind == kind)
            return &facts;
    }
    return nullptr;
}

QString ScannedCode::typeWord() const
{
    if (kind == ScannedKind::Unresolved)
        return QString();
    const ScannedKindFacts* facts = FactsOf(kind);
    return facts ? QLatin1String(facts->word) : Unknown;
}

ScannedCode ResolveScannedCode(const QString& code,
    const std::function<std::optional<QString>(const ScannedKindFacts& kind, int identity)>& lookUp)
{
    ScannedCode resolved;
    resolved.code = code;
    resolved.kind = ScannedKind::Unknown;
    resolved.value = Unknown;
    if (code.size() < 2 || code.at(1) != QLatin1Char('-'))
        return resolved;
    for (const ScannedKindFacts& facts : kinds()) {
        if (code.at(0).toUpper() != facts.prefix)
            continue;
        resolved.kind = facts.kind;
        const RecordCode read = ReadRecordCode(code, facts.prefix);
        if (read.reading != RecordCodeReading::Identity)
            return resolved;
        if (const std::optional<QString> value = lookUp(facts, read.identity)) {
            resolved.identity = read.identity;
            resolved.value = *value;
        }
        return resolved;
    }
    return resolved;
}

BulkRunPlan PlanBulkRun(const std::vector<ScannedCode>& codes, const BulkItemAction& action)
{
    BulkRunPlan plan;
    // Codes that would set the performer or the location but name no record: the rows after
    // them would be stored against the wrong person or place.
    QStringList unresolved;
    for (const ScannedCode& row : codes) {
        const bool setsPerformer = action.UseBarcode && row.kind == ScannedKind::Employee;
        if ((setsPerformer || row.kind == ScannedKind::Location) && row.identity <= 0)
            unresolved << AngleQuote(row.code);
    }
    if (!unresolved.isEmpty()) {
        plan.refusal = QStringLiteral("Unresolved barcodes: ") + unresolved.join(QStringLiteral(", ")) + QLatin1Char('.');
        return plan;
    }
    // The date goes to the minute: the seconds of "Now" are no part of the action.
    const QTime time = action.ActionDateTime.time();
    const QVariant when = action.ActionDateTime.isValid()
        ? QVariant(QDateTime(action.ActionDateTime.date(), QTime(time.hour(), time.minute())))
        : QVariant();
    int performer = action.PerformedByEmployeeID;
    int location = 0;
    for (size_t index = 0; index < codes.size(); ++index) {
        const ScannedCode& row = codes[index];
        if (row.kind == ScannedKind::Employee && action.UseBarcode)
            performer = row.identity;
        else if (row.kind == ScannedKind::Location)
            location = row.identity;
        if (!row.isSubject() || row.identity <= 0)
            continue;
        if (performer <= 0) {
            // Custody is never attributed to nobody.
            plan.refusal = QStringLiteral("No employee barcode before ") + AngleQuote(row.code) + QLatin1Char('.');
            plan.steps.clear();
            return plan;
        }
        plan.steps.push_back({ static_cast<int>(index),
            { { row.typeWord() + QStringLiteral("_ID"), row.identity },
                { QStringLiteral("Performed_By_Employee_ID"), performer },
                { QStringLiteral("Item_Action_Type_ID"), action.ActionTypeID },
                { QStringLiteral("Item_Action_Date_Time"), when },
                { QStringLiteral("Item_Action_Description"), trimBlanks(action.ActionDescription) },
                { QStringLiteral("Location_ID"), location } } });
    }
    return plan;
}

bool SameArguments(const ProcedureArguments& a, const ProcedureArguments& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].value != b[i].value || a[i].value.isNull() != b[i].value.isNull())
            return false;
    }
    return true;
}
