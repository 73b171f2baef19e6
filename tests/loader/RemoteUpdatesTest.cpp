#include "LoaderFixture.h"

#include "support/PromptRecorder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <memory>

namespace {

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool answers(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(200);
}

// Python's own web server, serving a folder; a file whose name ends in "-cut" is announced at
// twice its length and the connection closed after its bytes, as a transfer lost half-way ends.
const char* const ServerScript = R"(import functools, http.server, sys
class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass
    def do_GET(self):
        if not self.path.endswith('-cut'):
            return super().do_GET()
        with open(self.translate_path(self.path), 'rb') as f:
            body = f.read()
        self.send_response(200)
        self.send_header('Content-Length', str(2 * len(body) + 1))
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()
        self.close_connection = True
handler = functools.partial(Handler, directory=sys.argv[2])
http.server.ThreadingHTTPServer(('127.0.0.1', int(sys.argv[1])), handler).serve_forever()
)";

// That server on 127.0.0.1, serving a folder; stopped when destroyed.
class HttpServer {
public:
    explicit HttpServer(const QString& folder)
    {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty()) {
            m_problem = QStringLiteral("python3 was not found on the PATH; the HTTP update tests need it "
                                       "(scripts/install-deps.sh installs it).");
            return;
        }
        // Another program may take the port between the probe and the server's start: try again.
        for (int attempt = 0; attempt < 5 && !running(); ++attempt) {
            m_port = freePort();
            m_process = std::make_unique<QProcess>();
            m_process->setStandardOutputFile(QProcess::nullDevice());
            m_process->setStandardErrorFile(QProcess::nullDevice());
            m_process->start(
                python, { QStringLiteral("-c"), QString::fromUtf8(ServerScript), QString::number(m_port), folder });
            m_process->waitForStarted();
            const QDeadlineTimer deadline(15000);
            while (!deadline.hasExpired() && m_process->state() != QProcess::NotRunning && !answers(m_port))
                QThread::msleep(50);
            if (m_process->state() == QProcess::NotRunning || !answers(m_port))
                stop();
        }
        if (!running())
            m_problem = QStringLiteral("python3's http.server did not start on 127.0.0.1.");
    }
    ~HttpServer() { stop(); }

    bool running() const { return m_process && m_process->state() == QProcess::Running; }
    const QString& problem() const { return m_problem; }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }

private:
    void stop()
    {
        if (!m_process)
            return;
        m_process->kill();
        m_process->waitForFinished(5000);
        m_process.reset();
    }

    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    QString m_problem;
};

const QString Completed = QStringLiteral("Updates completed. Starting main program...");
const QString NothingNew = QStringLiteral("No updates found. Starting main program...");

} // namespace

// The update location is the fixture's update folder, served over HTTP.
class RemoteUpdates : public LoaderTest {
protected:
    static void SetUpTestSuite()
    {
        // The tests' own server must never be reached through a proxy of the environment.
        qputenv("no_proxy", "127.0.0.1,localhost");
        s_folder = std::make_unique<QTemporaryDir>();
        s_server = std::make_unique<HttpServer>(s_folder->path());
    }
    static void TearDownTestSuite()
    {
        s_server.reset();
        s_folder.reset();
    }

    void SetUp() override
    {
        LoaderTest::SetUp();
        ASSERT_TRUE(s_server->running()) << qPrintable(s_server->problem());
        // Each test publishes under a folder of its own on the one server.
        const QString name = QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_updateFolder = s_folder->path() + QLatin1Char('/') + name + QLatin1Char('/');
        QDir().mkpath(m_updateFolder);
        writeSettings(s_server->address() + name);
    }

    static std::unique_ptr<QTemporaryDir> s_folder;
    static std::unique_ptr<HttpServer> s_server;
};

std::unique_ptr<QTemporaryDir> RemoteUpdates::s_folder;
std::unique_ptr<HttpServer> RemoteUpdates::s_server;

