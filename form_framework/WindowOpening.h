#pragma once

#include "core/OrderedDictionary.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <utility>
#include <vector>

class DataWindow;
class QWidget;

// Start parameters of a window, name to value, queued under the window's class name until the
// window's load takes them.
using FormParamDict = OrderedDictionary<QVariant>;

namespace FormParams {
bool contains(const QString& windowName);
// The entry queued for the window; throws AppError when none is queued.
FormParamDict& entry(const QString& windowName);
// Queues an entry, replacing a stale one left by an opening that failed.
void queue(const QString& windowName, const FormParamDict& parameters);
void remove(const QString& windowName);
} // namespace FormParams

// A window as a start parameter ("Control": the field another window serves).
QVariant ControlParameter(QWidget* control);
QWidget* ControlFromParameter(const QVariant& value);

// Opens a window by name with start parameters (names and values alternating); an identity other
// than 0 brings forward a window already showing that record.
DataWindow* OpenFormWithParams(const QString& windowName, int identity, const QVariantList& childFormArgs);
// Start parameters beside the mode: a new record's field presets by database field name
// ({ "Case_ID", 7 }), or the window's own ("Control", "DefaultValue", "PositionX", "PositionY").
using StartParameters = std::vector<std::pair<QString, QVariant>>;
// Opens a record window on the record in edit mode (start parameters "Mode" and "IdentityValue");
// a window already showing that record comes forward.
DataWindow* OpenRecordForEdit(const QString& windowName, int identity, const StartParameters& more = {});
// Opens a record window on a new record (start parameter "Mode"), with its presets.
DataWindow* OpenNewRecord(const QString& windowName, const StartParameters& presets = {});
// Opens a search window to pick a value for a field of another window; the field's window is
// disabled until the picker closes.
DataWindow* OpenPickerForm(QWidget* control, const QString& windowName);
DataWindow* ShowRecordForm(const QString& windowName, int identity);
DataWindow* ShowFormByName(const QString& windowName);
// Creates and loads a window of that class; nothing when its record could not be loaded.
DataWindow* LoadFormByName(const QString& windowName);
// Opens the search window the database names for a table, after the View permission.
void OpenTableForm(const QString& tableName);

bool Act_StandardProcessOnLoadMessage(DataWindow* window);
bool Act_StandardProcessOnLoadMessageSS(DataWindow* window);
