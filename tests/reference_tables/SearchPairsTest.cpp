// Each search procedure "..._All" has its "..._One", which gives the same columns (names, order and
// logical types) for the one row whose identity it is given by name. The grid puts the row that
// "_One" returns beside the rows of "_All" after a save: a column that one has and the other lacks
// fails that one-row update, a column in another place or of another type shows in the wrong
// place or sorts wrongly.

#include "core/ProcedureCatalogue.h"
#include "core/Schema.h"
#include "support/SweepChecks.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

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
        if (!catalogue.contains(oneName)) {
            ADD_FAILURE() << name.toStdString() << " has no " << oneName.toStdString() << " beside it";
            continue;
        }
        ++pairs;
        ExpectSearchPairAgrees(*connection, name, oneName);
    }
    EXPECT_GT(pairs, 0) << "no search procedure pair was found in the catalogue";
}

INSTANTIATE_TEST_SUITE_P(Engines, SearchPairs, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
