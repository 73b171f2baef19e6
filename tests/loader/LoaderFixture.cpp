#include "LoaderFixture.h"

#include "core/AppInfo.h"
#include "loader/LoaderWindow.h"
#include "loader/modFunctions.h"
#include "support/PromptRecorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

class RecordingStarter final : public ProcessStarter {
public:
    explicit RecordingStarter(std::shared_ptr<StartRecord> record)
        : m_record(std::move(record))
    {
    }
    bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder) override
    {
        m_record->starts.push_back({ program, arguments, workingFolder });
        return m_record->succeed;
    }

private:
    std::shared_ptr<StartRecord> m_record;
};

// The per-user store of this test program, away from the user's own and from the other test
// programs that ctest runs at the same time.
QSettings loaderStore()
{
    static QTemporaryDir storeFolder;
    static const bool redirected = [] {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, storeFolder.path());
        return true;
    }();
    (void)redirected;
    return QSettings(QStringLiteral("Bramblecot"), QStringLiteral("Bramblecot"));
}

} // namespace

LoaderTest::LoaderTest() = default;
LoaderTest::~LoaderTest() = default;

void LoaderTest::SetUp()
{
    ASSERT_TRUE(m_root.isValid());
    m_programFolder = m_root.filePath(QStringLiteral("program")) + QLatin1Char('/');
    m_updateFolder = m_root.filePath(QStringLiteral("updates")) + QLatin1Char('/');
    QDir().mkpath(m_programFolder + QStringLiteral("Images"));
    QDir().mkpath(m_updateFolder);
    ASSERT_TRUE(QFile::copy(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/Images/gun.jpg"),
        m_programFolder + QStringLiteral("Images/gun.jpg")));
    writeSettings(updates());

    m_previousMainPath = GetMainPath();
    m_previousTitle = ApplicationTitle();
    SetMainPath(m_programFolder);
    SetApplicationTitle(QStringLiteral("Bramblecot"));
    QSettings store = loaderStore();
    store.remove(QStringLiteral("Updates"));
    ASSERT_TRUE(store.fileName().startsWith(QDir::tempPath())) << qPrintable(store.fileName());

    Prompts().clear();
    m_starts = std::make_shared<StartRecord>();
    Platform::setProcesses(std::make_unique<RecordingStarter>(m_starts));
    m_terminationsBefore = Terminations().calls;
}

void LoaderTest::TearDown()
{
    m_window.reset();
    Platform::setProcesses(nullptr);
    SetMainPath(m_previousMainPath);
    SetApplicationTitle(m_previousTitle);
}

int LoaderTest::runLoader()
{
    m_statuses.clear();
    m_starts->starts.clear();
    Prompts().clear();
    m_terminationsBefore = Terminations().calls;
    m_window = std::make_unique<LoaderWindow>();
    QObject::connect(m_window.get(), &LoaderWindow::statusChanged, m_window.get(),
        [this](const QString& text) { m_statuses.push_back(text); });
    return RunLoader(*m_window);
}

void LoaderTest::writeSettings(const QString& updateLocation)
{
    writeFile(m_programFolder + QStringLiteral("Settings.xml"),
        QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings>\n    <Update_Location>")
            + updateLocation.toHtmlEscaped().toUtf8() + QByteArrayLiteral("</Update_Location>\n</Settings>\n"));
}

void LoaderTest::writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    file.write(content);
}

QByteArray LoaderTest::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<missing>");
    return file.readAll();
}

void LoaderTest::publish(
    const QString& update, const QByteArray& fileList, const std::vector<std::pair<QString, QByteArray>>& files)
{
    writeFile(m_updateFolder + update + QStringLiteral("/filelist.txt"), fileList);
    for (const auto& [name, content] : files)
        writeFile(m_updateFolder + update + QLatin1Char('/') + name, content);
}

void LoaderTest::writeUpdateList(const QByteArray& content)
{
    writeFile(m_updateFolder + QStringLiteral("updates.txt"), content);
}

bool LoaderTest::recorded(const QString& update)
{
    return loaderStore().value(QStringLiteral("Updates/") + update).toString() == QStringLiteral("True");
}

void LoaderTest::record(const QString& update)
{
    loaderStore().setValue(QStringLiteral("Updates/") + update, QStringLiteral("True"));
}

bool LoaderTest::statusShown(const QString& text) const { return statusIndex(text) >= 0; }

qsizetype LoaderTest::statusIndex(const QString& text) const
{
    const auto it = std::find(m_statuses.begin(), m_statuses.end(), text);
    return it == m_statuses.end() ? -1 : it - m_statuses.begin();
}

int LoaderTest::terminations() const { return Terminations().calls - m_terminationsBefore; }

QString LoaderTest::onlyMessage() const
{
    EXPECT_EQ(Prompts().boxes.size(), 1u);
    if (Prompts().boxes.empty())
        return QString();
    const PromptRecorder::Box& box = Prompts().boxes.front();
    EXPECT_EQ(box.title, QStringLiteral("Error"));
    EXPECT_EQ(box.style, MsgBox::OKOnly | MsgBox::Exclamation);
    return box.text;
}
