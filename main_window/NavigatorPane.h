#pragma once

#include <QWidget>

#include <functional>

class QFrame;
class QTreeWidget;

// Where a dragged divider may go (all in twips). The horizontal divider stays at least 1000 below
// the top and 1000 above the bottom of the client area; the pane is never narrower than 1000 nor
// wider than half the main window (integer halving).
int ClampHorizontalDivider(int newTop, int clientHeight);
int ClampVerticalDivider(int newLeft, int paneWidth, int mainWidth, bool paneOnRight);

// The navigator pane picNavigators of the main window: the Go To tree above, the open-windows list
// below, the horizontal divider between them and the vertical divider along the inner edge.
// Lengths are kept in twips, as the per-user settings store them.
class NavigatorPane : public QWidget {
    Q_OBJECT
public:
    NavigatorPane(QWidget* openWindowsList, QWidget* parent);

    QTreeWidget* tree() const { return m_tree; }
    QWidget* openWindowsList() const { return m_list; }
    QFrame* horizontalDivider() const { return m_horizDiv; }

    int widthTwips() const { return m_widthTwips; }
    void setWidthTwips(int twips);
    void setHorizontalDividerTop(int twips);
    int verticalDividerLeft() const { return m_vertLeft; }
    // Divider thickness, and the inset of the tree and the list, in twips.
    static constexpr int kDividerTwips = 60;

    // NavigatorVisibleChange: shows and places everything from the two navigator checks and the
    // pane's side.
    void layOut(bool showGoTo, bool showOpenWindows, bool onRight);
    // Places the vertical divider on the pane's inner edge for the side.
    void placeVerticalDivider(bool onRight);
    bool onRight() const { return m_onRight; }
    // A divider is being dragged (painted in the button-shadow colour).
    bool dragging(QFrame* divider) const;

    // What the pane asks of the main window while a divider is dragged.
    std::function<int()> clientHeightTwips;
    std::function<int()> mainWidthTwips;
    std::function<void(int)> saveHorizontalDivider; // DB_Horiz_Div_Y
    std::function<void(int)> saveWidth; // DB_Navigators_Width

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void paintDivider(QFrame* divider, bool dragging);
    int heightTwips() const;
    void applyGeometry();

    QTreeWidget* m_tree;
    QWidget* m_list;
    QFrame* m_horizDiv;
    QFrame* m_vertDiv;
    int m_widthTwips = 3600;
    int m_horizTop = 5400;
    int m_vertLeft = 0;
    bool m_showGoTo = true;
    bool m_showOpenWindows = true;
    bool m_onRight = false;
};
