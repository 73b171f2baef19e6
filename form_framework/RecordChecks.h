#pragma once

#include <QList>
#include <QString>

class BoundField;
class DataWindow;
class PickerField;
class QWidget;

// Deletes records by identity (after the Delete permission and the user's confirmation) and,
// when asked, tells every window. True when nothing failed, also when refused or cancelled.
bool Act_DeleteRecords(const QString& tableName, const QString& recordKind, const QString& recordName,
                       const QString& idList, bool broadcast);
// The message when another record of the table has the field's value; empty when unique.
QString CheckUniqueValue(BoundField* field, DataWindow* window);
// False (after its message, with the focus on focusControl) when another record has the same
// values in all the fields.
bool CheckUniqueCombination(const QList<BoundField*>& fields, DataWindow* window, QWidget* focusControl);
// Turns what was typed or scanned into an employee picker (Me, a payroll number, an E- code or an
// identity) into the employee's identity. "Me" (or "I") from a log-in without an employee, and no
// payroll number either, empties the picker and says that the log-in has no employee and that an
// administrator links one.
void ResolveEmployee(PickerField* picker);
// A name typed into a picker of a named table (an item model, a location) that matched no entry
// of the list: the record whose name column equals the text exactly becomes the picker's value,
// the lowest identity when several share the name. Nothing chosen and nothing typed, or a name no
// record has: the picker is left to its own validation.
void ResolveTypedName(PickerField* picker, const QString& table, const QString& identityColumn, const QString& nameColumn);
