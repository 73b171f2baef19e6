#pragma once

#include <QString>

#include <functional>
#include <optional>

// Texts a user typed into a picker of another window before agreeing to add them to the
// database, read into the fields of the new record. The record windows' ProcessDefaultValue only
// hands the text here and copies the result into their fields.

struct PersonName {
    QString firstName;
    QString middleName;
    QString lastName;
};

// A full name: split at runs of blanks; the first word is the first name, the last word the last
// name, the words between (joined by one blank) the middle name. A single word is the first name
// alone, so the required last name stops the save.
PersonName SplitFullName(const QString& text);

// The state a typed text names, as State_ID; 0 when it names none (or several).
using StateFinder = std::function<int(const QString& text)>;

// A one-line address "street, city, state, ZIP": the parts at ",", each trimmed; parts after the
// fourth are dropped. A part that is absent or empty leaves its field as it was (the defaults of
// a new address). The third part is a state's name or code when findState knows it (stateID);
// otherwise it is kept as the other state and the state is cleared (stateID 0), so the address
// never carries two states.
struct AddressFields {
    QString street;
    std::optional<QString> city;
    std::optional<int> stateID;
    std::optional<QString> otherState;
    std::optional<QString> zip;
};
AddressFields SplitAddressText(const QString& text, const StateFinder& findState);

// Looks a state up in the database by its name, or by its code. When a country is chosen
// (countryID above 0) both count only within it. Without one, a name (unique) counts anywhere and
// a code, which repeats across countries, only when it names exactly one state.
int FindStateByNameOrCode(const QString& text, int countryID);
