#include "form_framework/WindowList.h"

#include "form_framework/DataWindow.h"

#include <algorithm>

namespace {
QList<QPointer<QWidget>>& windows()
{
    static QList<QPointer<QWidget>> list;
    return list;
}
} // namespace

QList<QWidget*> LoadedWindows()
{
    QList<QWidget*> result;
    auto& list = windows();
    list.erase(std::remove_if(list.begin(), list.end(), [](const QPointer<QWidget>& w) { return w.isNull(); }), list.end());
    for (const QPointer<QWidget>& window : list)
        result << window.data();
    return result;
}

void AddLoadedWindow(QWidget* window)
{
    if (window && !windows().contains(window))
        windows().append(window);
}

void RemoveLoadedWindow(QWidget* window)
{
    windows().removeAll(window);
}

DataWindow* AsDataWindow(QWidget* window)
{
    return qobject_cast<DataWindow*>(window);
}

bool UnloadWindow(QWidget* window)
{
    if (!window)
        return true;
    if (auto* data = AsDataWindow(window); data && data->frame() != data)
        return data->frame()->close();
    return window->close();
}
