#include "support/PromptRecorder.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "form_framework/DataWindow.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowList.h"
#include "form_framework/zInfo.h"

#include <QApplication>
#include <QWidget>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {
PromptRecorder* s_recorder = nullptr;

// Every test starts from the same ground, whatever ran before it in this process and in whatever
// order: a program folder of its own (with the folders the program writes into and its own
// per-user settings), no message box or beep recorded, no answer queued, no termination, sleep or
// pending error seen, and only the windows registered when the program started. What a test
// leaves behind in its folder (report files, an error log, settings) goes with it.
class FreshGroundForEachTest final : public ::testing::EmptyTestEventListener {
public:
    void OnTestProgramStart(const ::testing::UnitTest&) override { m_registered = FormRegistry::registrations(); }
    // A window a test left open (one a question's default answer opened, say) would hold the
    // focus of the next test's windows: each goes, its unsaved changes dropped without a question.
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        for (QWidget* window : LoadedWindows()) {
            if (DataWindow* data = AsDataWindow(window))
                data->info()->setDataChanged(false);
            UnloadWindow(window);
        }
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        QApplication::processEvents();
    }
    void OnTestStart(const ::testing::TestInfo&) override
    {
        FormRegistry::restore(m_registered);
        m_folder = std::make_unique<QTemporaryDir>();
        const QDir folder(m_folder->path());
        for (const char* sub : { "Errors", "Data", "Temp" })
            folder.mkpath(QString::fromLatin1(sub));
        SetMainPath(m_folder->path());
        // Each test process keeps its per-user settings apart: tests run in parallel.
        const QString settings = m_folder->path() + QStringLiteral("/settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
        Prompts().clear();
        Terminations() = {};
        // A test's program "ends" only in the terminator's record: an error left pending by the
        // answer that ended it must not stand for the next test's first failure.
        ClearPendingError();
        Sleeps().clear();
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    FormRegistry::Registrations m_registered;
};
}

PromptRecorder& Prompts()
{
    return *s_recorder;
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);

    auto recorder = std::make_unique<PromptRecorder>();
    s_recorder = recorder.get();
    Platform::setPrompt(std::move(recorder));
    Platform::setTerminator([](int code) {
        ++Terminations().calls;
        Terminations().lastCode = code;
    });
    Platform::setSleeper([](int ms) { Sleeps().push_back(ms); });
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshGroundForEachTest);
    return RUN_ALL_TESTS();
}
