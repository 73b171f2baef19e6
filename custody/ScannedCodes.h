#pragma once

#include "core/ProcedureCall.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The barcode window's model: each scanned code with what it was resolved to. The list on the
// screen shows these; nothing the program works with is read back from its texts.

// What a code stands for, from its prefix.
enum class ScannedKind : int { Unresolved = 0, Unknown = 1, Case = 2, Item = 3, Employee = 4, Batch = 5, Location = 6, Notification = 7 };

// What a kind of record means for the window: the type word the list shows and every step reads,
// the look-up of the record's value (the identity is appended as digits), its record window and
// the table whose Edit permission opening it needs.
struct ScannedKindFacts {
    ScannedKind kind;
    QChar prefix;
    const char* word;
    const char* lookUp;
    const char* window;
    const char* table;
};
// Nothing for Unresolved and Unknown.
const ScannedKindFacts* FactsOf(ScannedKind kind);

struct ScannedCode {
    QString code; // as entered, trimmed
    ScannedKind kind = ScannedKind::Unresolved;
    int identity = 0; // the record's; 0 while unresolved and when no record was found
    QString value; // the record's number or name; "???" when none
    bool done = false; // the bulk action stored this row's action
    // The action asked for this row while it is not known to be stored: the key it is written under
    // and the values it was asked with.
    QString actionKey;
    ProcedureArguments actionValues;

    // The type word the list shows: empty while unresolved, "???" for an unknown prefix.
    QString typeWord() const;
    bool isSubject() const { return kind == ScannedKind::Case || kind == ScannedKind::Item || kind == ScannedKind::Batch; }
};

// The row's code resolved: its kind by prefix (the letter in any case) and, for a code that can
// name a record, the record's identity and the value lookUp answers for it (nothing: no record).
// A code no record could have ("C-12X", "B-99999999999") is not looked up.
ScannedCode ResolveScannedCode(const QString& code,
    const std::function<std::optional<QString>(const ScannedKindFacts& kind, int identity)>& lookUp);

// The values of a bulk item action, set up in the item-action window and handed to the run.
struct BulkItemAction {
    int ActionTypeID = 0;
    bool UseBarcode = true; // employee codes in the list set the performer
    int PerformedByEmployeeID = -1; // the performer at the start of the run
    QDateTime ActionDateTime;
    QString ActionDescription;
};

// One insert of a bulk run: the row of the list and the values of usp_Evd_Insert_Item_Action
// (without the row's key).
struct BulkStep {
    int row = 0;
    ProcedureArguments arguments;
};

// A bulk run over the list: why it may not start (empty when it may), and otherwise one step per
// case, item and batch row of a found record, each performed by the performer and at the location
// of the employee and location codes before it.
struct BulkRunPlan {
    QString refusal;
    std::vector<BulkStep> steps;
};
BulkRunPlan PlanBulkRun(const std::vector<ScannedCode>& codes, const BulkItemAction& action);

bool SameArguments(const ProcedureArguments& a, const ProcedureArguments& b);

Q_DECLARE_METATYPE(ScannedCode)
