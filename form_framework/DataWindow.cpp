#include "form_framework/DataWindow.h"

#include "core/Twips.h"
#include "form_framework/zInfo.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

DataWindow::DataWindow(const QString& className, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(className);
    setAttribute(Qt::WA_DeleteOnClose);
    m_info = new zInfo(this);
}

QWidget* DataWindow::frame()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        return sub;
    return this;
}

bool DataWindow::isChildOfMainWindow() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget()) != nullptr;
}

int DataWindow::LeftTwips()
{
    return PixelsToTwips(frame()->x());
}

int DataWindow::TopTwips()
{
    return PixelsToTwips(frame()->y());
}

void DataWindow::moveTwips(int left, int top)
{
    frame()->move(TwipsToPixels(left), TwipsToPixels(top));
}

void DataWindow::resizeTwips(int width, int height)
{
    frame()->resize(TwipsToPixels(width), TwipsToPixels(height));
}

void DataWindow::fitFrameTo(const QSize& size)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(frame());
    if (!sub || size.isEmpty())
        return;
    QStyleOptionTitleBar option;
    option.initFrom(sub);
    const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
    const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub);
    sub->resize(size.width() + 2 * border, size.height() + title + border);
}

void DataWindow::setWindowEnabled(bool enabled)
{
    setEnabled(enabled);
    if (QWidget* f = frame(); f != this)
        f->setEnabled(enabled);
}

void DataWindow::bringToFront(bool restoreMinimized)
{
    QWidget* f = frame();
    if (restoreMinimized && f->isMinimized())
        f->showNormal();
    f->raise();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(f); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    else
        f->activateWindow();
}

QWidget* DataWindow::member(const QString& name) const
{
    return findChild<QWidget*>(name);
}
