#pragma once

#include "reference_tables/LookupTable.h"

// The batch windows (frmBatch, frmBatches) and the two pairs of batch-item windows: the plain
// pair (frmBatchItem, frmBatchItems) that the batch, item and case windows open, which checks
// memberships before a save, and the advanced pair (frmBatchItemAdv, frmBatchItemsAdv) that also
// records an action of the membership and checks nothing beyond its fields.
LookupTable BatchesTable();
LookupTable BatchItemsTable(bool advanced);
