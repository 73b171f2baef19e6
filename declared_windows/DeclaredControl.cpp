#include "declared_windows/DeclaredControl.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/ErrorNumbers.h"
#include "core/SqlText.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/FieldRows.h"

#include <QPushButton>

#include <algorithm>

namespace {

std::vector<const ControlHandle*>& handles()
{
    static std::vector<const ControlHandle*> recorded;
    return recorded;
}

QObject* find(const DeclaredRecordWindow& window, const QString& name)
{
    if (QWidget* declared = window.control(name))
        return declared;
    if (QPushButton* button = window.button(name))
        return button;
    // What the pattern lays out around the fields: option buttons, captions.
    return window.findChild<QWidget*>(name);
}

[[noreturn]] void refuse(const QString& window, const QString& problem)
{
    throw AppError(ErrToReport,
        QStringLiteral("The window ") + AngleQuote(window) + QStringLiteral(" cannot be built: ") + problem,
        ApplicationTitle());
}

} // namespace

ControlHandle::ControlHandle(std::initializer_list<const char*> windows, const char* name, const QMetaObject& type)
    : m_name(QString::fromLatin1(name))
    , m_type(type)
{
    for (const char* window : windows)
        m_windows << QString::fromLatin1(window);
    handles().push_back(this);
}

ControlHandle::~ControlHandle()
{
    auto& recorded = handles();
    recorded.erase(std::remove(recorded.begin(), recorded.end(), this), recorded.end());
}

bool ControlHandle::names(const QString& window) const { return m_windows.contains(window, Qt::CaseInsensitive); }

namespace {

bool held(const DeclaredRecordWindow& window, const ControlHandle* handle)
{
    const std::vector<const ControlHandle*>& controls = window.table().controls;
    return std::find(controls.begin(), controls.end(), handle) != controls.end();
}

} // namespace

QString ControlHandle::problemIn(const DeclaredRecordWindow& window) const
{
    if (!names(window.objectName()) || !held(window, this))
        return QStringLiteral("its hooks use the control ") + AngleQuote(m_name)
            + QStringLiteral(" through a handle its declaration does not hold (the handle names ")
            + m_windows.join(QStringLiteral(", ")) + QStringLiteral(").");
    return problemWith(find(window, m_name));
}

QString ControlHandle::problemWith(const QObject* found) const
{
    if (!found)
        return QStringLiteral("it has no control ") + AngleQuote(m_name) + QStringLiteral(".");
    if (!m_type.cast(found))
        return QStringLiteral("its control ") + AngleQuote(m_name) + QStringLiteral(" is a ")
            + QString::fromLatin1(found->metaObject()->className()) + QStringLiteral(", not a ")
            + QString::fromLatin1(m_type.className()) + QStringLiteral(".");
    return {};
}

std::vector<const ControlHandle*> ControlHandle::all() { return handles(); }

std::vector<const ControlHandle*> ControlHandle::naming(const QString& window)
{
    std::vector<const ControlHandle*> named;
    if (window.isEmpty())
        return named;
    for (const ControlHandle* handle : handles())
        if (handle->names(window))
            named.push_back(handle);
    return named;
}

QObject* ControlHandle::resolve(const DeclaredRecordWindow& window) const
{
    if (names(window.objectName()) && held(window, this))
        if (QObject* found = find(window, m_name); found && m_type.cast(found))
            return found;
    refuse(window.objectName(), problemIn(window));
}

QObject* ControlHandle::resolve(const FieldRows& rows) const
{
    if (!names(rows.windowName()))
        refuse(rows.windowName(),
            QStringLiteral("it uses the control ") + AngleQuote(m_name) + QStringLiteral(" through a handle naming ")
                + m_windows.join(QStringLiteral(", ")) + QStringLiteral("."));
    QObject* found = rows.control(m_name);
    if (const QString problem = problemWith(found); !problem.isEmpty())
        refuse(rows.windowName(), problem);
    return found;
}

void CheckDeclaredControls(const DeclaredRecordWindow& window)
{
    for (const ControlHandle* handle : window.table().controls) {
        if (const QString problem = handle->problemIn(window); !problem.isEmpty())
            refuse(window.objectName(), problem);
    }
}

void CheckDeclaredControls(const FieldRows& rows)
{
    for (const ControlHandle* handle : ControlHandle::naming(rows.windowName())) {
        if (const QString problem = handle->problemWith(rows.control(handle->name())); !problem.isEmpty())
            refuse(rows.windowName(), problem);
    }
}
