#include "main_window/frmWebBrowser.h"

#include "core/DesktopOpener.h"
#include "core/Platform.h"
#include "form_framework/WindowList.h"
#include "form_framework/zInfo.h"
#include "main_window/WebPageViewFactory.h"

#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
bool browserShows(const QUrl& address)
{
    static const QStringList schemes { QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
                                       QStringLiteral("about"), QStringLiteral("data") };
    return schemes.contains(address.scheme(), Qt::CaseInsensitive);
}
} // namespace

frmWebBrowser::frmWebBrowser(WebPageViewFactory& pages)
    : DataWindow(QStringLiteral("frmWebBrowser"))
    , m_pages(pages)
{
    setWindowTitle(QStringLiteral("Web Browser"));
    info()->setFormType(FormType::Other);
    m_browser = m_pages.createView(this);
    m_browser->setObjectName(QStringLiteral("wbBrowser"));
    m_close = new QPushButton(QStringLiteral("Close"), this);
    m_close->setObjectName(QStringLiteral("btnClose"));
    m_close->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addWidget(m_close, 0, Qt::AlignRight);
    resize(800, 600);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, m_close, &QPushButton::click);
    connect(m_close, &QPushButton::clicked, this, [this] { UnloadWindow(this); });
}

void frmWebBrowser::ProcessCommand(MainCommand) { Platform::prompt().beep(); }

void frmWebBrowser::navigate(const QString& address)
{
    m_address = QUrl::fromUserInput(address.trimmed());
    if (browserShows(m_address))
        m_pages.showPage(m_browser, m_address);
    else
        Desktop::opener().open(m_address);
}

QUrl frmWebBrowser::address() const
{
    return m_address;
}
