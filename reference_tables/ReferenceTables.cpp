#include "ReferenceTables.h"

#include "FormRegistry.h"
#include "LookupRecordWindow.h"
#include "LookupSearchWindow.h"

std::vector<LookupTable> ReferenceTables()
{
    std::vector<LookupTable> all;
    for (auto group : { CaseClassificationTables, PropertyClassificationTables, ColourCurrencyUnitTables,
                          NotificationGenderRaceTables, EmployeeAndNameTables, AddressTelephoneTypeTables,
                          CountryStateTables })
        for (LookupTable& table : group())
            all.push_back(std::move(table));
    return all;
}

void RegisterReferenceTableForms()
{
    for (const LookupTable& table : ReferenceTables()) {
        FormRegistry::registerForm(table.recordWindow, [table] { return new LookupRecordWindow(table); });
        FormRegistry::registerForm(table.searchWindow, [table] { return new LookupSearchWindow(table); });
    }
}
