#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class DataWindow;

// Every data window class is created by its name (compared without regard to case): the
// database answers window names, and start parameters are keyed by them.
namespace FormRegistry {
using Factory = std::function<DataWindow*()>;
void registerForm(const QString& className, Factory factory);
bool contains(const QString& className);
// The registered class names, lower-cased and sorted.
QStringList names();
// A new window of that class; throws AppError naming the window when no class serves the name.
DataWindow* create(const QString& className);
// Every registration as it stands, and the way back to it: a test program starts each test from
// the windows registered when it started, whatever an earlier test registered.
using Registrations = QHash<QString, Factory>;
Registrations registrations();
void restore(Registrations saved);
} // namespace FormRegistry
