#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/LoginAdministration.h"
#include "support/PromptRecorder.h"
#include "core/RegistrySettings.h"
#include "support/TestDatabase.h"
#include "main_window/frmChangePassword.h"
#include "main_window/frmLogon.h"
#include "form_framework/zText.h"

#include <QCoreApplication>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Roles belong to the whole cluster, and test processes run side by side: names of their own.
QString clerk()
{
    return QStringLiteral("clerk_%1").arg(QCoreApplication::applicationPid());
}

QString temp()
{
    return QStringLiteral("temp_%1").arg(QCoreApplication::applicationPid());
}

// Runs `inspect` on the modal window that opens while `action` runs.
void whileModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect)
{
    bool seen = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && !seen) {
            seen = true;
            inspect(modal);
        }
    });
    timer.start();
    action();
    timer.stop();
    EXPECT_TRUE(seen) << "no modal window opened";
}

void type(zText* field, const QString& text)
{
    field->box()->setText(text);
}

// A fresh database per test; the list holds it once, reached the way a password log-on must go
// (PostgreSQL: over TCP; the socket folder is for the trusted log-on).
class Logon : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (!RequireEngine(GetParam()))
            GTEST_SKIP() << "no PostgreSQL cluster is running";
        Prompts().clear();
        m_database = std::make_unique<TestDatabase>(GetParam());
        m_database->createLogin(clerk(), QStringLiteral("Secret1"));
        useEntry(false);
    }
    void TearDown() override
    {
        CloseConnection();
        m_database.reset();
        DBList().clear();
        CurrentDB() = 0;
    }
    void useEntry(bool trusted)
    {
        m_database->registerAsCurrent();
        if (GetParam() == Engine::PostgreSQL && !trusted) {
            DatabaseEntry& entry = DBList().front();
            entry.Server = QStringLiteral("127.0.0.1:") + qEnvironmentVariable("PGPORT");
            entry.DisplayName = entry.DatabaseName + QStringLiteral(" on ") + entry.Server;
        }
    }
    std::unique_ptr<TestDatabase> m_database;
};

TEST_P(Logon, TrustedLogonConnectsAsTheOperatingSystemUser)
{
    useEntry(true);
    RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("LastUser"), QString());
    frmLogon window;
    EXPECT_FALSE(window.btnLogon->isEnabled());
    EXPECT_EQ(window.focusWidget(), window.ztxtName->inputBox()) << "first run: the focus starts in the user name";
    window.zchkTrusted->setChecked(true);
    EXPECT_TRUE(window.btnLogon->isEnabled()) << "trusted log-on needs no name or password";
    EXPECT_FALSE(window.ztxtName->Applicable());
    window.Logon();
    EXPECT_TRUE(window.connected());
    EXPECT_TRUE(TrustedConnection());
    ASSERT_NE(DBConnection(), nullptr);
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(Logon, WrongPasswordIsShownAndTheWindowStaysThenTheRightOneConnects)
{
    RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("DBOnServer"), QString());
    frmLogon window;
    type(window.ztxtName, clerk().toUpper());
    type(window.ztxtPassword, QStringLiteral("secret1")); // passwords are case sensitive
    ASSERT_TRUE(window.btnLogon->isEnabled());
    window.Logon();
    EXPECT_FALSE(window.connected());
    EXPECT_EQ(DBConnection(), nullptr);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QStringLiteral("SQL Server Login Failed.\r\n")));
    EXPECT_EQ(Prompts().boxes[0].style & MsgBox::Exclamation, MsgBox::Exclamation);
    // The chosen database is remembered even though the log-on failed.
    EXPECT_EQ(RegistrySettings::value(QStringLiteral("Options"), QStringLiteral("DBOnServer")), DBList().front().DisplayName);
    EXPECT_EQ(window.ztxtName->box()->text(), clerk().toUpper());

    type(window.ztxtPassword, QStringLiteral("Secret1"));
    window.Logon(); // the user name compares without regard to case
    EXPECT_TRUE(window.connected());
    EXPECT_FALSE(TrustedConnection());
    EXPECT_EQ(UserName().toLower(), clerk());
    EXPECT_EQ(RegistrySettings::value(QStringLiteral("Options"), QStringLiteral("LastUser")).toLower(), clerk());
}

TEST_P(Logon, ShortPasswordIsRefusedBeforeAnyConnection)
{
    frmLogon window;
    type(window.ztxtName, clerk());
    type(window.ztxtPassword, QStringLiteral("abc"));
    window.Logon();
    EXPECT_FALSE(window.connected());
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Password should be at least 4 characters long."));
    EXPECT_EQ(Prompts().boxes[0].title, QStringLiteral("Fields Validation"));
}

TEST_P(Logon, KnownLastUserPutsThePasswordFirst)
{
    RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("LastUser"), clerk());
    frmLogon window;
    EXPECT_EQ(window.ztxtName->box()->text(), clerk());
    EXPECT_EQ(window.focusWidget(), window.ztxtPassword->inputBox()) << "the password field takes the focus";
    RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("LastUser"), QString());
}

