#pragma once

#include "declared_windows/DeclaredField.h"

#include <vector>

class QBoxLayout;
class QWidget;

// The fields of a window that is neither a record nor a search window (a dialog of criteria, or of
// the values of an action), made from their declarations as the lookup windows make theirs. Each
// field gets a row of the layout: its caption first (a zLabel, the field's buddy, bold while the
// field is required, at least captionWidth pixels wide, named as declared or "zlabel1(<n>)"), then
// the field, then what the declarations put beside it (a field declared besideThePrevious, side
// buttons named as declared). A memo's row takes the height the window has to spare. The widgets
// are the window's children, named as declared: the window finds them by name.
void AddDeclaredFields(QWidget* window, QBoxLayout* rows, const std::vector<DeclaredField>& fields, int captionWidth = 0);
