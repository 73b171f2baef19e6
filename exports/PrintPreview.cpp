#include "exports/PrintPreview.h"

#include <QAction>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

PrintPreview::PrinterChooser defaultChooser()
{
    return [](QPrinter& printer, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

PrintPreview::PrinterChooser& printerChooser()
{
    static PrintPreview::PrinterChooser chooser = defaultChooser();
    return chooser;
}

} // namespace

QString PrintedDocumentName(const QString& name)
{
    QString safe;
    for (const QChar c : name.trimmed()) {
        const bool refused = c.category() == QChar::Other_Control || QStringView(u"/\\:*?\"<>|").contains(c);
        safe += refused ? QLatin1Char('_') : c;
    }
    // Whole characters only, within what every file system takes with the extension after it.
    while (safe.toUtf8().size() > 240)
        safe.chop(safe.size() >= 2 && safe.at(safe.size() - 1).isLowSurrogate() ? 2 : 1);
    while (!safe.isEmpty() && (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' '))))
        safe.chop(1);
    if (safe.isEmpty())
        safe = QStringLiteral("Report");
    return safe + QStringLiteral(".pdf");
}

void PrintPreview::setPrinterChooser(PrinterChooser chooser)
{
    printerChooser() = chooser ? std::move(chooser) : defaultChooser();
}

PrintPreview::PrintPreview(QWidget* parent)
    : QWidget(parent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("PrintPreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("PreviewTools"));
    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("crViewer"));
    // A page is read at its width, not shown as a stamp in a corner of the view.
    m_preview->fitToWidth();
    layout->addWidget(tools);
    layout->addWidget(m_preview, 1);
    tools->addAction(QStringLiteral("Print"), this, [this] { printPages(); });
    tools->addSeparator();
    tools->addAction(QStringLiteral("First Page"), m_preview, [this] { m_preview->setCurrentPage(1); });
    tools->addAction(QStringLiteral("Previous Page"), m_preview, [this] { m_preview->setCurrentPage(m_preview->currentPage() - 1); });
    tools->addAction(QStringLiteral("Next Page"), m_preview, [this] { m_preview->setCurrentPage(m_preview->currentPage() + 1); });
    tools->addAction(QStringLiteral("Last Page"), m_preview, [this] { m_preview->setCurrentPage(m_preview->pageCount()); });
    tools->addSeparator();
    tools->addAction(QStringLiteral("Zoom In"), m_preview, [this] { m_preview->zoomIn(); });
    tools->addAction(QStringLiteral("Zoom Out"), m_preview, [this] { m_preview->zoomOut(); });
    tools->addAction(QStringLiteral("Fit Width"), m_preview, [this] { m_preview->fitToWidth(); });
    tools->addAction(QStringLiteral("Whole Page"), m_preview, [this] { m_preview->fitInView(); });
    tools->addSeparator();
    tools->addAction(QStringLiteral("Close"), this, [this] { Q_EMIT closeRequested(); });
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        if (m_painter)
            m_painter(printer);
    });
}

PrintPreview::~PrintPreview() = default;

void PrintPreview::setPagePainter(PagePainter painter)
{
    m_painter = std::move(painter);
}

void PrintPreview::updatePages()
{
    m_preview->updatePreview();
}

int PrintPreview::pageCount() const
{
    return m_preview->pageCount();
}

bool PrintPreview::printPages()
{
    if (!m_painter)
        return false;
    // The pages printed are the pages shown: the same page size, orientation and margins, unless
    // the user changes them in the print dialog.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_printer->pageLayout());
    printer.setDocName(PrintedDocumentName(m_documentName));
    if (!printerChooser()(printer, this))
        return false;
    m_painter(&printer);
    return true;
}
