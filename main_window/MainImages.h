#pragma once

#include <QIcon>
#include <QString>

// The main window's image list imlImages: the icon of a key ("New", "Save", "Server",
// "ServerCheck", "Cascade"...), taken from the desktop's style. An unknown key gives no icon.
QIcon MainImage(const QString& key);
