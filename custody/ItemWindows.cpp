#include "custody/CustodyWindows.h"

// frmItem, frmItems, frmItemModel, frmItemModels, frmLocation and frmLocations.
void RegisterItemWindows()
{
}
