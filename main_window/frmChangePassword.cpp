#include "main_window/frmChangePassword.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/LoginAdministration.h"
#include "core/Logins.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zLabel.h"
#include "form_framework/zText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

namespace {
const QString kWindowName = QStringLiteral("frmChangePassword");
}

frmChangePassword::frmChangePassword(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(kWindowName);
    setWindowTitle(QStringLiteral("Change Password"));
    setModal(true);
    auto* grid = new QGridLayout;

    auto* databaseLabel = new zLabel(this);
    databaseLabel->setObjectName(QStringLiteral("zlabel1(0)"));
    databaseLabel->setValue(QStringLiteral("Database:"));
    ztxtDatabase = new zText(this);
    ztxtDatabase->setObjectName(QStringLiteral("ztxtDatabase"));
    ztxtDatabase->setGoodName(QStringLiteral("Database"));
    ztxtDatabase->setLocked(true);
    databaseLabel->setBuddy(ztxtDatabase);
    grid->addWidget(databaseLabel, 0, 0);
    grid->addWidget(ztxtDatabase, 0, 1);

    auto* nameLabel = new zLabel(this);
    nameLabel->setObjectName(QStringLiteral("zlblName"));
    nameLabel->setValue(QStringLiteral("User Name:"));
    ztxtName = new zText(this);
    ztxtName->setObjectName(QStringLiteral("ztxtName"));
    ztxtName->setGoodName(QStringLiteral("User Name"));
    ztxtName->setMaxLength(30);
    ztxtName->setPartOfTheQuery(false);
    ztxtName->setLocked(true);
    nameLabel->setBuddy(ztxtName);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(ztxtName, 1, 1);

    const QString captions[3] = { QStringLiteral("Old Password:"), QStringLiteral("New Password:"), QStringLiteral("Verify New Password:") };
    const QString goodNames[3] = { QStringLiteral("Old Password"), QStringLiteral("New Password"), QStringLiteral("Verify New Password") };
    for (int i = 0; i < 3; ++i) {
        m_labels[i] = new zLabel(this);
        m_labels[i]->setObjectName(QStringLiteral("zlblPassword(%1)").arg(i));
        m_labels[i]->setValue(captions[i]);
        m_labels[i]->setRequired(true);
        ztxtPassword[i] = new zText(this);
        ztxtPassword[i]->setObjectName(QStringLiteral("ztxtPassword(%1)").arg(i));
        ztxtPassword[i]->setGoodName(goodNames[i]);
        ztxtPassword[i]->setRequired(true);
        ztxtPassword[i]->setMaxLength(kMaxPasswordLength);
        ztxtPassword[i]->setIsPassword(true);
        m_labels[i]->setBuddy(ztxtPassword[i]);
        grid->addWidget(m_labels[i], 2 + i, 0);
        grid->addWidget(ztxtPassword[i], 2 + i, 1);
        connect(ztxtPassword[i], &zText::Change, this, &frmChangePassword::EnableOK);
    }
    ztxtPassword[1]->setFinalValidation([this] { return newPasswordFinalCheck(); });

    auto* notes = new QVBoxLayout;
    const QString comments[3] = { QStringLiteral("This is the Database Log-in Password, Not the Computer Account Password"),
                                  QStringLiteral("This password is Case SENSITIVE"), QStringLiteral("No Spaces Allowed") };
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(comments[i], this);
        label->setTextFormat(Qt::PlainText);
        label->setObjectName(QStringLiteral("zlblPassCom(%1)").arg(i));
        notes->addWidget(label);
    }

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setEnabled(false);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnOK, &QPushButton::clicked, this, &frmChangePassword::OK);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(notes);
    column->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Load.
    if (const DatabaseEntry* entry = DatabaseAt(CurrentDB()))
        ztxtDatabase->setValue(entry->DisplayName);
    ztxtName->setValue(UserName());
    // The database and the user show whole: their boxes are as wide as their texts need (the
    // window takes its size from its contents).
    for (zText* shown : { ztxtDatabase, ztxtName }) {
        QLineEdit* box = shown->box();
        QStyleOptionFrame option;
        option.initFrom(box);
        option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
        const QMargins margins = box->textMargins();
        // 4: the line edit's own horizontal text margins, 2 for the cursor.
        const QSize text(box->fontMetrics().horizontalAdvance(box->text()) + margins.left() + margins.right() + 4 + 2,
                         box->sizeHint().height());
        box->setMinimumWidth(box->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, box).width());
    }
    BusyPointer busy;
    if (FormParams::contains(kWindowName)) {
        FormParamDict& parameters = FormParams::entry(kWindowName);
        ztxtPassword[0]->setValue(parameters.value(QStringLiteral("Password")));
        ztxtPassword[0]->setRequired(false);
        ztxtPassword[0]->setLocked(true);
        m_labels[0]->setRequired(false);
        FormParams::remove(kWindowName);
        ztxtPassword[1]->inputBox()->setFocus(Qt::OtherFocusReason);
    }
    EnableOK();
}

void frmChangePassword::EnableOK()
{
    btnOK->setEnabled(!ztxtPassword[0]->box()->text().isEmpty() && !ztxtPassword[1]->box()->text().isEmpty()
                      && !ztxtPassword[2]->box()->text().isEmpty());
}

QString frmChangePassword::newPasswordFinalCheck()
{
    QString message;
    // The new password as typed, blanks included: it must be one the Logon window can send.
    const QString newPassword = ztxtPassword[1]->box()->text();
    if (const QString rule = PasswordRuleMessage(newPassword, ztxtPassword[1]->GoodName()); !rule.isEmpty())
        message = rule;
    else if (newPassword.compare(UserName(), Qt::CaseInsensitive) == 0)
        message = ztxtPassword[1]->GoodName() + QStringLiteral(" cannot be equal ") + ztxtName->GoodName();
    else if (ztxtPassword[2]->box()->text() != newPassword) // passwords are case sensitive
        message = ztxtPassword[1]->GoodName() + QStringLiteral(" is not equal to ") + ztxtPassword[2]->GoodName();
    else
        return {};
    ztxtPassword[1]->setValue(QString());
    ztxtPassword[2]->setValue(QString());
    return message;
}

void frmChangePassword::OK()
{
    for (zText* field : ztxtPassword) {
        if (!field->IsValid())
            return;
    }
    QString failure;
    {
        BusyPointer busy;
        failure = ChangeOwnPassword(ztxtPassword[0]->box()->text().trimmed(), ztxtPassword[1]->box()->text());
    }
    if (!failure.isEmpty()) {
        ShowMessageBox(failure, MsgBox::Exclamation, ApplicationTitle());
        return;
    }
    ShowMessageBox(QStringLiteral("Your password has been changed."), MsgBox::Information, ApplicationTitle());
    accept();
}
