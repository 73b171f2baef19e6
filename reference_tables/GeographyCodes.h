#pragma once

class PickerField;
class zComboBoxText;

// Typed codes in country and state pickers. Both leave a picker alone when it is empty or already
// has an entry chosen, and choose only a row the code names unambiguously: a code that names no
// row, or several, leaves the typed text without a value for the picker's own check to refuse.

// A country's two- or three-letter code, compared as the database compares names.
void ResolveCountryCode(PickerField* picker);
// A state code. State codes are not unique, so the code is looked up within the country chosen
// beside it (countryID above 0) and among all states otherwise.
void ResolveStateCode(PickerField* picker, int countryID = 0);

// A state picker beside its country picker: the list holds the chosen country's states (every
// state while no country is chosen), a state code typed is looked up within that country, and the
// final check refuses a state of another country (one loaded, a default, or chosen before the
// country changed: it stays chosen and shown), naming both.
void StatesFollowCountry(zComboBoxText* state, zComboBoxText* country);
