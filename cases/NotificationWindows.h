#pragma once

// The notification windows (frmNotification, frmNotifications), registered with the window registry.
void RegisterNotificationWindows();
