#pragma once

#include "declared_windows/DeclaredTable.h"

// The notification windows (frmNotification, frmNotifications): a notice about one item sent to a
// person at an address, with its record code, its letter and the related item and case people.
DeclaredTable NotificationsTable();
// Registers both windows with the window registry.
void RegisterNotificationWindows();
