#include "core/InputRoutines.h"

#include "core/Platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
std::function<void()> s_searchCommand;
std::function<void()> s_arrangeTabControls;

void setBase(QWidget* control, const QColor& color)
{
    if (!control)
        return;
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, color);
    control->setPalette(palette);
}
} // namespace

QColor FocusColor()
{
    return QColor(255, 255, 128);
}

QColor NormalFieldColor()
{
    return QApplication::palette().color(QPalette::Base);
}

void EnterAsTab(int& keyCode, int formType)
{
    if (keyCode != 13)
        return;
    keyCode = 0;
    if (formType == 2) {
        if (s_searchCommand)
            s_searchCommand();
        return;
    }
    if (QWidget* focus = QApplication::focusWidget()) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(focus, &tab);
    }
}

void UpperCaseKey(int& keyCode)
{
    if (keyCode <= 0 || keyCode > 255)
        return;
    const QChar upper = QChar(static_cast<char16_t>(keyCode)).toUpper();
    // Letters whose capital lies outside the 8-bit set (the German sharp s) stay as typed.
    if (upper.unicode() <= 255)
        keyCode = upper.unicode();
}

void SelectAllText(QWidget* control)
{
    if (auto* line = qobject_cast<QLineEdit*>(control))
        line->selectAll();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        plain->selectAll();
    else if (auto* rich = qobject_cast<QTextEdit*>(control))
        rich->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

void HighlightControl(QWidget* control)
{
    setBase(control, FocusColor());
    if (s_arrangeTabControls)
        s_arrangeTabControls();
}

void UnhighlightControl(QWidget* control)
{
    setBase(control, NormalFieldColor());
}

void ButtonBeep(QAbstractButton* button)
{
    if (button && button->isVisible() && button->isEnabled()) {
        button->setFocus(Qt::OtherFocusReason);
        button->click();
        return;
    }
    Platform::prompt().beep();
}

void SetSearchCommand(std::function<void()> command)
{
    s_searchCommand = std::move(command);
}

void SetArrangeTabControls(std::function<void()> arrange)
{
    s_arrangeTabControls = std::move(arrange);
}
