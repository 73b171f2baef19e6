#include "custody/CustodyWindows.h"

#include "custody/BatchWindows.h"
#include "custody/ItemFileWindows.h"
#include "custody/ItemWindows.h"
#include "declared_windows/DeclaredTable.h"

void RegisterCustodyWindows()
{
    RegisterItemWindows();
    RegisterItemFileWindows();
    RegisterBatchWindows();
    RegisterItemActionWindows();
    RegisterBarcodeWindows();
}

std::vector<DeclaredTable> CustodyDeclarations()
{
    std::vector<DeclaredTable> tables = { ItemsTable(), ItemModelsTable(), LocationsTable(), ItemFilesTable(),
        BatchesTable(), BatchItemsTable(false), BatchItemsTable(true) };
    for (DeclaredTable& table : ItemActionTables())
        tables.push_back(std::move(table));
    return tables;
}
