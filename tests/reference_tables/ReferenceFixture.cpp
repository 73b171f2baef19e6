#include "ReferenceFixture.h"

#include "core/Database.h"
#include "list_controls/ListProcedures.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "support/PromptRecorder.h"
#include "reference_tables/ReferenceTables.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonsAddEdit.h"
#include "list_controls/zComboBoxText.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zInfo.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

void ReferenceTest::SetUp()
{
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFailure())
        return;
    Prompts().clear();
    RegisterListControlProcedures();
    RegisterReferenceTableForms();
    viewers = m_viewers.emplace().get();
}

void ReferenceTest::TearDown()
{
    for (QWidget* window : LoadedWindows()) {
        if (DataWindow* data = AsDataWindow(window)) {
            data->info()->setRefreshScreen(false);
            data->info()->setDataChanged(false);
        }
        UnloadWindow(window);
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_viewers.reset();
    viewers = nullptr;
    DatabaseTest::TearDown();
}

DeclaredRecordWindow* ReferenceTest::openNew(const QString& window, const QString& defaultValue)
{
    QVariantList parameters { QStringLiteral("Mode"), 1 };
    if (!defaultValue.isEmpty())
        parameters << QStringLiteral("DefaultValue") << defaultValue;
    auto* opened = qobject_cast<DeclaredRecordWindow*>(OpenFormWithParams(window, 0, parameters));
    if (opened) {
        opened->show();
        QApplication::setActiveWindow(opened);
        QApplication::processEvents();
    }
    return opened;
}

DeclaredRecordWindow* ReferenceTest::openEdit(const QString& window, int identity)
{
    auto* opened = qobject_cast<DeclaredRecordWindow*>(
        OpenFormWithParams(window, identity, { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), identity }));
    if (opened) {
        opened->show();
        QApplication::setActiveWindow(opened);
        QApplication::processEvents();
    }
    return opened;
}

DeclaredSearchWindow* ReferenceTest::openSearch(const QString& window)
{
    auto* opened = qobject_cast<DeclaredSearchWindow*>(ShowFormByName(window));
    QApplication::processEvents();
    return opened;
}

void ReferenceTest::type(zFieldBase* field, const QString& text)
{
    QWidget* box = field->inputBox();
    if (auto* combo = qobject_cast<QComboBox*>(box))
        box = combo->lineEdit();
    // Focus reaches a box, and leaves it (where pickers read a typed code), only in the active
    // window: whatever an earlier test left active, the field's window is made so.
    QWidget* top = box->window();
    if (!top->isActiveWindow()) {
        top->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(top, 2000)) << "the field's window never became active";
    }
    box->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->selectAll();
    QTest::keyClicks(box, text);
    box->clearFocus();
    QApplication::processEvents();
}

void ReferenceTest::click(QWidget* window, const char* button)
{
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    QApplication::processEvents();
}

QString ReferenceTest::save(DeclaredRecordWindow* window)
{
    Prompts().clear();
    window->info()->SaveData(true);
    QApplication::processEvents();
    return Prompts().boxes.empty() ? QString() : Prompts().boxes.back().text;
}

int ReferenceTest::insert(const QString& sql)
{
    const auto identity = GetSQLValue(sql);
    return identity ? identity->toInt() : 0;
}

zFieldBase* ReferenceTest::field(DeclaredRecordWindow* window, const char* name)
{
    return window->field(QString::fromLatin1(name));
}

int ReferenceTest::count(const QString& sql)
{
    const auto value = GetSQLValue(sql);
    return value ? value->toInt() : -1;
}
