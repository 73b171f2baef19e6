#include "ListFixtures.h"

#include "core/Database.h"
#include "core/RecordCodes.h"
#include "form_framework/FormSnapshot.h"
#include "support/PromptRecorder.h"
#include "form_framework/WindowList.h"
#include "list_controls/zComboBoxText.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PickerTest : public ListTest {
protected:
    frmPickerHost* openHost(bool search = false)
    {
        return open<frmPickerHost>(search ? QStringLiteral("frmPickerSearch") : QStringLiteral("frmPickerHost"));
    }
    // The user types into the picker and leaves it.
    static void type(zComboBoxText* picker, const QString& text)
    {
        picker->combo()->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        picker->combo()->lineEdit()->clear();
        QTest::keyClicks(picker->combo(), text);
        picker->window()->findChild<zText*>(QStringLiteral("ztxtElsewhere"))->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    static QStringList texts(const zComboBoxText* picker)
    {
        QStringList list;
        for (int row = 0; row < picker->ListCount(); ++row)
            list << picker->ListText(row);
        return list;
    }
};

// A list of one row is chosen for the user only where the field is required: an optional field
// left empty stays empty, however few rows its table holds. Two rows are never chosen between.
TEST_P(PickerTest, ARequiredPickerChoosesItsOnlyRowAnOptionalOneNever)
{
    const int widget = addThing(QStringLiteral("Widget"));
    frmPickerHost* pickerHost = openHost();
    ASSERT_NE(pickerHost, nullptr);
    zComboBoxText* picker = pickerHost->picker;
    EXPECT_FALSE(picker->Required());
    EXPECT_EQ(picker->Value().toInt(), -1) << "the optional picker as the window opened";
    EXPECT_TRUE(picker->Text().isEmpty());
    EXPECT_FALSE(picker->GeneralItem()) << "no <All> on a record window";

    const struct {
        bool required;
        int chosen;
        const char* text;
    } cases[] = { { true, widget, "Widget" }, { false, -1, "" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.required ? "required" : "optional");
        picker->setRequired(c.required);
        picker->Populate();
        EXPECT_EQ(picker->Value().toInt(), c.chosen) << "after a fill";
        EXPECT_EQ(picker->Text(), QLatin1String(c.text));
        picker->setValue(QVariant());
        picker->setApplicable(false);
        picker->setApplicable(true);
        EXPECT_EQ(picker->Value().toInt(), c.chosen) << "made applicable again";
    }
    EXPECT_EQ(picker->DBValue(), QStringLiteral("NULL"));

    picker->setRequired(true);
    addThing(QStringLiteral("Anvil"));
    pickerHost->picker->Populate();
    EXPECT_EQ(texts(pickerHost->picker), (QStringList { QStringLiteral("Anvil"), QStringLiteral("Widget") }));
    EXPECT_EQ(pickerHost->picker->Value().toInt(), -1);
    EXPECT_EQ(pickerHost->picker->DBValue(), QStringLiteral("NULL"));

    pickerHost->picker->setValue(widget);
    EXPECT_EQ(pickerHost->picker->Text(), QStringLiteral("Widget"));
    pickerHost->picker->setValue(QVariant());
    EXPECT_EQ(pickerHost->picker->Value().toInt(), -1);
    pickerHost->picker->setValue(9999);
    EXPECT_EQ(pickerHost->picker->Value().toInt(), -1);
    EXPECT_TRUE(pickerHost->picker->Text().isEmpty());
}

TEST_P(PickerTest, ASearchWindowOffersAllFirstAndChoosesIt)
{
    frmPickerHost* pickerHost = openHost(true);
    ASSERT_NE(pickerHost, nullptr);
    EXPECT_EQ(texts(pickerHost->picker), QStringList { QStringLiteral("<All>") });
    EXPECT_EQ(pickerHost->picker->Value().toInt(), 0);
    EXPECT_EQ(pickerHost->picker->DBValue(), QStringLiteral("NULL"));

    const int anvil = addThing(QStringLiteral("Anvil"));
    addThing(QStringLiteral("Bolt"));
    pickerHost->picker->Populate();
    EXPECT_EQ(texts(pickerHost->picker), (QStringList { QStringLiteral("<All>"), QStringLiteral("Anvil"), QStringLiteral("Bolt") }));
    EXPECT_EQ(pickerHost->picker->Text(), QStringLiteral("<All>"));
    pickerHost->picker->setValue(anvil);
    pickerHost->picker->setValue(QVariant());
    EXPECT_EQ(pickerHost->picker->Value().toInt(), 0) << "Null chooses <All> on a search window";
    // A criterion takes part in the search only with a real choice.
    EXPECT_FALSE(GetFormSnapshot(pickerHost).contains(QStringLiteral("Thing_ID")));
    pickerHost->picker->setValue(anvil);
    EXPECT_EQ(GetFormSnapshot(pickerHost).value(QStringLiteral("Thing_ID")), QString::number(anvil));

    pickerHost->picker->setGeneralItem(false);
    EXPECT_EQ(texts(pickerHost->picker), (QStringList { QStringLiteral("Anvil"), QStringLiteral("Bolt") }));
    EXPECT_EQ(pickerHost->picker->Value().toInt(), anvil);
}

