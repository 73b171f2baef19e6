// The modules the program loads from its folder on first use: a missing or foreign file is named,
// never a crash, and a module put in place later is found; the built modules do the work of the
// code the tests link in.

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/PostgresClient.h"
#include "core/ProgramModules.h"
#include "core/postgres/LibpqClient.h"
#include "exports/ExportWriters.h"
#include "exports/writers/LibraryWriters.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// The program folder is `folder` for the scope's lifetime.
class MainPathScope {
public:
    explicit MainPathScope(const QString& folder)
        : m_previous(GetMainPath())
    {
        SetMainPath(folder);
    }
    ~MainPathScope() { SetMainPath(m_previous); }

private:
    QString m_previous;
};

const QString kBuiltFolder = QStringLiteral(BRAMBLECOT_PROGRAM_DIR);

template <class Interface> Interface* builtModule(const QString& file, const char* factory)
{
    MainPathScope scope(kBuiltFolder);
    QString error;
    void* symbol = ResolveProgramModule(file, factory, error);
    EXPECT_NE(symbol, nullptr) << error.toStdString();
    return symbol ? reinterpret_cast<Interface* (*)()>(symbol)() : nullptr;
}
} // namespace

TEST(ProgramModules, AMissingOrForeignModuleIsNamedAndOnePutInPlaceLaterIsFound)
{
    QTemporaryDir folder;
    MainPathScope scope(folder.path());
    const QString file = ExportWritersModuleFile();
    QString error;
    EXPECT_EQ(ResolveProgramModule(file, "bramblecot_export_writers", error), nullptr);
    EXPECT_EQ(error, GetMainPath() + file + QStringLiteral(" is missing."));

    QFile foreign(folder.filePath(file));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a shared object\n");
    foreign.close();
    error.clear();
    EXPECT_EQ(ResolveProgramModule(file, "bramblecot_export_writers", error), nullptr);
    EXPECT_FALSE(error.isEmpty());

    // A module without the factory asked for is not taken for it.
    ASSERT_TRUE(QFile::remove(folder.filePath(file)));
    ASSERT_TRUE(QFile::copy(kBuiltFolder + QLatin1Char('/') + PostgresModuleFile(), folder.filePath(file)));
    error.clear();
    EXPECT_EQ(ResolveProgramModule(file, "bramblecot_export_writers", error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("is not the module it should be"))) << error.toStdString();

    ASSERT_TRUE(QFile::remove(folder.filePath(file)));
    ASSERT_TRUE(QFile::copy(kBuiltFolder + QLatin1Char('/') + file, folder.filePath(file)));
    error.clear();
    EXPECT_NE(ResolveProgramModule(file, "bramblecot_export_writers", error), nullptr) << error.toStdString();
}

// An interrupted copy leaves a module shorter than its headers say: the loader would map it and
// the program die of SIGBUS at its first use. It is refused and named instead, wherever it was cut.
TEST(ProgramModules, AModuleCutShortIsRefusedBeforeItIsLoaded)
{
    QTemporaryDir folder;
    MainPathScope scope(folder.path());
    const QString file = PostgresModuleFile();
    QFile built(kBuiltFolder + QLatin1Char('/') + file);
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    const QByteArray whole = built.readAll();
    ASSERT_GT(whole.size(), 64 * 1024);
    struct Cut {
        const char* where;
        qsizetype size;
    };
    const Cut cuts[] = {
        { "within the ELF header", 40 },
        { "after the headers, in the first segment", 4096 },
        { "in the middle", whole.size() / 2 },
        { "in the section headers at the end", whole.size() - 100 },
    };
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(cut.where);
        QFile cutFile(folder.filePath(file));
        ASSERT_TRUE(cutFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cutFile.write(whole.left(cut.size));
        cutFile.close();
        QString error;
        EXPECT_EQ(ResolveProgramModule(file, "bramblecot_postgres_client", error), nullptr);
        EXPECT_TRUE(error.startsWith(GetMainPath() + file + QStringLiteral(" is cut short"))) << error.toStdString();
    }
    // Copied whole again, it is found.
    QFile again(folder.filePath(file));
    ASSERT_TRUE(again.open(QIODevice::WriteOnly | QIODevice::Truncate));
    again.write(whole);
    again.close();
    QString error;
    EXPECT_NE(ResolveProgramModule(file, "bramblecot_postgres_client", error), nullptr) << error.toStdString();
}

TEST(ProgramModules, TheBuiltWritersDrawTheBarcodeTheLinkedWritersDraw)
{
    auto* writers = builtModule<ExportWriters>(ExportWritersModuleFile(), "bramblecot_export_writers");
    ASSERT_NE(writers, nullptr);
    ASSERT_NE(writers, &LibraryWriters());
    const QImage built = writers->code39(QStringLiteral("I-0000000042"), 2, 60, nullptr);
    ASSERT_FALSE(built.isNull());
    EXPECT_EQ(built, LibraryWriters().code39(QStringLiteral("I-0000000042"), 2, 60, nullptr));
    QString error;
    EXPECT_TRUE(writers->code39(QStringLiteral("I#42"), 2, 60, &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

TEST(ProgramModules, TheBuiltPostgresClientRunsTheConnection)
{
    if (!RequireEngine(Engine::PostgreSQL))
        return;
    auto* client = builtModule<PostgresClient>(PostgresModuleFile(), "bramblecot_postgres_client");
    ASSERT_NE(client, nullptr);
    ASSERT_NE(client, &LibpqClient());
    UsePostgresClient(*client);
    struct Restore {
        ~Restore() { UsePostgresClient(LibpqClient()); }
    } restore;
    TestDatabase database(Engine::PostgreSQL);
    auto connection = database.connect();
    Recordset sum = connection->executeStatement(QStringLiteral("SELECT ?::int + 1 AS \"Sum\""), { 41 });
    EXPECT_EQ(sum.valueAt(0, 0).toInt(), 42);
    EXPECT_EQ(sum.fieldType(0), ColumnType::Integer);
    // A catalogue procedure: prepared on the server once, its columns read once.
    for (int call = 0; call < 2; ++call) {
        Recordset user = connection->execute(QStringLiteral("EXEC usp_DB_Get_Current_DB_User_ID"));
        EXPECT_EQ(user.recordCount(), 1);
        EXPECT_EQ(user.fieldName(0), QStringLiteral("DB_User_ID"));
    }
    try {
        connection->executeStatement(QStringLiteral("SELECT * FROM no_such_table"));
        FAIL() << "a missing table ran";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.description().contains(QStringLiteral("42P01"))) << error.description().toStdString();
    }
}
