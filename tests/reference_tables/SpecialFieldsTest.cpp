// The fields that some lookup tables add to the name and the code.

#include "ReferenceFixture.h"

#include "core/Database.h"
#include "form_framework/WindowList.h"
#include "reference_tables/ColourSwatch.h"
#include "reference_tables/GeographyCodes.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "core/Platform.h"
#include "list_controls/zComboBoxText.h"
#include "support/PromptRecorder.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zLabel.h"
#include "form_framework/zNumeric.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SpecialFields : public ReferenceTest {
protected:
    static QString ztxt(DeclaredRecordWindow* window, const char* control, const QString& value)
    {
        window->field(QString::fromLatin1(control))->setValue(value);
        return value;
    }
    // The second column of the rows the query returns.
    static QStringList names(const QString& sql)
    {
        QStringList list;
        std::unique_ptr<Recordset> rows;
        if (!Act_OpenRecordset(rows, sql))
            return { QStringLiteral("(failed)") };
        for (; !rows->eof(); rows->moveNext())
            list << rows->value(1).toString();
        return list;
    }
};

// --- Property types ---------------------------------------------------------------------------

TEST_P(SpecialFields, ReviewDaysAreAWholeNumberFromOneToTwoHundred)
{
    const struct {
        const char* typed;
        const char* message;
    } cases[] = {
        { "", "Days Until Review is a required field." },
        { "0", "Days Until Review should be >= 1." },
        { "201", "Days Until Review should be <= 200." },
        { "1", "" },
        { "200", "" },
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmPropertyType"));
        ASSERT_NE(window, nullptr);
        ztxt(window, "ztxtName", QStringLiteral("Type %1").arg(++n));
        ztxt(window, "ztxtCode", QStringLiteral("T%1").arg(n));
        type(window->field(QStringLiteral("znumDays")), QString::fromLatin1(c.typed));
        EXPECT_EQ(save(window), QString::fromLatin1(c.message));
        window->info()->setDataChanged(false);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Property_Types")), 2);

    DeclaredRecordWindow* window = openNew(QStringLiteral("frmPropertyType"));
    auto* days = qobject_cast<zNumeric*>(window->field(QStringLiteral("znumDays")));
    type(days, QStringLiteral("-1.5"));
    EXPECT_EQ(days->Text(), QStringLiteral("15")) << "neither a minus sign nor a decimal point can be typed";
}

TEST_P(SpecialFields, APropertyTypesFlagsStartTickedAndLoadAndSaveAsTheyAre)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmPropertyType"));
    ASSERT_NE(window, nullptr);
    const QStringList columns { QStringLiteral("Model_Applicable"),    QStringLiteral("Year_Made_Applicable"),
                                QStringLiteral("Color_Applicable"),    QStringLiteral("Serial_Number_Applicable"),
                                QStringLiteral("UPC_Applicable"),      QStringLiteral("Currency_Applicable"),
                                QStringLiteral("Weight_Applicable") };
    for (int i = 0; i < columns.size(); ++i) {
        auto* box = window->findChild<zCheckBox*>(QStringLiteral("zchkApplicable(%1)").arg(i));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->DBFieldName(), columns[i]);
        EXPECT_TRUE(box->Value().toBool()) << "a new property type applies every field";
    }
    ztxt(window, "ztxtName", QStringLiteral("Firearm"));
    ztxt(window, "ztxtCode", QStringLiteral("F"));
    window->field(QStringLiteral("znumDays"))->setValue(30);
    window->findChild<zCheckBox*>(QStringLiteral("zchkApplicable(6)"))->box()->click();
    ASSERT_EQ(save(window), QString());
    const int id = window->identity()->Value();
    EXPECT_EQ(count(QStringLiteral("SELECT Weight_Applicable FROM Property_Types WHERE Property_Type_ID = %1").arg(id)), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT Model_Applicable FROM Property_Types WHERE Property_Type_ID = %1").arg(id)), 1);

    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Property_Types SET Model_Applicable = 0, UPC_Applicable = 0, Weight_Applicable = 1 "
                                              "WHERE Property_Type_ID = %1").arg(id)));
    UnloadWindow(window);
    DeclaredRecordWindow* loaded = openEdit(QStringLiteral("frmPropertyType"), id);
    ASSERT_NE(loaded, nullptr);
    QList<bool> ticked;
    for (int i = 0; i < columns.size(); ++i)
        ticked << loaded->findChild<zCheckBox*>(QStringLiteral("zchkApplicable(%1)").arg(i))->Value().toBool();
    EXPECT_EQ(ticked, (QList<bool> { false, true, true, true, false, true, true }));
    EXPECT_EQ(loaded->field(QStringLiteral("znumDays"))->Value().toInt(), 30);
    EXPECT_FALSE(loaded->info()->DataChanged());
}

