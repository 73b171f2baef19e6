#pragma once

#include <QString>

#include <utility>
#include <vector>

enum class Engine : int { SQLite = 0, PostgreSQL = 1 };

// The facts in which the two engines differ, in one place: the Qt driver, how the schema's column
// types are written, and what the server calls itself in error sources.
struct EngineFacts {
    Engine engine;
    const char* driver; // Qt SQL driver name
    const char* name; // as Settings.xml names it
    const char* fileSuffix; // engine variant of a catalogue file: <name>.<suffix>.sql
    const char* errorSource;
    // One row, one count: whether a table of this name (the bound value) exists.
    const char* tableExistsSql;
    // The tables of the database, one name a row.
    const char* tablesSql;
    // Tokens of the schema files and what each engine writes for them.
    std::vector<std::pair<QString, QString>> schemaTokens;
    // How a unit of work begins. A unit that will write takes the write lock at once on SQLite:
    // a unit that read first and then asked for it could be refused ("database is locked") while
    // another unit holds it, whatever the busy timeout.
    const char* beginWriteSql;
    const char* beginReadSql;
    // Whether the connection runs over a network to a server that can drop it (and the layer
    // opens it again).
    bool serverConnection;
    // Appended to a comparison of two texts that must match exactly, letter case included, even
    // where one side is a case-insensitive column.
    const char* exactCollation;
    // A column's value exactly as the engine stores it, as text ("%1" is the column; NULL stays
    // NULL), for a save to compare with later. SQLite gives the hexadecimal of the stored bytes,
    // so a text another program wrote with a NUL or bytes that are not UTF-8 reads back as
    // itself; PostgreSQL stores only valid texts, and gives the value's text.
    const char* storedValueSql;
    bool storedValueInHex;
};

const EngineFacts& FactsOf(Engine engine);
// Reads Settings.xml's Engine text (case-insensitive); an empty text is SQLite.
bool EngineFromName(const QString& name, Engine& engine);