TEST_F(RemoteUpdates, InstallsPendingUpdatesOnceOnly)
{
    QDir().mkpath(program(QStringLiteral("Reports")));
    // Lists as a server on another system may write them: LF line ends; a name with a blank.
    writeUpdateList("U1\nUpdate 2\n");
    publish(QStringLiteral("U1"), "shared.txt => $(AppPath)\nr.rpt => $(AppPath)\\Reports\n",
        { { QStringLiteral("shared.txt"), "from U1" }, { QStringLiteral("r.rpt"), "report" } });
    publish(QStringLiteral("Update 2"), "shared.txt => $(AppPath)\n",
        { { QStringLiteral("shared.txt"), "from Update 2" } });
    writeFile(program(QStringLiteral("shared.txt")), "an older and much longer text that must be gone entirely");

    EXPECT_EQ(runLoader(), 0);

    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_EQ(readFile(program(QStringLiteral("shared.txt"))), "from Update 2");
    EXPECT_EQ(readFile(program(QStringLiteral("Reports/r.rpt"))), "report");
    EXPECT_TRUE(recorded(QStringLiteral("U1")));
    EXPECT_TRUE(recorded(QStringLiteral("Update 2")));
    EXPECT_EQ(statuses().back(), Completed);
    ASSERT_EQ(startRecord().starts.size(), 1u);
    EXPECT_EQ(startRecord().starts.front().program, program(QStringLiteral("Bramblecot_Main")));

    writeFile(updates(QStringLiteral("U1/r.rpt")), "changed after publishing");
    EXPECT_EQ(runLoader(), 0);
    EXPECT_EQ(readFile(program(QStringLiteral("Reports/r.rpt"))), "report");
    EXPECT_TRUE(statusShown(QStringLiteral("Update U1 already installed.")));
    EXPECT_EQ(statuses().back(), NothingNew);
    EXPECT_EQ(startRecord().starts.size(), 1u);
}

TEST_F(RemoteUpdates, AnOlderUpdateInstalledLaterNeverOverwritesANewerOne)
{
    writeUpdateList("U2\n");
    publish(QStringLiteral("U2"), "shared.txt => $(AppPath)\n", { { QStringLiteral("shared.txt"), "from U2" } });
    ASSERT_EQ(runLoader(), 0);
    writeUpdateList("U1\nU2\n");
    publish(QStringLiteral("U1"), "shared.txt => $(AppPath)\n", { { QStringLiteral("shared.txt"), "from U1" } });

    EXPECT_EQ(runLoader(), 0);

    EXPECT_EQ(readFile(program(QStringLiteral("shared.txt"))), "from U2");
    EXPECT_TRUE(recorded(QStringLiteral("U1")));
}

TEST_F(RemoteUpdates, AFileTheServerDoesNotHaveFailsTheUpdateAndKeepsTheOldFile)
{
    writeUpdateList("U1\r\n");
    publish(QStringLiteral("U1"), "gone.txt => $(AppPath)\r\n", {});
    writeFile(program(QStringLiteral("gone.txt")), "the installed copy");
    const QStringList before = QDir(program()).entryList(QDir::Files | QDir::Hidden);

    EXPECT_EQ(runLoader(), 1);

    const QString text = onlyMessage();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot fetch <") + s_server->address())) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("404"))) << qPrintable(text);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n\r\nApplication terminated.")));
    EXPECT_EQ(readFile(program(QStringLiteral("gone.txt"))), "the installed copy");
    EXPECT_EQ(QDir(program()).entryList(QDir::Files | QDir::Hidden), before) << "a partial download was left behind";
    EXPECT_FALSE(recorded(QStringLiteral("U1")));
    EXPECT_TRUE(startRecord().starts.empty());
    EXPECT_EQ(terminations(), 1);
}

// Every file of an update comes in under a temporary name and is renamed into place once whole:
// a transfer lost half-way leaves the installed file as it was and no piece of the new one.
TEST_F(RemoteUpdates, ATransferCutShortLeavesTheInstalledFileWholeAndNoPieceBehind)
{
    writeUpdateList("U1\n");
    publish(QStringLiteral("U1"), "module-cut => $(AppPath)\n", { { QStringLiteral("module-cut"), QByteArray(300000, 'n') } });
    writeFile(program(QStringLiteral("module-cut")), "the installed module");
    const QStringList before = QDir(program()).entryList(QDir::Files | QDir::Hidden);

    EXPECT_EQ(runLoader(), 1);

    const QString text = onlyMessage();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot fetch <") + s_server->address())) << qPrintable(text);
    EXPECT_EQ(readFile(program(QStringLiteral("module-cut"))), "the installed module");
    EXPECT_EQ(QDir(program()).entryList(QDir::Files | QDir::Hidden), before) << "a piece of the download was left behind";
    EXPECT_FALSE(recorded(QStringLiteral("U1")));
    EXPECT_TRUE(startRecord().starts.empty());
}

