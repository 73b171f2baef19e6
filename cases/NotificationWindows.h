#pragma once

#include "reference_tables/LookupTable.h"

// The notification windows (frmNotification, frmNotifications): a notice about one item sent to a
// person at an address, with its record code, its letter and the related item and case people.
LookupTable NotificationsTable();
// Registers both windows with the window registry.
void RegisterNotificationWindows();
