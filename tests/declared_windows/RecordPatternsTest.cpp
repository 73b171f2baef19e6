// The grown record window pattern on a gadget table of the test's own: dates, money, a foreign-key
// text, locked and not-applicable fields, group boxes, side and option buttons, the record code
// pair and the window hooks.

#include "../reference_tables/ReferenceFixture.h"

#include "core/Database.h"
#include "core/RecordCodes.h"
#include "core/Recordset.h"
#include "core/Schema.h"
#include "core/SqlText.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonsAddEdit.h"
#include "form_framework/zDate.h"
#include "form_framework/zExtendedLabel.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zLabel.h"
#include "form_framework/zMoney.h"
#include "form_framework/zNumeric.h"
#include "form_framework/zText.h"
#include "list_controls/zComboBoxText.h"
#include "support/PromptRecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// What the hooks saw, in the order they ran.
std::vector<QString>& HookLog()
{
    static std::vector<QString> log;
    return log;
}

QDateTime Day(int year, int month, int day) { return QDateTime(QDate(year, month, day), QTime(0, 0)); }

DeclaredTable GadgetTable(const QString& recordWindow)
{
    DeclaredTable gadgets { QStringLiteral("Gadgets"), QStringLiteral("Gadget_ID"), recordWindow,
        QStringLiteral("frmGadgets"), QStringLiteral("Gadget"), QStringLiteral("Gadgets"), {}, {}, {} };
    gadgets.codePrefix = QLatin1Char('E');
    gadgets.codeCaption = QStringLiteral("Gadget Barcode:");
    const QString collected = QStringLiteral("Items Collected ");
    gadgets.fields = {
        gadgets.nameField(30),
        DeclaredField::date(
            QStringLiteral("zdatReceived"), QStringLiteral("Received_Date"), QStringLiteral("Received Date"))
            .format(QStringLiteral("mm/dd/yyyy"))
            .dates(Day(2020, 1, 1), Day(2030, 12, 31))
            .maxExcluded()
            .withButton(QStringLiteral("btnNow(0)"), QStringLiteral("<= Now"))
            .inGroup(collected, QStringLiteral("fraCollected")),
        DeclaredField::money(QStringLiteral("zmnyValue"), QStringLiteral("Gadget_Value"), QStringLiteral("Value"))
            .directions(QString(), QString(), 1)
            .inGroup(collected, QStringLiteral("fraCollected")),
        DeclaredField::number(QStringLiteral("znumWeight"), QStringLiteral("Weight"), QStringLiteral("Weight"))
            .range(0, 500)
            .decimals(2)
            .minExcluded()
            .inGroup(collected, QStringLiteral("fraCollected")),
        DeclaredField::picker(QStringLiteral("zcbtWeightUnit"), QStringLiteral("Weight_Unit_ID"),
            QStringLiteral("Weight Unit"), QStringLiteral("EXEC usp_Evd_DropDown_Unit_Types"),
            QStringLiteral("Unit_Types"))
            .withoutButton()
            .recordCodes(QLatin1Char('U'), true)
            .besideThePrevious(),
        DeclaredField::text(QStringLiteral("ztxtOwner"), QStringLiteral("Owner_ID"), QStringLiteral("Owner"))
            .foreignKey(QStringLiteral("SELECT Payroll_Number FROM Employees WHERE Employee_ID = "),
                QStringLiteral("SELECT Employee_ID FROM Employees WHERE Payroll_Number = "))
            .inSecondColumn(),
        DeclaredField::text(
            QStringLiteral("ztxtSerial"), QStringLiteral("Serial_Number"), QStringLiteral("Serial Number"))
            .locked(),
        DeclaredField::date(QStringLiteral("zdatRetired"), QStringLiteral("Retired_Date"), QStringLiteral("Retired Date"))
            .notApplicableAtStart(),
        DeclaredField::options(QStringLiteral("fraItemCase"), QStringLiteral("Applies To:"),
            { { QStringLiteral("optItemCase_0"), QStringLiteral("&Item") },
                { QStringLiteral("optItemCase_1"), QStringLiteral("&Case") },
                { QStringLiteral("optItemCase_2"), QStringLiteral("&Batch") } }),
    };
    return gadgets;
}

