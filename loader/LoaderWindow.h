#pragma once

#include <QString>
#include <QWidget>

class QLabel;

// The loader's progress window: the product name, the picture, the status line and the copyright
// notice, top to bottom. It offers no commands; the loader's start-up road drives it.
class LoaderWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoaderWindow(QWidget* parent = nullptr);

    // Sets the copyright notice and loads Images/gun.jpg from the program folder. Raises AppError
    // (ErrToReport) when the picture cannot be loaded.
    void Form_Load();
    // Shows the status text and lets the window repaint before the next long step.
    void SetStatus(const QString& text);

Q_SIGNALS:
    void statusChanged(const QString& text);

private:
    QLabel* m_lblAppName = nullptr;
    QLabel* m_imgImage = nullptr;
    QLabel* m_lblProgress = nullptr;
    QLabel* m_lblCopyright = nullptr;
};

// The copyright notice the loader window shows.
QString LoaderCopyright();
