#pragma once

#include <QString>

#include <memory>

// The viewer windows (text, image, web page, folder choice) belong to the main window's library.
// It installs them here, so the exports and the field editors reach them without depending on it.
class ViewerWindows {
public:
    virtual ~ViewerWindows() = default;
    // A new text viewer window showing the text.
    virtual void showText(const QString& text) = 0;
    // Brings forward the image viewer showing that very path, or opens a new one.
    virtual void showImage(const QString& path) = 0;
    // The one web-browser window: navigates, captions ("Web Browser" when empty), restores, raises.
    virtual void showWebPage(const QString& address, const QString& caption) = 0;
    // The modal folder window; the chosen folder, or an empty text when cancelled.
    virtual QString browseForFolder(const QString& initialFolder) = 0;
};

// Installs the viewers (the main window's library at start-up, tests with a recorder); returns
// the ones installed before.
std::unique_ptr<ViewerWindows> SetViewerWindows(std::unique_ptr<ViewerWindows> viewers);

// Each raises ErrToReport when no viewers are installed (a tool without the main window).
void ShowText(const QString& text);
void ShowImage(const QString& path);
void ShowWebPage(const QString& address, const QString& caption);
QString BrowseForFolder(const QString& initialFolder);