// --- Colours, currencies and units ------------------------------------------------------------

TEST(ColorNumbers, AreRedPlusGreenTimes256PlusBlueTimes65536)
{
    const struct {
        QVariant number;
        std::optional<QColor> colour;
    } cases[] = {
        { 255, QColor(255, 0, 0) },
        { 255 * 256, QColor(0, 255, 0) },
        { 255 * 65536, QColor(0, 0, 255) },
        { 0, QColor(0, 0, 0) },
        { 16777215, QColor(255, 255, 255) },
        { 0x123456, QColor(0x56, 0x34, 0x12) },
        { QStringLiteral("65280"), QColor(0, 255, 0) },
        { 16777216, std::nullopt },
        { -1, std::nullopt },
        { 12.5, std::nullopt },
        { QVariant(), std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number.toString().toStdString());
        EXPECT_EQ(ColorFromNumber(c.number), c.colour);
    }
}

// The database options' preview: a number out of range (or not whole) leaves the last colour
// shown; only an empty number shows the window's own background.
TEST(ColorNumbers, APreviewThatKeepsItsColourForANumberOutOfRange)
{
    QWidget window;
    window.setAutoFillBackground(true);
    QPalette own = window.palette();
    own.setColor(QPalette::Window, QColor(1, 2, 3));
    window.setPalette(own);
    auto* number = new zNumeric(&window);
    auto* preview = new QLabel(&window);
    FollowColorNumber(number, preview, OutOfRangeColour::Unchanged);
    EXPECT_EQ(preview->palette().color(QPalette::Window), QColor(1, 2, 3)) << "no value: the window's background";

    const struct {
        QVariant value;
        QColor shown;
    } steps[] = {
        { 255, QColor(255, 0, 0) },
        { 16777216, QColor(255, 0, 0) },
        { -1, QColor(255, 0, 0) },
        { 1.5, QColor(255, 0, 0) },
        { 65280, QColor(0, 255, 0) },
        { 16777215, QColor(255, 255, 255) },
        { QVariant(), QColor(1, 2, 3) },
    };
    for (const auto& step : steps) {
        number->setValue(step.value);
        EXPECT_EQ(preview->palette().color(QPalette::Window), step.shown) << step.value.toString().toStdString();
    }
}

