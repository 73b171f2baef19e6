#include "core/Actions.h"

#include "core/AppInfo.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"

LastErrorRecord LastError;

namespace {
std::vector<std::unique_ptr<zAction>> s_stack;
std::optional<AppError> s_pending;
int s_busyDepth = 0;
// The failure captured since the outermost action began: the text the outermost action shows
// when a nested action has reset LastError after the failure.
std::optional<QString> s_failureOfOutermost;
} // namespace

void RaiseToReport(const QString& description)
{
    throw AppError(ErrToReport, description, ApplicationTitle());
}

void RaiseSilent()
{
    throw AppError(ErrSilent, QStringLiteral("Silent error"), ApplicationTitle());
}

const std::vector<std::unique_ptr<zAction>>& ActionStack()
{
    return s_stack;
}

zAction* ActionAt(int level)
{
    if (level < 1 || level > static_cast<int>(s_stack.size()))
        return nullptr;
    return s_stack[static_cast<size_t>(level - 1)].get();
}

bool DebugMode()
{
    return false;
}

void SetPendingError(const AppError& error)
{
    s_pending = error;
}

void SetPendingError(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const AppError& e) {
        s_pending = e;
    } catch (const std::exception& e) {
        s_pending = AppError(ErrInternal, QString::fromLocal8Bit(e.what()), ApplicationTitle());
    } catch (...) {
        s_pending = AppError(ErrInternal, QStringLiteral("Unknown error"), ApplicationTitle());
    }
}

const std::optional<AppError>& PendingError()
{
    return s_pending;
}

void ClearPendingError()
{
    s_pending.reset();
}

int Act_Begin(const QString& moduleName, const QString& procName, const QString& description)
{
    PointerBusy();
    auto action = std::make_unique<zAction>();
    action->ModuleName = moduleName;
    action->ProcName = procName;
    action->Description = description;
    if (s_stack.empty())
        s_failureOfOutermost.reset();
    s_stack.push_back(std::move(action));
    LastError.Number = 0;
    return static_cast<int>(s_stack.size());
}

void Act_CaptureError()
{
    if (!s_pending)
        return;
    if (s_pending->number() != ErrSilent) {
        LastError.Number = s_pending->number();
        LastError.Description = s_pending->description();
        s_failureOfOutermost = LastError.Description;
    }
    s_pending.reset();
}

namespace {
bool endAction(int level, bool bodyFailed)
{
    Act_CaptureError();
    const bool failed = LastError.Number != 0 || bodyFailed;
    if (failed && level == 1 && !s_stack.empty()) {
        // A later nested action may have reset LastError after the failure: the text captured
        // since the outermost action began still tells what went wrong.
        const QString text = LastError.Number != 0 ? LastError.Description : s_failureOfOutermost.value_or(QString());
        ShowErrorMessage(QStringLiteral("Unable to ") + s_stack.front()->Description + QStringLiteral("\r\n\r\n") + text);
    }
    if (level >= 1 && level <= static_cast<int>(s_stack.size()))
        s_stack.erase(s_stack.begin() + (level - 1));
    PointerDefault();
    return !failed;
}
} // namespace

bool Act_End(int level)
{
    return endAction(level, false);
}

ActionScope::ActionScope(const QString& moduleName, const QString& procName, const QString& description)
    : m_level(Act_Begin(moduleName, procName, description))
{
}

ActionScope::~ActionScope()
{
    if (!m_ended)
        end();
}

void ActionScope::fail(std::exception_ptr error)
{
    m_failed = true;
    SetPendingError(error);
    // Recorded at once, so an action run before this one ends does not take the failure as its own.
    Act_CaptureError();
}

bool ActionScope::end()
{
    if (!m_ended) {
        m_ended = true;
        m_result = endAction(m_level, m_failed);
    }
    return m_result;
}

void ActionScope::setDescription(const QString& description)
{
    if (zAction* own = ActionAt(m_level))
        own->Description = description;
}

void PointerBusy()
{
    ++s_busyDepth;
    Platform::pointer().set(PointerShape::Busy);
}

void PointerDefault()
{
    --s_busyDepth;
    if (s_busyDepth < 0)
        s_busyDepth = 0;
    if (s_busyDepth == 0)
        Platform::pointer().set(PointerShape::Arrow);
}

int BusyPointerDepth()
{
    return s_busyDepth;
}
