#pragma once

#include <QString>

class DataWindow;
class QWidget;

// Keeping the data windows and the main window in step.

void InitChildForm(DataWindow* window);
// The end of a window's load, before it shows: its frame grows to what its contents need (a
// remembered smaller size too) and, as a child of the main window, keeps within the main window's
// area as far as the contents allow; a new child window takes the first free place of the cascade
// from the area's top left corner (rather than the area's own choice), unless its opener placed it.
void FitChildForm(DataWindow* window);
void PopulateControls(DataWindow* window);
void SetStatusText(const QString& text);
void ActivateChildForm(DataWindow* window);
void ClearStatusText(DataWindow* window);
// A window is closing: its open child first, then the links to its parent, its entry.
void FormClosing(DataWindow* window);
// Closes every window but the main window, last loaded first; stops at one that refuses.
void UnloadAllForms();
QString WindowNumberText(long long number);
void SetCaption(QWidget* window, const QString& caption);
// "No Items found", "1 Item is showing", "12 Items are showing".
QString CountCaption(int count, const QString& noun);
// The main window's caption: test mode, title, database and user.
QString MainCaption();
void SetMainCaption();
void SetDatabaseMenus();
// Brings forward the tab page that holds the control with the focus.
void ArrangeTabControls();
void DragFormStart(DataWindow* window, int x, int y);
void DragFormMove(DataWindow* window, int x, int y);
void DragFormEnd(DataWindow* window);
void CenterCursorOnWindow(QWidget* window);
bool IsCursorOverWindow(QWidget* window);
// Hands a main-window command to the active child window; beeps when there is none.
void SendCommandToActiveForm(int command);
