#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

class QLabel;

// Previews a picture file, as large as the control allows with its proportions kept, or tells in
// a centred status text why no picture shows ("Preview Off", "No Image Specified", "Cannot Find
// Specified File", or the picture loader's own error).
class zImage : public QWidget {
    Q_OBJECT
public:
    explicit zImage(QWidget* parent = nullptr);

    QString ImagePath() const { return m_imagePath; }
    // Stored trimmed; the display follows. The same path again is not read again.
    void setImagePath(const QString& path);
    bool Preview() const { return m_preview; }
    void setPreview(bool preview);
    void Clear();
    // Reads the file again even when the path has not changed.
    void Refresh();

    QString StatusText() const;
    bool PictureShown() const;
    QLabel* imageBox() const { return m_image; }
    // The size of the picture as read from its file (before it is fitted to the control).
    QSize PictureSize() const { return m_picture.size(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refreshDisplay();
    void showStatus(const QString& text);
    void placeStatus();
    void fitPicture();

    QLabel* m_image;
    QLabel* m_status;
    QString m_imagePath;
    bool m_preview = false;
    QString m_loadedPath;
    QPixmap m_picture; // as read, before it is fitted to the control
};
