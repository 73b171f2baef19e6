#include "main_window/frmImage.h"

#include "core/Actions.h"
#include "form_framework/ChildWindows.h"
#include "core/InputRoutines.h"
#include "core/Platform.h"
#include "core/TextUtilities.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zInfo.h"

#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

frmImage::frmImage()
    : DataWindow(QStringLiteral("frmImage"))
{
    setWindowTitle(QStringLiteral("View Image"));
    info()->setFormType(FormType::Other);

    auto* label = new QLabel(QStringLiteral("Image File:"), this);
    label->setObjectName(QStringLiteral("zlabel1"));
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("txtPath"));
    m_path->setReadOnly(true);
    m_path->setAccessibleName(QStringLiteral("Image File"));
    label->setBuddy(m_path);
    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("zimgImage"));
    m_image->setAlignment(Qt::AlignCenter);
    m_image->setMinimumSize(1, 1);
    m_image->setFrameShape(QFrame::Box);
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("btnClose"));
    m_close->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_path, 0, 1);
    grid->addWidget(m_close, 0, 2);
    grid->addWidget(m_image, 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    resize(640, 480);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, m_close, &QPushButton::click);
    connect(m_close, &QPushButton::clicked, this, [this] { UnloadWindow(this); });
    connect(m_path, &QLineEdit::textChanged, this, &frmImage::pathChanged);
    m_path->installEventFilter(this);
    showPicture();
}

QString frmImage::ImagePath() const
{
    return m_path->text();
}

void frmImage::ProcessCommand(MainCommand) { Platform::prompt().beep(); }

void frmImage::takeStartParameters()
{
    BusyPointer busy;
    if (!FormParams::contains(objectName()))
        return;
    m_path->setText(FormParams::entry(objectName()).value(QStringLiteral("ImagePath")).toString());
    FormParams::remove(objectName());
}

void frmImage::pathChanged()
{
    SetCaption(this, QStringLiteral("View Image - ") + m_path->text());
    loadPicture();
    showPicture();
}

void frmImage::loadPicture()
{
    const QString path = m_path->text();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    m_picture = !path.trimmed().isEmpty() && FileExists(path) ? reader.read() : QImage();
}

void frmImage::showPicture()
{
    if (m_path->text().trimmed().isEmpty() || m_picture.isNull()) {
        m_image->setPixmap({});
        m_image->setText(m_path->text().trimmed().isEmpty() ? QStringLiteral("No Image Specified")
                                                             : QStringLiteral("Cannot Find Specified File"));
        return;
    }
    const QSize room = m_image->contentsRect().size();
    QPixmap pixmap = QPixmap::fromImage(m_picture);
    if (pixmap.width() > room.width() || pixmap.height() > room.height())
        pixmap = pixmap.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_image->setPixmap(pixmap);
}

void frmImage::resizeEvent(QResizeEvent* event)
{
    DataWindow::resizeEvent(event);
    if (!frame()->isMinimized() && !m_picture.isNull())
        showPicture();
}

bool frmImage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_path && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, m_path, [this] { SelectAllText(m_path); });
    return DataWindow::eventFilter(watched, event);
}
