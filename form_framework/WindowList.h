#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class DataWindow;

// The loaded windows in load order (the main window first, once it is there).
QList<QWidget*> LoadedWindows();
void AddLoadedWindow(QWidget* window);
void RemoveLoadedWindow(QWidget* window);
// The data window among the loaded ones, or none.
DataWindow* AsDataWindow(QWidget* window);
// Closes a window as the user's close box would: its close request may refuse.
bool UnloadWindow(QWidget* window);