class RecordPatterns : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        const Engine engine = GetParam();
        auto token = [engine](const char* name) { return SchemaToken(engine, QString::fromLatin1(name)); };
        ASSERT_TRUE(Act_ExecuteSQL(
            QStringLiteral("CREATE TABLE Gadgets (Gadget_ID %1, Gadget_Name %2, Received_Date %3, "
                           "Gadget_Value %4, Weight NUMERIC(9,2), Weight_Unit_ID INTEGER, Owner_ID INTEGER, "
                           "Serial_Number %2, Retired_Date %3)")
                .arg(token("{ID}"), token("{NAME}"), token("{DATE}"), token("{MONEY}"))));
        ASSERT_TRUE(Act_ExecuteSQL(
            QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, "
                           "DB_ID_Field, DB_Default_Permission) VALUES ('Gadgets', 'Gadgets', 'Gadget', "
                           "'Gadget_ID', 1)")));
        RefreshChangeLogTriggers(*DBConnection());
        HookLog().clear();

        FormRegistry::registerForm(QStringLiteral("frmGadget"),
            [] { return new DeclaredRecordWindow(GadgetTable(QStringLiteral("frmGadget"))); });
        FormRegistry::registerForm(QStringLiteral("frmGadgetSplit"), [] {
            DeclaredTable table = GadgetTable(QStringLiteral("frmGadgetSplit"));
            // "name / serial": the name before the slash, the serial after it.
            table.defaultValueHandler = [](DeclaredRecordWindow& window, const QString& text) {
                const QStringList parts = text.split(QLatin1Char('/'));
                window.field(QStringLiteral("ztxtName"))->setValue(parts.value(0));
                window.field(QStringLiteral("ztxtSerial"))->setValue(parts.value(1));
            };
            return new DeclaredRecordWindow(table);
        });
        FormRegistry::registerForm(QStringLiteral("frmGadgetPlain"), [] {
            DeclaredTable table = GadgetTable(QStringLiteral("frmGadgetPlain"));
            table.defaultValueTarget.clear();
            table.allowNew = false;
            table.allowMove = false;
            table.beforeStartParameters = [](DeclaredRecordWindow& window) {
                HookLog().push_back(QStringLiteral("before start, identity %1").arg(window.identity()->Value()));
            };
            table.rowLoaded = [](DeclaredRecordWindow& window, Recordset& row) {
                HookLog().push_back(QStringLiteral("row %1, name box '%2'")
                                        .arg(row.value(row.fieldIndex(QStringLiteral("Gadget_Name"))).toString(),
                                            window.field(QStringLiteral("ztxtName"))->Text()));
            };
            return new DeclaredRecordWindow(table);
        });
    }

    int addEmployee(const QString& payroll)
    {
        return insert(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES (%1) RETURNING Employee_ID")
                          .arg(SQLString(payroll)));
    }
    int addGadget(const QString& columns, const QString& values)
    {
        return insert(QStringLiteral("INSERT INTO Gadgets (%1) VALUES (%2) RETURNING Gadget_ID").arg(columns, values));
    }
    QVariant column(const QString& name, int id)
    {
        return GetSQLValue(QStringLiteral("SELECT %1 FROM Gadgets WHERE Gadget_ID = %2").arg(name).arg(id))
            .value_or(QVariant());
    }
    static zMoney* money(DeclaredRecordWindow* window)
    {
        return qobject_cast<zMoney*>(window->control(QStringLiteral("zmnyValue")));
    }
    // The money field's amount is always required.
    static void typeAmount(DeclaredRecordWindow* window) { type(money(window)->amount(), QStringLiteral("1")); }
};

TEST(RecordCodeTextTest, PrefixHyphenAndTenDigits)
{
    const struct {
        char prefix;
        int identity;
        const char* code;
    } cases[] = {
        { 'E', 1, "E-0000000001" },
        { 'C', 42, "C-0000000042" },
        { 'I', 2147483647, "I-2147483647" },
        { 'L', 3, "L-0000000003" },
        { 'B', 17, "B-0000000017" },
        { 'N', 1000000000, "N-1000000000" },
    };
    for (const auto& c : cases) {
        const QString code = RecordCodeText(QLatin1Char(c.prefix), c.identity);
        EXPECT_EQ(code, QString::fromLatin1(c.code));
        // What is formed reads back to the same record.
        const RecordCode read = ReadRecordCode(code, QLatin1Char(c.prefix));
        EXPECT_EQ(read.reading, RecordCodeReading::Identity) << c.code;
        EXPECT_EQ(read.identity, c.identity) << c.code;
    }
}

