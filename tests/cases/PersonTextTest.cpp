// Typed full names and one-line addresses read into the fields of a new record.

#include "cases/PersonText.h"

#include "core/Database.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"

#include <QHash>

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* typed;
    const char* first;
    const char* middle;
    const char* last;
};

const NameCase kNames[] = {
    { "John Smith", "John", "", "Smith" },
    // Every word between the first and the last is the middle name; the last word is never lost.
    { "Mary Ann Smith", "Mary", "Ann", "Smith" },
    { "Mary Ann Louise Smith", "Mary", "Ann Louise", "Smith" },
    // Runs of blanks (and tabs) separate two words, not three.
    { "John  Smith", "John", "", "Smith" },
    { "  John \t Paul   Smith  ", "John", "Paul", "Smith" },
    // One word fills the first name alone; the required last name then stops the save.
    { "Cher", "Cher", "", "" },
    { "   ", "", "", "" },
    { "Sean O'Brien", "Sean", "", "O'Brien" },
    { "José \"Pepe\" García", "José", "\"Pepe\"", "García" },
};

TEST(SplitFullName, FirstMiddleAndLastWords)
{
    for (const NameCase& c : kNames) {
        const PersonName name = SplitFullName(QString::fromUtf8(c.typed));
        EXPECT_EQ(name.firstName, QString::fromUtf8(c.first)) << c.typed;
        EXPECT_EQ(name.middleName, QString::fromUtf8(c.middle)) << c.typed;
        EXPECT_EQ(name.lastName, QString::fromUtf8(c.last)) << c.typed;
    }
}

struct AddressCase {
    const char* typed;
    const char* street;
    std::optional<QString> city;
    std::optional<int> stateID;
    std::optional<QString> otherState;
    std::optional<QString> zip;
};

const AddressCase kAddresses[] = {
    { "100 Main St", "100 Main St", {}, {}, {}, {} },
    { " 100 Main St , Springfield , IL , 62701 ", "100 Main St", "Springfield", 14, {}, "62701" },
    { "100 Main St, Springfield, Illinois, 62701", "100 Main St", "Springfield", 14, {}, "62701" },
    // A third part that names no state is the other state, and the (default) state is cleared.
    { "5 Rue Haute, Paris, Île-de-France, 75001", "5 Rue Haute", "Paris", 0, QStringLiteral("Île-de-France"), "75001" },
    // Empty parts leave their fields as they were.
    { "100 Main St,,IL,", "100 Main St", {}, 14, {}, {} },
    { ", Springfield", "", "Springfield", {}, {}, {} },
    // A fifth part is dropped.
    { "100 Main St, Springfield, IL, 62701, USA", "100 Main St", "Springfield", 14, {}, "62701" },
    { "1 O'Hare Way, Chicago, IL", "1 O'Hare Way", "Chicago", 14, {}, {} },
};

TEST(SplitAddressText, PartsGoToTheirFields)
{
    const QHash<QString, int> states { { QStringLiteral("IL"), 14 }, { QStringLiteral("Illinois"), 14 } };
    QStringList asked;
    const StateFinder finder = [&](const QString& text) {
        asked << text;
        return states.value(text);
    };
    for (const AddressCase& c : kAddresses) {
        const AddressFields fields = SplitAddressText(QString::fromUtf8(c.typed), finder);
        EXPECT_EQ(fields.street, QString::fromUtf8(c.street)) << c.typed;
        EXPECT_EQ(fields.city, c.city) << c.typed;
        EXPECT_EQ(fields.stateID, c.stateID) << c.typed;
        EXPECT_EQ(fields.otherState, c.otherState) << c.typed;
        EXPECT_EQ(fields.zip, c.zip) << c.typed;
    }
    // The finder is given the trimmed part, never an empty one.
    EXPECT_FALSE(asked.contains(QString()));
    EXPECT_TRUE(asked.contains(QStringLiteral("Île-de-France")));
}

class FindState : public DatabaseTest {
protected:
    int countryID(const char* code) const
    {
        return DBConnection()
            ->executeStatement(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = ?"),
                { QString::fromLatin1(code) })
            .valueAt(0, 0)
            .toInt();
    }
    int stateID(const char* name) const
    {
        return DBConnection()
            ->executeStatement(
                QStringLiteral("SELECT State_ID FROM States WHERE State_Name = ?"), { QString::fromUtf8(name) })
            .valueAt(0, 0)
            .toInt();
    }
};

// "IL" is the code of Illinois (US) and of Ialomița (RO): the country chosen beside the state
// decides, and without one the code names no single state.
TEST_P(FindState, ByNameOrByCodeWithinTheCountry)
{
    const int us = countryID("US");
    const int ro = countryID("RO");
    const int ca = countryID("CA");
    const int illinois = stateID("Illinois");
    const int ialomita = stateID("Ialomița");
    const int ontario = stateID("Ontario");
    ASSERT_GT(illinois, 0);
    ASSERT_GT(ialomita, 0);
    ASSERT_GT(ontario, 0);
    struct Case {
        const char* text;
        int country;
        int expected;
    };
    const Case cases[] = {
        { "IL", us, illinois },
        { "il", us, illinois },
        { "IL", ro, ialomita },
        { "IL", 0, 0 },
        { "illinois", 0, illinois },
        { "Ontario", 0, ontario },
        // A state's name counts only within the chosen country: another country's state is no
        // state of the address.
        { "Illinois", us, illinois },
        { "Illinois", ro, 0 },
        { "Ontario", ca, ontario },
        { "ontario", ca, ontario },
        { "Ontario", us, 0 },
        { "ON", ca, ontario },
        { "ON", us, 0 },
        { "ZZ", us, 0 },
        { "O'Neil", us, 0 },
        { "", us, 0 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindStateByNameOrCode(QString::fromUtf8(c.text), c.country), c.expected)
            << c.text << " in " << c.country;
    EXPECT_TRUE(Prompts().boxes.empty());

    // Through the split, as the address window calls it with its chosen country.
    const AddressFields fields = SplitAddressText(QStringLiteral("9 Strada Mare, Slobozia, IL, 920001"),
        [ro](const QString& text) { return FindStateByNameOrCode(text, ro); });
    EXPECT_EQ(fields.stateID, ialomita);
    EXPECT_FALSE(fields.otherState.has_value());

    // A Canadian province typed into a United States address is kept as the other state.
    const AddressFields typed = SplitAddressText(QStringLiteral("1 Main St, Chicago, Ontario, M5V"),
        [us](const QString& text) { return FindStateByNameOrCode(text, us); });
    EXPECT_EQ(typed.stateID, 0);
    EXPECT_EQ(typed.otherState, QStringLiteral("Ontario"));
    EXPECT_EQ(typed.city, QStringLiteral("Chicago"));
    EXPECT_EQ(typed.zip, QStringLiteral("M5V"));
}

INSTANTIATE_TEST_SUITE_P(Engines, FindState, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
