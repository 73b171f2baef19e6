#include "support/MergedDocuments.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTextDocument>

#include <gtest/gtest.h>

void RecordingPresenter::preview(std::unique_ptr<QTextDocument> document, const QString& title)
{
    documents.push_back(std::move(document));
    titles << title;
}

void RecordingPresenter::print(std::unique_ptr<QTextDocument> document, const QString& title)
{
    documents.push_back(std::move(document));
    titles << title;
}

RecordingPresenter::Installed::Installed()
{
    documents.clear();
    titles.clear();
    m_previous = SetMergedDocumentPresenter(std::make_unique<RecordingPresenter>());
}

RecordingPresenter::Installed::~Installed()
{
    SetMergedDocumentPresenter(std::move(m_previous));
    documents.clear();
    titles.clear();
}

QStringList DecodedBarcodes(QTextDocument* document, const QString& png, qreal textWidth)
{
    document->setTextWidth(textWidth);
    // Three times the layout with a margin: at one pixel a module the narrow bars blur together.
    QImage page((document->size().toSize() + QSize(20, 20)) * 3, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.scale(3, 3);
        painter.translate(10, 10);
        document->drawContents(&painter);
    }
    return DecodedBarcodes(page, png);
}

QStringList DecodedBarcodes(const QImage& page, const QString& png)
{
    if (!page.save(png)) {
        ADD_FAILURE() << "could not save " << png.toStdString();
        return {};
    }
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"),
        { QStringLiteral("--quiet"), QStringLiteral("-Sdisable"), QStringLiteral("-Scode39.enable"), png });
    if (!zbar.waitForFinished(30000)) {
        ADD_FAILURE() << "zbarimg did not finish: " << zbar.errorString().toStdString();
        return {};
    }
    QStringList found = QString::fromUtf8(zbar.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    found.sort();
    return found;
}