TEST_P(RecordPatterns, DateMoneyForeignKeyAndLockedFieldsLoadAndSave)
{
    const int first = addEmployee(QStringLiteral("P-100"));
    const int second = addEmployee(QStringLiteral("P-200"));
    const int id
        = addGadget(QStringLiteral("Gadget_Name, Received_Date, Gadget_Value, Weight, Owner_ID, Serial_Number"),
            QStringLiteral("'Lamp', '2024-03-05', 12.5, 3, %1, 'SN-1'").arg(first));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmGadget"), id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->field(QStringLiteral("zdatReceived"))->Text(), QStringLiteral("03/05/2024"));
    EXPECT_DOUBLE_EQ(money(window)->Value().toDouble(), 12.5);
    zFieldBase* owner = window->field(QStringLiteral("ztxtOwner"));
    EXPECT_EQ(owner->Text(), QStringLiteral("P-100")) << "the column is the identity, the box shows its text";
    EXPECT_EQ(owner->FKValue(), first);
    zFieldBase* serial = window->field(QStringLiteral("ztxtSerial"));
    EXPECT_EQ(serial->Text(), QStringLiteral("SN-1"));
    EXPECT_TRUE(serial->Locked());
    EXPECT_FALSE(window->info()->DataChanged());

    type(window->field(QStringLiteral("zdatReceived")), QStringLiteral("7/1/2025"));
    type(money(window)->amount(), QStringLiteral("99.25"));
    type(owner, QStringLiteral("P-200"));
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(column(QStringLiteral("Received_Date"), id).toDate(), QDate(2025, 7, 1));
    EXPECT_DOUBLE_EQ(column(QStringLiteral("Gadget_Value"), id).toDouble(), 99.25);
    EXPECT_EQ(column(QStringLiteral("Owner_ID"), id).toInt(), second) << "the identity is stored, not the text";
    EXPECT_EQ(column(QStringLiteral("Serial_Number"), id).toString(), QStringLiteral("SN-1"));
}

TEST_P(RecordPatterns, AFieldNotApplicableAtStartStoresNothing)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmGadget"));
    ASSERT_NE(window, nullptr);
    zFieldBase* retired = window->field(QStringLiteral("zdatRetired"));
    EXPECT_FALSE(retired->Applicable());
    retired->setValue(QDate(2024, 1, 1));
    type(window->field(QStringLiteral("ztxtName")), QStringLiteral("Kettle"));
    typeAmount(window);
    EXPECT_EQ(save(window), QString());
    const int id = window->identity()->Value();
    ASSERT_GT(id, 0);
    EXPECT_TRUE(column(QStringLiteral("Retired_Date"), id).isNull());

    retired->setApplicable(true);
    type(retired, QStringLiteral("2/3/2024"));
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(column(QStringLiteral("Retired_Date"), id).toDate(), QDate(2024, 2, 3));
}

TEST_P(RecordPatterns, BadInputShowsTheFieldsMessageAndSavesNothing)
{
    addEmployee(QStringLiteral("P-100"));
    const struct {
        const char* control;
        QString typed;
        QString message;
    } cases[] = {
        { "ztxtOwner", QStringLiteral("Nobody"), QStringLiteral("Cannot find Owner <Nobody>.") },
        { "zdatReceived", QStringLiteral("31/02/2024"), QString() },
        { "zdatReceived", QStringLiteral("12/31/2030"), QString() }, // on the excluded ceiling
        { "ztxtName", QStringLiteral("   "), QStringLiteral("Gadget Name is a required field.") },
        { "ztxtName", QString(300, QLatin1Char('x')),
            QStringLiteral("Gadget Name should be at most 30 characters long.") },
    };
    for (const auto& c : cases) {
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmGadget"));
        ASSERT_NE(window, nullptr);
        typeAmount(window);
        if (QString::fromLatin1(c.control) != QLatin1String("ztxtName"))
            type(window->field(QStringLiteral("ztxtName")), QStringLiteral("Valid name"));
        if (QString::fromLatin1(c.control) == QLatin1String("ztxtName"))
            qobject_cast<zText*>(window->field(QStringLiteral("ztxtName")))->box()->setText(c.typed);
        else
            type(window->field(QString::fromLatin1(c.control)), c.typed);
        const QString shown = save(window);
        EXPECT_FALSE(shown.isEmpty()) << c.control << " " << c.typed.left(20).toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(shown, c.message);
        }
        EXPECT_EQ(window->identity()->Value(), 0);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Gadgets")), 0) << c.control;
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
}

