#include "custody/CustodyWindows.h"

// frmItemFile and frmItemFiles.
void RegisterItemFileWindows()
{
}
