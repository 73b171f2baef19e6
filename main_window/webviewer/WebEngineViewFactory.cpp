// The web page viewer plugin: the only code of the program that links Qt WebEngine.

#include "main_window/WebPageViewFactory.h"

#include <QObject>
#include <QUrl>
#include <QWebEngineView>

class WebEngineViewFactory final : public QObject, public WebPageViewFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID WebPageViewFactory_iid)
    Q_INTERFACES(WebPageViewFactory)

public:
    QWidget* createView(QWidget* parent) override { return new QWebEngineView(parent); }

    void showPage(QWidget* view, const QUrl& address) override
    {
        if (auto* page = qobject_cast<QWebEngineView*>(view))
            page->setUrl(address);
    }
};

#include "WebEngineViewFactory.moc"
