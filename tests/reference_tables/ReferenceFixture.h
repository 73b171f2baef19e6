#pragma once

// The lookup windows over a fresh database of the production schema, opened and driven as the
// user drives them.

#include "support/TestDatabase.h"
#include "core/Viewers.h"

#include <QString>
#include <QStringList>

#include <memory>

class DataWindow;
class LookupRecordWindow;
class LookupSearchWindow;
class QWidget;
class zFieldBase;

class RecordingViewers final : public ViewerWindows {
public:
    void showText(const QString& text) override { texts << text; }
    void showImage(const QString&) override { }
    void showWebPage(const QString&, const QString&) override { }
    QString browseForFolder(const QString&) override { return {}; }
    QStringList texts;
};

class ReferenceTest : public DatabaseTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A record window opened in add mode (with an opener's default value) or in edit mode.
    LookupRecordWindow* openNew(const QString& window, const QString& defaultValue = QString());
    LookupRecordWindow* openEdit(const QString& window, int identity);
    LookupSearchWindow* openSearch(const QString& window);

    // Types into the field's box as a user does and leaves the field.
    static void type(zFieldBase* field, const QString& text);
    static void click(QWidget* window, const char* button);
    // Saves through the bar's Save button; the message shown, or "" when none was.
    QString save(LookupRecordWindow* window);

    int insert(const QString& sql);
    int count(const QString& sql);

    RecordingViewers* viewers = nullptr;

private:
    std::unique_ptr<ViewerWindows> m_previousViewers;
};
