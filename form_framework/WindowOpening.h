#pragma once

#include "core/OrderedDictionary.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

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
