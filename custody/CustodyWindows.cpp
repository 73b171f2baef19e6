#include "custody/CustodyWindows.h"

void RegisterCustodyWindows()
{
    RegisterItemWindows();
    RegisterItemFileWindows();
    RegisterBatchWindows();
    RegisterItemActionWindows();
    RegisterBarcodeWindows();
}