TEST_F(RemoteUpdates, AMissingFileListFailsTheUpdate)
{
    writeUpdateList("U1\r\n");

    EXPECT_EQ(runLoader(), 1);

    EXPECT_TRUE(onlyMessage().startsWith(QStringLiteral("Cannot fetch <") + s_server->address()));
    EXPECT_FALSE(recorded(QStringLiteral("U1")));
    EXPECT_TRUE(startRecord().starts.empty());
}

// Answers for updates.txt that mean "no updates".
class RemoteNoUpdates : public RemoteUpdates, public ::testing::WithParamInterface<const char*> { };

TEST_P(RemoteNoUpdates, StartTheMainProgram)
{
    if (GetParam())
        writeUpdateList(GetParam());

    EXPECT_EQ(runLoader(), 0);

    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_EQ(statuses().back(), NothingNew);
    EXPECT_EQ(startRecord().starts.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(RemoteUpdates, RemoteNoUpdates,
    ::testing::Values(nullptr, "<html><body>Not here</body></html>\n", ""),
    [](const ::testing::TestParamInfo<const char*>& caseInfo) {
        return std::string(!caseInfo.param ? "NotFound" : *caseInfo.param == '<' ? "Page" : "Empty");
    });

using RemoteServerDown = LoaderTest;

TEST_F(RemoteServerDown, EndsWithAMessageAndStartsNothing)
{
    const quint16 port = freePort(); // nothing listens there
    ASSERT_NE(port, 0);
    writeSettings(QStringLiteral("http://127.0.0.1:%1/updates").arg(port));

    EXPECT_EQ(runLoader(), 1);

    const QString text = onlyMessage();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot fetch <http://127.0.0.1:%1/updates/updates.txt>: ").arg(port)))
        << qPrintable(text);
    EXPECT_TRUE(startRecord().starts.empty());
    EXPECT_EQ(terminations(), 1);
}

TEST_F(RemoteUpdates, ALinkPlantedAsTheDownloadIsNotWrittenThrough)
{
    const QString target = m_root.filePath(QStringLiteral("victim.txt"));
    writeFile(target, "the link's target");
    ASSERT_TRUE(QFile::link(target, program(QStringLiteral("a.txt"))));
    writeUpdateList("U1\n");
    publish(QStringLiteral("U1"), "good.txt => $(AppPath)\na.txt => $(AppPath)\n",
        { { QStringLiteral("good.txt"), "good" }, { QStringLiteral("a.txt"), "from the server" } });

    EXPECT_EQ(runLoader(), 1);

    EXPECT_EQ(onlyMessage(),
        QStringLiteral("Cannot write file <") + program(QStringLiteral("a.txt")) + QStringLiteral(">: The file ")
            + program(QStringLiteral("a.txt"))
            + QStringLiteral(" is a symbolic link; it is not written through.\r\n\r\nApplication terminated."));
    EXPECT_EQ(readFile(target), "the link's target");
    EXPECT_TRUE(QFileInfo(program(QStringLiteral("a.txt"))).isSymLink());
    EXPECT_FALSE(QFile::exists(program(QStringLiteral("good.txt"))));
    EXPECT_FALSE(recorded(QStringLiteral("U1")));
}

// A download carries no mode: a file it replaces keeps its own, a new one is its owner's only.
TEST_F(RemoteUpdates, ADownloadKeepsTheReplacedFilesModeAndANewOneIsOwnerOnly)
{
    writeUpdateList("U1\n");
    publish(QStringLiteral("U1"), "tool.sh => $(AppPath)\nnew.txt => $(AppPath)\n",
        { { QStringLiteral("tool.sh"), "#!/bin/sh\necho new\n" }, { QStringLiteral("new.txt"), "new" } });
    writeFile(program(QStringLiteral("tool.sh")), "#!/bin/sh\necho old\n");
    const QFileDevice::Permissions runnable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadGroup | QFileDevice::ExeGroup;
    ASSERT_TRUE(QFile::setPermissions(program(QStringLiteral("tool.sh")), runnable));

    EXPECT_EQ(runLoader(), 0);

    const auto ownerAndOthers = [](const QString& path) {
        return QFileInfo(path).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    };
    EXPECT_EQ(readFile(program(QStringLiteral("tool.sh"))), "#!/bin/sh\necho new\n");
    EXPECT_EQ(ownerAndOthers(program(QStringLiteral("tool.sh"))), runnable);
    EXPECT_EQ(ownerAndOthers(program(QStringLiteral("new.txt"))), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
