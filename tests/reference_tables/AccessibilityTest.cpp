// The windows as a screen reader (or a tool driving the program over the desktop's accessibility
// bus) sees them: the accessibility tree of the State windows with their Country picker, walked
// from each window's frame in the main window's work area.

#include "ReferenceFixture.h"

#include "core/Database.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "form_framework/MainWindowServices.h"
#include "form_framework/WindowList.h"
#include "list_controls/zComboBoxText.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The main window's work area, so data windows sit in sub-window frames as they do in the program.
class WorkArea final : public MainWindowServices {
public:
    WorkArea()
    {
        area.resize(1000, 700);
        area.show();
        SetMainWindow(this);
    }
    ~WorkArea() override { SetMainWindow(nullptr); }
    QWidget* mainWindow() override { return &area; }
    void setStatusText(const QString&) override { }
    OpenWindowsList* openWindows() override { return nullptr; }
    void addChildWindow(QWidget* window) override { area.addSubWindow(window)->setAttribute(Qt::WA_DeleteOnClose); }
    QWidget* activeChildWindow() override
    {
        return area.activeSubWindow() ? area.activeSubWindow()->widget() : nullptr;
    }
    QSize clientAreaSize() override { return area.viewport()->size(); }
    QIcon icon() override { return {}; }
    void setCaption(const QString&) override { }
    void setMenuCaption(const QString&, const QString&) override { }
    void setDatabaseMenuItem(int, bool) override { }
    QMdiArea area;
};

// Every interface under the root, the root first, reached as the desktop reaches them: through
// the children of each interface.
QList<QAccessibleInterface*> walk(QAccessibleInterface* root)
{
    QList<QAccessibleInterface*> all;
    std::function<void(QAccessibleInterface*)> visit = [&](QAccessibleInterface* node) {
        if (!node)
            return;
        all << node;
        for (int i = 0; i < node->childCount(); ++i)
            visit(node->child(i));
    };
    visit(root);
    return all;
}

QAccessibleInterface* reached(const QList<QAccessibleInterface*>& tree, const QObject* object)
{
    for (QAccessibleInterface* node : tree) {
        if (node->object() == object)
            return node;
    }
    return nullptr;
}

QAccessibleInterface* frameOf(DataWindow* window) { return QAccessible::queryAccessibleInterface(window->frame()); }

class Accessibility : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        area = std::make_unique<WorkArea>();
        // One country with one state, so the grid shows exactly the row the test looks at.
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM States")));
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Countries")));
        germany = insert(
            QStringLiteral("INSERT INTO Countries (Country_Name, Country_Code_2, Country_Code_3, Country_Number_3) "
                           "VALUES ('Germany', 'DE', 'DEU', 276) RETURNING Country_ID"));
        bavaria = insert(
            QStringLiteral("INSERT INTO States (State_Name, State_Code, Country_ID) VALUES ('Bavaria', 'BY', %1) "
                           "RETURNING State_ID")
                .arg(germany));
    }
    void TearDown() override
    {
        ReferenceTest::TearDown();
        area.reset();
    }

    std::unique_ptr<WorkArea> area;
    int germany = 0;
    int bavaria = 0;
};

TEST_P(Accessibility, ARecordWindowNamesEachFieldByItsGoodNameAndGivesItsValue)
{
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmState"), bavaria);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->frame(), window) << "the window sits in a frame of the work area";
    const QList<QAccessibleInterface*> tree = walk(frameOf(window));
    ASSERT_FALSE(tree.isEmpty());
    EXPECT_EQ(tree.first()->role(), QAccessible::Window);
    EXPECT_EQ(tree.first()->text(QAccessible::Name), QStringLiteral("Edit State - %1").arg(bavaria));
    EXPECT_FALSE(tree.first()->state().disabled);

    auto* picker = qobject_cast<zComboBoxText*>(window->field(QStringLiteral("zcbtCountry")));
    ASSERT_NE(picker, nullptr);
    const struct Case {
        const char* what;
        QWidget* widget;
        QAccessible::Role role;
        QString name;
        QString value;
    } cases[] = {
        { "the identity",
            window->findChild<zIdentity*>(QStringLiteral("zID"))->findChild<QLineEdit*>(QStringLiteral("txtID")),
            QAccessible::EditableText, QStringLiteral("State ID"), QString::number(bavaria) },
        { "the picker", picker->combo(), QAccessible::ComboBox, QStringLiteral("Country"), QStringLiteral("Germany") },
        { "the picker's text box", picker->combo()->lineEdit(), QAccessible::EditableText, QStringLiteral("Country"),
            QStringLiteral("Germany") },
        { "the picker's button", picker->button(), QAccessible::Button, QStringLiteral("..."), QString() },
        { "a text field", window->field(QStringLiteral("ztxtName"))->inputBox(), QAccessible::EditableText,
            QStringLiteral("State Name"), QStringLiteral("Bavaria") },
        { "another text field", window->field(QStringLiteral("ztxtCode"))->inputBox(), QAccessible::EditableText,
            QStringLiteral("State Code"), QStringLiteral("BY") },
        { "a bar button", window->findChild<QPushButton*>(QStringLiteral("btnClose")), QAccessible::Button,
            QStringLiteral("Close"), QString() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.widget, nullptr);
        QAccessibleInterface* node = reached(tree, c.widget);
        ASSERT_NE(node, nullptr) << "not reachable from the window's frame";
        EXPECT_EQ(node->role(), c.role);
        EXPECT_EQ(node->text(QAccessible::Name).toStdString(), c.name.toStdString());
        EXPECT_EQ(node->text(QAccessible::Value).toStdString(), c.value.toStdString());
        EXPECT_FALSE(node->state().disabled);
    }

    // The field controls around the boxes are plain containers: no second name, and nothing a
    // desktop would list among its windows.
    for (zFieldBase* field : window->findChildren<zFieldBase*>()) {
        SCOPED_TRACE(field->objectName().toStdString());
        QAccessibleInterface* node = reached(tree, field);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->role(), QAccessible::Client);
        EXPECT_EQ(node->text(QAccessible::Name).toStdString(), "");
    }
    for (QAccessibleInterface* node : tree.mid(1)) {
        EXPECT_NE(node->role(), QAccessible::Window) << node->text(QAccessible::Name).toStdString();
        EXPECT_NE(node->role(), QAccessible::Border) << node->text(QAccessible::Name).toStdString();
    }

    // The value follows the choice.
    picker->setValue(QVariant());
    EXPECT_EQ(reached(tree, picker->combo())->text(QAccessible::Value), QString());
    EXPECT_EQ(reached(tree, picker->combo())->text(QAccessible::Name), QStringLiteral("Country"));
}

