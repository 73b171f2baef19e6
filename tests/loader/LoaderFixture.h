#pragma once

#include "core/Platform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class LoaderWindow;

// What the loader asked to start; the answer the starter gives is up to the test.
struct StartRecord {
    struct Start {
        QString program;
        QStringList arguments;
        QString folder;
    };
    std::vector<Start> starts;
    bool succeed = true;
};

// A program folder of the test's own (Settings.xml, Images/gun.jpg), an update folder beside it, a
// per-user store of this test program only, and a process starter that records instead of starting.
class LoaderTest : public ::testing::Test {
protected:
    LoaderTest();
    ~LoaderTest() override;
    void SetUp() override;
    void TearDown() override;

    // Runs the loader once; statuses() then holds what its status line showed, and window() is the
    // loader window of that run.
    int runLoader();
    LoaderWindow& window() const { return *m_window; }

    void writeSettings(const QString& updateLocation);
    // Writes a file (folders created), raw bytes so the tests choose line ends and byte-order marks.
    static void writeFile(const QString& path, const QByteArray& content);
    static QByteArray readFile(const QString& path);
    // Publishes an update in the update folder: its filelist.txt and its files (name, content).
    void publish(
        const QString& update, const QByteArray& fileList, const std::vector<std::pair<QString, QByteArray>>& files);
    void writeUpdateList(const QByteArray& content);

    static bool recorded(const QString& update);
    static void record(const QString& update);

    QString program(const QString& relative = {}) const { return m_programFolder + relative; }
    QString updates(const QString& relative = {}) const { return m_updateFolder + relative; }

    const std::vector<QString>& statuses() const { return m_statuses; }
    bool statusShown(const QString& text) const;
    qsizetype statusIndex(const QString& text) const;
    const StartRecord& startRecord() const { return *m_starts; }
    void refuseStarts() { m_starts->succeed = false; }
    int terminations() const;
    // The single message box the run showed (a failure if there was not exactly one).
    QString onlyMessage() const;

    QTemporaryDir m_root;
    QString m_programFolder; // ends in "/"
    QString m_updateFolder; // ends in "/"

private:
    QString m_previousMainPath;
    QString m_previousTitle;
    std::shared_ptr<StartRecord> m_starts;
    std::vector<QString> m_statuses;
    std::unique_ptr<LoaderWindow> m_window;
    int m_terminationsBefore = 0;
};
