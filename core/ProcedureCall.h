#pragma once

#include "core/CommandParser.h"

#include <QString>

#include <vector>

// The arguments of a catalogue procedure called from the program's own code: named, typed values
// ({ "Item_ID", 7 }, { "Note", QString() }, a null QVariant for NULL; whole and decimal numbers,
// text, dates, date-times and Booleans). They are converted to the parameters' declared types and
// bound as they are, exactly as the values of a parsed EXEC text: nothing is formatted into SQL.
using ProcedureArguments = std::vector<ProcedureArgument>;

// The call as the error dialog, the error log and a command observer show it:
// "EXEC name @A = 7, @B = 'O''Brien', @C = NULL". Only ever shown, never run or parsed.
QString ProcedureCallText(const QString& procedure, const ProcedureArguments& arguments);
