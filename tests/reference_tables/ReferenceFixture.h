#pragma once

// The lookup windows over a fresh database of the production schema, opened and driven as the
// user drives them.

#include "form_framework/WindowList.h"
#include "support/RecordingViewers.h"
#include "support/TestDatabase.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

class DataWindow;
class DeclaredRecordWindow;
class DeclaredSearchWindow;
class zFieldBase;

class ReferenceTest : public DatabaseTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A record window opened in add mode (with an opener's default value) or in edit mode.
    DeclaredRecordWindow* openNew(const QString& window, const QString& defaultValue = QString());
    DeclaredRecordWindow* openEdit(const QString& window, int identity);
    DeclaredSearchWindow* openSearch(const QString& window);

    // Types into the field's box as a user does and leaves the field.
    static void type(zFieldBase* field, const QString& text);
    static void click(QWidget* window, const char* button);
    // Saves through the bar's Save button; the message shown, or "" when none was.
    QString save(DeclaredRecordWindow* window);

    int insert(const QString& sql);
    int count(const QString& sql);

    // The newest loaded window of that name, or null.
    template <typename Window> static Window* loaded(const char* name)
    {
        Window* found = nullptr;
        for (QWidget* window : LoadedWindows())
            if (window->objectName() == QLatin1String(name))
                found = qobject_cast<Window*>(window);
        return found;
    }
    static zFieldBase* field(DeclaredRecordWindow* window, const char* name);

    RecordingViewers* viewers = nullptr;

private:
    std::optional<RecordingViewers::Installed> m_viewers;
};
