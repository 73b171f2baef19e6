#pragma once

#include "core/OrderedDictionary.h"
#include "form_framework/FormTypes.h"

#include <QList>
#include <QString>

#include <functional>

class BoundField;
class DataWindow;

// The field controls of a window, in the window's control order.
QList<BoundField*> FieldsOf(const DataWindow* window);
// The literal a field contributes to a snapshot: the stored (foreign-key) literal for text and
// number fields, the value's literal for every other kind.
QString SnapshotLiteral(const BoundField& field);

// Field name to SQL literal of the window's fields: every field of the record on a record window,
// the filled criteria on a search window.
PairDictionary GetFormSnapshot(const DataWindow* window);
// The entries of the new snapshot whose literal differs from the old one, paired by field name.
PairDictionary GetChangedValues(const PairDictionary& oldSnapshot, const PairDictionary& newSnapshot);
// Tells every loaded window that rows of a table were added (1), updated (2) or deleted (3).
void BroadcastDataChanged(DataChangedAction action, const QString& tableName, const QString& idList);
// Something kept outside the windows (a shared picker list) that hears every broadcast first.
using DataChangedListener = std::function<void(DataChangedAction action, const QString& tableName, const QString& idList)>;
void AddDataChangedListener(DataChangedListener listener);