TEST_P(SpecialFields, TheSwatchFollowsTheRgbValueAsItIsTyped)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmColor"));
    ASSERT_NE(window, nullptr);
    auto* swatch = window->findChild<QLabel*>(QStringLiteral("lblColor"));
    ASSERT_NE(swatch, nullptr);
    const QColor background = window->palette().color(QPalette::Window);
    auto* rgb = window->field(QStringLiteral("znumRGB"));
    rgb->inputBox()->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(rgb->inputBox(), QStringLiteral("255"));
    EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(255, 0, 0)) << "before the field is left";
    QTest::keyClicks(rgb->inputBox(), QStringLiteral("00000"));
    EXPECT_EQ(swatch->palette().color(QPalette::Window), background) << "25500000 is no colour";
    qobject_cast<QLineEdit*>(rgb->inputBox())->clear();
    EXPECT_EQ(swatch->palette().color(QPalette::Window), background);

    // Every flag starts ticked; unticked, the colour still saves. Above white is refused.
    for (int i = 0; i < 3; ++i) {
        auto* box = window->findChild<zCheckBox*>(QStringLiteral("zchkApplies(%1)").arg(i));
        EXPECT_TRUE(box->Value().toBool());
        box->box()->click();
    }
    window->field(QStringLiteral("ztxtName"))->setValue(QStringLiteral("Teal"));
    rgb->setValue(16777216);
    EXPECT_EQ(save(window), QStringLiteral("RGB Value should be <= 16777215."));
    rgb->setValue(128 * 256 + 128 * 65536);
    ASSERT_EQ(save(window), QString());
    const int id = window->identity()->Value();
    EXPECT_EQ(count(QStringLiteral("SELECT Appllies_To_Eyes + Appllies_To_Hair + Appllies_To_Items FROM Colors")), 0);
    UnloadWindow(window);

    DeclaredRecordWindow* loaded = openEdit(QStringLiteral("frmColor"), id);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->findChild<QLabel*>(QStringLiteral("lblColor"))->palette().color(QPalette::Window), QColor(0, 128, 128));
}

TEST_P(SpecialFields, ColourPickersListOnlyTheColoursThatApply)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Colors (Color_Name, Appllies_To_Eyes, Appllies_To_Hair, Appllies_To_Items) "
                                              "VALUES ('Hazel', 1, 0, 0), ('Auburn', 0, 1, 0), ('Chrome', 0, 0, 1), ('Black', 1, 1, 1)")));
    const struct {
        const char* procedure;
        QStringList names;
    } cases[] = {
        { "EXEC usp_Evd_DropDown_Colors_Eyes", { QStringLiteral("Black"), QStringLiteral("Hazel") } },
        { "EXEC usp_Evd_DropDown_Colors_Hair", { QStringLiteral("Auburn"), QStringLiteral("Black") } },
        { "EXEC usp_Evd_DropDown_Colors_Items", { QStringLiteral("Black"), QStringLiteral("Chrome") } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.procedure);
        EXPECT_EQ(names(QString::fromLatin1(c.procedure)), c.names);
    }
}

TEST_P(SpecialFields, UnitPickersAskForTheUnitsOfOneUnitType)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral(
        "INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) "
        "SELECT Unit_Type_ID, 'Pound', 'lb' FROM Unit_Types WHERE Unit_Type_Code = 'W' UNION ALL "
        "SELECT Unit_Type_ID, 'Inch', 'in' FROM Unit_Types WHERE Unit_Type_Code = 'L' UNION ALL "
        "SELECT Unit_Type_ID, 'Kilogram', 'kg' FROM Unit_Types WHERE Unit_Type_Code = 'W'")));
    EXPECT_EQ(names(QStringLiteral("EXEC usp_Evd_DropDown_Units @Unit_Type_Code = 'W'")),
              (QStringList { QStringLiteral("Kilogram"), QStringLiteral("Pound") }));
    EXPECT_EQ(names(QStringLiteral("EXEC usp_Evd_DropDown_Units @Unit_Type_Code = 'L'")), QStringList { QStringLiteral("Inch") });
    EXPECT_EQ(names(QStringLiteral("EXEC usp_Evd_DropDown_Units @Unit_Type_Code = 'w'")).size(), 2) << "codes in any letter case";

    // The unit type comes first in the checks.
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmUnit"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(save(window), QStringLiteral("Unit Type is a required field."));
}

