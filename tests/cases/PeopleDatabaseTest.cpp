// The people tables and their procedures on both engines: unique employees, the "Like" searches,
// the default geography and the map page addresses.

#include "cases/CaseProcedures.h"

#include "core/AppError.h"
#include "core/Database.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QSet>

#include <gtest/gtest.h>

namespace {

class PeopleDatabase : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped())
            return;
        RegisterCaseProcedures();
    }

    static Recordset run(const QString& sql, const std::vector<QVariant>& values = {})
    {
        return DBConnection()->executeStatement(sql, values);
    }
    static int person(const QString& first, const QString& last)
    {
        run(QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES (?, ?)"), { first, last });
        return run(QStringLiteral("SELECT MAX(Person_ID) FROM People")).valueAt(0, 0).toInt();
    }
    static int insertCountry()
    {
        run(QStringLiteral("INSERT INTO Countries (Country_Name, Country_Code_2, Country_Code_3, Country_Number_3) "
                           "VALUES ('Atlantis', 'XQ', 'XQQ', 999)"));
        return run(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = 'XQ'"))
            .valueAt(0, 0)
            .toInt();
    }
    static int country(const char* code)
    {
        return run(
            QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = ?"), { QString::fromLatin1(code) })
            .valueAt(0, 0)
            .toInt();
    }
    // The identities a procedure call lists, through the program's own command path.
    static QSet<int> listed(const QString& call)
    {
        std::unique_ptr<Recordset> rows = OpenRecordset(call, false);
        QSet<int> ids;
        for (int row = 0; rows && row < rows->recordCount(); ++row)
            ids.insert(rows->valueAt(row, 0).toInt());
        CloseRecordset(rows);
        return ids;
    }
    // The text of a picker's first entry: the second column of the first row.
    static QString pickerText(const QString& call)
    {
        std::unique_ptr<Recordset> rows = OpenRecordset(call, false);
        const QString text = rows && rows->recordCount() > 0 ? rows->valueAt(0, 1).toString() : QString();
        CloseRecordset(rows);
        return text;
    }
    static bool refused(const QString& sql, const std::vector<QVariant>& values = {})
    {
        try {
            run(sql, values);
        } catch (const AppError&) {
            return true;
        }
        return false;
    }
};

TEST_P(PeopleDatabase, PersonAndPayrollNumberBelongToOneEmployeeInAnyLetterCase)
{
    const int mary = person(QStringLiteral("Mary"), QStringLiteral("Smith"));
    const int john = person(QStringLiteral("John"), QStringLiteral("Smith"));
    const QString add = QStringLiteral("INSERT INTO Employees (Person_ID, Payroll_Number) VALUES (?, ?)");
    run(add, { mary, QStringLiteral("ab-100") });

    EXPECT_TRUE(refused(add, { john, QStringLiteral("AB-100") }));
    EXPECT_TRUE(refused(add, { mary, QStringLiteral("ab-200") }));
    run(add, { john, QStringLiteral("ab-200") });
    // Employees of the earlier table have no person: any number of them.
    run(add, { QVariant(), QStringLiteral("old-1") });
    run(add, { QVariant(), QStringLiteral("old-2") });
    EXPECT_EQ(run(QStringLiteral("SELECT COUNT(*) FROM Employees")).valueAt(0, 0).toInt(), 4);

    // The clerk's reading of an employee, with and without a person.
    const Recordset names = run(QStringLiteral("SELECT Employee FROM vw_Evd_Employees ORDER BY Employee"));
    QStringList read;
    for (int row = 0; row < names.recordCount(); ++row)
        read << names.valueAt(row, 0).toString();
    EXPECT_EQ(read,
        QStringList({ QStringLiteral("Smith, John (ab-200)"), QStringLiteral("Smith, Mary (ab-100)"),
            QStringLiteral("old-1"), QStringLiteral("old-2") }));
}

TEST_P(PeopleDatabase, LikeCriteriaMatchFromTheStartWithTheUsersWildcards)
{
    const int smith = person(QStringLiteral("John"), QStringLiteral("Smith"));
    const int smyth = person(QStringLiteral("Jane"), QStringLiteral("Smyth"));
    const int osmith = person(QStringLiteral("Ann"), QStringLiteral("Osmith"));
    const int percent = person(QStringLiteral("Al"), QStringLiteral("50%Off"));
    run(QStringLiteral("INSERT INTO Employees (Person_ID, Payroll_Number) VALUES (?, 'PR-7'), (?, 'PRX7')"),
        { smith, smyth });
    const int us = country("US");
    run(QStringLiteral("INSERT INTO Addresses (Country_ID, Street_Address_1, City) VALUES (?, '1 Elm St', 'Salem'), "
                       "(?, '2 Oak St', 'Salt Lake City')"),
        { us, us });
    run(QStringLiteral("INSERT INTO Telephones (Country_ID, Telephone_Area_Code, Telephone_Number) VALUES "
                       "(?, '217', '5550100'), (?, '312', '5550199')"),
        { us, us });
    const int elm = run(QStringLiteral("SELECT Address_ID FROM Addresses WHERE City = 'Salem'")).valueAt(0, 0).toInt();
    const int oak = elm + 1;
    const int springfield = run(QStringLiteral("SELECT MIN(Telephone_ID) FROM Telephones")).valueAt(0, 0).toInt();
    const int chicago = springfield + 1;

    struct Case {
        const char* call;
        QSet<int> expected;
    };
    const Case cases[] = {
        { "EXEC usp_Evd_Search_People_All @Last_Name = 'smi'", { smith } },
        { "EXEC usp_Evd_Search_People_All @Last_Name = 'Sm_th'", { smith, smyth } },
        { "EXEC usp_Evd_Search_People_All @Last_Name = '%smith'", { smith, osmith } },
        { "EXEC usp_Evd_Search_People_All @Last_Name = 'mith'", {} },
        { "EXEC usp_Evd_Search_People_All @Last_Name = '50%'", { percent } },
        { "EXEC usp_Evd_Search_People_All @First_Name = 'J', @Last_Name = 'Sm'", { smith, smyth } },
        { "EXEC usp_Evd_Search_People_All ", { smith, smyth, osmith, percent } },
        { "EXEC usp_Evd_Search_Employees_All @Payroll_Number = 'pr-'", { 1 } },
        { "EXEC usp_Evd_Search_Employees_All @Payroll_Number = 'PR_7'", { 1, 2 } },
        { "EXEC usp_Evd_Search_Employees_All @Last_Name = 'smy'", { 2 } },
        { "EXEC usp_Evd_Search_Addresses_All @City = 'sal'", { elm, oak } },
        { "EXEC usp_Evd_Search_Addresses_All @City = 'Sal_m'", { elm } },
        { "EXEC usp_Evd_Search_Addresses_All @Street_Address_1 = '%St', @City = 'Salt'", { oak } },
        { "EXEC usp_Evd_Search_Telephones_All @Telephone_Number = '555%99'", { chicago } },
        { "EXEC usp_Evd_Search_Telephones_All @Telephone_Area_Code = '2_7'", { springfield } },
    };
    const QSet<int> employees = listed(QStringLiteral("SELECT Employee_ID FROM Employees ORDER BY Employee_ID"));
    ASSERT_EQ(employees.size(), 2);
    const int firstEmployee = *std::min_element(employees.begin(), employees.end());
    for (const Case& c : cases) {
        QSet<int> expected = c.expected;
        if (QByteArray(c.call).contains("Employees")) {
            expected.clear();
            for (int n : c.expected)
                expected.insert(firstEmployee + n - 1);
        }
        EXPECT_EQ(listed(QString::fromLatin1(c.call)), expected) << c.call;
    }
    EXPECT_TRUE(Prompts().boxes.empty());
}

// Each default column comes from the user's own row when set, else from the database's row.
TEST_P(PeopleDatabase, DefaultGeographyFromTheUserThenTheDatabase)
{
    const int us = country("US");
    const int ca = country("CA");
    const int illinois
        = run(QStringLiteral("SELECT State_ID FROM States WHERE State_Name = 'Illinois'")).valueAt(0, 0).toInt();
    const QString me
        = QStringLiteral("UPDATE DB_Users SET DB_User_Default_Country_ID = ?, DB_User_Default_State_ID = ?, "
                         "DB_User_Default_City = ?, DB_User_Default_Area_Code = ? WHERE DB_User_Name = SUSER_NAME()");
    const QString database
        = QStringLiteral("UPDATE DB_App_Options SET DB_Default_Country_ID = ?, DB_Default_State_ID = ?, "
                         "DB_Default_City = ?, DB_Default_Area_Code = ? WHERE DB_Database_Code = DB_NAME()");
    const auto geography = [] {
        std::unique_ptr<Recordset> rows = OpenRecordset(QStringLiteral("EXEC usp_Evd_Get_Default_Geography"), false);
        QStringList values;
        if (rows && rows->recordCount() > 0)
            for (int column = 0; column < 4; ++column)
                values << (rows->valueAt(0, column).isNull() ? QStringLiteral("NULL")
                                                             : rows->valueAt(0, column).toString());
        CloseRecordset(rows);
        return values;
    };

    run(database, { us, illinois, QStringLiteral("Springfield"), QStringLiteral("217") });
    const QString usText = QString::number(us), caText = QString::number(ca), illinoisText = QString::number(illinois);
    EXPECT_EQ(geography(), QStringList({ usText, illinoisText, QStringLiteral("Springfield"), QStringLiteral("217") }));

    run(me, { ca, QVariant(), QStringLiteral("Toronto"), QStringLiteral("  ") });
    EXPECT_EQ(geography(), QStringList({ caText, illinoisText, QStringLiteral("Toronto"), QStringLiteral("217") }));

    // A country that no longer exists is no default at all, not the database's.
    const int gone = insertCountry();
    run(me, { gone, QVariant(), QVariant(), QVariant() });
    run(QStringLiteral("DELETE FROM Countries WHERE Country_ID = ?"), { gone });
    EXPECT_EQ(geography(),
        QStringList({ QStringLiteral("NULL"), illinoisText, QStringLiteral("Springfield"), QStringLiteral("217") }));

    // Neither row: no row at all, so every default stays empty.
    run(QStringLiteral("DELETE FROM DB_App_Options WHERE DB_Database_Code = DB_NAME()"));
    EXPECT_EQ(geography().size(), 4);
    run(QStringLiteral("DELETE FROM DB_Users WHERE DB_User_Name = SUSER_NAME()"));
    EXPECT_TRUE(geography().isEmpty());
}

TEST_P(PeopleDatabase, MapPagesCarryTheAddressPercentEncoded)
{
    const int us = country("US");
    const int illinois
        = run(QStringLiteral("SELECT State_ID FROM States WHERE State_Name = 'Illinois'")).valueAt(0, 0).toInt();
    run(QStringLiteral("INSERT INTO Addresses (Country_ID, Street_Address_1, Street_Address_2, City, State_ID, ZIP) "
                       "VALUES (?, ?, NULL, ?, ?, '60601')"),
        { us, QStringLiteral("12 O'Hare & \"Sons\" Rd"), QStringLiteral("Zürich"), illinois });
    const int address = run(QStringLiteral("SELECT MAX(Address_ID) FROM Addresses")).valueAt(0, 0).toInt();
    const QString encoded = QStringLiteral(
        "12%20O%27Hare%20%26%20%22Sons%22%20Rd%2C%20Z%C3%BCrich%2C%20IL%2C%2060601%2C%20United%20States");

    const auto page = [](const QString& call) {
        const std::optional<QVariant> url = GetSQLValue(call);
        return url ? url->toString() : QStringLiteral("<none>");
    };
    EXPECT_EQ(page(QStringLiteral("EXEC usp_Evd_URL_Map_Yahoo @Address_ID = %1").arg(address)),
        QStringLiteral("https://search.yahoo.com/local/s?p=") + encoded);
    EXPECT_EQ(page(QStringLiteral("EXEC usp_Evd_URL_Map_MapQuest @Address_ID = %1").arg(address)),
        QStringLiteral("https://www.mapquest.com/search/results?query=") + encoded);

    // The pattern is the database's: an administrator may point it elsewhere.
    run(QStringLiteral("UPDATE DB_Setting_Defaults SET DB_Setting_Value = 'https://maps.example/?q={Address}&z=1' "
                       "WHERE DB_Setting_Name = 'DB_URL_Map_Yahoo'"));
    EXPECT_EQ(page(QStringLiteral("EXEC usp_Evd_URL_Map_Yahoo @Address_ID = %1").arg(address)),
        QStringLiteral("https://maps.example/?q=") + encoded + QStringLiteral("&z=1"));
    EXPECT_TRUE(Prompts().boxes.empty());

    // An address deleted meanwhile gives no row, so the window has nothing to show.
    run(QStringLiteral("DELETE FROM Addresses WHERE Address_ID = ?"), { address });
    EXPECT_EQ(
        page(QStringLiteral("EXEC usp_Evd_URL_Map_MapQuest @Address_ID = %1").arg(address)), QStringLiteral("<none>"));
}

// A clerk, not an administrator, works with the new tables, the employees' view and the map
// procedures as the windows do; on a server every one of them needs its own grant.
TEST_P(PeopleDatabase, AClerkReadsAndWritesPeopleThroughTheProcedures)
{
    const QString clerk = QStringLiteral("people_clerk_%1").arg(QCoreApplication::applicationPid());
    m_database->createLogin(clerk, QStringLiteral("Clerk1"));
    SetDBConnection(m_database->connect(Credentials { false, clerk, QStringLiteral("Clerk1") }));

    const int ada = person(QStringLiteral("Ada"), QStringLiteral("Lane"));
    run(QStringLiteral("INSERT INTO Employees (Person_ID, Payroll_Number) VALUES (?, 'L-1')"), { ada });
    run(QStringLiteral("INSERT INTO Addresses (Country_ID, Street_Address_1, City) VALUES (?, '1 Elm St', 'Salem')"),
        { country("US") });
    run(QStringLiteral(
            "INSERT INTO Telephones (Country_ID, Telephone_Area_Code, Telephone_Number) VALUES (?, '1', '2')"),
        { country("US") });
    EXPECT_EQ(pickerText(QStringLiteral("EXEC usp_Evd_DropDown_Employees")), QStringLiteral("Lane, Ada (L-1)"));
    EXPECT_EQ(pickerText(QStringLiteral("EXEC usp_Evd_DropDown_People")), QStringLiteral("Lane, Ada"));
    EXPECT_EQ(pickerText(QStringLiteral("EXEC usp_Evd_DropDown_Addresses")), QStringLiteral("1 Elm St, Salem"));
    EXPECT_EQ(pickerText(QStringLiteral("EXEC usp_Evd_DropDown_Telephones")), QStringLiteral("(1) 2"));
    EXPECT_TRUE(GetSQLValue(QStringLiteral("EXEC usp_Evd_Get_Default_Geography")).has_value());
    const int address = run(QStringLiteral("SELECT MAX(Address_ID) FROM Addresses")).valueAt(0, 0).toInt();
    EXPECT_TRUE(GetSQLValue(QStringLiteral("EXEC usp_Evd_URL_Map_Yahoo @Address_ID = %1").arg(address))
                    ->toString()
                    .endsWith(QStringLiteral("1%20Elm%20St%2C%20Salem%2C%20United%20States")));
    EXPECT_TRUE(Prompts().boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, PeopleDatabase, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
