#include "custody/CustodyWindows.h"

// frmBarcodes and frmBarcodeItemAction.
void RegisterBarcodeWindows()
{
}