TEST_P(SpecialFields, ANewUnitTypeTypedIntoThePickerIsAddedAndChosen)
{
    DeclaredRecordWindow* unit = openNew(QStringLiteral("frmUnit"));
    ASSERT_NE(unit, nullptr);
    auto* picker = qobject_cast<zComboBoxText*>(unit->field(QStringLiteral("zcbtType")));
    picker->combo()->lineEdit()->setText(QStringLiteral("Volume"));
    Prompts().clear();
    Prompts().answer(MsgBox::Yes);
    EXPECT_FALSE(picker->IsValid());
    QApplication::processEvents();
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_TRUE(Prompts().boxes[0].text.startsWith(QStringLiteral("Cannot find Unit Type <Volume>.")));

    DeclaredRecordWindow* type = nullptr;
    for (QWidget* window : LoadedWindows())
        if (window->objectName() == QStringLiteral("frmUnitType"))
            type = qobject_cast<DeclaredRecordWindow*>(window);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->info()->Mode(), FormMode::Add);
    EXPECT_EQ(type->field(QStringLiteral("ztxtName"))->Text(), QStringLiteral("Volume"));
    type->field(QStringLiteral("ztxtCode"))->setValue(QStringLiteral("V"));
    ASSERT_EQ(save(type), QString());
    EXPECT_EQ(picker->Value().toInt(), type->identity()->Value());
    EXPECT_EQ(picker->Text(), QStringLiteral("Volume"));
}

// --- Notification types and races -------------------------------------------------------------

