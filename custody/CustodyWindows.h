#pragma once

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
