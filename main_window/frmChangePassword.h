#pragma once

#include <QDialog>

class QPushButton;
class zLabel;
class zText;

// The modal password change of the connected log-in: the old password, the new one twice. With
// a start parameter "Password" (the forced change after a log-on whose password equals the user
// name) the old password is filled in and locked.
class frmChangePassword final : public QDialog {
    Q_OBJECT
public:
    explicit frmChangePassword(QWidget* parent = nullptr);

    void OK();
    void EnableOK();

    zText* ztxtDatabase = nullptr;
    zText* ztxtName = nullptr;
    zText* ztxtPassword[3] = {};
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    // The new password's final check: its message, or "".
    QString newPasswordFinalCheck();
    zLabel* m_labels[3] = {};
};
