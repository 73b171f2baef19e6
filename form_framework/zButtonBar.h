#pragma once

#include <QWidget>

class QPushButton;

// What both button bars do alike: lay their buttons out again when resized, and let Escape press
// Close once the bar is shown.
class zButtonBar : public QWidget {
public:
    explicit zButtonBar(QWidget* parent = nullptr);

protected:
    // The derived bar creates its buttons, then names the Close button here.
    void setCloseButton(QPushButton* close);
    virtual void layOut() = 0;

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* m_closeButton = nullptr;
    bool m_escapeInstalled = false;
};