TEST_P(RecordPatterns, BoundsAreKeptInclusiveOrExcludedAsDeclared)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmGadget"));
    ASSERT_NE(window, nullptr);
    // Weight: above 0 (excluded) up to 500 (included). Received: from 1/1/2020 (included) to
    // before 12/31/2030 (excluded).
    const struct {
        const char* control;
        const char* text;
        bool valid;
    } cases[] = {
        { "znumWeight", "0", false },
        { "znumWeight", "0.01", true },
        { "znumWeight", "500", true },
        { "znumWeight", "500.01", false },
        { "zdatReceived", "12/31/2019", false },
        { "zdatReceived", "1/1/2020", true },
        { "zdatReceived", "12/30/2030", true },
        { "zdatReceived", "12/31/2030", false },
    };
    for (const auto& c : cases) {
        zFieldBase* field = window->field(QString::fromLatin1(c.control));
        field->setValue(QString::fromLatin1(c.text));
        EXPECT_EQ(field->Validate(true), c.valid)
            << c.control << " " << c.text << ": " << field->FieldError().toStdString();
    }
}

TEST_P(RecordPatterns, TheCodePairFollowsTheIdentity)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmGadget"));
    ASSERT_NE(window, nullptr);
    zExtendedLabel* barcode = window->codeLabel(0);
    zExtendedLabel* text = window->codeLabel(1);
    ASSERT_NE(barcode, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(window->findChild<zExtendedLabel*>(QStringLiteral("zxlBarCode(1)")), text);
    EXPECT_EQ(text->Value(), QStringLiteral("No Bar Code Yet"));
    EXPECT_TRUE(barcode->Value().isEmpty());
    EXPECT_TRUE(barcode->IsBarcode());
    EXPECT_EQ(text->Font().family(), QStringLiteral("Courier New"));
    EXPECT_DOUBLE_EQ(text->Font().pointSizeF(), 9.75);
    EXPECT_EQ(window->findChild<zLabel*>(QStringLiteral("zlblBarCode"))->Value(), QStringLiteral("Gadget Barcode:"));

    type(window->field(QStringLiteral("ztxtName")), QStringLiteral("Radio"));
    typeAmount(window);
    EXPECT_EQ(save(window), QString());
    const int id = window->identity()->Value();
    const QString code = RecordCodeText(QLatin1Char('E'), id);
    EXPECT_EQ(text->Value(), code) << "at once after the first save";
    EXPECT_EQ(text->accessibleName(), code);
    EXPECT_EQ(barcode->Value(), QStringLiteral("*") + code + QStringLiteral("*"));
    ASSERT_NE(barcode->label()->pixmap().isNull(), true);

    // A failed load leaves -1 behind: no code, no crash.
    window->identity()->setValue(-1);
    EXPECT_EQ(text->Value(), QStringLiteral("No Bar Code Yet"));
    EXPECT_TRUE(barcode->Value().isEmpty());

    DeclaredRecordWindow* edited = openEdit(QStringLiteral("frmGadget"), id);
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(edited->codeLabel(1)->Value(), code);
}

TEST_P(RecordPatterns, ATypedDefaultGoesToItsTargetItsHandlerOrNowhere)
{
    const struct {
        const char* window;
        QString typed;
        QString name;
        QString serial;
    } cases[] = {
        { "frmGadget", QStringLiteral("O'Neil \"Big\" Lamp"), QStringLiteral("O'Neil \"Big\" Lamp"), QString() },
        { "frmGadgetSplit", QStringLiteral("Lamp/SN-9"), QStringLiteral("Lamp"), QStringLiteral("SN-9") },
        { "frmGadgetPlain", QStringLiteral("Lamp"), QString(), QString() },
    };
    for (const auto& c : cases) {
        DeclaredRecordWindow* window = openNew(QString::fromLatin1(c.window), c.typed);
        ASSERT_NE(window, nullptr) << c.window;
        EXPECT_EQ(window->field(QStringLiteral("ztxtName"))->Text(), c.name) << c.window;
        EXPECT_EQ(window->field(QStringLiteral("ztxtSerial"))->Text(), c.serial) << c.window;
    }
    // Quotes survive the save as typed.
    DeclaredRecordWindow* quoted = openNew(QStringLiteral("frmGadget"), cases[0].typed);
    typeAmount(quoted);
    EXPECT_EQ(save(quoted), QString());
    EXPECT_EQ(column(QStringLiteral("Gadget_Name"), quoted->identity()->Value()).toString(), cases[0].typed);
}

