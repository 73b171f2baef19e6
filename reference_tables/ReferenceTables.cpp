#include "reference_tables/ReferenceTables.h"

#include "form_framework/FormRegistry.h"
#include "reference_tables/LookupRecordWindow.h"
#include "reference_tables/LookupSearchWindow.h"

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
