#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class zLabel;
class zText;

// The modal log-on window: a database of Settings.xml, a user name and password, or the trusted
// log-on as the operating-system user. It is left only by a successful log-on or by Exit, which
// ends the program. A password equal to the user name (any case) is changed before going on.
class frmLogon final : public QDialog {
    Q_OBJECT
public:
    explicit frmLogon(QWidget* parent = nullptr);

    // Shows the window modally; true once connected, false when the user chose Exit (the program
    // has been told to end).
    static bool Run();
    bool connected() const { return m_connected; }

    void Logon();
    void ExitProgram();
    // Logon is enabled for the trusted log-on, or when both the user name and password hold text.
    void EnableLogon();
    void TrustedChanged();

    QComboBox* cboDatabase = nullptr;
    zText* ztxtName = nullptr;
    zText* ztxtPassword = nullptr;
    QCheckBox* zchkTrusted = nullptr;
    QPushButton* btnLogon = nullptr;
    QPushButton* btnExit = nullptr;

protected:
    // No close box and no Esc: only the two buttons leave the window.
    void reject() override { }

private:
    bool fieldsAreValid();

    zLabel* m_nameLabel = nullptr;
    zLabel* m_passwordLabel = nullptr;
    QList<QLabel*> m_comments;
    bool m_connected = false;
};