TEST_P(RecordPatterns, BothLoadHooksRunOnceInOrder)
{
    const int id = addGadget(QStringLiteral("Gadget_Name"), QStringLiteral("'Clock'"));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmGadgetPlain"), id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->field(QStringLiteral("ztxtName"))->Text(), QStringLiteral("Clock"));
    const std::vector<QString> expected {
        QStringLiteral("before start, identity 0"),
        QStringLiteral("row Clock, name box ''"),
    };
    EXPECT_EQ(HookLog(), expected);
}

TEST_P(RecordPatterns, ARowDeletedBeforeTheLoadIsReportedNotShown)
{
    const int id = addGadget(QStringLiteral("Gadget_Name"), QStringLiteral("'Ghost'"));
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Gadgets WHERE Gadget_ID = %1").arg(id)));
    Prompts().clear();
    EXPECT_EQ(openEdit(QStringLiteral("frmGadgetPlain"), id), nullptr);
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_TRUE(Prompts().boxes.back().text.contains(QStringLiteral("no longer exists in the database.")))
        << Prompts().boxes.back().text.toStdString();
    EXPECT_TRUE(HookLog().size() == 1) << "no row, no row hook";
}

TEST_P(RecordPatterns, ABarWithoutNewOrMoveButtons)
{
    const int id = addGadget(QStringLiteral("Gadget_Name"), QStringLiteral("'Clock'"));
    const struct {
        const char* window;
        bool shown;
    } cases[] = { { "frmGadget", true }, { "frmGadgetPlain", false } };
    for (const auto& c : cases) {
        DeclaredRecordWindow* window = openEdit(QString::fromLatin1(c.window), id);
        ASSERT_NE(window, nullptr);
        for (const char* name : { "btnNew", "btnMove0", "btnMove1" })
            EXPECT_EQ(window->buttons()->findChild<QPushButton*>(QString::fromLatin1(name))->isVisible(), c.shown)
                << c.window << name;
        UnloadWindow(window);
    }
}

// A declaration's preset options: the first declared column among the opener's presets (in any
// case) chooses its option button; with none of them the first option stays chosen.
TEST_P(RecordPatterns, APresetColumnChoosesTheOptionItsDeclarationNames)
{
    DeclaredRecordWindow* plain = openNew(QStringLiteral("frmGadget"));
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(plain->findChild<QRadioButton*>(QStringLiteral("optItemCase_0"))->isChecked())
        << "the first option starts chosen";

    // The handles live as long as this test; the window is registered without them again at its end.
    const DeclaredControl<QAbstractButton> options[] = { { { "frmGadgetPresets" }, "optItemCase_0" },
        { { "frmGadgetPresets" }, "optItemCase_1" }, { { "frmGadgetPresets" }, "optItemCase_2" } };
    FormRegistry::registerForm(QStringLiteral("frmGadgetPresets"), [&options] {
        DeclaredTable table = GadgetTable(QStringLiteral("frmGadgetPresets"));
        table.controls = { &options[0], &options[1], &options[2] };
        table.presetOptions = { { QStringLiteral("Item_ID"), &options[0] }, { QStringLiteral("Case_ID"), &options[1] },
            { QStringLiteral("Batch_ID"), &options[2] } };
        return new DeclaredRecordWindow(table);
    });
    const struct {
        QVariantList presets;
        int chosen;
    } cases[] = {
        { { QStringLiteral("Case_ID"), 7 }, 1 },
        { { QStringLiteral("batch_id"), 3 }, 2 },
        { { QStringLiteral("Batch_ID"), 3, QStringLiteral("Case_ID"), 7 }, 1 },
        { { QStringLiteral("Gadget_Name"), QStringLiteral("Lamp") }, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.presets.value(0).toString().toStdString());
        QVariantList parameters { QStringLiteral("Mode"), 1 };
        parameters += c.presets;
        auto* window = qobject_cast<DeclaredRecordWindow*>(
            OpenFormWithParams(QStringLiteral("frmGadgetPresets"), 0, parameters));
        ASSERT_NE(window, nullptr);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(options[i].in(*window)->isChecked(), i == c.chosen) << i;
        delete window;
    }
    FormRegistry::registerForm(QStringLiteral("frmGadgetPresets"),
        [] { return new DeclaredRecordWindow(GadgetTable(QStringLiteral("frmGadgetPresets"))); });
}

