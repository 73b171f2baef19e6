// The search procedures' plans for the criteria given: on SQLite each optional criterion
// "(:X IS NULL OR condition)" is replaced by what it means for the call before the statement is
// prepared, so an index on the condition's column can be used. The rows must stay exactly those of
// the statement as written: every catalogue procedure with such criteria runs both ways over the
// same small room, for several sets of filled criteria, on both engines.

#include "core/Connection.h"
#include "core/Database.h"
#include "core/ProcedureCatalogue.h"
#include "core/Recordset.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

QString series(Engine engine, int count)
{
    return engine == Engine::PostgreSQL
        ? QStringLiteral("generate_series(1, %1) AS s(n)").arg(count)
        : QStringLiteral("(WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %1) SELECT n FROM s) s")
              .arg(count);
}

// Every value of every row and the column names, as text.
QStringList rowsOf(const Recordset& rows)
{
    QStringList out;
    QString names;
    for (int column = 0; column < rows.fieldCount(); ++column)
        names += rows.fieldName(column) + QLatin1Char('|');
    out << names;
    for (int row = 0; row < rows.recordCount(); ++row) {
        QString line;
        for (int column = 0; column < rows.fieldCount(); ++column)
            line += (rows.isNullAt(row, column) ? QStringLiteral("<null>") : rows.valueAt(row, column).toString())
                + QLatin1Char('|');
        out << line;
    }
    return out;
}

class SearchPlans : public DatabaseTest {
protected:
    DatabaseConnection& db() { return *DBConnection(); }
    void run(const QString& sql) { db().executeStatement(sql); }

    // A small room: cases over six years, three items each, actions, batches and their members,
    // with the change log the triggers write, and an item whose case is gone.
    void fillRoom()
    {
        const Engine engine = GetParam();
        const QString date = engine == Engine::PostgreSQL
            ? QStringLiteral("timestamp '2015-01-01' + n * interval '73 days'")
            : QStringLiteral("datetime('2015-01-01', '+' || (n * 73) || ' days')");
        run(QStringLiteral("INSERT INTO Crime_Classes (Crime_Class_Name, Crime_Class_Code) VALUES ('Burglary', 'BU')"));
        run(QStringLiteral("INSERT INTO Felony_Classes (Felony_Class_Name, Felony_Class_Code) VALUES ('Class A', 'FA')"));
        run(QStringLiteral("INSERT INTO Property_Categories (Property_Category_Name, Property_Category_Code) "
                           "VALUES ('Evidence', 'EV')"));
        run(QStringLiteral("INSERT INTO Item_Statuses (Item_Status_Name, Item_Status_Code) VALUES ('Stored', 'ST')"));
        run(QStringLiteral("INSERT INTO Property_Types (Property_Type_Name, Property_Type_Code, Days_Until_Review, "
                           "Currency_Applicable) VALUES ('Bicycle', 'BI', 30, 0)"));
        run(QStringLiteral("INSERT INTO Employees (Payroll_Number) SELECT 'P' || n FROM %1").arg(series(engine, 3)));
        run(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code) VALUES ('Room', 'R')"));
        run(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) VALUES ('Shelf', 'S', 1)"));
        run(QStringLiteral("INSERT INTO Cases (Case_Date_Time, Case_Number, Crime_Class_ID, Felony_Class_ID, "
                           "Default_Property_Category_ID, Default_Submitting_Employee_ID) "
                           "SELECT %1, 'N-' || n, 1, 1, 1, 1 + n % 3 FROM %2")
                .arg(date, series(engine, 30)));
        run(QStringLiteral("INSERT INTO Items (Case_ID, Item_Number, Item_Status_ID, Item_Description, Property_Type_ID) "
                           "SELECT 1 + (n - 1) / 3, 'I-' || n, 1, 'Item ' || n, 1 FROM %1")
                .arg(series(engine, 90)));
        run(QStringLiteral("INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, "
                           "Item_Action_Type_Code, Item_Action_Time_ID, Related_DB_Table_ID) "
                           "SELECT 'Store', 'Stored', 'STORE', 2, DB_Table_ID FROM DB_Tables "
                           "WHERE DB_Table_Name = 'Item_Locations'"));
        run(QStringLiteral("INSERT INTO Item_Actions (Item_ID, Item_Action_Type_ID, Performed_By_Employee_ID, "
                           "Item_Action_Date_Time) SELECT 1 + n % 90, 1, 1 + n % 3, %1 FROM %2")
                .arg(date, series(engine, 30)));
        run(QStringLiteral("INSERT INTO Item_Actions (Case_ID, Item_Action_Type_ID, Performed_By_Employee_ID, "
                           "Item_Action_Date_Time) SELECT n, 1, 1, %1 FROM %2")
                .arg(date, series(engine, 10)));
        run(QStringLiteral("INSERT INTO Item_Locations (Item_Action_ID, Location_ID) "
                           "SELECT Item_Action_ID, 1 + Item_Action_ID % 2 FROM Item_Actions"));
        run(QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, Created_By_Employee_ID, Batch_Type_ID) "
                           "SELECT 'B-' || n, %1, 1, 1 FROM %2")
                .arg(date, series(engine, 3)));
        run(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Item_ID) SELECT 1 + n % 3, n FROM %1").arg(series(engine, 8)));
        run(QStringLiteral("INSERT INTO Batch_Items (Batch_ID, Case_ID) SELECT 1 + n % 3, n FROM %1").arg(series(engine, 4)));
        // An item whose case is gone, written past the foreign keys.
        run(engine == Engine::PostgreSQL ? QStringLiteral("SET session_replication_role = replica")
                                         : QStringLiteral("PRAGMA foreign_keys = OFF"));
        run(QStringLiteral("INSERT INTO Items (Case_ID, Item_Number, Item_Status_ID) VALUES (999, 'I-Orphan', 1)"));
        run(QStringLiteral("INSERT INTO Item_Actions (Item_ID, Item_Action_Type_ID, Performed_By_Employee_ID, "
                           "Item_Action_Date_Time) SELECT Item_ID, 1, 1, '2017-01-01' FROM Items WHERE Case_ID = 999"));
        run(engine == Engine::PostgreSQL ? QStringLiteral("SET session_replication_role = DEFAULT")
                                         : QStringLiteral("PRAGMA foreign_keys = ON"));
        ASSERT_EQ(run1(QStringLiteral("SELECT COUNT(*) FROM Items WHERE Case_ID = 999")), 1);
    }
    int run1(const QString& sql) { return db().executeStatement(sql).valueAt(0, 0).toInt(); }

    // The literal of a criterion: identities 1 or 2, a date within the room's years (or today, when
    // the change log's rows are wanted), a short text.
    static QString literal(const ProcedureParameter& parameter, int variant)
    {
        switch (parameter.type) {
        case ParameterType::Integer:
        case ParameterType::Bit:
            return QString::number(1 + variant % 2);
        case ParameterType::Number:
        case ParameterType::Money:
            return QStringLiteral("1.5");
        case ParameterType::Date:
        case ParameterType::DateTime: {
            if (variant == 2)
                return QLatin1Char('\'') + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('\'');
            const bool to = parameter.name.endsWith(QLatin1String("_To"), Qt::CaseInsensitive);
            return to ? QStringLiteral("'2018-06-30'") : QStringLiteral("'2016-06-01'");
        }
        case ParameterType::Text:
            return QStringLiteral("'N-1'");
        }
        return QStringLiteral("NULL");
    }
};

