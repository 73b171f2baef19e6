// Each search procedure "..._All" has its "..._One", which gives the same columns (names, order and
// logical types) for the one row whose identity it is given by name. The grid puts the row that
// "_One" returns beside the rows of "_All" after a save: a column that one has and the other lacks
// fails that one-row update, a column in another place or of another type shows in the wrong
// place or sorts wrongly.

#include "core/AppError.h"
#include "core/ColumnType.h"
#include "core/ProcedureCatalogue.h"
#include "core/Schema.h"
#include "support/TestDatabase.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The result's columns as "Name:Type", and its first row's first value: the identity.
struct Shape {
    QStringList columns;
    QVariant firstIdentity;
    QString failure; // the engine's error when the procedure could not run
};

Shape shapeOf(DatabaseConnection& connection, const Procedure& procedure, const QString& identityName = {},
    const QVariant& identity = {})
{
    std::vector<QVariant> arguments;
    for (const ProcedureParameter& parameter : procedure.parameters)
        arguments.push_back(parameter.name.compare(identityName, Qt::CaseInsensitive) == 0 ? identity : QVariant());
    Shape shape;
    try {
        const Recordset result = connection.callProcedure(procedure, arguments);
        for (int column = 0; column < result.fieldCount(); ++column)
            shape.columns << result.fieldName(column) + QLatin1Char(':') + ColumnTypeName(result.fieldType(column));
        if (result.recordCount() > 0 && result.fieldCount() > 0)
            shape.firstIdentity = result.valueAt(0, 0);
    } catch (const AppError& error) {
        shape.failure = error.description();
    }
    return shape;
}

bool hasParameter(const Procedure& procedure, const QString& name) { return procedure.parameterIndex(name) >= 0; }

class SearchPairs : public ::testing::TestWithParam<Engine> { };

TEST_P(SearchPairs, EveryOneProcedureGivesTheColumnsOfItsAll)
{
    if (!RequireEngine(GetParam()))
        GTEST_SKIP() << "no PostgreSQL cluster is running";
    const TestDatabase database(GetParam());
    const std::unique_ptr<DatabaseConnection> connection = database.connect();
    LoadSampleData(*connection);

    const ProcedureCatalogue& catalogue = ProcedureCatalogue::instance();
    const QLatin1String all("_All");
    const QLatin1String one("_One");
    int pairs = 0;
    for (const QString& name : catalogue.names()) {
        // A "_One" without its "_All" serves no grid.
        if (name.endsWith(one, Qt::CaseInsensitive)) {
            EXPECT_TRUE(catalogue.contains(name.chopped(one.size()) + all))
                << name.toStdString() << " has no " << all.data() << " beside it";
            continue;
        }
        if (!name.endsWith(all, Qt::CaseInsensitive))
            continue;
        const QString oneName = name.chopped(all.size()) + one;
        const Procedure* searchOne = catalogue.find(oneName);
        if (!searchOne) {
            ADD_FAILURE() << name.toStdString() << " has no " << oneName.toStdString() << " beside it";
            continue;
        }
        ++pairs;
        const Shape rows = shapeOf(*connection, *catalogue.find(name));
        if (!rows.failure.isEmpty()) {
            ADD_FAILURE() << name.toStdString() << " cannot run: " << rows.failure.toStdString();
            continue;
        }
        if (rows.firstIdentity.isNull()) {
            ADD_FAILURE() << name.toStdString() << " lists no row of the sample data to look up with "
                          << oneName.toStdString();
            continue;
        }
        const QString identityName = rows.columns.first().section(QLatin1Char(':'), 0, 0);
        if (!hasParameter(*searchOne, identityName)) {
            ADD_FAILURE() << oneName.toStdString() << " takes no @" << identityName.toStdString()
                          << ", the identity that " << name.toStdString() << " gives first";
            continue;
        }
        const Shape row = shapeOf(*connection, *searchOne, identityName, rows.firstIdentity);
        if (!row.failure.isEmpty()) {
            ADD_FAILURE() << oneName.toStdString() << " cannot run: " << row.failure.toStdString();
            continue;
        }
        EXPECT_EQ(
            row.columns.join(QStringLiteral(", ")).toStdString(), rows.columns.join(QStringLiteral(", ")).toStdString())
            << oneName.toStdString() << " gives other columns than " << name.toStdString();
        EXPECT_EQ(row.firstIdentity, rows.firstIdentity)
            << oneName.toStdString() << " did not return the row it was asked for";
    }
    EXPECT_GT(pairs, 0) << "no search procedure pair was found in the catalogue";
}

INSTANTIATE_TEST_SUITE_P(Engines, SearchPairs, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
