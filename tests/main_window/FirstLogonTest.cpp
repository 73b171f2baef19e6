// A clerk's first log-on through the program's start: a log-in made as the administrator makes
// one (PostgreSQL: --add-user; SQLite: --create-login) has a user row without names, so the start
// opens the clerk's own options; the clerk saves them, and the next start opens nothing.

#include "administration/AdministrationWindows.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/LoginAdministration.h"
#include "core/RegistrySettings.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "form_framework/WindowList.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zInfo.h"
#include "form_framework/zText.h"
#include "list_controls/ListProcedures.h"
#include "main_window/MainStartup.h"
#include "main_window/frmLogon.h"
#include "main_window/frmMain.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kPassword = QStringLiteral("Clerk1");

class FirstLogon : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (!RequireEngine(GetParam()))
            GTEST_SKIP() << "no PostgreSQL cluster is running";
        Prompts().clear();
        Terminations() = {};
        m_savedPath = GetMainPath();
        SetMainPath(m_folder.path());
        QDir(m_folder.path()).mkpath(QStringLiteral("Errors"));
        QDir(m_folder.path()).mkpath(QStringLiteral("Data"));
        QFile menu(m_folder.filePath(QStringLiteral("menu.txt")));
        ASSERT_TRUE(menu.open(QIODevice::WriteOnly));
        menu.write("Cases, _Cases\n");
        menu.close();
        RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("LastUser"), QString());
        RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("DBOnServer"), QString());
        RegisterListControlProcedures();
        RegisterAdministrationTableForms();

        m_database = std::make_unique<TestDatabase>(GetParam());
        m_owner = m_database->connect();
        QString server = QStringLiteral("(local)");
        QString engine;
        QString databaseName = m_database->target().databaseName;
        if (GetParam() == Engine::PostgreSQL) {
            // Roles belong to the whole cluster: a name of this process's own.
            m_clerk = QStringLiteral("first_clerk_%1").arg(QCoreApplication::applicationPid());
            ClusterExec({ QStringLiteral("DROP ROLE IF EXISTS %1").arg(m_clerk) });
            CreateServerLogin(*m_owner, m_clerk, kPassword, false);
            m_role = true;
            // A password log-on goes over TCP, where the trusted log-on of the start is refused.
            server = QStringLiteral("127.0.0.1:") + qEnvironmentVariable("PGPORT");
            engine = QStringLiteral("<Engine>PostgreSQL</Engine>");
        } else {
            m_clerk = QStringLiteral("clerk");
            CreateEmbeddedLogin(m_database->target(), m_clerk, kPassword);
            // This workstation's account is not the clerk's: the start's trusted log-on is refused
            // and the log-on window asks.
            m_owner->executeStatement(QStringLiteral("DELETE FROM DB_Logins WHERE OS_Account = 1"));
        }
        QFile settings(m_folder.filePath(QStringLiteral("Settings.xml")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(QStringLiteral("<Settings><Database><Server>%1</Server><Database_Name>%2</Database_Name>%3"
                                      "</Database><Update_Location></Update_Location></Settings>")
                           .arg(server, databaseName, engine)
                           .toUtf8());
    }

    void TearDown() override
    {
        closeMain();
        DBList().clear();
        CurrentDB() = 0;
        m_owner.reset();
        m_database.reset();
        if (m_role)
            ClusterExec({ QStringLiteral("DROP ROLE IF EXISTS %1").arg(m_clerk) });
        if (!m_savedPath.isEmpty())
            SetMainPath(m_savedPath);
    }

    // Starts the program; the log-on window that opens is answered with the clerk's log-in.
    frmMain* start()
    {
        bool answered = false;
        QTimer timer;
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* logon = qobject_cast<frmLogon*>(QApplication::activeModalWidget());
            if (!logon || answered)
                return;
            answered = true;
            logon->ztxtName->box()->setText(m_clerk);
            logon->ztxtPassword->box()->setText(kPassword);
            logon->Logon();
        });
        timer.start();
        m_main = Main();
        timer.stop();
        EXPECT_TRUE(answered) << "the log-on window did not open";
        return m_main;
    }

    void closeMain()
    {
        if (m_main) {
            for (QWidget* window : LoadedWindows()) {
                if (DataWindow* data = AsDataWindow(window))
                    data->info()->setDataChanged(false);
            }
            m_main->close();
            delete m_main.data();
        }
        CloseConnection();
    }

    static DeclaredRecordWindow* openOptions()
    {
        for (QWidget* window : LoadedWindows()) {
            if (window->objectName() == QLatin1String("frmUserInfo"))
                return qobject_cast<DeclaredRecordWindow*>(window);
        }
        return nullptr;
    }

    static void type(zFieldBase* field, const QString& text)
    {
        QWidget* box = field->inputBox();
        if (auto* combo = qobject_cast<QComboBox*>(box))
            box = combo->lineEdit();
        box->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->selectAll();
        QTest::keyClicks(box, text);
        box->clearFocus();
        QApplication::processEvents();
    }

    QString ownerValue(const QString& sql)
    {
        const Recordset rs = m_owner->executeStatement(sql, { m_clerk });
        return rs.recordCount() > 0 ? rs.valueAt(0, 0).toString() : QString();
    }

    QTemporaryDir m_folder;
    QString m_savedPath;
    std::unique_ptr<TestDatabase> m_database;
    std::unique_ptr<DatabaseConnection> m_owner;
    QString m_clerk;
    bool m_role = false;
    QPointer<frmMain> m_main;
};

TEST_P(FirstLogon, TheClerkSavesTheirOwnOptionsAndTheNextStartOpensNothing)
{
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(UserName().toLower(), m_clerk);
    DeclaredRecordWindow* options = openOptions();
    ASSERT_NE(options, nullptr) << "the start did not ask for the clerk's own record";
    // The employee a user is belongs to those who may edit users, like the administrator flag.
    EXPECT_TRUE(options->field(QStringLiteral("zcbtEmployee"))->Locked());
    type(options->field(QStringLiteral("ztxtLastName")), QStringLiteral("Moss"));
    type(options->field(QStringLiteral("ztxtFirstName")), QStringLiteral("Casey"));
    type(options->field(QStringLiteral("ztxtCity")), QStringLiteral("Fairview"));
    Prompts().clear();
    EXPECT_TRUE(options->info()->SaveData(true));
    for (const PromptRecorder::Box& box : Prompts().boxes)
        ADD_FAILURE() << box.text.toStdString();
    const QString row = QStringLiteral("SELECT DB_Last_Name || ' ' || DB_First_Name || ' ' || DB_User_Default_City || ' ' "
                                       "|| DB_Sys_Admin FROM DB_Users WHERE DB_User_Name = ?");
    EXPECT_EQ(ownerValue(row), QStringLiteral("Moss Casey Fairview 0"));

    closeMain();
    Prompts().clear();
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(openOptions(), nullptr) << "the second start asked for the record again";
    EXPECT_TRUE(Prompts().boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, FirstLogon, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
