#include "form_framework/zButtonBar.h"

#include "form_framework/BarButtons.h"

#include <QMouseEvent>
#include <QPushButton>

zButtonBar::zButtonBar(QWidget* parent)
    : QWidget(parent)
{
}

void zButtonBar::setSharedButtons(QPushButton* actions, QPushButton* close)
{
    m_actionsButton = actions;
    m_closeButton = close;
    actions->installEventFilter(this);
}

void zButtonBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void zButtonBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_escapeInstalled && m_closeButton) {
        m_escapeInstalled = true;
        BarButtons::installEscape(this, m_closeButton);
    }
}

bool zButtonBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_actionsButton && event->type() == QEvent::MouseButtonPress)
        m_pressY = static_cast<QMouseEvent*>(event)->position().toPoint().y();
    return QWidget::eventFilter(watched, event);
}
