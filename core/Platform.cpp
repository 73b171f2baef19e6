#include "core/Platform.h"

#include <QApplication>
#include <QCursor>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Until the desktop is installed (and in tools without a screen) a box is written to standard
// error and answered with its default button.
class ConsolePrompt final : public Prompt {
public:
    int messageBox(const QString& text, int style, const QString& title) override
    {
        std::fprintf(stderr, "%s\n%s\n\n", qPrintable(title), qPrintable(text));
        const int buttons = style & 7;
        const int defaultIndex = (style & MsgBox::DefaultButton3) ? 2 : (style & MsgBox::DefaultButton2) ? 1 : 0;
        static const int answers[6][3] = {
            { MsgBox::OK, MsgBox::OK, MsgBox::OK },
            { MsgBox::OK, MsgBox::Cancel, MsgBox::Cancel },
            { MsgBox::Abort, MsgBox::Retry, MsgBox::Ignore },
            { MsgBox::Yes, MsgBox::No, MsgBox::Cancel },
            { MsgBox::Yes, MsgBox::No, MsgBox::No },
            { MsgBox::Retry, MsgBox::Cancel, MsgBox::Cancel },
        };
        return answers[buttons < 6 ? buttons : 0][defaultIndex];
    }
    void beep() override { }
};

class DesktopPrompt final : public Prompt {
    // A box sizes itself to its text and buttons, and the window frame then cuts a longer title
    // ("Fields ... idation"). Room in the box's layout for the title in the title bar's font,
    // with the frame's icon and buttons beside it, keeps the title whole.
    static void keepTitleWhole(QMessageBox& box)
    {
        auto* grid = qobject_cast<QGridLayout*>(box.layout());
        if (!grid)
            return;
        const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
        const int frame = 4 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
        const QMargins margins = grid->contentsMargins();
        const int width = title.horizontalAdvance(box.windowTitle()) + frame - margins.left() - margins.right();
        grid->addItem(new QSpacerItem(std::max(0, width), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
            grid->rowCount(), 0, 1, grid->columnCount());
    }

public:
    int messageBox(const QString& text, int style, const QString& title) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(title);
        // The text names records in angle brackets and carries what users typed: never markup.
        box.setTextFormat(Qt::PlainText);
        box.setText(text);
        switch (style & 0x70) {
        case MsgBox::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgBox::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgBox::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgBox::Information:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
        }
        struct ButtonSpec {
            QMessageBox::StandardButton button;
            int answer;
        };
        static const std::vector<ButtonSpec> buttonSets[6] = {
            { { QMessageBox::Ok, MsgBox::OK } },
            { { QMessageBox::Ok, MsgBox::OK }, { QMessageBox::Cancel, MsgBox::Cancel } },
            { { QMessageBox::Abort, MsgBox::Abort }, { QMessageBox::Retry, MsgBox::Retry }, { QMessageBox::Ignore, MsgBox::Ignore } },
            { { QMessageBox::Yes, MsgBox::Yes }, { QMessageBox::No, MsgBox::No }, { QMessageBox::Cancel, MsgBox::Cancel } },
            { { QMessageBox::Yes, MsgBox::Yes }, { QMessageBox::No, MsgBox::No } },
            { { QMessageBox::Retry, MsgBox::Retry }, { QMessageBox::Cancel, MsgBox::Cancel } },
        };
        const std::vector<ButtonSpec>& buttons = buttonSets[(style & 7) < 6 ? (style & 7) : 0];
        QMessageBox::StandardButtons set;
        for (const ButtonSpec& spec : buttons)
            set |= spec.button;
        box.setStandardButtons(set);
        const size_t defaultIndex = (style & MsgBox::DefaultButton3) ? 2 : (style & MsgBox::DefaultButton2) ? 1 : 0;
        if (defaultIndex < buttons.size())
            box.setDefaultButton(buttons[defaultIndex].button);
        if (set & QMessageBox::Cancel)
            box.setEscapeButton(QMessageBox::Cancel);
        keepTitleWhole(box);
        box.exec();
        const auto clicked = box.standardButton(box.clickedButton());
        for (const ButtonSpec& spec : buttons) {
            if (spec.button == clicked)
                return spec.answer;
        }
        // Closed without a button: the cancelling answer the box offers.
        return (set & QMessageBox::Cancel) ? MsgBox::Cancel : buttons.back().answer;
    }
    void beep() override { QApplication::beep(); }
};

class PlainPointer final : public PointerControl {
public:
    PointerShape current() const override { return m_shape; }
    void set(PointerShape shape) override { m_shape = shape; }

private:
    PointerShape m_shape = PointerShape::Arrow;
};

class OverrideCursorPointer final : public PointerControl {
public:
    PointerShape current() const override { return m_shape; }
    void set(PointerShape shape) override
    {
        if (shape == m_shape)
            return;
        m_shape = shape;
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return;
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        if (shape == PointerShape::Busy)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }

private:
    PointerShape m_shape = PointerShape::Arrow;
};

class QProcessStarter final : public ProcessStarter {
public:
    bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder) override
    {
        return QProcess::startDetached(program, arguments, workingFolder);
    }
};

std::unique_ptr<Prompt>& promptSlot()
{
    static std::unique_ptr<Prompt> slot = std::make_unique<ConsolePrompt>();
    return slot;
}

std::unique_ptr<PointerControl>& pointerSlot()
{
    static std::unique_ptr<PointerControl> slot = std::make_unique<PlainPointer>();
    return slot;
}

std::unique_ptr<ProcessStarter>& processSlot()
{
    static std::unique_ptr<ProcessStarter> slot = std::make_unique<QProcessStarter>();
    return slot;
}

std::function<void(int)>& terminatorSlot()
{
    static std::function<void(int)> slot = [](int code) { std::exit(code); };
    return slot;
}

std::function<void(int)>& sleeperSlot()
{
    static std::function<void(int)> slot = [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); };
    return slot;
}

} // namespace

namespace Platform {

Prompt& prompt()
{
    return *promptSlot();
}

void setPrompt(std::unique_ptr<Prompt> prompt)
{
    promptSlot() = prompt ? std::move(prompt) : std::make_unique<ConsolePrompt>();
}

PointerControl& pointer()
{
    return *pointerSlot();
}

void setPointer(std::unique_ptr<PointerControl> pointer)
{
    pointerSlot() = pointer ? std::move(pointer) : std::make_unique<PlainPointer>();
}

ProcessStarter& processes()
{
    return *processSlot();
}

void setProcesses(std::unique_ptr<ProcessStarter> starter)
{
    processSlot() = starter ? std::move(starter) : std::make_unique<QProcessStarter>();
}

void terminate(int exitCode)
{
    terminatorSlot()(exitCode);
}

void setTerminator(std::function<void(int)> terminator)
{
    terminatorSlot() = terminator ? std::move(terminator) : [](int code) { std::exit(code); };
}

void sleep(int milliseconds)
{
    sleeperSlot()(milliseconds);
}

void setSleeper(std::function<void(int)> sleeper)
{
    sleeperSlot() = sleeper ? std::move(sleeper) : [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); };
}

std::unique_ptr<Prompt> makeDesktopPrompt() { return std::make_unique<DesktopPrompt>(); }

void installDesktop()
{
    setPrompt(makeDesktopPrompt());
    setPointer(std::make_unique<OverrideCursorPointer>());
    setProcesses(std::make_unique<QProcessStarter>());
}

} // namespace Platform
