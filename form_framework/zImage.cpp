#include "form_framework/zImage.h"

#include "core/Actions.h"
#include "core/TextUtilities.h"

#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>

zImage::zImage(QWidget* parent)
    : QWidget(parent)
    , m_image(new QLabel(this))
    , m_status(new QLabel(QStringLiteral("Preview Off"), this))
{
    m_image->setObjectName(QStringLiteral("imgImage"));
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setTextFormat(Qt::PlainText); // reader errors quote the file's path
    // An evidence photograph is never shown distorted: the picture is scaled to the control with
    // its proportions kept and centred in the room left over.
    m_image->setAlignment(Qt::AlignCenter);
    m_status->setAlignment(Qt::AlignCenter);
    m_image->hide();
    placeStatus();
}

void zImage::setImagePath(const QString& path)
{
    m_imagePath = path.trimmed();
    refreshDisplay();
}

void zImage::setPreview(bool preview)
{
    m_preview = preview;
    refreshDisplay();
}

void zImage::Clear() { setImagePath(QString()); }

void zImage::Refresh()
{
    m_loadedPath.clear();
    refreshDisplay();
}

QString zImage::StatusText() const { return m_status->isHidden() ? QString() : m_status->text(); }

bool zImage::PictureShown() const { return !m_image->isHidden(); }

void zImage::refreshDisplay()
{
    BusyPointer busy;
    if (!m_preview)
        return showStatus(QStringLiteral("Preview Off"));
    if (m_imagePath.isEmpty())
        return showStatus(QStringLiteral("No Image Specified"));
    if (!FileExists(m_imagePath))
        return showStatus(QStringLiteral("Cannot Find Specified File"));
    // Paths compare exactly: two files may differ in case alone.
    if (m_imagePath != m_loadedPath) {
        QImageReader reader(m_imagePath);
        const QImage picture = reader.read();
        if (picture.isNull())
            return showStatus(reader.errorString());
        m_picture = QPixmap::fromImage(picture);
        m_loadedPath = m_imagePath;
        fitPicture();
    }
    m_image->show();
    m_status->hide();
}

void zImage::showStatus(const QString& text)
{
    m_image->hide();
    m_status->setText(text);
    m_status->adjustSize();
    placeStatus();
    m_status->show();
}

void zImage::placeStatus() { m_status->move((width() - m_status->width()) / 2, (height() - m_status->height()) / 2); }

void zImage::fitPicture()
{
    if (m_picture.isNull() || m_image->width() < 1 || m_image->height() < 1) {
        m_image->setPixmap(m_picture);
        return;
    }
    m_image->setPixmap(m_picture.scaled(m_image->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void zImage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_image->setGeometry(0, 0, event->size().width(), event->size().height());
    fitPicture();
    placeStatus();
}
