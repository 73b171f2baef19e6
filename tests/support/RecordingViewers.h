#pragma once

// A stand-in for the main window's viewer windows that keeps what each was asked to show, for
// tests that check a text report, an opened picture or web page, or a folder choice.

#include "core/Viewers.h"

#include <QString>
#include <QStringList>

#include <memory>

class RecordingViewers final : public ViewerWindows {
public:
    void showText(const QString& text) override { texts << text; }
    void showImage(const QString& path) override { images << path; }
    void showWebPage(const QString& address, const QString& caption) override
    {
        pages << address;
        pageCaptions << caption;
    }
    // Records the folder the window would start in and answers with chosenFolder ("" cancels).
    QString browseForFolder(const QString& initialFolder) override
    {
        folderStarts << initialFolder;
        return chosenFolder;
    }

    QStringList texts;
    QStringList images;
    QStringList pages;
    QStringList pageCaptions;
    QStringList folderStarts;
    QString chosenFolder;

    // A fresh recorder installed with SetViewerWindows for the guard's lifetime; the viewers
    // installed before come back when it ends.
    class Installed {
    public:
        Installed();
        ~Installed();
        Installed(const Installed&) = delete;
        Installed& operator=(const Installed&) = delete;

        RecordingViewers* get() const { return m_viewers; }

    private:
        RecordingViewers* m_viewers;
        std::unique_ptr<ViewerWindows> m_previous;
    };
};
