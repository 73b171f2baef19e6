#pragma once

#include <vector>

struct DeclaredTable;

// The windows of property items and their chain of custody, registered with the window registry:
// items, item models and locations; item files; batches and batch items; item action types, item
// actions, transfers and item locations; the barcode window.
void RegisterCustodyWindows();

// Each group's own registration (RegisterCustodyWindows calls them all).
void RegisterItemWindows();
void RegisterItemFileWindows();
void RegisterBatchWindows();
void RegisterItemActionWindows();
void RegisterBarcodeWindows();

// Every table the custody windows declare (the barcode windows are hand-built): what the
// declarations sweep checks. A new declared custody window is added here.
std::vector<DeclaredTable> CustodyDeclarations();
// The item action types, item actions, item locations and item transfers.
std::vector<DeclaredTable> ItemActionTables();
