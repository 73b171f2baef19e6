#include "custody/CustodyWindows.h"

// frmBatch, frmBatches and the batch-item windows.
void RegisterBatchWindows()
{
}