TEST_P(Accessibility, ASearchWindowShowsItsGridAndButtonsButNoEmptyOptions)
{
    DeclaredSearchWindow* window = openSearch(QStringLiteral("frmStates"));
    ASSERT_NE(window, nullptr);
    const QList<QAccessibleInterface*> tree = walk(frameOf(window));
    ASSERT_FALSE(tree.isEmpty());
    EXPECT_EQ(tree.first()->role(), QAccessible::Window);
    EXPECT_EQ(tree.first()->text(QAccessible::Name), QStringLiteral("States"));

    QAccessibleInterface* populate = reached(tree, window->populateButton());
    ASSERT_NE(populate, nullptr);
    EXPECT_EQ(populate->text(QAccessible::Name), QStringLiteral("Populate"));
    EXPECT_FALSE(populate->state().invisible);

    QStringList headers;
    QStringList cells;
    for (QAccessibleInterface* node : tree) {
        if (node->role() == QAccessible::ColumnHeader)
            headers << node->text(QAccessible::Name);
        else if (node->role() == QAccessible::Cell)
            cells << node->text(QAccessible::Name);
        // A window without criteria shows no "Search Options" frame, not even an empty one.
        if (node->role() == QAccessible::Grouping) {
            EXPECT_TRUE(node->state().invisible) << node->text(QAccessible::Name).toStdString();
        }
    }
    EXPECT_EQ(headers, (QStringList { QStringLiteral("Name"), QStringLiteral("Code"), QStringLiteral("Country") }));
    EXPECT_EQ(cells, (QStringList { QStringLiteral("Bavaria"), QStringLiteral("BY"), QStringLiteral("Germany") }));
}

// While a window that one of its pickers opened is open, a window says it is disabled, from its
// frame down; closing that window makes it say it is enabled again.
TEST_P(Accessibility, AWindowWaitingForItsPickersWindowSaysItIsDisabled)
{
    const struct Case {
        const char* command;
        void (zComboBoxText::*click)();
        const char* opened;
    } cases[] = {
        { "Search", &zComboBoxText::ClickSearch, "frmCountries" },
        { "New", &zComboBoxText::ClickNew, "frmCountry" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        DeclaredRecordWindow* window = openEdit(QStringLiteral("frmState"), bavaria);
        ASSERT_NE(window, nullptr);
        auto* picker = qobject_cast<zComboBoxText*>(window->field(QStringLiteral("zcbtCountry")));
        (picker->*c.click)();
        QApplication::processEvents();
        DataWindow* opened = nullptr;
        for (QWidget* loaded : LoadedWindows()) {
            if (loaded->objectName() == QLatin1String(c.opened))
                opened = AsDataWindow(loaded);
        }
        ASSERT_NE(opened, nullptr);

        const QList<QAccessibleInterface*> tree = walk(frameOf(window));
        EXPECT_TRUE(tree.first()->state().disabled) << "the frame";
        EXPECT_TRUE(reached(tree, picker->combo())->state().disabled);
        EXPECT_FALSE(frameOf(opened)->state().disabled) << "the window it waits for";

        opened->info()->setDataChanged(false);
        UnloadWindow(opened);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(frameOf(window)->state().disabled);
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(picker->combo())->state().disabled);
        UnloadWindow(window);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Accessibility, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
