#include "core/Actions.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "support/PromptRecorder.h"
#include "core/Schema.h"
#include "core/SqlText.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <vector>

// The countries, states and genders every new database starts with, made by the production
// migrations, and how they meet the sample rows and rows a database already has.
namespace {

class StartingRows : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
    }

    static QVariant value(const QString& sql)
    {
        const auto found = GetSQLValue(sql);
        return found ? *found : QVariant(QStringLiteral("no row"));
    }
    static int number(const QString& sql) { return value(sql).toInt(); }
    static int countryID(const char* code2)
    {
        return number(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = ")
            + SQLString(QString::fromLatin1(code2)));
    }
    static int statesOf(const char* code2)
    {
        return number(QStringLiteral("SELECT COUNT(*) FROM States WHERE Country_ID = %1").arg(countryID(code2)));
    }
    static int rows(const char* table)
    {
        return number(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));
    }

    // Runs the ISO migration's statements once more, as an upgrade from the version before it would.
    static void applyIsoMigration()
    {
        DatabaseConnection& connection = *DBConnection();
        for (const QString& statement : SchemaStatements(connection, QStringLiteral("0011_iso_countries_states")))
            connection.executeStatement(statement);
    }
};

TEST_P(StartingRows, CountriesCarryTheirIsoCodesAndNumber)
{
    const struct {
        const char* code2;
        const char* name;
        const char* code3;
        int number;
    } cases[] = {
        { "DE", "Germany", "DEU", 276 },
        { "US", "United States", "USA", 840 },
        { "AF", "Afghanistan", "AFG", 4 }, // "004": the number, not the text
        { "CI", "C\u00f4te d'Ivoire", "CIV", 384 }, // a quote and a letter outside ASCII
        { "AX", "\u00c5land Islands", "ALA", 248 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code2);
        const QString where
            = QStringLiteral(" FROM Countries WHERE Country_Code_2 = ") + SQLString(QString::fromLatin1(c.code2));
        EXPECT_EQ(value(QStringLiteral("SELECT Country_Name") + where).toString(), QString::fromUtf8(c.name));
        EXPECT_EQ(value(QStringLiteral("SELECT Country_Code_3") + where).toString(), QString::fromLatin1(c.code3));
        EXPECT_EQ(value(QStringLiteral("SELECT Country_Number_3") + where).toInt(), c.number);
        EXPECT_TRUE(value(QStringLiteral("SELECT Country_Telephone_Prefix") + where).isNull());
    }
    EXPECT_EQ(number(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_3 = 'deu'")), countryID("DE"))
        << "codes compare case-insensitively";
}

TEST_P(StartingRows, StatesAreTheFirstLevelSubdivisionsCodedWithinTheirCountry)
{
    const struct {
        const char* country;
        const char* code;
        const char* name;
    } states[] = {
        { "US", "CA", "California" },
        { "US", "NY", "New York" },
        { "US", "DC", "District of Columbia" },
        { "CA", "QC", "Quebec" },
        { "DE", "BY", "Bayern" },
        { "GB", "SCT", "Scotland" },
        { "UY", "CA", "Canelones" },
        // A state name is unique across all countries: names several countries use keep their code.
        { "US", "FL", "Florida (US-FL)" },
        { "UY", "FD", "Florida (UY-FD)" },
    };
    for (const auto& s : states) {
        SCOPED_TRACE(std::string(s.country) + "-" + s.code);
        EXPECT_EQ(value(QStringLiteral("SELECT State_Name FROM States WHERE Country_ID = %1 AND State_Code = %2")
                            .arg(countryID(s.country))
                            .arg(SQLString(QString::fromLatin1(s.code))))
                      .toString(),
            QString::fromUtf8(s.name));
    }
    // Lower levels (counties, provinces of a region) have a parent and are left out.
    const struct {
        const char* country;
        int states;
    } counts[] = { { "GB", 4 }, { "DE", 16 }, { "US", 57 }, { "AQ", 0 } };
    for (const auto& c : counts)
        EXPECT_EQ(statesOf(c.country), c.states) << c.country;
}

TEST_P(StartingRows, AStateCodeMayStandInSeveralCountries)
{
    EXPECT_GE(number(QStringLiteral("SELECT COUNT(DISTINCT Country_ID) FROM States WHERE State_Code = 'CA'")), 2);
    ASSERT_TRUE(Act_ExecuteSQL(
        QStringLiteral("INSERT INTO States (Country_ID, State_Name, State_Code) VALUES (%1, 'Neuland', 'CA')")
            .arg(countryID("DE"))));
    EXPECT_EQ(statesOf("DE"), 17);
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(StartingRows, TheGendersTheProgramNeeds)
{
    const struct {
        const char* name;
        const char* code;
    } genders[] = { { "Female", "F" }, { "Male", "M" }, { "Unknown", "U" } };
    for (const auto& g : genders)
        EXPECT_EQ(value(QStringLiteral("SELECT Gender_Code FROM Genders WHERE Gender_Name = ")
                      + SQLString(QString::fromLatin1(g.name)))
                      .toString(),
            QString::fromLatin1(g.code));
}

TEST_P(StartingRows, SampleDataAddsNoSecondCountryStateOrGenderAndChangesNothingTwice)
{
    ASSERT_TRUE(Act_ExecuteSQL(
        QStringLiteral("UPDATE Countries SET Country_Telephone_Prefix = '001' WHERE Country_Code_2 = 'CA'")));
    const int countries = rows("Countries"), states = rows("States"), genders = rows("Genders");

    LoadSampleData(*DBConnection());
    EXPECT_EQ(rows("Countries"), countries);
    EXPECT_EQ(rows("States"), states);
    EXPECT_EQ(rows("Genders"), genders);
    EXPECT_EQ(
        value(QStringLiteral("SELECT Country_Telephone_Prefix FROM Countries WHERE Country_Code_2 = 'US'")).toString(),
        QStringLiteral("1"));
    EXPECT_EQ(
        value(QStringLiteral("SELECT Country_Telephone_Prefix FROM Countries WHERE Country_Code_2 = 'MX'")).toString(),
        QStringLiteral("52"));
    EXPECT_EQ(
        value(QStringLiteral("SELECT Country_Telephone_Prefix FROM Countries WHERE Country_Code_2 = 'CA'")).toString(),
        QStringLiteral("001"))
        << "a prefix the database holds is kept";

    const int changes = rows("DB_Change_Log");
    LoadSampleData(*DBConnection());
    EXPECT_EQ(rows("DB_Change_Log"), changes) << "a second load writes nothing";
}

// A database of the version before: the old sample rows, a clerk's own spelling of a state and a
// gender of its own. The upgrade adds what is missing and keeps every row it finds.
TEST_P(StartingRows, TheUpgradeKeepsTheRowsADatabaseHasAndAddsTheRest)
{
    for (const char* sql : {
             "DELETE FROM States",
             "DELETE FROM Countries",
             "DELETE FROM Genders",
             "INSERT INTO Countries (Country_Name, Country_Code_2, Country_Code_3, Country_Number_3, "
             "Country_Telephone_Prefix) "
             "VALUES ('United States', 'US', 'USA', 840, '1')",
             "INSERT INTO Countries (Country_Name, Country_Code_2, Country_Code_3, Country_Number_3) VALUES ('Canada', "
             "'ca', 'CAN', 124)",
             "INSERT INTO States (Country_ID, State_Name, State_Code) SELECT Country_ID, 'Calif.', 'ca' FROM Countries "
             "WHERE Country_Code_2 = 'US'",
             "INSERT INTO States (Country_ID, State_Name, State_Code) SELECT Country_ID, 'New York', 'NY' FROM "
             "Countries WHERE Country_Code_2 = 'US'",
             "INSERT INTO States (Country_ID, State_Name, State_Code) SELECT Country_ID, 'Quebec', 'QC' FROM Countries "
             "WHERE Country_Code_2 = 'CA'",
             "INSERT INTO Genders (Gender_Name, Gender_Code) VALUES ('Female', 'F')",
             "INSERT INTO Genders (Gender_Name, Gender_Code) VALUES ('Not Recorded', 'X')",
         })
        ASSERT_TRUE(Act_ExecuteSQL(QString::fromLatin1(sql))) << sql;
    const int usa = countryID("US");
    const int quebec = number(QStringLiteral("SELECT State_ID FROM States WHERE State_Name = 'Quebec'"));

    ASSERT_NO_THROW(applyIsoMigration());
    EXPECT_EQ(countryID("US"), usa);
    EXPECT_EQ(value(QStringLiteral("SELECT Country_Telephone_Prefix FROM Countries WHERE Country_ID = %1").arg(usa))
                  .toString(),
        QStringLiteral("1"));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Countries WHERE Country_Name = 'Canada'")), 1);
    EXPECT_EQ(
        value(QStringLiteral("SELECT State_Name FROM States WHERE Country_ID = %1 AND State_Code = 'CA'").arg(usa))
            .toString(),
        QStringLiteral("Calif."))
        << "one state per code in a country: the clerk's row stays, ISO's California is not added beside it";
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM States WHERE State_Name IN ('New York', 'California')")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT State_ID FROM States WHERE State_Name = 'Quebec'")), quebec);
    EXPECT_EQ(statesOf("US"), 57);
    EXPECT_EQ(statesOf("CA"), 13) << "the states of a country whose code the database spells in lower case";
    EXPECT_EQ(statesOf("DE"), 16);
    EXPECT_EQ(rows("Genders"), 4);

    const int countries = rows("Countries"), states = rows("States");
    ASSERT_NO_THROW(applyIsoMigration());
    EXPECT_EQ(rows("Countries"), countries);
    EXPECT_EQ(rows("States"), states);
    EXPECT_EQ(rows("Genders"), 4);
}

