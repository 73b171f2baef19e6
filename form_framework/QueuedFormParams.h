#pragma once

#include "form_framework/WindowOpening.h"

#include <QString>

// Queues a window's start parameters for the opening in this scope. The window's load takes the
// entry; when the opening throws, the guard removes it before the exception goes on, so no stale
// entry waits for the next window of that name. An opening that returns, whether the window opened
// or refused to, leaves the entry to the window's load.
class QueuedFormParams {
public:
    QueuedFormParams(const QString& windowName, const FormParamDict& parameters);
    ~QueuedFormParams();
    QueuedFormParams(const QueuedFormParams&) = delete;
    QueuedFormParams& operator=(const QueuedFormParams&) = delete;

private:
    QString m_windowName;
    int m_exceptionsAtStart = 0;
};