TEST_P(PickerTest, TypedTextChoosesItsEntryOrIsRefusedOnLeaving)
{
    const int widget = addThing(QStringLiteral("Widget"));
    addThing(QStringLiteral("Anvil"));
    frmPickerHost* pickerHost = openHost();
    ASSERT_NE(pickerHost, nullptr);

    type(pickerHost->picker, QStringLiteral("wIDGET"));
    EXPECT_EQ(pickerHost->picker->Value().toInt(), widget);
    EXPECT_TRUE(pickerHost->picker->FieldError().isEmpty());

    type(pickerHost->picker, QStringLiteral("Sprocket "));
    EXPECT_EQ(pickerHost->picker->Text(), QStringLiteral("Sprocket")) << "trimmed on leaving";
    EXPECT_EQ(pickerHost->picker->Value().toInt(), -1);
    EXPECT_FALSE(pickerHost->picker->IsMissing());
    EXPECT_EQ(pickerHost->picker->FieldError(), QStringLiteral("Thing should match an item in the list"));
    EXPECT_EQ(pickerHost->picker->combo()->palette().color(QPalette::Text), QColor(255, 0, 0));

    // Without a button the check's message is shown; with one the user is offered to add it.
    pickerHost->picker->setShowButton(false);
    EXPECT_FALSE(pickerHost->picker->IsValid());
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Thing should match an item in the list."));
    EXPECT_EQ(Prompts().boxes.back().title, QStringLiteral("Fields Validation"));

    pickerHost->picker->setShowButton(true);
    Prompts().answer(MsgBox::No);
    EXPECT_FALSE(pickerHost->picker->IsValid());
    EXPECT_EQ(Prompts().boxes.back().text,
              QStringLiteral("Cannot find Thing <Sprocket>.\r\n\r\nWould you like to add it to the database?"));

    pickerHost->picker->combo()->lineEdit()->clear();
    pickerHost->picker->setRequired(true);
    EXPECT_FALSE(pickerHost->picker->IsValid());
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Thing is a required field."));
}

TEST_P(PickerTest, APickerHoldingWhiteSpaceAloneIsMissing)
{
    frmPickerHost* pickerHost = openHost();
    ASSERT_NE(pickerHost, nullptr);
    pickerHost->picker->setRequired(true);
    for (const QString& blank : { QStringLiteral(" "), QStringLiteral("\t "), QString(QChar(0x00A0)) }) {
        SCOPED_TRACE(blank.toStdString());
        pickerHost->picker->combo()->lineEdit()->setText(blank);
        EXPECT_TRUE(pickerHost->picker->IsMissing());
        EXPECT_FALSE(pickerHost->picker->IsValid());
        EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Thing is a required field."));
    }
}

TEST_P(PickerTest, AnEntryArrivingAfterItsTextWasTypedIsChosen)
{
    frmPickerHost* pickerHost = openHost();
    ASSERT_NE(pickerHost, nullptr);
    type(pickerHost->picker, QStringLiteral("gizmo"));
    EXPECT_EQ(pickerHost->picker->Value().toInt(), -1);
    const int gizmo = addThing(QStringLiteral("Gizmo"));
    BroadcastDataChanged(DataChangedAction::Added, QStringLiteral("Things"), QString::number(gizmo));
    EXPECT_EQ(pickerHost->picker->Value().toInt(), gizmo);
}

struct ScannedCase {
    const char* typed;
    int expected; // -2: the thing's own identity
    const char* error;
};

