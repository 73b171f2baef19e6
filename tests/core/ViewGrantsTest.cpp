#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Schema.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// A log-in made as --add-user makes it reads every view of the database, as it reads every table:
// the views of the shipped migrations and a view a later upgrade makes, without a grant by hand.
namespace {

TEST(ViewGrants, AClerkAndAnAdministratorReadEveryViewAlsoOneOfALaterUpgrade)
{
    if (!RequireEngine(Engine::PostgreSQL))
        GTEST_SKIP() << "no PostgreSQL cluster is running";
    TestDatabase database(Engine::PostgreSQL);
    auto owner = database.connect();
    // What a later migration would make; the refresh that ends every upgrade grants it.
    owner->executeStatement(QStringLiteral("CREATE VIEW vw_Later_Items AS SELECT Item_ID FROM Items"));
    RefreshChangeLogTriggers(*owner);
    const Recordset views = owner->executeStatement(
        QStringLiteral("SELECT viewname FROM pg_views WHERE schemaname = current_schema() ORDER BY viewname"));
    ASSERT_GE(views.recordCount(), 4) << "the shipped views and the later one";

    const QString prefix = QStringLiteral("view_reader_%1_").arg(QCoreApplication::applicationPid());
    for (const bool administrator : { false, true }) {
        const QString login = prefix + (administrator ? QStringLiteral("admin") : QStringLiteral("clerk"));
        SCOPED_TRACE(login.toStdString());
        database.createLogin(login, QStringLiteral("Reader1"), administrator);
        auto reader = database.connect(Credentials { false, login, QStringLiteral("Reader1") });
        for (int row = 0; row < views.recordCount(); ++row) {
            const QString view = views.valueAt(row, 0).toString();
            try {
                reader->executeStatement(QStringLiteral("SELECT * FROM %1 LIMIT 1").arg(view));
            } catch (const AppError& error) {
                ADD_FAILURE() << view.toStdString() << ": " << error.description().toStdString();
            }
            // Nobody but the owner writes through a view.
            EXPECT_THROW(reader->executeStatement(QStringLiteral("DELETE FROM %1").arg(view)), AppError) << view.toStdString();
        }
    }
}

} // namespace
