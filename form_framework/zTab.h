#pragma once

#include <QWidget>

class QFrame;
class QTabBar;

// The tab strip container: a frame and a tab bar that spans the control. No window places one;
// it keeps only its layout.
class zTab : public QWidget {
    Q_OBJECT
public:
    explicit zTab(QWidget* parent = nullptr);

    QFrame* frame() const { return m_frame; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QFrame* m_frame;
    QTabBar* m_tabStrip;
};