// --- The reference rows file ---------------------------------------------------------------

// The reference rows an administrator loads into a live room's database: README step 3 runs the
// program folder's copy through psql; the embedded demonstration loads the same rows through the
// program. A room that has rows of its own, or a load cut short, gets only what is missing: no row
// it has is changed, nothing is doubled, and no case, item, person, employee or user is made.
class ReferenceRows : public StartingRows {
protected:
    static QString programFolderFile() { return QStringLiteral(BRAMBLECOT_PROGRAM_DIR "/reference_rows.sql"); }

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Runs the file as an administrator would with psql on the server: every error stops it.
    void loadWithPsql() const
    {
        QProcess psql;
        psql.start(QStringLiteral("psql"),
            { QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                QStringLiteral("-d"), m_database->target().databaseName, QStringLiteral("-f"), programFolderFile() });
        ASSERT_TRUE(psql.waitForFinished(120000));
        const QString errors = QString::fromUtf8(psql.readAllStandardError());
        EXPECT_EQ(psql.exitCode(), 0) << qPrintable(errors);
        EXPECT_EQ(errors, QString());
    }

    // Checks the scenario with a way of loading the file.
    void checkLoading(const std::function<void()>& load)
    {
        ASSERT_EQ(read(programFolderFile()), read(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/database/sample/reference_rows.sql")))
            << "the program folder carries the reference rows file";
        const char* const records[]
            = { "Cases", "Items", "Item_Actions", "People", "Employees", "DB_Users", "Locations", "Batches", "Notifications" };
        std::vector<int> before;
        for (const char* table : records)
            before.push_back(rows(table));

        // Rows of the room's own: a status under the sample's code, a class under its name in
        // other letters, an edited type, an action type of its own spelling, a prefix of its own.
        for (const char* sql : {
                 "INSERT INTO Case_Statuses (Case_Status_Name, Case_Status_Code) VALUES ('Active', 'open')",
                 "INSERT INTO Crime_Classes (Crime_Class_Name, Crime_Class_Code) VALUES ('theft', 'TH')",
                 "INSERT INTO Property_Types (Property_Type_Name, Property_Type_Code, Days_Until_Review) VALUES ('Bicycle', 'BIKE', 7)",
                 "INSERT INTO Item_Action_Types (Item_Action_Type_Name_Present, Item_Action_Type_Name_Past, Item_Action_Type_Code, "
                 "Item_Action_Time_ID) SELECT 'store', 'Stored away', 'STR', Item_Action_Time_ID FROM Item_Action_Times "
                 "WHERE Item_Action_Time_Code = 'BC'",
                 "UPDATE Countries SET Country_Telephone_Prefix = '001' WHERE Country_Code_2 = 'CA'",
             })
            ASSERT_TRUE(Act_ExecuteSQL(QString::fromLatin1(sql))) << sql;
        // A load cut short: the first statements of the file went in.
        const QStringList statements = SplitSqlStatements(QString::fromUtf8(read(programFolderFile())));
        ASSERT_GT(statements.size(), 20);
        for (qsizetype i = 0; i < 6; ++i)
            DBConnection()->executeStatement(statements.at(i));

        load();
        if (HasFailure())
            return;

        const auto text = [](const QString& sql) { return value(sql).toString(); };
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Case_Statuses WHERE Case_Status_Code = 'OPEN'")), 1);
        EXPECT_EQ(text(QStringLiteral("SELECT Case_Status_Name FROM Case_Statuses WHERE Case_Status_Code = 'OPEN'")),
            QStringLiteral("Active"));
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Case_Statuses WHERE Case_Status_Code = 'CLOSED'")), 1)
            << "what is missing is added";
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Crime_Classes WHERE Crime_Class_Name = 'Theft'")), 1);
        EXPECT_EQ(text(QStringLiteral("SELECT Crime_Class_Code FROM Crime_Classes WHERE Crime_Class_Name = 'Theft'")),
            QStringLiteral("TH"));
        EXPECT_EQ(number(QStringLiteral("SELECT Days_Until_Review FROM Property_Types WHERE Property_Type_Code = 'BIKE'")), 7);
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Item_Action_Types WHERE Item_Action_Type_Name_Present = 'Store'")), 1);
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Item_Action_Types WHERE Item_Action_Type_Code = 'STORE'")), 0);
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Item_Action_Types WHERE Item_Action_Type_Code = 'XFER'")), 1);
        EXPECT_EQ(text(QStringLiteral("SELECT Country_Telephone_Prefix FROM Countries WHERE Country_Code_2 = 'CA'")),
            QStringLiteral("001"));
        EXPECT_EQ(text(QStringLiteral("SELECT Country_Telephone_Prefix FROM Countries WHERE Country_Code_2 = 'US'")),
            QStringLiteral("1"));
        for (size_t i = 0; i < std::size(records); ++i)
            EXPECT_EQ(rows(records[i]), before[i]) << records[i] << ": the reference rows hold no records";

        const int changes = rows("DB_Change_Log");
        const int units = rows("Units"), colours = rows("Colors"), types = rows("Item_Action_Types");
        load();
        EXPECT_EQ(rows("DB_Change_Log"), changes) << "a second load writes nothing";
        EXPECT_EQ(rows("Units"), units);
        EXPECT_EQ(rows("Colors"), colours);
        EXPECT_EQ(rows("Item_Action_Types"), types);
    }
};

TEST_P(ReferenceRows, ThroughTheProgramAddOnlyWhatIsMissing)
{
    checkLoading([] { LoadReferenceRows(*DBConnection()); });
}

TEST_P(ReferenceRows, ThroughPsqlOnTheServerAddOnlyWhatIsMissing)
{
    if (GetParam() != Engine::PostgreSQL)
        GTEST_SKIP() << "psql loads a server's database";
    checkLoading([this] { loadWithPsql(); });
}

INSTANTIATE_TEST_SUITE_P(Engines, ReferenceRows, ::testing::ValuesIn(TestEngines()), EngineTestName);

INSTANTIATE_TEST_SUITE_P(Engines, StartingRows, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
