#include "core/Viewers.h"

#include "core/AppError.h"

namespace {
std::unique_ptr<ViewerWindows>& viewerSlot()
{
    static std::unique_ptr<ViewerWindows> slot;
    return slot;
}

ViewerWindows& viewers()
{
    if (!viewerSlot())
        RaiseToReport(QStringLiteral("The viewer windows are not available in this program."));
    return *viewerSlot();
}
} // namespace

std::unique_ptr<ViewerWindows> SetViewerWindows(std::unique_ptr<ViewerWindows> viewers)
{
    std::swap(viewerSlot(), viewers);
    return viewers;
}

void ShowText(const QString& text)
{
    viewers().showText(text);
}

void ShowImage(const QString& path)
{
    viewers().showImage(path);
}

void ShowWebPage(const QString& address, const QString& caption)
{
    viewers().showWebPage(address, caption);
}

QString BrowseForFolder(const QString& initialFolder)
{
    return viewers().browseForFolder(initialFolder);
}
