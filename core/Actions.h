#pragma once

#include "core/AppError.h"
#include "core/zAction.h"

#include <QString>

#include <exception>
#include <memory>
#include <optional>
#include <vector>

// The failure captured most recently. Number 0 means that no failure is recorded.
struct LastErrorRecord {
    qint32 Number = 0;
    QString Description;
};

extern LastErrorRecord LastError;

// The running actions, outermost first; its size is the current nesting level.
const std::vector<std::unique_ptr<zAction>>& ActionStack();
zAction* ActionAt(int level);

int Act_Begin(const QString& moduleName, const QString& procName, const QString& description);
bool Act_End(int level);
void Act_CaptureError();
bool DebugMode();

// The failure waiting to be captured by Act_End or shown by ShowError.
void SetPendingError(const AppError& error);
void SetPendingError(std::exception_ptr error);
const std::optional<AppError>& PendingError();
void ClearPendingError();

// The busy pointer: nested brackets, the arrow returns when the last one closes.
void PointerBusy();
void PointerDefault();
int BusyPointerDepth();

// Keeps the busy pointer on for a scope, whatever path leaves it.
class BusyPointer {
public:
    BusyPointer() { PointerBusy(); }
    ~BusyPointer() { PointerDefault(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// The action idiom: begin on construction, run the body, end once.
//
//     bool Act_ExecuteSQL(const QString& sql)
//     {
//         ActionScope action("modActFunctions", "Act_ExecuteSQL", "Execute SQL");
//         return action.run([&] { ... });
//     }
//
// A failure thrown inside the body (an AppError, or any exception) becomes the pending failure
// and is captured by Act_End; a nested action that returned false is answered with RaiseSilent().
// The outermost action shows "Unable to " + its description + two line ends + the error text.
// An action whose body failed returns false even when a later nested action has reset LastError.
class ActionScope {
public:
    ActionScope(const QString& moduleName, const QString& procName, const QString& description);
    ~ActionScope();
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;

    template <class Body> bool run(Body&& body)
    {
        try {
            body();
        } catch (...) {
            fail(std::current_exception());
        }
        return end();
    }

    // Marks the body as failed with the given exception (for bodies that catch on their own).
    void fail(std::exception_ptr error);
    // Ends the action (once); the result of Act_End.
    bool end();
    // Replaces the description of this action's own stack entry.
    void setDescription(const QString& description);
    int level() const { return m_level; }

private:
    int m_level = 0;
    bool m_ended = false;
    bool m_failed = false;
    bool m_result = false;
};
