#include "support/PromptRecorder.h"

int PromptRecorder::messageBox(const QString& text, int style, const QString& title)
{
    boxes.push_back({ text, style, title });
    if (whileShown) {
        const Box shown = boxes.back(); // the hook may show boxes of its own
        whileShown(shown);
    }
    if (!m_answers.empty()) {
        const int code = m_answers.front();
        m_answers.pop_front();
        return code;
    }
    const int buttons = style & 7;
    const bool second = style & MsgBox::DefaultButton2;
    switch (buttons) {
    case MsgBox::YesNoCancel:
    case MsgBox::YesNo:
        return second ? MsgBox::No : MsgBox::Yes;
    case MsgBox::OKCancel:
        return second ? MsgBox::Cancel : MsgBox::OK;
    default:
        return MsgBox::OK;
    }
}

void PromptRecorder::clear()
{
    boxes.clear();
    beeps = 0;
    m_answers.clear();
    whileShown = nullptr;
}

TerminationRecord& Terminations()
{
    static TerminationRecord record;
    return record;
}

std::vector<int>& Sleeps()
{
    static std::vector<int> sleeps;
    return sleeps;
}
