#pragma once

#include "declared_windows/DeclaredField.h"

#include <QHash>
#include <QString>

#include <utility>
#include <vector>

class QBoxLayout;
class QWidget;

// The controls AddDeclaredFields made in one window (each field, caption, side button and option
// button) under the names they were declared with. The window takes the ones it keeps through
// DeclaredControl handles (`ActionPicker.in(rows)`), never by a name written at the use.
class FieldRows {
public:
    explicit FieldRows(QString windowName)
        : m_window(std::move(windowName))
    {
    }
    const QString& windowName() const { return m_window; }
    // The control made under that name; null when none was.
    QWidget* control(const QString& name) const { return m_controls.value(name); }
    void add(QWidget* control);

private:
    QString m_window;
    QHash<QString, QWidget*> m_controls;
};

// The fields of a window that is neither a record nor a search window (a dialog of criteria, or of
// the values of an action), made from their declarations as the lookup windows make theirs. Each
// field gets a row of the layout: its caption first (a zLabel, the field's buddy, bold while the
// field is required, at least captionWidth pixels wide, named as declared or "zlabel1(<n>)"), then
// the field, then what the declarations put beside it (a field declared besideThePrevious, side
// buttons named as declared). A memo's row takes the height the window has to spare. The widgets
// are the window's children, named as declared. A window makes all its declared fields in one call:
// every DeclaredControl handle naming the window (its objectName) must find its control, of its
// type, among them, or this throws AppError ("The window <frmX> cannot be built: ...").
FieldRows AddDeclaredFields(
    QWidget* window, QBoxLayout* rows, const std::vector<DeclaredField>& fields, int captionWidth = 0);
