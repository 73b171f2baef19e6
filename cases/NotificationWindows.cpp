#include "cases/NotificationWindows.h"

void RegisterNotificationWindows()
{
}
