#pragma once

#include "core/Connection.h"

// A unit of work on a connection as a scope: begun when the guard is made, rolled back when the
// scope is left without commit(), by an early return or an exception.
//
//     TransactionGuard unit(connection);
//     connection.executeStatement(...);
//     unit.commit();
//
// Guards nest as the connection's transactions do: only the outermost one reaches the engine, and
// a rollback at any level spoils the whole unit. commit() ends the guard's level whether it
// succeeds or not: a refused commit throws the connection's AppError and leaves nothing for the
// guard to roll back, so the enclosing levels keep their count.
class TransactionGuard {
public:
    explicit TransactionGuard(DatabaseConnection& connection, UnitKind kind = UnitKind::Write);
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;

    void commit();
    // Rolls the unit back now rather than at the end of the scope.
    void rollback();
    // True until commit() or rollback() ended the guard's level.
    bool isOpen() const { return m_open; }

private:
    DatabaseConnection& m_connection;
    bool m_open = false;
};
