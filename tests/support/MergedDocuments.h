#pragma once

// What the mail merge hands to be previewed or printed, kept for the test to look at, and what a
// scanner reads from the barcodes of a kept document.

#include "exports/MailMerge.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QImage;
class QTextDocument;

// Keeps every merged document, previewed or printed, in documents, and its title in titles.
class RecordingPresenter final : public MergedDocumentPresenter {
public:
    void preview(std::unique_ptr<QTextDocument> document, const QString& title) override;
    void print(std::unique_ptr<QTextDocument> document, const QString& title) override;

    static inline std::vector<std::unique_ptr<QTextDocument>> documents;
    static inline QStringList titles;

    // Installs a recorder (documents and titles emptied) for the guard's lifetime; the presenter installed
    // before comes back when it ends.
    class Installed {
    public:
        Installed();
        ~Installed();
        Installed(const Installed&) = delete;
        Installed& operator=(const Installed&) = delete;

    private:
        std::unique_ptr<MergedDocumentPresenter> m_previous;
    };
};

// The Code 39 barcodes zbarimg reads from the document laid out that wide and drawn three times
// over into the picture png, one "CODE-39:<text>" a barcode, sorted. Adds a test failure (and
// gives none) when the picture cannot be saved or zbarimg does not finish.
QStringList DecodedBarcodes(QTextDocument* document, const QString& png, qreal textWidth = 1000);
// What zbarimg reads from a picture as it is (a window or control grabbed as the screen shows
// it), saved as png, with the same failures.
QStringList DecodedBarcodes(const QImage& picture, const QString& png);
