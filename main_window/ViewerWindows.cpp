#include "main_window/ViewerWindows.h"

#include "form_framework/ChildWindows.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/MainWindowServices.h"
#include "form_framework/QueuedFormParams.h"
#include "core/AppError.h"
#include "core/MessageBoxes.h"
#include "core/Viewers.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "main_window/frmFolder.h"
#include "main_window/frmImage.h"
#include "main_window/frmText.h"
#include "main_window/WebViewerLoader.h"
#include "main_window/frmWebBrowser.h"

#include <QCoreApplication>
#include <QPointer>

#include <unistd.h>

namespace {
const QString kText = QStringLiteral("frmText");
const QString kImage = QStringLiteral("frmImage");
const QString kWebBrowser = QStringLiteral("frmWebBrowser");

QString viewerMissing(const QString& reason)
{
    return QStringLiteral("The web page viewer could not be loaded: ") + reason;
}

// The web browser window, its page view from the plugin; a plugin that cannot be loaded is an
// error the opening reports.
frmWebBrowser* newWebBrowser()
{
    QString error;
    WebPageViewFactory* pages = LoadWebViewer(error);
    if (!pages)
        RaiseToReport(viewerMissing(error));
    return new frmWebBrowser(*pages);
}

class MainViewerWindows final : public ViewerWindows {
public:
    void showText(const QString& text) override
    {
        FormParamDict parameters;
        parameters.add(QStringLiteral("Text"), text);
        const QueuedFormParams queued(kText, parameters);
        LoadFormByName(kText);
    }

    void showImage(const QString& path) override
    {
        // File names are case sensitive here: another case is another file.
        for (QWidget* window : LoadedWindows()) {
            auto* viewer = qobject_cast<frmImage*>(window);
            if (viewer && viewer->ImagePath() == path) {
                viewer->bringToFront();
                return;
            }
        }
        FormParamDict parameters;
        parameters.add(QStringLiteral("ImagePath"), path);
        const QueuedFormParams queued(kImage, parameters);
        LoadFormByName(kImage);
    }

    void showWebPage(const QString& address, const QString& caption) override
    {
        // Without the viewer the page is not shown, and the program goes on.
        QString error;
        if (!m_browser && !LoadWebViewer(error)) {
            ShowErrorMessage(viewerMissing(error));
            return;
        }
        if (!m_browser)
            m_browser = qobject_cast<frmWebBrowser*>(LoadFormByName(kWebBrowser));
        if (!m_browser)
            return;
        m_browser->navigate(address);
        SetCaption(m_browser, caption.isEmpty() ? QStringLiteral("Web Browser") : caption);
        m_browser->frame()->show();
        m_browser->bringToFront(true);
    }

    QString browseForFolder(const QString& initialFolder) override
    {
        QWidget* parent = MainWindowLoaded() ? MainWindow()->mainWindow() : nullptr;
        frmFolder chooser(initialFolder, parent);
        chooser.exec();
        return chooser.chosenFolder();
    }

private:
    QPointer<frmWebBrowser> m_browser;
};
} // namespace

void PrepareWebEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

void InstallViewerWindows()
{
    FormRegistry::registerForm(kText, [] { return new frmText; });
    FormRegistry::registerForm(kImage, [] { return new frmImage; });
    FormRegistry::registerForm(kWebBrowser, [] { return newWebBrowser(); });
    SetViewerWindows(std::make_unique<MainViewerWindows>());
}
