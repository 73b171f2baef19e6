#pragma once

#include "declared_windows/DeclaredTable.h"

// The batch windows (frmBatch, frmBatches) and the two pairs of batch-item windows: the plain
// pair (frmBatchItem, frmBatchItems) that the batch, item and case windows open, which checks
// memberships before a save, and the advanced pair (frmBatchItemAdv, frmBatchItemsAdv) that also
// records an action of the membership and checks nothing beyond its fields.
DeclaredTable BatchesTable();
DeclaredTable BatchItemsTable(bool advanced);