TEST_P(Logon, PasswordEqualToTheNameForcesAChangeWithTheOldOneLocked)
{
    m_database->createLogin(temp(), temp().toUpper());
    frmLogon window;
    type(window.ztxtName, temp());
    type(window.ztxtPassword, temp().toUpper());
    whileModal([&] { window.Logon(); },
               [](QWidget* modal) {
                   auto* change = qobject_cast<frmChangePassword*>(modal);
                   ASSERT_NE(change, nullptr);
                   EXPECT_EQ(change->ztxtPassword[0]->box()->text(), temp().toUpper());
                   EXPECT_TRUE(change->ztxtPassword[0]->Locked());
                   change->btnCancel->click();
               });
    EXPECT_TRUE(window.connected()) << "a cancelled forced change keeps the log-on";
}

TEST_P(Logon, PasswordChangeChecksTheOldPasswordFirstThenReplacesIt)
{
    frmLogon logon;
    type(logon.ztxtName, clerk());
    type(logon.ztxtPassword, QStringLiteral("Secret1"));
    logon.Logon();
    ASSERT_TRUE(logon.connected());

    frmChangePassword window;
    EXPECT_FALSE(window.btnOK->isEnabled());
    type(window.ztxtPassword[0], QStringLiteral("Wrong99"));
    type(window.ztxtPassword[1], QStringLiteral("Better22"));
    type(window.ztxtPassword[2], QStringLiteral("Better22"));
    ASSERT_TRUE(window.btnOK->isEnabled());
    window.OK();
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, OldPasswordIncorrectText());

    Prompts().clear();
    type(window.ztxtPassword[0], QStringLiteral("Secret1"));
    type(window.ztxtPassword[2], QStringLiteral("better22")); // case matters
    window.OK();
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("New Password is not equal to Verify New Password."));
    EXPECT_TRUE(window.ztxtPassword[1]->box()->text().isEmpty());
    EXPECT_TRUE(window.ztxtPassword[2]->box()->text().isEmpty());

    Prompts().clear();
    type(window.ztxtPassword[1], clerk().toUpper());
    type(window.ztxtPassword[2], clerk().toUpper());
    window.OK();
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("New Password cannot be equal User Name."));

    Prompts().clear();
    type(window.ztxtPassword[1], QStringLiteral("Better22"));
    type(window.ztxtPassword[2], QStringLiteral("Better22"));
    window.OK();
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Your password has been changed."));

    CloseConnection();
    EXPECT_FALSE(OpenConnection(1, false, clerk(), QStringLiteral("Secret1")).isEmpty());
    EXPECT_EQ(OpenConnection(1, false, clerk(), QStringLiteral("Better22")), QString());
}

// A new password the Logon window could never send (too long, a blank anywhere) is refused with
// the reason, and the old one stays.
TEST_P(Logon, PasswordChangeRefusesWhatTheLogonWindowCannotSend)
{
    frmLogon logon;
    type(logon.ztxtName, clerk());
    type(logon.ztxtPassword, QStringLiteral("Secret1"));
    logon.Logon();
    ASSERT_TRUE(logon.connected());

    const QString tooLong
        = QStringLiteral("New Password should be at most 30 characters long: the Logon window takes no more.");
    const QString blanks = QStringLiteral("New Password may not hold blanks: the Logon window cannot send them.");
    const std::pair<QString, QString> cases[] = {
        { QString(40, QLatin1Char('x')), tooLong },
        { QString(31, QLatin1Char('x')), tooLong },
        { QStringLiteral(" Better22"), blanks },
        { QStringLiteral("Better22 "), blanks },
        { QStringLiteral("Bet ter22"), blanks },
        { QStringLiteral("Better\t22"), blanks },
    };
    for (const auto& [password, message] : cases) {
        Prompts().clear();
        frmChangePassword window;
        type(window.ztxtPassword[0], QStringLiteral("Secret1"));
        type(window.ztxtPassword[1], password);
        type(window.ztxtPassword[2], password);
        window.OK();
        ASSERT_EQ(Prompts().boxes.size(), 1u) << password.toStdString();
        EXPECT_EQ(Prompts().boxes[0].text, message) << password.toStdString();
    }
    CloseConnection();
    EXPECT_EQ(OpenConnection(1, false, clerk(), QStringLiteral("Secret1")), QString()) << "the old password stays";
}

// The notes speak of this platform's accounts: the password is the database log-in's, and the
// trusted log-on is the computer account's.
TEST_P(Logon, TheNotesNameTheDatabaseLogInAndTheComputerAccount)
{
    frmLogon logon;
    type(logon.ztxtName, clerk());
    type(logon.ztxtPassword, QStringLiteral("Secret1"));
    logon.Logon();
    ASSERT_TRUE(logon.connected());
    frmChangePassword change;
    const QString password = QStringLiteral("This is the Database Log-in Password, Not the Computer Account Password");
    const struct {
        QWidget* window;
        const char* label;
        QString text;
    } cases[] = {
        { &logon, "zlblPassCom(0)", password },
        { &logon, "zlabel2(2)", QStringLiteral("Connect to the Database Using Your Computer Account") },
        { &change, "zlblPassCom(0)", password },
    };
    for (const auto& c : cases) {
        auto* label = c.window->findChild<QLabel*>(QString::fromLatin1(c.label));
        ASSERT_NE(label, nullptr) << c.label;
        EXPECT_EQ(label->text(), c.text) << c.label;
    }
    for (QWidget* window : { static_cast<QWidget*>(&logon), static_cast<QWidget*>(&change) }) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            EXPECT_FALSE(label->text().contains(QLatin1String("NT ")) || label->text().contains(QLatin1String("SQL Server")))
                << label->text().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Logon, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
