// Coverage-guided fuzzing of the command-text reader: whatever bytes arrive, it either refuses
// them with the server's kind of error or gives a call or exactly one statement, and a statement
// it gave is read back as the same single statement.
#include "core/AppError.h"
#include "core/CommandParser.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool isProcedure(const QString& name) { return name.startsWith(QLatin1String("usp_"), Qt::CaseInsensitive); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ParsedCommand command;
    try {
        command = ParseCommandText(text, isProcedure);
    } catch (const AppError&) {
        return 0;
    }
    if (command.kind == ParsedCommand::Kind::Statement) {
        // The statement without its final ";" must read as itself again.
        const ParsedCommand again = ParseCommandText(command.statement, isProcedure);
        if (again.kind != ParsedCommand::Kind::Statement || again.statement != command.statement)
            std::abort();
    }
    return 0;
}
