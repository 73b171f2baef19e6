#include "TransactionGuard.h"

TransactionGuard::TransactionGuard(DatabaseConnection& connection, UnitKind kind)
    : m_connection(connection)
{
    m_connection.beginTransaction(kind);
    m_open = true;
}

TransactionGuard::~TransactionGuard()
{
    if (!m_open)
        return;
    // A destructor may run while an exception is on its way out: a rollback that fails too has
    // nothing better to report than the failure that left the scope.
    try {
        rollback();
    } catch (...) {
    }
}

void TransactionGuard::commit()
{
    if (!m_open)
        return;
    m_open = false;
    m_connection.commitTransaction();
}

void TransactionGuard::rollback()
{
    if (!m_open)
        return;
    m_open = false;
    m_connection.rollbackTransaction();
}
