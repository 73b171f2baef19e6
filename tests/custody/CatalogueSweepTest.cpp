// Every procedure of the catalogue, called as a clerk and as an administrator, each a log-in made as
// Bramblecot_Main --add-user makes it. On PostgreSQL the server guards every statement, so a grant
// missing from the schema (a view a later migration made, say) shows here as the server's
// "permission denied" before any user meets it. The catalogue is read at run time: a procedure
// added later is called too. Each call runs in a unit that is rolled back, so the calls leave
// nothing behind and one call's rows never feed the next.

#include "cases/CaseProcedures.h"
#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/ProcedureCatalogue.h"
#include "core/TransactionGuard.h"
#include "custody/CustodyWindows.h"
#include "custody/ItemActionProcedures.h"
#include "list_controls/ListProcedures.h"
#include "support/CaseRows.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// A value a user could give a parameter of that type.
QVariant sampleOf(ParameterType type)
{
    switch (type) {
    case ParameterType::Text:
        return QStringLiteral("A");
    case ParameterType::Integer:
        return 1;
    case ParameterType::Number:
    case ParameterType::Money:
        return 1.5;
    case ParameterType::Date:
        return QDate(2024, 3, 7);
    case ParameterType::DateTime:
        return QDateTime(QDate(2024, 3, 7), QTime(21, 15));
    case ParameterType::Bit:
        return 1;
    }
    return {};
}

// Whether any of the procedure's statements changes rows or the schema. A procedure written in
// C++ may write; it is held to the writers' rule.
bool writes(const Procedure& procedure, Engine engine)
{
    static const QRegularExpression writing(
        QStringLiteral("\\b(INSERT|UPDATE|DELETE|MERGE|TRUNCATE|CREATE|ALTER|DROP|GRANT|REVOKE)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    if (procedure.native)
        return true;
    for (const ProcedureStatement& statement : procedure.statements(engine)) {
        if (writing.match(statement.sql).hasMatch())
            return true;
    }
    return false;
}

// The refusals the program words itself: the table permission and the change log's guard.
bool isProgramsRefusal(const QString& text)
{
    static const QRegularExpression programs(
        QStringLiteral("^You are not permitted to (Add|Edit|Delete) <[^>]+>\\.|^The change log keeps every row"));
    return programs.match(text).hasMatch();
}

bool isPermissionFailure(const QString& text)
{
    return text.contains(QLatin1String("permission denied"), Qt::CaseInsensitive) || text.contains(QLatin1String("42501"))
        || text.contains(QLatin1String("must be owner"), Qt::CaseInsensitive) || isProgramsRefusal(text);
}

class CatalogueSweep : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterListControlProcedures();
        RegisterCaseProcedures();
        RegisterCustodyWindows();
        RegisterItemActionProcedures();
        // A case and an item, so the procedures that join them have rows to join.
        const CaseClasses classes = InsertCaseClasses();
        ASSERT_NE(InsertItem(InsertCase(classes, QStringLiteral("C-1")), QStringLiteral("1")), 0);
    }

    // The text of the failure of one call, "" when it ran. The unit is rolled back either way.
    static QString call(const Procedure& procedure, const std::vector<QVariant>& arguments)
    {
        DatabaseConnection& connection = *DBConnection();
        try {
            TransactionGuard unit(connection);
            connection.callProcedure(procedure, arguments);
            unit.rollback();
            return {};
        } catch (const AppError& error) {
            return error.description().isEmpty() ? QStringLiteral("(failed without a text)") : error.description();
        }
    }

    void sweep()
    {
        const Engine engine = GetParam();
        const ProcedureCatalogue& catalogue = ProcedureCatalogue::instance();
        QStringList names = catalogue.names();
        names.sort(Qt::CaseInsensitive);
        ASSERT_FALSE(names.isEmpty());
        for (const QString& name : names) {
            const Procedure* procedure = catalogue.find(name);
            ASSERT_NE(procedure, nullptr);
            SCOPED_TRACE(name.toStdString());
            const bool writer = writes(*procedure, engine);
            std::vector<QVariant> empty(procedure->parameters.size());
            std::vector<QVariant> samples;
            for (const ProcedureParameter& parameter : procedure->parameters)
                samples.push_back(sampleOf(parameter.type));
            for (const std::vector<QVariant>* arguments : { &empty, &samples }) {
                const QString failure = call(*procedure, *arguments);
                if (failure.isEmpty() || !isPermissionFailure(failure))
                    continue;
                if (!writer)
                    ADD_FAILURE() << name.toStdString() << " reads, yet was refused: " << failure.toStdString();
                else if (!isProgramsRefusal(failure))
                    ADD_FAILURE() << name.toStdString() << " was refused without the program's words: "
                                  << failure.toStdString();
            }
        }
        // The connection is still usable after every refusal.
        EXPECT_TRUE(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Items")).has_value());
    }
};

class ClerkSweep : public CatalogueSweep {
protected:
    ClerkSweep() { logOn = TestLogOn::Clerk; }
};

class AdministratorSweep : public CatalogueSweep {
protected:
    AdministratorSweep() { logOn = TestLogOn::Administrator; }
};

TEST_P(ClerkSweep, EveryReadingProcedureRunsAndEveryWriterRunsOrIsRefusedInTheProgramsWords)
{
    sweep();
}

TEST_P(AdministratorSweep, EveryReadingProcedureRunsAndEveryWriterRunsOrIsRefusedInTheProgramsWords)
{
    sweep();
}

INSTANTIATE_TEST_SUITE_P(Engines, ClerkSweep, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_TEST_SUITE_P(Engines, AdministratorSweep, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
