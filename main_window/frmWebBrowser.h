#pragma once

#include "form_framework/DataWindow.h"

#include <QUrl>

class QPushButton;
class QWebEngineView;

// The one web-browser window (map links, the main window's web pages). Addresses the browser
// cannot show itself (mail, other programs' schemes) go to the desktop.
class frmWebBrowser : public DataWindow {
    Q_OBJECT
public:
    frmWebBrowser();

    void navigate(const QString& address);
    QUrl address() const;
    // The main window's commands only beep here.
    void ProcessCommand(MainCommand command) override;

private:
    QWebEngineView* m_browser;
    QPushButton* m_close;
    QUrl m_address;
};