TEST_P(SpecialFields, AnEmptyReportNameIsNoDuplicateAndMemosStopAtTheirLimits)
{
    for (int i = 0; i < 2; ++i) {
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmNotificationType"));
        ASSERT_NE(window, nullptr);
        ztxt(window, "ztxtName", QStringLiteral("Release %1").arg(i));
        ztxt(window, "ztxtCode", QStringLiteral("R%1").arg(i));
        EXPECT_EQ(save(window), QString());
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Notification_Types WHERE Report_Name IS NULL")), 2);

    const struct {
        const char* window;
        const char* control;
        int limit;
    } memos[] = { { "frmNotificationType", "zmemText", 500 }, { "frmRace", "zmemDesc", 200 } };
    for (const auto& memo : memos) {
        SCOPED_TRACE(memo.window);
        DeclaredRecordWindow* window = openNew(QString::fromLatin1(memo.window));
        zFieldBase* field = window->field(QString::fromLatin1(memo.control));
        ASSERT_NE(field, nullptr);
        field->inputBox()->setFocus();
        QApplication::processEvents();
        QTest::keyClicks(field->inputBox(), QString(memo.limit + 3, QLatin1Char('m')));
        EXPECT_EQ(field->Text().size(), memo.limit);
        window->info()->setDataChanged(false);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, SpecialFields, ::testing::ValuesIn(TestEngines()), EngineTestName);

// --- Countries and states ---------------------------------------------------------------------

class Geography : public SpecialFields {
protected:
    void SetUp() override
    {
        SpecialFields::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        // Every database starts with the countries and their first-level subdivisions.
        usa = count(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = 'US'"));
        spain = count(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = 'ES'"));
        const QString state = QStringLiteral(
            "SELECT State_ID FROM States WHERE Country_ID = %1 AND State_Name = '%2' AND State_Code = '%3'");
        georgia = count(state.arg(usa).arg(QStringLiteral("Georgia"), QStringLiteral("GA")));
        galicia = count(state.arg(spain).arg(QStringLiteral("Galicia [Galicia]"), QStringLiteral("GA")));
        texas = count(state.arg(usa).arg(QStringLiteral("Texas"), QStringLiteral("TX")));
        ASSERT_GT(georgia, 0);
        ASSERT_GT(galicia, 0);
        ASSERT_GT(texas, 0);
    }
    int usa = 0, spain = 0, georgia = 0, galicia = 0, texas = 0;
};

TEST_P(Geography, ATypedCountryCodeChoosesItsCountryInTheStateWindow)
{
    const struct {
        const char* typed;
        bool resolved;
    } cases[] = { { "US", true }, { "usa", true }, { "es", true }, { "ZZ", false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmState"));
        ASSERT_NE(window, nullptr);
        auto* country = qobject_cast<zComboBoxText*>(window->field(QStringLiteral("zcbtCountry")));
        Prompts().clear();
        Prompts().answer(MsgBox::No);
        type(country, QString::fromLatin1(c.typed));
        const int expected = QByteArray(c.typed).toLower().startsWith("e") ? spain : usa;
        if (c.resolved) {
            EXPECT_EQ(country->Value().toInt(), expected);
        } else {
            EXPECT_EQ(country->Value().toInt(), -1);
            EXPECT_EQ(country->Text(), QStringLiteral("ZZ"));
            window->field(QStringLiteral("ztxtName"))->setValue(QStringLiteral("Nowhere"));
            window->field(QStringLiteral("ztxtCode"))->setValue(QStringLiteral("NW"));
            Prompts().answer(MsgBox::No);
            save(window);
            EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM States WHERE State_Name = 'Nowhere'")), 0) << "nothing saved";
        }
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
}

TEST_P(Geography, AStateCodeResolvesWithinTheChosenCountryAndOnlyWhenItNamesOneState)
{
    DeclaredRecordWindow* host = openNew(QStringLiteral("frmState"));
    ASSERT_NE(host, nullptr);
    auto* picker = new zComboBoxText(host);
    picker->setPopulateSQL(QStringLiteral("EXEC usp_Evd_DropDown_States"));
    picker->Populate();
    const struct {
        const char* typed;
        int country;
        int expected;
    } cases[] = {
        { "GA", usa, georgia }, { "ga", spain, galicia }, { "GA", 0, -1 }, { "TX", 0, texas }, { "TX", spain, -1 }, { "ZZ", usa, -1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " in " + std::to_string(c.country));
        picker->setValue(-1);
        picker->setText(QString::fromLatin1(c.typed));
        ResolveStateCode(picker, c.country);
        EXPECT_EQ(picker->Value().toInt(), c.expected);
    }
}

TEST_P(Geography, StatesMayShareACodeButNotAName)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmState"));
    ASSERT_NE(window, nullptr);
    window->field(QStringLiteral("zcbtCountry"))->setValue(spain);
    window->field(QStringLiteral("ztxtName"))->setValue(QStringLiteral("TEXAS"));
    window->field(QStringLiteral("ztxtCode"))->setValue(QStringLiteral("TX"));
    EXPECT_EQ(save(window), QStringLiteral("State with State Name <TEXAS> already exists in the database."));
    window->field(QStringLiteral("ztxtName"))->setValue(QStringLiteral("Nueva Tierra"));
    EXPECT_EQ(save(window), QString());

    DeclaredRecordWindow* loaded = openEdit(QStringLiteral("frmState"), galicia);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->field(QStringLiteral("zcbtCountry"))->Text(), QStringLiteral("Spain"));
}

TEST_P(Geography, TheCountryNumberIsAWholeNumberFromOneTo999)
{
    const struct {
        const char* typed;
        const char* message;
    } cases[] = { { "0", "Country Number should be >= 1." }, { "1000", "Country Number should be <= 999." }, { "1", "" }, { "999", "" } };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmCountry"));
        ASSERT_NE(window, nullptr);
        ++n;
        ztxt(window, "ztxtName", QStringLiteral("Land %1").arg(n));
        ztxt(window, "ztxtCode(0)", QStringLiteral("L%1").arg(n));
        ztxt(window, "ztxtCode(1)", QStringLiteral("LD%1").arg(n));
        type(window->field(QStringLiteral("znumNumber")), QString::fromLatin1(c.typed));
        EXPECT_EQ(save(window), QString::fromLatin1(c.message));
        window->info()->setDataChanged(false);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Geography, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
