#pragma once

#include <QWidget>

class QLabel;

// The splash window of start-up: the application title, the legal notice and the program's
// picture (Images/gun.jpg); borderless and centred.
class frmSplash final : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    QLabel* zxlAppName = nullptr;
    QLabel* zxlbCopyright = nullptr;
    QLabel* imgImage = nullptr;
};

// The program's picture for the splash and About windows; a missing or unreadable file leaves the
// label empty with the path as its tool tip.
void LoadProgramPicture(QLabel* label, int maxWidth, int maxHeight);
