#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;

// The program's print preview: the pages of a document (a report, a merged letter or label sheet)
// with page turning and zoom, opened fitted to the page width, and a Print button. Printing asks
// for the printer through the program's print dialog (replaceable, so tests answer it) and paints
// the same pages, on the page layout the preview shows, as the preview does.
class PrintPreview : public QWidget {
    Q_OBJECT
public:
    // Paints every page on the printer: the preview's own and the one chosen for printing.
    using PagePainter = std::function<void(QPrinter* printer)>;
    explicit PrintPreview(QWidget* parent = nullptr);
    ~PrintPreview() override;

    void setPagePainter(PagePainter painter);
    // What the pages are: the report or label and its record ("Chain of Custody - 2024-0015-01").
    // The printer's document name, which the print dialog proposes as the name of a PDF file.
    void setDocumentName(const QString& name) { m_documentName = name; }
    QString documentName() const { return m_documentName; }
    // Paints the pages afresh (after the document changed).
    void updatePages();
    QPrintPreviewWidget* previewWidget() const { return m_preview; }
    int pageCount() const;

    // Prints the pages on the printer the user chooses; false when there is nothing to print or
    // the user cancelled.
    bool printPages();

    // What asks for the printer: true when the printer was set up to print on. The print dialog
    // unless replaced; an empty chooser puts the print dialog back.
    using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;
    static void setPrinterChooser(PrinterChooser chooser);

Q_SIGNALS:
    // The toolbar's Close button.
    void closeRequested();

private:
    std::unique_ptr<QPrinter> m_printer; // the preview's page layout
    QPrintPreviewWidget* m_preview = nullptr;
    PagePainter m_painter;
    QString m_documentName;
};

// The document name of pages printed under that name: the name as a file name no file system
// refuses (no / \ : * ? " < > |, no control character, no dot or blank at its end, not empty, at
// most 240 bytes) followed by ".pdf". The extension is part of the name because the print dialog
// takes whatever follows a name's last dot for one and replaces it ("Item 2.5" would be "Item 2.pdf").
QString PrintedDocumentName(const QString& name);
