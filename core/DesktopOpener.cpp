#include "core/DesktopOpener.h"

#include <QDesktopServices>

namespace {
class ServicesOpener final : public DesktopOpener {
public:
    bool open(const QUrl& address) override { return QDesktopServices::openUrl(address); }
};

std::unique_ptr<DesktopOpener>& openerSlot()
{
    static std::unique_ptr<DesktopOpener> slot = std::make_unique<ServicesOpener>();
    return slot;
}
} // namespace

namespace Desktop {
DesktopOpener& opener()
{
    return *openerSlot();
}

void setOpener(std::unique_ptr<DesktopOpener> opener)
{
    openerSlot() = opener ? std::move(opener) : std::make_unique<ServicesOpener>();
}
} // namespace Desktop
