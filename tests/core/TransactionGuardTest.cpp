#include "core/TransactionGuard.h"
#include "core/AppError.h"
#include "core/Connection.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

// A connection of its own (not the program's): the guard works on any connection.
class TransactionGuardTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        m_connection = m_database->connect();
        m_connection->executeStatement(QStringLiteral("CREATE TABLE Boxes (Box_ID INTEGER PRIMARY KEY)"));
        // Checked at commit, not at the insert: the engine refuses the commit itself.
        m_connection->executeStatement(QStringLiteral("CREATE TABLE Tags (Tag_ID INTEGER PRIMARY KEY, Box_ID INTEGER "
                                                      "REFERENCES Boxes(Box_ID) DEFERRABLE INITIALLY DEFERRED)"));
    }

    void insertBox(int id)
    {
        m_connection->executeStatement(QStringLiteral("INSERT INTO Boxes (Box_ID) VALUES (?)"), { id });
    }

    int boxes()
    {
        return m_connection->executeStatement(QStringLiteral("SELECT COUNT(*) FROM Boxes")).valueAt(0, 0).toInt();
    }

    std::unique_ptr<DatabaseConnection> m_connection;
};

TEST_P(TransactionGuardTest, ALeftScopeRollsBackWhateverLeftIt)
{
    // An early return.
    const auto insertUnlessRefused = [&](bool refused) {
        TransactionGuard unit(*m_connection);
        insertBox(1);
        if (refused)
            return;
        unit.commit();
    };
    insertUnlessRefused(true);
    EXPECT_EQ(m_connection->transactionDepth(), 0);
    EXPECT_EQ(boxes(), 0);

    // An exception, which goes on to the caller.
    EXPECT_THROW(
        {
            TransactionGuard unit(*m_connection);
            insertBox(1);
            throw std::runtime_error("stop");
        },
        std::runtime_error);
    EXPECT_EQ(m_connection->transactionDepth(), 0);
    EXPECT_EQ(boxes(), 0);

    // A failing statement inside the unit takes the rows before it with it.
    EXPECT_THROW(
        {
            TransactionGuard unit(*m_connection);
            insertBox(1);
            insertBox(1);
            unit.commit();
        },
        AppError);
    EXPECT_EQ(m_connection->transactionDepth(), 0);
    EXPECT_EQ(boxes(), 0);
}

TEST_P(TransactionGuardTest, CommitsOnceAndLeavesNothingToRollBack)
{
    {
        TransactionGuard unit(*m_connection);
        insertBox(1);
        unit.commit();
        EXPECT_FALSE(unit.isOpen());
        EXPECT_EQ(m_connection->transactionDepth(), 0);
        // A second commit and the end of the scope touch nothing: the row stays.
        unit.commit();
        unit.rollback();
    }
    EXPECT_EQ(boxes(), 1);

    // An inner guard's commit is only its level's: the outer rollback still takes everything.
    {
        TransactionGuard outer(*m_connection);
        {
            TransactionGuard inner(*m_connection);
            insertBox(2);
            inner.commit();
        }
        EXPECT_EQ(m_connection->transactionDepth(), 1);
    }
    EXPECT_EQ(m_connection->transactionDepth(), 0);
    EXPECT_EQ(boxes(), 1);
}

TEST_P(TransactionGuardTest, ARefusedCommitAppliesNothingAndEndsOnlyItsLevel)
{
    // The engine refuses the commit: the tag names a box that does not exist.
    {
        TransactionGuard unit(*m_connection);
        insertBox(1);
        m_connection->executeStatement(QStringLiteral("INSERT INTO Tags (Tag_ID, Box_ID) VALUES (1, 99)"));
        EXPECT_THROW(unit.commit(), AppError);
        EXPECT_FALSE(unit.isOpen());
    }
    EXPECT_EQ(m_connection->transactionDepth(), 0);
    EXPECT_EQ(boxes(), 0);

    // An inner level refused because the unit was spoilt: the outer level is still counted, and
    // only its own end closes the unit.
    {
        TransactionGuard outer(*m_connection);
        insertBox(1);
        {
            TransactionGuard inner(*m_connection);
            EXPECT_THROW(insertBox(1), AppError);
            EXPECT_THROW(inner.commit(), AppError);
        }
        EXPECT_EQ(m_connection->transactionDepth(), 1);
        EXPECT_THROW(outer.commit(), AppError);
    }
    EXPECT_EQ(m_connection->transactionDepth(), 0);
    EXPECT_EQ(boxes(), 0);

    // The connection carries on.
    TransactionGuard unit(*m_connection);
    insertBox(3);
    unit.commit();
    EXPECT_EQ(boxes(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, TransactionGuardTest, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
