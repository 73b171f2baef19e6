// frmMain: log-off, database switch, query time-out, restart, exit and the windows the main
// window opens for the connection (password change, user and database options, About).
#include "main_window/frmMain.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "form_framework/ChildWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"
#include "core/RegistrySettings.h"
#include "core/Settings.h"
#include "form_framework/WindowOpening.h"
#include "main_window/frmAbout.h"
#include "main_window/frmChangePassword.h"
#include "main_window/frmLogon.h"

#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QPrintDialog>
#include <QPrinter>

#include <cmath>

namespace {
std::optional<QString> desktopInputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    QInputDialog box;
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    // The prompt names the database as the user entered it: never markup.
    for (QLabel* label : box.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

frmMain::InputBox& inputBox()
{
    static frmMain::InputBox box = desktopInputBox;
    return box;
}

// Shows the log-on window with the normal pointer, whatever brackets the caller holds.
bool showLogon()
{
    const int depth = BusyPointerDepth();
    for (int i = 0; i < depth; ++i)
        PointerDefault();
    const bool connected = frmLogon::Run();
    for (int i = 0; i < depth; ++i)
        PointerBusy();
    return connected;
}

int identityOf(const std::optional<QVariant>& value, const QString& what)
{
    bool ok = false;
    const int identity = value && !value->isNull() ? qRound(value->toString().trimmed().toDouble(&ok)) : 0;
    if (!ok || identity <= 0)
        throw AppError(ErrToReport, QStringLiteral("Cannot find ") + what + QLatin1Char('.'), ApplicationTitle());
    return identity;
}
} // namespace

int ParseTimeoutEntry(const QString& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return 0;
    // Rounded to the nearest whole number, halves to the even neighbour.
    const double rounded = std::fabs(std::nearbyint(value));
    if (rounded > kMaxQueryTimeout)
        return -1;
    return static_cast<int>(rounded);
}

void frmMain::setInputBox(InputBox box)
{
    inputBox() = box ? std::move(box) : InputBox(desktopInputBox);
}

void frmMain::Logoff()
{
    UnloadAllForms();
    if (!OnlyMainWindowLeft())
        return; // a window kept its changes: the connection and caption stay as they are
    CloseConnection();
    paintDisconnected();
    SetMainCaption();
    SetDatabaseMenus();
    if (!showLogon())
        return; // the program is ending
    SetMainFormOnLine();
    showCommandTimeout();
}

void frmMain::SwitchDatabase(int number)
{
    if (number == CurrentDB() || !DatabaseAt(number))
        return;
    const QString name = menuItem(QStringLiteral("mnuDBName%1").arg(number))->text();
    QVariant prompt;
    bool ask = false;
    if (Act_GetSettingDB(QStringLiteral("DB_Prompt_Database_Switch"), prompt))
        ask = prompt.toString().trimmed().toInt() != 0;
    if (ask
        && AskQuestion(QStringLiteral("Are you sure you want to switch to Database ") + QLatin1Char('<') + name + QStringLiteral(">?"),
                       QStringLiteral("Database switch"))
            != MsgBox::Yes)
        return;

    BusyPointer busy;
    UnloadAllForms();
    if (!OnlyMainWindowLeft())
        return;
    CurrentDB() = number;
    RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("DBOnServer"), name);
    CloseConnection();
    if (!OpenConnection(number, true, QString(), QString()).isEmpty()) {
        // No message: the log-on window asks for the database, user name and password.
        SetMainCaption();
        SetDatabaseMenus();
        if (!showLogon())
            return;
    }
    SetMainFormOnLine();
    showCommandTimeout();
}

void frmMain::SetQueryTimeout()
{
    DatabaseConnection* connection = DBConnection();
    const DatabaseEntry* entry = DatabaseAt(CurrentDB());
    if (!connection || !entry) {
        Platform::prompt().beep();
        return;
    }
    const std::optional<QString> typed = inputBox()(QStringLiteral("Input timeout for database ") + entry->DisplayName,
                                                    QStringLiteral("Timeout"), QString::number(connection->commandTimeout()));
    if (!typed)
        return;
    const int seconds = ParseTimeoutEntry(*typed);
    if (seconds < 0) {
        ShowErrorMessage(QStringLiteral("The timeout must be between 1 and ") + QString::number(kMaxQueryTimeout)
                         + QStringLiteral(" seconds."));
        return;
    }
    if (seconds == 0)
        return;
    connection->setCommandTimeout(seconds);
    showCommandTimeout();
    Act_SaveSettingDB(QStringLiteral("DB_Query_Timeout"), seconds);
}

// The caption shows the time-out in force. Reading the settings of a log-on or a database switch
// opens recordsets, and every OpenRecordset sets its own time-out, so the caption is set after
// them, and again whenever the Database menu opens.
void frmMain::showCommandTimeout()
{
    const DatabaseConnection* connection = DBConnection();
    setMenuCaption(QStringLiteral("mnuTimeout"),
        QStringLiteral("&Timeout = ")
            + (connection ? QString::number(connection->commandTimeout()) : QStringLiteral("XXX"))
            + QStringLiteral(" sec."));
}

void frmMain::Restart()
{
    if (AskQuestion(QStringLiteral("Are you sure you want to restart Bramblecot?"), QStringLiteral("Restart")) != MsgBox::Yes)
        return;
    {
        BusyPointer busy;
        UnloadAllForms();
        if (!OnlyMainWindowLeft())
            return;
        // The link to the loader: the restart installs waiting updates like a fresh start.
        Platform::processes().startDetached(GetMainPath() + QStringLiteral("Bramblecot"), {}, GetMainPath());
    }
    close();
}

void frmMain::ChangePassword()
{
    if (TrustedConnection()) {
        ShowInfoMessage(QStringLiteral("You cannot change your password since you connected using Trusted Connection."));
        return;
    }
    frmChangePassword window(this);
    window.exec();
}

void frmMain::mnuUserInfo_Click()
{
    ActionScope action(QStringLiteral("frmMain"), QStringLiteral("mnuUserInfo_Click"), QStringLiteral("Open User Options"));
    action.run([&] {
        const int identity = identityOf(GetSQLValue(QStringLiteral("EXEC usp_DB_Get_Current_DB_User_ID")),
                                        QStringLiteral("your user record"));
        OpenRecordForEdit(QStringLiteral("frmUserInfo"), identity);
    });
}

void frmMain::DBOptions()
{
    ActionScope action(QStringLiteral("frmMain"), QStringLiteral("mnuDBOptions_Click"), QStringLiteral("Open Database Options"));
    action.run([&] {
        const int identity
            = identityOf(GetSQLValue(QStringLiteral("SELECT DB_App_Option_ID FROM DB_App_Options WHERE DB_Database_Code = DB_NAME()")),
                         QStringLiteral("the options of this database"));
        OpenRecordForEdit(QStringLiteral("frmDBOptions"), identity);
    });
}

void frmMain::About()
{
    frmAbout window(this);
    window.exec();
}

void frmMain::PrintSetup()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.exec();
}
