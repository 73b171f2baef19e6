#pragma once

#include <QString>

class WebPageViewFactory;

// The file of the web page viewer plugin: bramblecot_webviewer.so in the program folder.
QString WebViewerPluginFile();

// The web page viewer, loaded from the program folder on first use and kept loaded (Qt WebEngine
// is never unloaded). Null when it cannot be loaded; `error` then says why.
WebPageViewFactory* LoadWebViewer(QString& error);
