#include "main_window/WebViewerLoader.h"

#include "core/AppInfo.h"
#include "main_window/WebPageViewFactory.h"

#include <QHash>
#include <QPluginLoader>

QString WebViewerPluginFile()
{
    return GetMainPath() + QStringLiteral("bramblecot_webviewer.so");
}

WebPageViewFactory* LoadWebViewer(QString& error)
{
    // One loader per file, never deleted: its instance lives as long as the process. A failed
    // attempt is not kept, so a plugin put in place later is found on the next page shown.
    static QHash<QString, WebPageViewFactory*> loaded;
    const QString file = WebViewerPluginFile();
    if (WebPageViewFactory* factory = loaded.value(file))
        return factory;
    auto* loader = new QPluginLoader(file);
    QObject* instance = loader->instance();
    auto* factory = qobject_cast<WebPageViewFactory*>(instance);
    if (!factory) {
        error = instance ? file + QStringLiteral(" is not a web page viewer plugin.") : loader->errorString();
        if (instance)
            loader->unload();
        delete loader;
        return nullptr;
    }
    loaded.insert(file, factory);
    return factory;
}
