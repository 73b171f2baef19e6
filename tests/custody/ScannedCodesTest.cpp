// The barcode window's model on its own: what a scanned code resolves to, and the inserts a bulk
// run plans from the codes in their order, with the identities the model holds (never a text read
// back from the list).

#include "custody/ScannedCodes.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

ScannedCode resolved(ScannedKind kind, int identity, const char* code)
{
    ScannedCode entry;
    entry.code = QString::fromLatin1(code);
    entry.kind = kind;
    entry.identity = identity;
    entry.value = identity > 0 ? QStringLiteral("found") : QStringLiteral("???");
    return entry;
}

// The plan's steps as "row: name=value, ..." lines.
QStringList stepsOf(const BulkRunPlan& plan)
{
    QStringList lines;
    for (const BulkStep& step : plan.steps) {
        QStringList pairs;
        for (const ProcedureArgument& argument : step.arguments) {
            const QString value = argument.value.typeId() == QMetaType::QDateTime
                ? argument.value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                : argument.value.toString();
            pairs << argument.name + QLatin1Char('=') + value;
        }
        lines << QString::number(step.row) + QStringLiteral(": ") + pairs.join(QStringLiteral(", "));
    }
    return lines;
}

TEST(ScannedCodes, OnlyACodeThatCanNameARecordIsLookedUp)
{
    const struct {
        const char* code;
        ScannedKind kind;
        QString type;
        int identity;
        QString value;
        int lookedUp; // the identity asked for; 0: none
    } cases[] = {
        { "c-0000000042", ScannedKind::Case, QStringLiteral("Case"), 42, QStringLiteral("CN-42"), 42 },
        { "L-7", ScannedKind::Location, QStringLiteral("Location"), 7, QStringLiteral("Room / Shelf"), 7 },
        { "N-9", ScannedKind::Notification, QStringLiteral("Notification"), 0, QStringLiteral("???"), 9 },
        { "I-12X", ScannedKind::Item, QStringLiteral("Item"), 0, QStringLiteral("???"), 0 },
        { "B-99999999999", ScannedKind::Batch, QStringLiteral("Batch"), 0, QStringLiteral("???"), 0 },
        { "X-1", ScannedKind::Unknown, QStringLiteral("???"), 0, QStringLiteral("???"), 0 },
        { "C42", ScannedKind::Unknown, QStringLiteral("???"), 0, QStringLiteral("???"), 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        int asked = 0;
        const ScannedCode entry = ResolveScannedCode(QString::fromLatin1(c.code),
            [&asked](const ScannedKindFacts& kind, int identity) -> std::optional<QString> {
                asked = identity;
                if (kind.kind == ScannedKind::Case)
                    return QStringLiteral("CN-%1").arg(identity);
                if (kind.kind == ScannedKind::Location)
                    return QStringLiteral("Room / Shelf");
                return std::nullopt;
            });
        EXPECT_EQ(entry.kind, c.kind);
        EXPECT_EQ(entry.typeWord(), c.type);
        EXPECT_EQ(entry.identity, c.identity);
        EXPECT_EQ(entry.value, c.value);
        EXPECT_EQ(asked, c.lookedUp);
    }
    EXPECT_EQ(ScannedCode().typeWord(), QString()) << "an unresolved row shows no type";
}

TEST(ScannedCodes, ABulkRunPlansEachSubjectWithThePerformerAndLocationBeforeIt)
{
    BulkItemAction action;
    action.ActionTypeID = 3;
    action.ActionDateTime = QDateTime(QDate(2026, 4, 3), QTime(14, 5, 37));
    action.ActionDescription = QStringLiteral("  O'Brien's shelf  ");
    const std::vector<ScannedCode> codes = {
        resolved(ScannedKind::Location, 5, "L-5"),
        resolved(ScannedKind::Employee, 7, "E-7"),
        resolved(ScannedKind::Item, 11, "I-11"),
        resolved(ScannedKind::Case, 0, "C-999"), // no record: skipped
        resolved(ScannedKind::Notification, 2, "N-2"), // nothing to act on
        resolved(ScannedKind::Employee, 8, "E-8"),
        resolved(ScannedKind::Batch, 4, "B-4"),
    };
    const QString rest = QStringLiteral(
        ", Item_Action_Type_ID=3, Item_Action_Date_Time=2026-04-03 14:05:00, Item_Action_Description=O'Brien's shelf, "
        "Location_ID=5");
    BulkRunPlan plan = PlanBulkRun(codes, action);
    EXPECT_TRUE(plan.refusal.isEmpty());
    EXPECT_EQ(stepsOf(plan),
        (QStringList { QStringLiteral("2: Item_ID=11, Performed_By_Employee_ID=7") + rest,
            QStringLiteral("6: Batch_ID=4, Performed_By_Employee_ID=8") + rest }));

    // The picked performer, the employee codes ignored.
    action.UseBarcode = false;
    action.PerformedByEmployeeID = 9;
    plan = PlanBulkRun(codes, action);
    ASSERT_EQ(plan.steps.size(), 2u);
    for (const BulkStep& step : plan.steps)
        EXPECT_EQ(step.arguments.at(1).value.toInt(), 9);

    const struct {
        const char* what;
        std::vector<ScannedCode> codes;
        bool useBarcode;
        QString refusal;
    } refused[] = {
        { "no employee code before the first subject",
            { resolved(ScannedKind::Item, 11, "I-11"), resolved(ScannedKind::Employee, 7, "E-7") }, true,
            QStringLiteral("No employee barcode before <I-11>.") },
        { "performer and location codes that name no record",
            { resolved(ScannedKind::Employee, 0, "E-999"), resolved(ScannedKind::Location, 0, "L-998"),
                resolved(ScannedKind::Item, 11, "I-11") },
            true, QStringLiteral("Unresolved barcodes: <E-999>, <L-998>.") },
        { "an unknown location code, with the performer picked",
            { resolved(ScannedKind::Employee, 0, "E-999"), resolved(ScannedKind::Location, 0, "L-998") }, false,
            QStringLiteral("Unresolved barcodes: <L-998>.") },
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        action.UseBarcode = r.useBarcode;
        action.PerformedByEmployeeID = r.useBarcode ? -1 : 9;
        plan = PlanBulkRun(r.codes, action);
        EXPECT_EQ(plan.refusal, r.refusal);
        EXPECT_TRUE(plan.steps.empty());
    }
}

} // namespace
