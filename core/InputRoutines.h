#pragma once

#include <QColor>

#include <functional>

class QAbstractButton;
class QWidget;

// The keyboard and focus routines every field editor and list shares.

// The background of the field that has the focus (light yellow), and of every other field.
QColor FocusColor();
QColor NormalFieldColor();

// Enter (13) is swallowed: on a search window (form type 2) it runs the search command, elsewhere
// it moves the focus on as Tab does. Other keys pass unchanged.
void EnterAsTab(int& keyCode, int formType);
// Typed letters arrive in capitals; digits and punctuation are unchanged.
void UpperCaseKey(int& keyCode);
// Selects the whole text of a line edit, text editor or editable combo box.
void SelectAllText(QWidget* control);
// Paints the field in the focus colour and brings its tab page forward.
void HighlightControl(QWidget* control);
void UnhighlightControl(QWidget* control);
// Presses a visible, enabled button as a click would (focus first); otherwise only beeps.
void ButtonBeep(QAbstractButton* button);

// What the main window installs: its search command (the active window's Populate button), and
// the routine that brings forward the tab page holding the focused control.
void SetSearchCommand(std::function<void()> command);
void SetArrangeTabControls(std::function<void()> arrange);
