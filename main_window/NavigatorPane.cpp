#include "main_window/NavigatorPane.h"

#include "core/Twips.h"

#include <QFrame>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeWidget>

namespace {
QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), qMax(0, TwipsToPixels(width)), qMax(0, TwipsToPixels(height)));
}
} // namespace

int ClampHorizontalDivider(int newTop, int clientHeight)
{
    if (newTop < 1000)
        newTop = 1000;
    if (newTop > clientHeight - 1000)
        newTop = clientHeight - 1000;
    return newTop;
}

int ClampVerticalDivider(int newLeft, int paneWidth, int mainWidth, bool paneOnRight)
{
    const int half = mainWidth / 2;
    if (!paneOnRight) {
        if (newLeft < 1000)
            newLeft = 1000;
        if (newLeft > half)
            newLeft = half;
        return newLeft;
    }
    if (paneWidth - newLeft < 1000)
        newLeft = paneWidth - 1000;
    if (paneWidth - newLeft > half)
        newLeft = paneWidth - half;
    return newLeft;
}

NavigatorPane::NavigatorPane(QWidget* openWindowsList, QWidget* parent)
    : QWidget(parent)
    , m_tree(new QTreeWidget(this))
    , m_list(openWindowsList)
    , m_horizDiv(new QFrame(this))
    , m_vertDiv(new QFrame(this))
{
    setObjectName(QStringLiteral("picNavigators"));
    m_tree->setObjectName(QStringLiteral("tvwGoToNavigator"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_list->setParent(this);
    m_horizDiv->setObjectName(QStringLiteral("fraHorizDiv"));
    m_vertDiv->setObjectName(QStringLiteral("fraVertDiv"));
    m_horizDiv->setCursor(Qt::SplitVCursor);
    m_vertDiv->setCursor(Qt::SplitHCursor);
    for (QFrame* divider : { m_horizDiv, m_vertDiv }) {
        divider->setAutoFillBackground(true);
        divider->installEventFilter(this);
        paintDivider(divider, false);
    }
    setWidthTwips(m_widthTwips);
}

void NavigatorPane::setWidthTwips(int twips)
{
    m_widthTwips = qMax(0, twips);
    setFixedWidth(TwipsToPixels(m_widthTwips));
    placeVerticalDivider(m_onRight);
    applyGeometry();
}

void NavigatorPane::setHorizontalDividerTop(int twips)
{
    m_horizTop = twips;
    applyGeometry();
}

int NavigatorPane::heightTwips() const
{
    return PixelsToTwips(height());
}

void NavigatorPane::placeVerticalDivider(bool onRight)
{
    m_onRight = onRight;
    m_vertLeft = onRight ? 0 : m_widthTwips - kDividerTwips;
    m_vertDiv->setGeometry(twipsRect(m_vertLeft, 0, kDividerTwips, heightTwips()));
}

void NavigatorPane::layOut(bool showGoTo, bool showOpenWindows, bool onRight)
{
    m_showGoTo = showGoTo;
    m_showOpenWindows = showOpenWindows;
    m_onRight = onRight;
    applyGeometry();
}

void NavigatorPane::applyGeometry()
{
    const bool g = m_showGoTo;
    const bool w = m_showOpenWindows;
    m_tree->setVisible(g);
    m_list->setVisible(w);
    setVisible(g || w);
    m_horizDiv->setVisible(g && w);
    const int paneHeight = heightTwips();
    placeVerticalDivider(m_onRight);
    const int innerLeft = kDividerTwips;
    const int innerWidth = m_widthTwips - 2 * kDividerTwips;
    m_horizDiv->setGeometry(twipsRect(0, m_horizTop, m_widthTwips, kDividerTwips));
    if (g && w) {
        m_tree->setGeometry(twipsRect(innerLeft, kDividerTwips, innerWidth, m_horizTop - kDividerTwips));
        const int listTop = m_horizTop + kDividerTwips;
        m_list->setGeometry(twipsRect(innerLeft, listTop, innerWidth, paneHeight - listTop - kDividerTwips));
    } else if (g) {
        m_tree->setGeometry(twipsRect(innerLeft, kDividerTwips, innerWidth, paneHeight - 2 * kDividerTwips));
    } else if (w) {
        m_list->setGeometry(twipsRect(innerLeft, kDividerTwips, innerWidth, paneHeight - 2 * kDividerTwips));
    }
    m_vertDiv->raise();
}

void NavigatorPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    applyGeometry();
}

void NavigatorPane::paintDivider(QFrame* divider, bool dragging)
{
    QPalette palette = divider->palette();
    palette.setColor(QPalette::Window, palette.color(dragging ? QPalette::Dark : QPalette::Button));
    divider->setPalette(palette);
    divider->setProperty("dragging", dragging);
}

bool NavigatorPane::dragging(QFrame* divider) const
{
    return divider->property("dragging").toBool();
}

bool NavigatorPane::eventFilter(QObject* watched, QEvent* event)
{
    auto* divider = qobject_cast<QFrame*>(watched);
    if (divider != m_horizDiv && divider != m_vertDiv)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        paintDivider(divider, true);
        return true;
    case QEvent::MouseMove: {
        if (!dragging(divider))
            return true; // a move without a press before it changes nothing
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (divider == m_horizDiv) {
            const int client = clientHeightTwips ? clientHeightTwips() : heightTwips();
            m_horizTop = ClampHorizontalDivider(m_horizTop + PixelsToTwips(at.y()), client);
            m_horizDiv->move(m_horizDiv->x(), TwipsToPixels(m_horizTop));
        } else {
            const int mainWidth = mainWidthTwips ? mainWidthTwips() : 2 * m_widthTwips;
            m_vertLeft = ClampVerticalDivider(m_vertLeft + PixelsToTwips(at.x()), m_widthTwips, mainWidth, m_onRight);
            m_vertDiv->move(TwipsToPixels(m_vertLeft), m_vertDiv->y());
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (!dragging(divider))
            return true;
        paintDivider(divider, false);
        if (divider == m_horizDiv) {
            applyGeometry();
            if (saveHorizontalDivider)
                saveHorizontalDivider(m_horizTop);
        } else {
            const int width = m_onRight ? m_widthTwips - m_vertLeft : m_vertLeft + kDividerTwips;
            setWidthTwips(width);
            if (saveWidth)
                saveWidth(m_widthTwips);
        }
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}
