#pragma once

#include "core/EngineFacts.h"
#include "core/ErrorNumbers.h"
#include "core/ProcedureCatalogue.h"

#include <QString>
#include <QVariant>

// What the connection does with the values of a call before either engine sees them.

// Throws the AppError a refused command gives on this engine (its error source).
[[noreturn]] void RefuseCommand(Engine engine, const QString& message, qint32 number = ErrProviderCommand);

// Converts one argument to the parameter's declared type, as the server converts the arguments
// of a call; a value that does not convert, or does not fit the type, is refused with a message
// before anything runs. Dates and times become ISO text; money is rounded to 4 places.
QVariant ConvertArgument(Engine engine, const QString& parameter, const QVariant& value, ParameterType type);

// A NUL character ends a text for both engines' client libraries: a text value holding one is
// refused before it is sent, on both engines alike, rather than cut short or mangled on the way.
// `parameter` names it in the message (none for a statement's positional value).
void RefuseNulCharacter(Engine engine, const QVariant& value, const QString& parameter);
