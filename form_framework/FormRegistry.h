#pragma once

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
} // namespace FormRegistry
