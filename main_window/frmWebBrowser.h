#pragma once

#include "form_framework/DataWindow.h"

#include <QUrl>

class QPushButton;
class WebPageViewFactory;

// The one web-browser window (map links, the main window's web pages). Addresses the browser
// cannot show itself (mail, other programs' schemes) go to the desktop. The page view comes from
// the web page viewer plugin (WebViewerLoader.h), which the caller has loaded.
class frmWebBrowser : public DataWindow {
    Q_OBJECT
public:
    explicit frmWebBrowser(WebPageViewFactory& pages);

    void navigate(const QString& address);
    QUrl address() const;
    // The main window's commands only beep here.
    void ProcessCommand(MainCommand command) override;

private:
    WebPageViewFactory& m_pages;
    QWidget* m_browser;
    QPushButton* m_close;
    QUrl m_address;
};
