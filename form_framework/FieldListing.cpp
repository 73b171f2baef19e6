#include "form_framework/FieldListing.h"

namespace {
std::function<void(DataWindow*, const QString&)>& listingSlot()
{
    static std::function<void(DataWindow*, const QString&)> slot;
    return slot;
}
} // namespace

bool ShowFieldListing(DataWindow* window, const QString& title)
{
    if (!listingSlot())
        return false;
    listingSlot()(window, title);
    return true;
}

void SetFieldListing(std::function<void(DataWindow*, const QString&)> listing)
{
    listingSlot() = std::move(listing);
}