TEST_P(RecordPatterns, TheLayoutKeepsGroupsRowsAndButtonsAsDeclared)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmGadget"));
    ASSERT_NE(window, nullptr);
    QGroupBox* collected = window->group(QStringLiteral("Items Collected "));
    ASSERT_NE(collected, nullptr) << "the caption with its trailing blank";
    EXPECT_EQ(collected->title(), QStringLiteral("Items Collected "));
    EXPECT_EQ(collected->accessibleName(), QStringLiteral("Items Collected "));
    EXPECT_TRUE(collected->isAncestorOf(window->field(QStringLiteral("znumWeight"))));
    EXPECT_FALSE(collected->isAncestorOf(window->field(QStringLiteral("ztxtSerial"))));

    // The unit picker shares the weight's row, without its "..." button.
    EXPECT_EQ(window->rowOf(QStringLiteral("zcbtWeightUnit")), window->rowOf(QStringLiteral("znumWeight")));
    auto* unit = qobject_cast<zComboBoxText*>(window->field(QStringLiteral("zcbtWeightUnit")));
    EXPECT_FALSE(unit->button()->isVisible());
    // The second column stands to the right of the first.
    EXPECT_GT(window->field(QStringLiteral("ztxtOwner"))->mapTo(window, QPoint()).x(),
        window->field(QStringLiteral("ztxtName"))->mapTo(window, QPoint()).x()
            + window->field(QStringLiteral("ztxtName"))->width() / 2);

    QPushButton* now = window->button(QStringLiteral("btnNow(0)"));
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now->text(), QStringLiteral("<= Now"));
    EXPECT_EQ(now->accessibleName(), QStringLiteral("<= Now"));
    EXPECT_EQ(window->button(QStringLiteral("btnNone")), nullptr);

    // Every caption is its field's buddy; the money caption leads to the amount box.
    for (zLabel* label : window->findChildren<zLabel*>()) {
        if (label->Value() == QLatin1String("Value:")) {
            EXPECT_EQ(label->findChild<QLabel*>()->buddy(), money(window)->amount());
        }
        if (label->Value() == QLatin1String("Owner:")) {
            EXPECT_EQ(label->findChild<QLabel*>()->buddy(), window->field(QStringLiteral("ztxtOwner")));
        }
    }
}

TEST_P(RecordPatterns, APickerTakesTypedRecordCodesAndBareNumbers)
{
    const int mass
        = insert(QStringLiteral("INSERT INTO Unit_Types (Unit_Type_Name, Unit_Type_Code) VALUES ('Mass', 'M') "
                                "RETURNING Unit_Type_ID"));
    insert(QStringLiteral(
        "INSERT INTO Unit_Types (Unit_Type_Name, Unit_Type_Code) VALUES ('Length', 'L') RETURNING Unit_Type_ID"));
    const struct {
        QString typed;
        int value;
    } cases[] = {
        { QStringLiteral("u-%1").arg(mass), mass },
        { QStringLiteral("U-%1").arg(mass, 10, 10, QLatin1Char('0')), mass },
        { QString::number(mass), mass },
        { QStringLiteral("U-ABC"), -1 },
        { QStringLiteral("X-%1").arg(mass), -1 },
    };
    for (const auto& c : cases) {
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmGadget"));
        ASSERT_NE(window, nullptr);
        zFieldBase* unit = window->field(QStringLiteral("zcbtWeightUnit"));
        type(unit, c.typed);
        EXPECT_EQ(unit->Value().toInt(), c.value) << c.typed.toStdString();
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
}

TEST_P(RecordPatterns, LeavingAFieldRaisesLostFocus)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmGadget"));
    ASSERT_NE(window, nullptr);
    zFieldBase* received = window->field(QStringLiteral("zdatReceived"));
    QSignalSpy left(received, &zFieldBase::LostFocus);
    received->inputBox()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(left.count(), 0);
    window->field(QStringLiteral("ztxtName"))->inputBox()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(left.count(), 1);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Engines, RecordPatterns, ::testing::ValuesIn(TestEngines()), EngineTestName);
