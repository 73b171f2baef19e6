#include "support/PromptRecorder.h"

#include "core/AppInfo.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
PromptRecorder* s_recorder = nullptr;
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

    // A program folder of the test's own, with the folders the program writes into.
    QTemporaryDir programFolder;
    QDir(programFolder.path()).mkpath(QStringLiteral("Errors"));
    QDir(programFolder.path()).mkpath(QStringLiteral("Data"));
    QDir(programFolder.path()).mkpath(QStringLiteral("Temp"));
    SetMainPath(programFolder.path());
    // Each test process keeps its per-user settings apart: tests run in parallel.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, programFolder.path() + QStringLiteral("/settings"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, programFolder.path() + QStringLiteral("/settings"));

    auto recorder = std::make_unique<PromptRecorder>();
    s_recorder = recorder.get();
    Platform::setPrompt(std::move(recorder));
    Platform::setTerminator([](int code) {
        ++Terminations().calls;
        Terminations().lastCode = code;
    });
    Platform::setSleeper([](int ms) { Sleeps().push_back(ms); });
    return RUN_ALL_TESTS();
}
