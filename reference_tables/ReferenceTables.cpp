#include "reference_tables/ReferenceTables.h"

#include "form_framework/FormRegistry.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"

std::vector<DeclaredTable> ReferenceTables()
{
    std::vector<DeclaredTable> all;
    for (auto group : { CaseClassificationTables, PropertyClassificationTables, ColourCurrencyUnitTables,
                          NotificationGenderRaceTables, EmployeeAndNameTables, AddressTelephoneTypeTables,
                          CountryStateTables })
        for (DeclaredTable& table : group())
            all.push_back(std::move(table));
    return all;
}

void RegisterReferenceTableForms()
{
    for (const DeclaredTable& table : ReferenceTables()) {
        FormRegistry::registerForm(table.recordWindow, [table] { return new DeclaredRecordWindow(table); });
        FormRegistry::registerForm(table.searchWindow, [table] { return new DeclaredSearchWindow(table); });
    }
}
