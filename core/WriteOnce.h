#pragma once

#include "core/AppError.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

class DatabaseConnection;

// A record that must never be written twice (a custody action and its details) carries a key the
// client makes for it, kept in a unique column. When its write fails on a connection that broke,
// the commit may have been stored with only its answer lost; the key, looked up on the reopened
// connection, tells which. A second attempt with the same key finds the first one's record rather
// than writing another.

// Where the key of a once-written record is kept, and the key itself.
struct WriteKey {
    QString table;
    QString identityField;
    QString keyField;
    QString key;
};

// A new key: a random UUID as text (36 characters).
QString NewWriteKey();

struct WriteOutcome {
    enum class State { Stored = 0, NotStored = 1, Unknown = 2 };
    State state = State::NotStored;
    // Stored: the record's identity.
    QVariant identity;
    // NotStored and Unknown: what failed (for Unknown, why the look-up could not be made).
    std::optional<AppError> error;
};

// Runs write (which returns the new identity or throws AppError) as one unit of its own on the
// connection, which must have no unit open. A failure on a lost connection is followed by the
// look-up of the key, which opens the connection again: found, the record was stored; not found,
// it was not; a look-up that fails too leaves the outcome Unknown, and the caller keeps the key for
// the next attempt. A failure on a working connection rolled the unit back: NotStored. Shows nothing.
WriteOutcome WriteOnce(DatabaseConnection& connection, const WriteKey& key, const std::function<QVariant()>& write);

// The identity of the record stored under the key; a null QVariant when there is none. Throws
// AppError when the database cannot be asked.
QVariant FindWrittenRecord(DatabaseConnection& connection, const WriteKey& key);
