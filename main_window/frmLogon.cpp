#include "main_window/frmLogon.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/Logins.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"
#include "core/RegistrySettings.h"
#include "form_framework/WindowOpening.h"
#include "main_window/frmChangePassword.h"
#include "form_framework/zLabel.h"
#include "form_framework/zText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* comment(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setItalic(true);
    label->setFont(font);
    return label;
}
} // namespace

frmLogon::frmLogon(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmLogon"));
    setWindowTitle(QStringLiteral("Logon"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Logon to Bramblecot"), this);
    heading->setObjectName(QStringLiteral("zExtendedLabel1"));
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    heading->setFont(big);

    auto* databaseLabel = new zLabel(this);
    databaseLabel->setObjectName(QStringLiteral("zlabel1(0)"));
    databaseLabel->setValue(QStringLiteral("Database:"));
    databaseLabel->setRequired(true);
    cboDatabase = new QComboBox(this);
    cboDatabase->setObjectName(QStringLiteral("cboDatabase"));
    cboDatabase->setEditable(false);
    databaseLabel->setBuddy(cboDatabase);

    m_nameLabel = new zLabel(this);
    m_nameLabel->setObjectName(QStringLiteral("zlblName"));
    m_nameLabel->setValue(QStringLiteral("User Name:"));
    m_nameLabel->setRequired(true);
    ztxtName = new zText(this);
    ztxtName->setObjectName(QStringLiteral("ztxtName"));
    ztxtName->setGoodName(QStringLiteral("User Name"));
    ztxtName->setRequired(true);
    ztxtName->setMaxLength(30);
    ztxtName->setPartOfTheQuery(false);
    m_nameLabel->setBuddy(ztxtName);

    m_passwordLabel = new zLabel(this);
    m_passwordLabel->setObjectName(QStringLiteral("zlblPassword"));
    m_passwordLabel->setValue(QStringLiteral("Password:"));
    m_passwordLabel->setRequired(true);
    ztxtPassword = new zText(this);
    ztxtPassword->setObjectName(QStringLiteral("ztxtPassword"));
    ztxtPassword->setGoodName(QStringLiteral("Password"));
    ztxtPassword->setRequired(true);
    ztxtPassword->setMaxLength(kMaxPasswordLength);
    ztxtPassword->setPartOfTheQuery(false);
    ztxtPassword->setIsPassword(true);
    m_passwordLabel->setBuddy(ztxtPassword);

    zchkTrusted = new QCheckBox(QStringLiteral("Trusted Connection"), this);
    zchkTrusted->setObjectName(QStringLiteral("zchkTrusted"));
    auto* trustedNote = new QLabel(QStringLiteral("Connect to the Database Using Your Computer Account"), this);
    trustedNote->setObjectName(QStringLiteral("zlabel2(2)"));

    m_comments << comment(QStringLiteral("User Name is Case INSENSITIVE"), QStringLiteral("zlblUserCom"), this)
               << comment(QStringLiteral("This is the Database Log-in Password, Not the Computer Account Password"), QStringLiteral("zlblPassCom(0)"), this)
               << comment(QStringLiteral("This password is Case SENSITIVE"), QStringLiteral("zlblPassCom(1)"), this)
               << comment(QStringLiteral("No Spaces Allowed"), QStringLiteral("zlblPassCom(2)"), this);

    btnLogon = new QPushButton(QStringLiteral("&Logon"), this);
    btnLogon->setObjectName(QStringLiteral("btnLogon"));
    btnLogon->setDefault(true);
    btnLogon->setAutoDefault(true);
    btnLogon->setEnabled(false);
    btnExit = new QPushButton(QStringLiteral("&Exit"), this);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    btnExit->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(m_nameLabel, 0, 0);
    grid->addWidget(ztxtName, 0, 1);
    grid->addWidget(m_comments.at(0), 0, 2);
    grid->addWidget(m_passwordLabel, 1, 0);
    grid->addWidget(ztxtPassword, 1, 1);
    auto* passwordNotes = new QVBoxLayout;
    for (int i = 1; i <= 3; ++i)
        passwordNotes->addWidget(m_comments.at(i));
    grid->addLayout(passwordNotes, 1, 2, 2, 1);
    grid->addWidget(databaseLabel, 3, 0);
    grid->addWidget(cboDatabase, 3, 1, 1, 2);
    grid->addWidget(zchkTrusted, 4, 1);
    grid->addWidget(trustedNote, 4, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnLogon);
    buttons->addWidget(btnExit);
    auto* column = new QVBoxLayout(this);
    column->addWidget(heading);
    column->addLayout(grid);
    column->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Design tab order: user name, password, database list, Logon, Exit, check box.
    setTabOrder(ztxtName->inputBox(), ztxtPassword->inputBox());
    setTabOrder(ztxtPassword->inputBox(), cboDatabase);
    setTabOrder(cboDatabase, btnLogon);
    setTabOrder(btnLogon, btnExit);
    setTabOrder(btnExit, zchkTrusted);

    connect(ztxtName, &zText::Change, this, &frmLogon::EnableLogon);
    connect(ztxtPassword, &zText::Change, this, &frmLogon::EnableLogon);
    connect(zchkTrusted, &QCheckBox::toggled, this, &frmLogon::TrustedChanged);
    connect(btnLogon, &QPushButton::clicked, this, &frmLogon::Logon);
    connect(btnExit, &QPushButton::clicked, this, &frmLogon::ExitProgram);

    // Load: the last user, then the databases with the current one chosen.
    ztxtName->setValue(RegistrySettings::value(QStringLiteral("Options"), QStringLiteral("LastUser")));
    QWidget* first = ztxtName->inputBox();
    if (!ztxtName->box()->text().isEmpty()) {
        // A known user types only the password: the name goes behind every other control.
        setTabOrder(zchkTrusted, ztxtName->inputBox());
        first = ztxtPassword->inputBox();
    }
    for (const DatabaseEntry& entry : DBList())
        cboDatabase->addItem(entry.DisplayName);
    cboDatabase->setCurrentIndex(CurrentDB() >= 1 && CurrentDB() <= DBCount() ? CurrentDB() - 1 : -1);
    first->setFocus(Qt::OtherFocusReason);
    EnableLogon();
}

bool frmLogon::Run()
{
    frmLogon window;
    window.exec();
    return window.connected();
}

void frmLogon::EnableLogon()
{
    btnLogon->setEnabled(zchkTrusted->isChecked()
                         || (!ztxtName->box()->text().isEmpty() && !ztxtPassword->box()->text().isEmpty()));
}

void frmLogon::TrustedChanged()
{
    const bool applicable = !zchkTrusted->isChecked();
    ztxtName->setApplicable(applicable);
    ztxtPassword->setApplicable(applicable);
    m_nameLabel->setApplicable(applicable);
    m_passwordLabel->setApplicable(applicable);
    for (QLabel* label : std::as_const(m_comments))
        label->setEnabled(applicable);
    EnableLogon();
}

bool frmLogon::fieldsAreValid()
{
    if (!ztxtName->IsValid() || !ztxtPassword->IsValid())
        return false;
    if (cboDatabase->currentIndex() < 0) {
        ShowValidationMessage(QStringLiteral("Database is required field."));
        return false;
    }
    return true;
}

void frmLogon::Logon()
{
    if (!fieldsAreValid())
        return;
    CurrentDB() = cboDatabase->currentIndex() + 1;
    // Remembered before the attempt: a failed log-on still chooses the database of the next start.
    RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("DBOnServer"), DatabaseAt(CurrentDB())->DisplayName);
    const bool trusted = zchkTrusted->isChecked();
    const QString name = trusted ? QString() : ztxtName->Value().toString();
    const QString password = trusted ? QString() : ztxtPassword->Value().toString();
    QString failure;
    {
        BusyPointer busy;
        failure = OpenConnection(CurrentDB(), trusted, name, password);
    }
    if (!failure.isEmpty()) {
        ShowMessageBox(failure, MsgBox::Exclamation, ApplicationTitle());
        return;
    }
    if (!trusted && password.compare(name, Qt::CaseInsensitive) == 0) {
        FormParamDict parameters;
        parameters.add(QStringLiteral("Password"), password);
        FormParams::queue(QStringLiteral("frmChangePassword"), parameters);
        frmChangePassword change(this);
        change.exec(); // changed or cancelled, the log-on stands
    }
    m_connected = true;
    done(QDialog::Accepted);
}

void frmLogon::ExitProgram()
{
    Platform::terminate(0);
    done(QDialog::Rejected);
}
