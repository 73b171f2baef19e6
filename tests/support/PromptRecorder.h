#pragma once

#include "core/Platform.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

// Answers message boxes from a queue (the default button when the queue is empty) and keeps what
// each box showed.
class PromptRecorder final : public Prompt {
public:
    struct Box {
        QString text;
        int style = 0;
        QString title;
    };

    int messageBox(const QString& text, int style, const QString& title) override;
    void beep() override { ++beeps; }

    void answer(int code) { m_answers.push_back(code); }
    void clear();

    std::vector<Box> boxes;
    int beeps = 0;
    // Runs while a box is up, before it is answered: what the program holds while the user reads.
    std::function<void(const Box&)> whileShown;

private:
    std::deque<int> m_answers;
};

// The recorder the test program installed; cleared by each fixture.
PromptRecorder& Prompts();

// What the terminator was asked to do (the test program never really ends).
struct TerminationRecord {
    int calls = 0;
    int lastCode = 0;
};
TerminationRecord& Terminations();
// The sleeps the program asked for, in milliseconds.
std::vector<int>& Sleeps();
