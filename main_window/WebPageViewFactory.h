#pragma once

#include <QtPlugin>

class QUrl;
class QWidget;

// What the web page viewer plugin gives the program: the page view inside frmWebBrowser. The
// plugin alone links Qt WebEngine, so the program loads that engine the first time a web page is
// shown, never at start-up.
class WebPageViewFactory {
public:
    virtual ~WebPageViewFactory() = default;

    // A new page view, a child of `parent` (which owns it).
    virtual QWidget* createView(QWidget* parent) = 0;
    // Shows `address` in a view this factory made.
    virtual void showPage(QWidget* view, const QUrl& address) = 0;
};

#define WebPageViewFactory_iid "org.bramblecot.WebPageViewFactory/1.0"
Q_DECLARE_INTERFACE(WebPageViewFactory, WebPageViewFactory_iid)
