#pragma once

// The viewer windows of the main window's library: text, image, web page and folder choice.

// Before the QApplication exists: what the web browser window needs of the process (shared
// OpenGL contexts; no sandbox when running as root, where Chromium refuses to start with one).
void PrepareWebEngine();
// Registers frmText, frmImage and frmWebBrowser by name and installs the viewers the core's
// ShowText, ShowImage, ShowWebPage and BrowseForFolder open.
void InstallViewerWindows();
