#include "form_framework/zButtonBar.h"

#include "form_framework/BarButtons.h"

#include <QPushButton>

zButtonBar::zButtonBar(QWidget* parent)
    : QWidget(parent)
{
}

void zButtonBar::setCloseButton(QPushButton* close)
{
    m_closeButton = close;
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
