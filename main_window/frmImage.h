#pragma once

#include "form_framework/DataWindow.h"

#include <QImage>

class QLabel;
class QLineEdit;
class QPushButton;

// The image viewer: one picture file, named in its path box and in its caption. Start parameter
// "ImagePath". One viewer per path (ShowImage brings an open one forward).
class frmImage : public DataWindow {
    Q_OBJECT
public:
    frmImage();

    QString ImagePath() const;

    // The start parameters are taken at the end of the load; the main window's commands only beep.
    void AfterPopulateForm() override { takeStartParameters(); }
    void ProcessCommand(MainCommand command) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeStartParameters();
    void pathChanged();
    void loadPicture();
    void showPicture();

    QLineEdit* m_path;
    // Stands in for the framework's image display until it is available here.
    QLabel* m_image;
    QPushButton* m_close;
    QImage m_picture;
};
