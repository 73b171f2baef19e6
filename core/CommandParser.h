#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

// What a command text is. A text whose first word is EXEC or EXECUTE, or the name of a catalogue
// procedure, is a procedure call; every other text is exactly one SQL statement. The call parser is
// strict: it takes only the shapes the program builds (positional literals, then @name = literal
// pairs; string literals with doubled quotes, numbers, NULL), so no text a user
// typed can reach the engines as SQL through a call: argument values are bound, never spliced.
struct ProcedureArgument {
    QString name; // without the "@"; empty for a positional value, named by the connection
    // A null QVariant for NULL; qlonglong, double or QString otherwise (a whole number too large
    // for 64 bits keeps its digits, as text).
    QVariant value;
};

struct ParsedCommand {
    enum class Kind { Call, Statement };
    Kind kind = Kind::Statement;
    QString procedureName;
    std::vector<ProcedureArgument> arguments;
    QString statement;
};

// Throws AppError (the server's refusal number) for a malformed call, an unterminated string, a
// repeated argument or a second statement.
ParsedCommand ParseCommandText(const QString& text, const std::function<bool(const QString&)>& isProcedure);
