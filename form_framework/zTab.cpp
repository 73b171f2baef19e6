#include "form_framework/zTab.h"

#include <QFrame>
#include <QResizeEvent>
#include <QTabBar>

zTab::zTab(QWidget* parent)
    : QWidget(parent)
    , m_frame(new QFrame(this))
    , m_tabStrip(new QTabBar(this))
{
    m_frame->setObjectName(QStringLiteral("Frame_0"));
    m_tabStrip->setObjectName(QStringLiteral("TabStrip"));
}

void zTab::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_tabStrip->setGeometry(0, 0, event->size().width(), event->size().height());
}
