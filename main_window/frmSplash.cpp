#include "main_window/frmSplash.h"

#include "core/AppInfo.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

void LoadProgramPicture(QLabel* label, int maxWidth, int maxHeight)
{
    const QString path = GetMainPath() + QStringLiteral("Images/gun.jpg");
    const QPixmap picture(path);
    if (picture.isNull()) {
        label->clear();
        label->setToolTip(QStringLiteral("Cannot find ") + path);
        return;
    }
    label->setPixmap(picture.scaled(maxWidth, maxHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    zxlAppName = new QLabel(ApplicationTitle(), this);
    zxlAppName->setObjectName(QStringLiteral("zxlAppName"));
    zxlAppName->setTextFormat(Qt::PlainText);
    QFont big = zxlAppName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 2);
    zxlAppName->setFont(big);
    zxlAppName->setAlignment(Qt::AlignCenter);
    zxlbCopyright = new QLabel(LegalNotice(), this);
    zxlbCopyright->setObjectName(QStringLiteral("zxlbCopyright"));
    zxlbCopyright->setTextFormat(Qt::PlainText);
    zxlbCopyright->setAlignment(Qt::AlignCenter);
    imgImage = new QLabel(this);
    imgImage->setObjectName(QStringLiteral("imgImage"));
    imgImage->setAlignment(Qt::AlignCenter);
    LoadProgramPicture(imgImage, 360, 240);
    auto* column = new QVBoxLayout(this);
    column->addWidget(zxlAppName);
    column->addWidget(imgImage);
    column->addWidget(zxlbCopyright);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
