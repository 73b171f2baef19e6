#pragma once

#include <QWidget>

class QPushButton;

// What both button bars do alike: lay their buttons out again when resized, let Escape press
// Close once the bar is shown, and remember where the Actions button was pressed so its menu
// opens there.
class zButtonBar : public QWidget {
public:
    explicit zButtonBar(QWidget* parent = nullptr);

protected:
    // The derived bar creates its buttons, then names the Actions and Close buttons here.
    void setSharedButtons(QPushButton* actions, QPushButton* close);
    virtual void layOut() = 0;
    int pressY() const { return m_pressY; }

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* m_actionsButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    int m_pressY = 0;
    bool m_escapeInstalled = false;
};
