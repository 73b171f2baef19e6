#pragma once

#include <QMetaObject>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

class DeclaredRecordWindow;
class FieldRows;
class QObject;

// A control that the hooks of declared record windows use, named once beside the declaration and
// typed, in place of a look-up by a string at each use:
//
//     const DeclaredControl<zComboBoxText> CasePicker { { "frmItem" }, "zcbtCase" };
//     ...
//     zComboBoxText* theCase = CasePicker.in(window);
//
// Every handle is recorded with the windows it names, and a declaration begun with
// DeclaredTable::of takes every handle naming its record window (DeclaredTable::controls). A
// declared record window checks, as it is built, that each of its handles finds a control of the
// handle's type (a declared field, money field, options row, side button, or a control the
// window's extension added); a window that does not refuses to build, with a message naming the
// window and the control. The declarations sweep builds every declared window, so a misspelt name
// fails there and never as a null pointer when a hook first runs. A handle resolved in a window
// whose declaration does not hold it throws the same way. A window of fields only (AddDeclaredFields,
// FieldRows.h) takes its handles the same way from the rows it made, and checks as it is built
// every handle naming it. Handles live as long as the program (namespace-scope constants).
class ControlHandle {
public:
    ControlHandle(const ControlHandle&) = delete;
    ControlHandle& operator=(const ControlHandle&) = delete;

    const QStringList& windows() const { return m_windows; }
    const QString& name() const { return m_name; }
    const QMetaObject& type() const { return m_type; }
    bool names(const QString& window) const;
    // Why the handle does not serve that window ("" when it does).
    QString problemIn(const DeclaredRecordWindow& window) const;
    // Why the control found by the handle's name (null: none) does not serve it ("" when it does).
    QString problemWith(const QObject* found) const;

    // The control in that window, of the handle's type (for lists of handles of several types);
    // throws AppError naming the window and the control when there is none.
    QObject* object(const DeclaredRecordWindow& window) const { return resolve(window); }

    // Every handle the program holds, and those that name a window.
    static std::vector<const ControlHandle*> all();
    static std::vector<const ControlHandle*> naming(const QString& window);

protected:
    ControlHandle(std::initializer_list<const char*> windows, const char* name, const QMetaObject& type);
    ~ControlHandle();
    // The control in that window; throws AppError naming the window and the control when there is
    // none of the handle's type.
    QObject* resolve(const DeclaredRecordWindow& window) const;
    // The same among the controls AddDeclaredFields made.
    QObject* resolve(const FieldRows& rows) const;

private:
    QStringList m_windows;
    QString m_name;
    const QMetaObject& m_type;
};

template <typename T> class DeclaredControl final : public ControlHandle {
public:
    DeclaredControl(std::initializer_list<const char*> windows, const char* name)
        : ControlHandle(windows, name, T::staticMetaObject)
    {
    }
    // Never null: a window without the control was never built.
    T* in(const DeclaredRecordWindow& window) const { return static_cast<T*>(resolve(window)); }
    T* in(const FieldRows& rows) const { return static_cast<T*>(resolve(rows)); }
};

// Checks every handle the window's declaration holds; throws AppError ("The window <frmItem> cannot be built:
// ...") at the first that does not serve it.
void CheckDeclaredControls(const DeclaredRecordWindow& window);
// The same for the handles naming a window of fields only, among the controls its rows hold.
void CheckDeclaredControls(const FieldRows& rows);
