#include "form_framework/QueuedFormParams.h"

#include <exception>

QueuedFormParams::QueuedFormParams(const QString& windowName, const FormParamDict& parameters)
    : m_windowName(windowName)
    , m_exceptionsAtStart(std::uncaught_exceptions())
{
    FormParams::queue(windowName, parameters);
}

QueuedFormParams::~QueuedFormParams()
{
    // More exceptions in flight than at the start: this scope is being left by a throw.
    if (std::uncaught_exceptions() > m_exceptionsAtStart)
        FormParams::remove(m_windowName);
}