TEST_P(SearchPlans, GiveTheRowsOfTheStatementAsWritten)
{
    if (IsSkipped())
        return;
    fillRoom();
    if (HasFatalFailure())
        return;
    const ProcedureCatalogue& catalogue = ProcedureCatalogue::instance();
    int compared = 0;
    for (const QString& name : catalogue.names()) {
        const Procedure* procedure = catalogue.find(name);
        if (procedure->native || procedure->sqliteStatements.size() != 1 || procedure->sqliteCriteria.empty()
            || procedure->sqliteCriteria.front().criteria.empty())
            continue;
        const ProcedureStatement& written = procedure->statements(GetParam()).front();
        // No criterion, each alone, all of them, and all with today's date.
        std::vector<std::vector<int>> sets { {} };
        for (size_t i = 0; i < procedure->parameters.size(); ++i)
            sets.push_back({ static_cast<int>(i) });
        std::vector<int> all;
        for (size_t i = 0; i < procedure->parameters.size(); ++i)
            all.push_back(static_cast<int>(i));
        sets.push_back(all);
        sets.push_back(all);
        for (size_t set = 0; set < sets.size(); ++set) {
            const int variant = set + 1 == sets.size() ? 2 : static_cast<int>(set % 2);
            QStringList pairs;
            std::vector<QString> values(procedure->parameters.size());
            for (const int index : sets[set]) {
                const ProcedureParameter& parameter = procedure->parameters[static_cast<size_t>(index)];
                values[static_cast<size_t>(index)] = literal(parameter, variant);
                pairs << QLatin1Char('@') + parameter.name + QStringLiteral(" = ") + values[static_cast<size_t>(index)];
            }
            // The statement as written, its values bound as the catalogue binds them.
            std::vector<QVariant> bound;
            for (const int index : written.parameterOrder) {
                QString value = values[static_cast<size_t>(index)];
                if (value.startsWith(QLatin1Char('\'')))
                    value = value.mid(1, value.size() - 2);
                const ParameterType type = procedure->parameters[static_cast<size_t>(index)].type;
                if (value.isEmpty())
                    bound.emplace_back();
                else if (type == ParameterType::Integer || type == ParameterType::Bit)
                    bound.emplace_back(value.toLongLong());
                else if (type == ParameterType::Number || type == ParameterType::Money)
                    bound.emplace_back(value.toDouble());
                else
                    bound.emplace_back(value);
            }
            const QString call = QStringLiteral("EXEC ") + procedure->name + QLatin1Char(' ') + pairs.join(QStringLiteral(", "));
            SCOPED_TRACE(call.toStdString());
            const QStringList expected = rowsOf(db().executeStatement(written.sql, bound));
            const QStringList actual = rowsOf(db().execute(call));
            EXPECT_EQ(actual, expected);
            if (expected.size() > 1)
                ++compared;
        }
    }
    // The room gives rows to many of the calls, so the comparison is not of empty results alone.
    EXPECT_GT(compared, 20);
}