TEST_P(PickerTest, ScannedRecordCodesChooseOnlyWellFormedCodesOfTheirTable)
{
    addThing(QStringLiteral("Anvil"));
    const int widget = addThing(QStringLiteral("Widget"));
    frmPickerHost* pickerHost = openHost();
    ASSERT_NE(pickerHost, nullptr);
    pickerHost->picker->setRecordCodePrefix(QLatin1Char('T'));
    const QString wellFormed = RecordCodeText(QLatin1Char('T'), widget);
    const ScannedCase cases[] = {
        { "", -2, "" }, // the ten-digit form, filled in below
        { "t-%1", -2, "" },
        { "T-12X", -1, "Thing <T-12X> is not a valid record code" },
        { "T-99999999999", -1, "Thing <T-99999999999> is not a valid record code" },
        { "T-", -1, "Thing <T-> is not a valid record code" },
        { "X-%1", -1, "Thing should match an item in the list" },
        { "T-0000009999", -1, "Thing should match an item in the list" },
        { "%1", -1, "Thing should match an item in the list" },
    };
    for (const ScannedCase& scanned : cases) {
        const QString typed = QString::fromLatin1(scanned.typed).isEmpty() ? wellFormed : QString::fromLatin1(scanned.typed).replace(QStringLiteral("%1"), QString::number(widget));
        SCOPED_TRACE(typed.toStdString());
        type(pickerHost->picker, typed);
        EXPECT_EQ(pickerHost->picker->Value().toInt(), scanned.expected == -2 ? widget : scanned.expected);
        EXPECT_EQ(pickerHost->picker->FieldError(), QString::fromLatin1(scanned.error));
    }
    pickerHost->picker->setRecordCodePrefix(QLatin1Char('T'), true);
    type(pickerHost->picker, QString::number(widget));
    EXPECT_EQ(pickerHost->picker->Value().toInt(), widget) << "a bare identity where the window accepts one";
}

TEST_P(PickerTest, NewOpensTheRecordWindowAndTheSavedRecordComesBackToThePicker)
{
    addThing(QStringLiteral("Anvil"), QStringLiteral("Kind|'W'"));
    frmPickerHost* pickerHost = openHost();
    frmPickerHost* other = openHost();
    ASSERT_TRUE(pickerHost && other);
    type(pickerHost->picker, QStringLiteral("Sprocket"));

    QTest::mouseClick(pickerHost->picker->button(), Qt::LeftButton);
    EXPECT_FALSE(pickerHost->picker->popupMenu()->findChild<QAction*>(QStringLiteral("mnuEdit"))->isEnabled());
    EXPECT_FALSE(pickerHost->picker->popupMenu()->findChild<QAction*>(QStringLiteral("mnuDelete"))->isEnabled());
    pickerHost->picker->popupMenu()->hide();
    pickerHost->picker->popupMenu()->findChild<QAction*>(QStringLiteral("mnuNew"))->trigger();
    QApplication::processEvents();

    frmThing* record = nullptr;
    for (QWidget* window : LoadedWindows()) {
        if (auto* thing = qobject_cast<frmThing*>(window))
            record = thing;
    }
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->info()->Mode(), FormMode::Add);
    EXPECT_EQ(record->name->Text(), QStringLiteral("Sprocket")) << "the typed text is the default";
    EXPECT_FALSE(pickerHost->isEnabled()) << "the picker's window waits for the record window";

    ASSERT_TRUE(record->info()->SaveData(true));
    const int sprocket = record->id->Value();
    ASSERT_GT(sprocket, 0);
    EXPECT_EQ(pickerHost->picker->Value().toInt(), sprocket);
    EXPECT_EQ(pickerHost->picker->Text(), QStringLiteral("Sprocket"));
    EXPECT_TRUE(texts(other->picker).contains(QStringLiteral("Sprocket"))) << "every picker of the table hears of it";
    EXPECT_EQ(texts(other->kindPicker), QStringList { QStringLiteral("Anvil") }) << "a procedure with parameters cannot be limited";
    UnloadWindow(record);
    QApplication::processEvents();
    EXPECT_TRUE(pickerHost->isEnabled());
}

