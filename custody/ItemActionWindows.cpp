#include "custody/CustodyWindows.h"

// the item action type, item action, transfer and item location windows.
void RegisterItemActionWindows()
{
}