// On SQLite the criterion given reaches the planner: the index on its column finds the rows.
TEST_P(SearchPlans, UseTheIndexOfTheCriterionGiven)
{
    if (IsSkipped() || GetParam() != Engine::SQLite)
        return;
    struct Case {
        const char* procedure;
        std::vector<QVariant> arguments; // in declared order
        const char* index;
    };
    const std::vector<Case> cases {
        { "usp_Evd_Search_Items_All", { QVariant(), QVariant(), QVariant(7) }, "Items_Case_ID" },
        { "usp_DB_Rep_DB_Changes",
            { QVariant(), QVariant(), QVariant(), QVariant(), QStringLiteral("2024-03-05"), QStringLiteral("2024-03-05") },
            "DB_Change_Log_Time" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.procedure);
        const Procedure* procedure = ProcedureCatalogue::instance().find(QLatin1String(c.procedure));
        ASSERT_NE(procedure, nullptr);
        const auto statements = procedure->statementsFor(Engine::SQLite, c.arguments);
        ASSERT_EQ(statements.size(), 1u);
        EXPECT_FALSE(statements.front()->sql.contains(QLatin1String("IS NULL OR"), Qt::CaseInsensitive));
        std::vector<QVariant> bound;
        for (const int index : statements.front()->parameterOrder)
            bound.push_back(c.arguments[static_cast<size_t>(index)]);
        const Recordset plan = db().executeStatement(QStringLiteral("EXPLAIN QUERY PLAN ") + statements.front()->sql, bound);
        QString details;
        for (int row = 0; row < plan.recordCount(); ++row)
            details += plan.valueAt(row, plan.fieldCount() - 1).toString() + QLatin1Char('\n');
        EXPECT_TRUE(details.contains(QLatin1String(c.index))) << details.toStdString();
    }
}

// What counts as an optional criterion: a group of its own, not a function's arguments, a string
// or a group holding a comma; nested criteria are left to the outer one.
TEST(OptionalCriteria, AreFoundOnlyWhereTheyStandAlone)
{
    const Procedure procedure = ProcedureCatalogue::parse(QStringLiteral("usp_Test_Criteria"),
        QStringLiteral("-- @param A integer\n-- @param B text\n"
                       "SELECT 1 AS \"One\" FROM Cases c\n"
                       "WHERE (:A IS NULL OR c.Case_ID = :A)\n"
                       "  AND coalesce(:B IS NULL OR c.Case_Number = :B, 1)\n"
                       "  AND c.Case_Number <> '(:A IS NULL OR x)'\n"
                       "  AND (:B IS NULL OR c.Case_Number IN (:B, 'x'))\n"
                       "  AND NOT (:A IS NULL OR (c.Case_ID > :A AND (:B IS NULL OR c.Case_Number = :B)))"),
        QString(), QString());
    ASSERT_EQ(procedure.sqliteCriteria.size(), 1u);
    EXPECT_EQ(procedure.sqliteCriteria.front().criteria.size(), 3u);
    const auto none = procedure.statementsFor(Engine::SQLite, { QVariant(), QVariant() });
    EXPECT_EQ(none.front()->sql,
        QStringLiteral("SELECT 1 AS \"One\" FROM Cases c\n"
                       "WHERE (1)\n"
                       "  AND coalesce(? IS NULL OR c.Case_Number = ?, 1)\n"
                       "  AND c.Case_Number <> '(:A IS NULL OR x)'\n"
                       "  AND (1)\n"
                       "  AND NOT (1)"));
    const auto both = procedure.statementsFor(Engine::SQLite, { QVariant(3), QVariant(QStringLiteral("N")) });
    EXPECT_EQ(both.front()->sql,
        QStringLiteral("SELECT 1 AS \"One\" FROM Cases c\n"
                       "WHERE (c.Case_ID = ?)\n"
                       "  AND coalesce(? IS NULL OR c.Case_Number = ?, 1)\n"
                       "  AND c.Case_Number <> '(:A IS NULL OR x)'\n"
                       "  AND (c.Case_Number IN (?, 'x'))\n"
                       "  AND NOT ((c.Case_ID > ? AND (? IS NULL OR c.Case_Number = ?)))"));
    EXPECT_EQ(both.front()->parameterOrder, (std::vector<int> { 0, 1, 1, 1, 0, 1, 1 }));
    // The same criteria set twice: the statement compiled once.
    EXPECT_EQ(procedure.statementsFor(Engine::SQLite, { QVariant(4), QVariant(QStringLiteral("M")) }).front(),
        both.front());
    // PostgreSQL plans with the values itself: its statements stay as written.
    EXPECT_EQ(procedure.statementsFor(Engine::PostgreSQL, { QVariant(), QVariant() }).front(),
        &procedure.postgresStatements.front());
}

INSTANTIATE_TEST_SUITE_P(Engines, SearchPlans, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
