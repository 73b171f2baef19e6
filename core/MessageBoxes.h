#pragma once

#include <QString>

// Every question and notice of the program goes through these boxes, so titles, icons and default
// buttons are the same everywhere. Each box shows the arrow pointer and restores the previous
// pointer afterwards; the busy-pointer count is left alone.

int ConfirmDelete(const QString& objectText);
int ConfirmSaveChanges(const QString& objectText);
void ShowValidationMessage(const QString& text);
int ConfirmProceed(const QString& text);
int AskQuestion(const QString& text, const QString& title, int extraStyle = 0);
void ShowErrorMessage(const QString& text);
void ShowInfoMessage(const QString& text);

// Any other box: the text, the style flags and the title, shown with the same pointer handling.
int ShowMessageBox(const QString& text, int style, const QString& title);
