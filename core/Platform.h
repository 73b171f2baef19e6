#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// The few places where the program touches the desktop: message boxes, ending the program,
// starting other programs, waiting, and the screen pointer. Production code installs the Qt
// implementations at start-up; tests install recorders so they can answer prompts and see what
// would have been shown or started.

// Message-box answer codes and style flags, as the callers of the message boxes use them.
namespace MsgBox {
enum Answer : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
enum Style : int {
    OKOnly = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
};
} // namespace MsgBox

class Prompt {
public:
    virtual ~Prompt() = default;
    // Shows a modal message box; returns the answer code (MsgBox::Answer).
    virtual int messageBox(const QString& text, int style, const QString& title) = 0;
    virtual void beep() = 0;
};

enum class PointerShape { Arrow = 0, Busy = 1 };

class PointerControl {
public:
    virtual ~PointerControl() = default;
    virtual PointerShape current() const = 0;
    virtual void set(PointerShape shape) = 0;
};

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    virtual bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder) = 0;
};

namespace Platform {
Prompt& prompt();
void setPrompt(std::unique_ptr<Prompt> prompt);

PointerControl& pointer();
void setPointer(std::unique_ptr<PointerControl> pointer);

ProcessStarter& processes();
void setProcesses(std::unique_ptr<ProcessStarter> starter);

// Ends the program at once with the given exit code (no window is asked to close).
void terminate(int exitCode);
void setTerminator(std::function<void(int)> terminator);

// Waits the given milliseconds (the error log's retries).
void sleep(int milliseconds);
void setSleeper(std::function<void(int)> sleeper);

// Installs the desktop implementations (Qt message boxes, override cursor, QProcess).
void installDesktop();
// A new desktop prompt (the Qt message boxes that installDesktop installs), not installed.
std::unique_ptr<Prompt> makeDesktopPrompt();
} // namespace Platform
