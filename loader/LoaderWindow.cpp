#include "loader/LoaderWindow.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/SqlText.h"

#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

QLabel* addLabel(QWidget* window, QVBoxLayout* layout, const QString& name, const QString& caption,
    const QString& family, double pointSize)
{
    auto* label = new QLabel(caption, window);
    label->setObjectName(name);
    // The progress line names the files being installed: never markup.
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleName(caption);
    label->setAlignment(Qt::AlignCenter);
    QFont font(family);
    font.setPointSizeF(pointSize);
    label->setFont(font);
    layout->addWidget(label);
    return label;
}

} // namespace

QString LoaderCopyright() { return QStringLiteral("Copyright (C) The Bramblecot developers. All rights reserved."); }

LoaderWindow::LoaderWindow(QWidget* parent)
    : QWidget(parent)
{
    // The window keeps the name the loader's window has always had, which scripts and tests look for.
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Bramblecot"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    m_lblAppName = addLabel(this, layout, QStringLiteral("lblAppName"), QStringLiteral("Bramblecot"),
        QStringLiteral("Comic Sans MS"), 27.75);
    m_imgImage = new QLabel(this);
    m_imgImage->setObjectName(QStringLiteral("imgImage"));
    m_imgImage->setAccessibleName(QStringLiteral("Bramblecot picture"));
    m_imgImage->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_imgImage);
    m_lblProgress = addLabel(
        this, layout, QStringLiteral("lblProgress"), QStringLiteral("Progress"), QStringLiteral("Tahoma"), 8.25);
    m_lblCopyright = addLabel(this, layout, QStringLiteral("lblCopyright"), QString(), QStringLiteral("Tahoma"), 8.25);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void LoaderWindow::Form_Load()
{
    m_lblCopyright->setText(LoaderCopyright());
    m_lblCopyright->setAccessibleName(LoaderCopyright());
    const QString path = GetMainPath() + QStringLiteral("Images/gun.jpg");
    QPixmap picture;
    if (!picture.load(path))
        RaiseToReport(QStringLiteral("Cannot load the picture ") + AngleQuote(path) + QLatin1Char('.'));
    m_imgImage->setPixmap(picture);
}

void LoaderWindow::SetStatus(const QString& text)
{
    m_lblProgress->setText(text);
    m_lblProgress->setAccessibleName(text);
    Q_EMIT statusChanged(text);
    QCoreApplication::processEvents();
}
