#pragma once

#include <QUrl>

#include <memory>

// Hands an address or a file to the desktop's own program for it (a mail client, a spreadsheet
// program, an image editor). Tests install a recorder to see what would have been opened.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // False when the desktop has no program for it.
    virtual bool open(const QUrl& address) = 0;
};

namespace Desktop {
DesktopOpener& opener();
// Installs an opener; the default one asks QDesktopServices.
void setOpener(std::unique_ptr<DesktopOpener> opener);
} // namespace Desktop