TEST_P(PickerTest, RenamesAndDeletesFollowTheDataChangedMessages)
{
    const int anvil = addThing(QStringLiteral("Anvil"), QStringLiteral("Kind|'W'"));
    const int bolt = addThing(QStringLiteral("Bolt"), QStringLiteral("Kind|'W'"));
    frmPickerHost* pickerHost = openHost();
    ASSERT_NE(pickerHost, nullptr);
    pickerHost->picker->setValue(bolt);
    pickerHost->kindPicker->setValue(bolt);

    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Things SET Thing_Name = 'Big Bolt' WHERE Thing_ID = %1").arg(bolt)));
    BroadcastDataChanged(DataChangedAction::Updated, QStringLiteral("things"), QString::number(bolt));
    EXPECT_EQ(texts(pickerHost->picker), (QStringList { QStringLiteral("Anvil"), QStringLiteral("Big Bolt") }));
    EXPECT_EQ(pickerHost->picker->Text(), QStringLiteral("Big Bolt"));
    EXPECT_EQ(texts(pickerHost->kindPicker), (QStringList { QStringLiteral("Anvil"), QStringLiteral("Bolt") }));

    // Delete through the button's menu: both pickers that had chosen it are left empty.
    QTest::mouseClick(pickerHost->picker->button(), Qt::LeftButton);
    pickerHost->picker->popupMenu()->hide();
    EXPECT_TRUE(pickerHost->picker->popupMenu()->findChild<QAction*>(QStringLiteral("mnuDelete"))->isEnabled());
    Prompts().answer(MsgBox::Yes);
    pickerHost->picker->popupMenu()->findChild<QAction*>(QStringLiteral("mnuDelete"))->trigger();
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Are you sure you want to delete Thing <Big Bolt>?"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Things WHERE Thing_ID = %1").arg(bolt)), 0);
    EXPECT_EQ(texts(pickerHost->picker), QStringList { QStringLiteral("Anvil") });
    EXPECT_EQ(pickerHost->picker->Value().toInt(), -1);
    EXPECT_EQ(texts(pickerHost->kindPicker), QStringList { QStringLiteral("Anvil") });
    EXPECT_EQ(pickerHost->kindPicker->Value().toInt(), -1);

    pickerHost->picker->setValue(anvil);
    pickerHost->picker->RemoveItemsByID(QStringLiteral("999, 3"));
    EXPECT_EQ(pickerHost->picker->Value().toInt(), anvil) << "identities the list does not hold change nothing";
}

TEST_P(PickerTest, ATableWithoutWindowsAnswersNotAvailable)
{
    frmPickerHost* pickerHost = openHost();
    ASSERT_NE(pickerHost, nullptr);
    pickerHost->picker->setDataChangedTableName(QStringLiteral("Orphans"));
    pickerHost->picker->PressButton();
    pickerHost->picker->popupMenu()->hide();
    pickerHost->picker->ClickNew();
    pickerHost->picker->ClickSearch();
    ASSERT_EQ(Prompts().boxes.size(), 2u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Not Available."));
    EXPECT_EQ(Prompts().boxes[1].text, QStringLiteral("Not Available."));
}

TEST_P(PickerTest, TheLimitingProcedureTakesOnlyCatalogueProceduresAndIdentities)
{
    const int anvil = addThing(QStringLiteral("Anvil"));
    const int bolt = addThing(QStringLiteral("Bolt"));
    addThing(QStringLiteral("Cog"));
    std::unique_ptr<Recordset> rows = OpenRecordset(
        QStringLiteral("EXEC usp_DB_Limit_SP_To_IDs @SP_Name = 'usp_Test_DropDown_Things', @ID_List = '%1, %2'").arg(bolt).arg(anvil));
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->recordCount(), 2);
    EXPECT_EQ(rows->valueAt(0, 1).toString(), QStringLiteral("Anvil"));
    EXPECT_EQ(rows->valueAt(1, 1).toString(), QStringLiteral("Bolt"));

    const char* refused[] = {
        "EXEC usp_DB_Limit_SP_To_IDs @SP_Name = 'Things', @ID_List = '1'",
        "EXEC usp_DB_Limit_SP_To_IDs @SP_Name = 'usp_Test_DropDown_Things', @ID_List = '1) OR (1=1'",
        "EXEC usp_DB_Limit_SP_To_IDs @SP_Name = 'usp_DB_Limit_SP_To_IDs', @ID_List = '1'",
    };
    for (const char* sql : refused) {
        SCOPED_TRACE(sql);
        std::unique_ptr<Recordset> none;
        EXPECT_FALSE(Act_OpenRecordset(none, QString::fromLatin1(sql)));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, PickerTest, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
