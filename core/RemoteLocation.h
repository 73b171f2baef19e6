#pragma once

#include <QString>

// True only for a real scheme: "http://", "https://", "ftp://" or "ftps://" in any letter case.
// A folder whose name merely begins with "ftp" or "http" ("httpdocs") is a folder.
bool IsRemoteLocation(const QString& location);
