// The person, employee, address and telephone windows opened and driven as the user drives them,
// on a fresh database of each engine.

#include "../reference_tables/ReferenceFixture.h"

#include "cases/CaseProcedures.h"
#include "cases/PeopleWindows.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "form_framework/WindowList.h"
#include "form_framework/zExtendedLabel.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "list_controls/zComboBoxText.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "support/PromptRecorder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSet>
#include <QStringListModel>
#include <QTableView>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

namespace {

class PeopleWindows : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterCaseProcedures();
        RegisterPeopleForms();
    }

    int person(const QString& first, const QString& last)
    {
        return insert(
            QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES ('%1', '%2') RETURNING Person_ID")
                .arg(first, last));
    }
    int category(const QString& name = QStringLiteral("Officer"))
    {
        return insert(QStringLiteral("INSERT INTO Employee_Categories (Employee_Category_Name, Employee_Category_Code) "
                                     "VALUES ('%1', '%1') RETURNING Employee_Category_ID")
                          .arg(name));
    }
    int employee(int personID, const QString& payroll)
    {
        return insert(QStringLiteral("INSERT INTO Employees (Person_ID, Payroll_Number) VALUES (%1, '%2') "
                                     "RETURNING Employee_ID")
                          .arg(personID)
                          .arg(payroll));
    }
    int unit(const char* typeCode, const char* name)
    {
        const int type = count(QStringLiteral("SELECT Unit_Type_ID FROM Unit_Types WHERE Unit_Type_Code = '%1'")
                                   .arg(QLatin1String(typeCode)));
        const int typeID = type > 0
            ? type
            : insert(QStringLiteral("INSERT INTO Unit_Types (Unit_Type_Name, Unit_Type_Code) VALUES ('Type %1', '%1') "
                                    "RETURNING Unit_Type_ID")
                         .arg(QLatin1String(typeCode)));
        return insert(QStringLiteral("INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) VALUES (%1, '%2', '%2') "
                                     "RETURNING Unit_ID")
                          .arg(typeID)
                          .arg(QLatin1String(name)));
    }
    // The record windows of that name now open, newest last.
    static QList<DeclaredRecordWindow*> opened(const QString& name)
    {
        QList<DeclaredRecordWindow*> windows;
        for (QWidget* window : LoadedWindows())
            if (auto* record = qobject_cast<DeclaredRecordWindow*>(window); record && record->objectName() == name)
                windows << record;
        return windows;
    }
    // Closes every window as the user would after dropping the changes, and lets them go.
    static void closeAll()
    {
        for (QWidget* loaded : LoadedWindows()) {
            if (DataWindow* data = AsDataWindow(loaded)) {
                data->info()->setRefreshScreen(false);
                data->info()->setDataChanged(false);
            }
            UnloadWindow(loaded);
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
    // The picker's chosen identity; 0 for none (the picker reads -1 then).
    static int chosen(DeclaredRecordWindow* window, const char* picker)
    {
        return qMax(0, window->field(QLatin1String(picker))->Value().toInt());
    }
    static void selectRow(DeclaredSearchWindow* search, int identity)
    {
        search->PopulateData();
        QApplication::processEvents();
        for (int row = 0; row < search->grid()->CountItems(); ++row) {
            search->grid()->listView()->selectRow(row);
            if (search->grid()->SelectedItemID() == identity)
                return;
        }
        ADD_FAILURE() << "no row " << identity;
    }
};

// Each measurement needs its unit and each unit its measurement; the message names the pair.
TEST_P(PeopleWindows, MeasurementAndUnitGoTogether)
{
    const int centimetres = unit("L", "Centimetre");
    const int kilograms = unit("W", "Kilogram");
    // A picker of one entry chooses it by itself; two keep the unit pickers empty until chosen.
    unit("L", "Inch");
    unit("W", "Pound");
    struct Case {
        const char* number;
        const char* unitPicker;
        QVariant measurement;
        bool unitChosen;
        const char* message;
    };
    const Case cases[] = {
        { "znumHeight", "zcbtUnit(0)", 180, false, "Height Unit is required if Height is populated." },
        { "znumHeight", "zcbtUnit(0)", QVariant(), true, "Height Unit cannot be populated if Height is empty." },
        { "znumWeight", "zcbtUnit(1)", 80.5, false, "Weight Unit is required if Weight is populated." },
        { "znumWeight", "zcbtUnit(1)", QVariant(), true, "Weight Unit cannot be populated if Weight is empty." },
        { "znumHeight", "zcbtUnit(0)", 249.999, true, "" },
        { "znumWeight", "zcbtUnit(1)", QVariant(), false, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3")
                         .arg(QLatin1String(c.number), c.measurement.toString())
                         .arg(c.unitChosen)
                         .toStdString());
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmPerson"));
        ASSERT_NE(window, nullptr);
        window->field(QStringLiteral("ztxtName(0)"))->setValue(QStringLiteral("Ada"));
        window->field(QStringLiteral("ztxtName(2)"))->setValue(QStringLiteral("O'Neil"));
        window->field(QLatin1String(c.number))->setValue(c.measurement);
        const int chosen = QLatin1String(c.unitPicker) == QLatin1String("zcbtUnit(0)") ? centimetres : kilograms;
        window->field(QLatin1String(c.unitPicker))->setValue(c.unitChosen ? chosen : 0);
        const int before = count(QStringLiteral("SELECT COUNT(*) FROM People"));
        EXPECT_EQ(save(window), QLatin1String(c.message));
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM People")), before + (*c.message ? 0 : 1));
        closeAll();
    }
}

// With one length unit and one weight unit in the database, a new person's unit pickers stay
// empty: the person is saved without measurements, not refused for a unit nobody chose.
TEST_P(PeopleWindows, ASingleUnitIsNotChosenForAnOptionalMeasurement)
{
    unit("L", "Centimetre");
    unit("W", "Kilogram");
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmPerson"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(chosen(window, "zcbtUnit(0)"), 0);
    EXPECT_EQ(chosen(window, "zcbtUnit(1)"), 0);
    window->field(QStringLiteral("ztxtName(0)"))->setValue(QStringLiteral("Mary"));
    window->field(QStringLiteral("ztxtName(2)"))->setValue(QStringLiteral("Major"));
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM People WHERE Last_Name = 'Major' "
                                   "AND Person_Height_Unit_ID IS NULL AND Person_Weight_Unit_ID IS NULL")),
        1);
}

// A typed full name lands in the three name fields; a single word leaves the last name to the
// required rule.
TEST_P(PeopleWindows, TypedFullNameFillsTheNameFields)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmPerson"), QStringLiteral("Mary  Ann   Smith"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->field(QStringLiteral("ztxtName(0)"))->Value().toString(), QStringLiteral("Mary"));
    EXPECT_EQ(window->field(QStringLiteral("ztxtName(1)"))->Value().toString(), QStringLiteral("Ann"));
    EXPECT_EQ(window->field(QStringLiteral("ztxtName(2)"))->Value().toString(), QStringLiteral("Smith"));

    DeclaredRecordWindow* cher = openNew(QStringLiteral("frmPerson"), QStringLiteral("Cher"));
    ASSERT_NE(cher, nullptr);
    EXPECT_EQ(cher->field(QStringLiteral("ztxtName(0)"))->Value().toString(), QStringLiteral("Cher"));
    EXPECT_TRUE(save(cher).contains(QStringLiteral("Last Name")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM People")), 0);
}

// "Add Employee": the record window always starts a new employee for the person; the search
// window first looks for the person's employee record and opens that one when it exists.
TEST_P(PeopleWindows, AddEmployeeFromBothWindows)
{
    const int ada = person(QStringLiteral("Ada"), QStringLiteral("Byron"));
    const int bob = person(QStringLiteral("Bob"), QStringLiteral("Byron"));
    const int adasRecord = employee(ada, QStringLiteral("P-1"));

    struct Case {
        bool fromSearch;
        int person;
        const char* info; // the message shown first, "" for none
        int openedRecord; // the employee record opened in edit mode; 0: a new one for the person
    };
    const Case cases[] = {
        { false, bob, "", 0 },
        { false, ada, "", 0 },
        { true, bob, "", 0 },
        { true, ada, "Employee record for this person is already in the database.", adasRecord },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "search " << c.fromSearch << " person " << c.person);
        Prompts().clear();
        if (c.fromSearch) {
            DeclaredSearchWindow* search = openSearch(QStringLiteral("frmPeople"));
            ASSERT_NE(search, nullptr);
            selectRow(search, c.person);
            search->runAction(QStringLiteral("Add Employee"));
        } else {
            DeclaredRecordWindow* record = openEdit(QStringLiteral("frmPerson"), c.person);
            ASSERT_NE(record, nullptr);
            record->runAction(QStringLiteral("Add Employee"));
        }
        QApplication::processEvents();
        if (*c.info) {
            ASSERT_FALSE(Prompts().boxes.empty());
            EXPECT_EQ(Prompts().boxes.front().text, QLatin1String(c.info));
        } else {
            EXPECT_TRUE(Prompts().boxes.empty());
        }
        const QList<DeclaredRecordWindow*> employees = opened(QStringLiteral("frmEmployee"));
        ASSERT_EQ(employees.size(), 1);
        DeclaredRecordWindow* window = employees.front();
        if (c.openedRecord) {
            EXPECT_EQ(window->info()->Mode(), FormMode::Edit);
            EXPECT_EQ(window->identity()->Value(), c.openedRecord);
        } else {
            EXPECT_EQ(window->info()->Mode(), FormMode::Add);
            EXPECT_EQ(window->field(QStringLiteral("zcbtPerson"))->Value().toInt(), c.person);
        }
        closeAll();
    }

    // The new window the record window opened for Ada refuses to save a second record for her.
    DeclaredRecordWindow* record = openEdit(QStringLiteral("frmPerson"), ada);
    record->runAction(QStringLiteral("Add Employee"));
    DeclaredRecordWindow* second = opened(QStringLiteral("frmEmployee")).front();
    second->field(QStringLiteral("zcbtCategory"))->setValue(category());
    second->field(QStringLiteral("ztxtPayrollNumber"))->setValue(QStringLiteral("P-2"));
    EXPECT_TRUE(save(second).contains(QStringLiteral("Person")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Employees")), 1);
}

// "View Employee Record" says so when the person is no employee.
TEST_P(PeopleWindows, ViewEmployeeRecordWithoutOneSaysSo)
{
    const int ada = person(QStringLiteral("Ada"), QStringLiteral("Byron"));
    DeclaredRecordWindow* record = openEdit(QStringLiteral("frmPerson"), ada);
    ASSERT_NE(record, nullptr);
    Prompts().clear();
    record->runAction(QStringLiteral("View Employee Record"));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("No Employee record exists for this person."));
    EXPECT_TRUE(opened(QStringLiteral("frmEmployee")).isEmpty());
}

// The person and the payroll number are each one employee's, whatever the letter case; a
// deleted person is "no longer there" for View Person.
TEST_P(PeopleWindows, EmployeesAreUniqueByPersonAndPayrollNumber)
{
    const int ada = person(QStringLiteral("Ada"), QStringLiteral("Byron"));
    const int bob = person(QStringLiteral("Bob"), QStringLiteral("Byron"));
    employee(ada, QStringLiteral("pay-7"));
    const int officer = category();

    struct Case {
        int person;
        const char* payroll;
        const char* named; // the field the message names
    };
    const Case cases[] = {
        { bob, "PAY-7", "Payroll Number" },
        { bob, "Pay-7", "Payroll Number" },
        { ada, "P-8", "Person" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.payroll);
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmEmployee"));
        ASSERT_NE(window, nullptr);
        window->field(QStringLiteral("zcbtPerson"))->setValue(c.person);
        window->field(QStringLiteral("zcbtCategory"))->setValue(officer);
        window->field(QStringLiteral("ztxtPayrollNumber"))->setValue(QLatin1String(c.payroll));
        const QString message = save(window);
        EXPECT_TRUE(message.contains(QLatin1String(c.named))) << message.toStdString();
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Employees")), 1);
        closeAll();
    }
}

// The record code: none while new, the code at once after the first save; a typed default value
// is ignored.
TEST_P(PeopleWindows, EmployeeCodeAppearsWithTheFirstSave)
{
    const int ada = person(QStringLiteral("Ada"), QStringLiteral("Byron"));
    person(QStringLiteral("Bob"), QStringLiteral("Byron")); // two people: the picker chooses neither
    const int officer = category();
    category(QStringLiteral("Clerk"));
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmEmployee"), QStringLiteral("12345"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->codeLabel(1)->Value(), QStringLiteral("No Bar Code Yet"));
    EXPECT_TRUE(window->codeLabel(0)->Value().isEmpty());
    for (zFieldBase* field : window->fields())
        EXPECT_TRUE(field->IsMissing()) << field->objectName().toStdString();

    window->field(QStringLiteral("zcbtPerson"))->setValue(ada);
    window->field(QStringLiteral("zcbtCategory"))->setValue(officer);
    window->field(QStringLiteral("ztxtPayrollNumber"))->setValue(QStringLiteral("P-1"));
    ASSERT_EQ(save(window), QString());
    const int id = count(QStringLiteral("SELECT Employee_ID FROM Employees"));
    const QString code = QStringLiteral("E-%1").arg(id, 10, 10, QLatin1Char('0'));
    EXPECT_EQ(window->codeLabel(1)->Value(), code);
    EXPECT_EQ(window->codeLabel(0)->Value(), QStringLiteral("*") + code + QStringLiteral("*"));

    // View Person opens the employee's person; with the person gone it says so and opens nothing.
    window->runAction(QStringLiteral("View Person"));
    ASSERT_EQ(opened(QStringLiteral("frmPerson")).size(), 1);
    EXPECT_EQ(opened(QStringLiteral("frmPerson")).front()->identity()->Value(), ada);

    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("UPDATE Employees SET Person_ID = NULL")));
    UnloadWindow(opened(QStringLiteral("frmPerson")).front());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Prompts().clear();
    window->runAction(QStringLiteral("View Person"));
    EXPECT_TRUE(opened(QStringLiteral("frmPerson")).isEmpty());
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("The related record no longer exists."));
}

// A new address takes the default geography; a typed one-line address then fills the fields, and
// a third part that names no state clears the default state.
TEST_P(PeopleWindows, AddressDefaultsAndTypedAddress)
{
    const int us = count(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = 'US'"));
    const int illinois = count(QStringLiteral("SELECT State_ID FROM States WHERE State_Name = 'Illinois'"));
    // The database's defaults are the administrators' to set.
    owner().executeStatement(QStringLiteral("UPDATE DB_App_Options SET DB_Default_Country_ID = %1, "
                                            "DB_Default_State_ID = %2, DB_Default_City = 'Springfield', "
                                            "DB_Default_Area_Code = '217' WHERE DB_Database_Code = DB_NAME()")
                                 .arg(us)
                                 .arg(illinois));
    const int texas = count(QStringLiteral("SELECT State_ID FROM States WHERE State_Name = 'Texas'"));

    struct Case {
        const char* typed;
        const char* street;
        const char* city;
        int state;
        const char* otherState;
        const char* zip;
    };
    const Case cases[] = {
        { "", "", "Springfield", illinois, "", "" },
        { "1 Elm St", "1 Elm St", "Springfield", illinois, "", "" },
        { " 1 Elm St , Austin , TX , 73301 , extra", "1 Elm St", "Austin", texas, "", "73301" },
        { "1 Elm St,,Texas", "1 Elm St", "Springfield", texas, "", "" },
        { "2 Quay Rd, Cair Paravel, Narnia, N1", "2 Quay Rd", "Cair Paravel", 0, "Narnia", "N1" },
        // A state of another country is no state of this address.
        { "1 Main St, Chicago, Ontario, M5V", "1 Main St", "Chicago", 0, "Ontario", "M5V" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmAddress"), QLatin1String(c.typed));
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->field(QStringLiteral("zcbtCountry"))->Value().toInt(), us);
        EXPECT_EQ(window->field(QStringLiteral("ztxtStreetAddress(0)"))->Value().toString(), QLatin1String(c.street));
        EXPECT_EQ(window->field(QStringLiteral("ztxtCity"))->Value().toString(), QLatin1String(c.city));
        EXPECT_EQ(chosen(window, "zcbtState"), c.state);
        EXPECT_EQ(window->field(QStringLiteral("ztxtOtherState"))->Value().toString(), QLatin1String(c.otherState));
        EXPECT_EQ(window->field(QStringLiteral("ztxtZIP"))->Value().toString(), QLatin1String(c.zip));
        closeAll();
    }

    // Without any default geography all three stay empty; the telephone window likewise.
    owner().executeStatement(QStringLiteral("DELETE FROM DB_App_Options WHERE DB_Database_Code = DB_NAME()"));
    owner().executeStatement(
        QStringLiteral("DELETE FROM DB_Users WHERE DB_User_Name = ?"), { DBConnection()->loginName() });
    DeclaredRecordWindow* bare = openNew(QStringLiteral("frmAddress"));
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(chosen(bare, "zcbtCountry"), 0);
    EXPECT_EQ(chosen(bare, "zcbtState"), 0);
    EXPECT_TRUE(bare->field(QStringLiteral("ztxtCity"))->IsMissing());
}

// The state list follows the country chosen (every state without one). A state of another country,
// chosen before the country changed or stored so, stays shown and the save is refused naming both.
TEST_P(PeopleWindows, TheStateListFollowsTheCountryAndAStateOfAnotherCountryIsRefused)
{
    const int us = count(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = 'US'"));
    const int canada = count(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = 'CA'"));
    const int illinois = count(
        QStringLiteral("SELECT State_ID FROM States WHERE State_Name = 'Illinois' AND Country_ID = %1").arg(us));
    const int ontario = count(QStringLiteral("SELECT State_ID FROM States WHERE State_Name = 'Ontario'"));
    ASSERT_GT(illinois, 0);
    ASSERT_GT(ontario, 0);
    const auto listed = [](DeclaredRecordWindow* window) {
        auto* state = qobject_cast<zComboBoxText*>(window->field(QStringLiteral("zcbtState")));
        QSet<int> identities;
        for (int row = 0; state && row < state->ListCount(); ++row)
            identities.insert(state->ListIdentity(row));
        return identities;
    };
    const auto statesOf = [](const QString& where) {
        QSet<int> identities;
        const std::unique_ptr<Recordset> rows = OpenRecordset(QStringLiteral("SELECT State_ID FROM States") + where);
        for (int row = 0; rows && row < rows->recordCount(); ++row)
            identities.insert(rows->valueAt(row, 0).toInt());
        return identities;
    };

    DeclaredRecordWindow* window = openNew(QStringLiteral("frmAddress"));
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(chosen(window, "zcbtCountry"), 0);
    EXPECT_EQ(listed(window), statesOf(QString())) << "no country: every state";
    type(window->field(QStringLiteral("zcbtCountry")), QStringLiteral("United States"));
    ASSERT_EQ(chosen(window, "zcbtCountry"), us);
    EXPECT_EQ(listed(window), statesOf(QStringLiteral(" WHERE Country_ID = %1").arg(us)));
    type(window->field(QStringLiteral("zcbtState")), QStringLiteral("Ontario"));
    EXPECT_EQ(chosen(window, "zcbtState"), 0) << "another country's state is not in the list";
    type(window->field(QStringLiteral("zcbtState")), QStringLiteral("IL"));
    EXPECT_EQ(chosen(window, "zcbtState"), illinois) << "a code within the country";

    // Illinois stays chosen when the country becomes Canada; the save names both.
    type(window->field(QStringLiteral("zcbtCountry")), QStringLiteral("Canada"));
    ASSERT_EQ(chosen(window, "zcbtCountry"), canada);
    EXPECT_EQ(chosen(window, "zcbtState"), illinois);
    EXPECT_TRUE(listed(window).contains(ontario));
    type(window->field(QStringLiteral("ztxtStreetAddress(0)")), QStringLiteral("1 Elm St"));
    type(window->field(QStringLiteral("ztxtCity")), QStringLiteral("Toronto"));
    EXPECT_EQ(save(window), QStringLiteral("State <Illinois> is not a state of Country <Canada>."));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Addresses")), 0);
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_EQ(Prompts().boxes.back().title, QStringLiteral("Fields Validation"));
    type(window->field(QStringLiteral("zcbtState")), QStringLiteral("Ontario"));
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Addresses WHERE Country_ID = %1 AND State_ID = %2")
                        .arg(canada)
                        .arg(ontario)),
        1);
    closeAll();

    // A pair stored so by an older program shows as stored and is refused at the next save.
    owner().executeStatement(QStringLiteral("INSERT INTO Addresses (Country_ID, State_ID, Street_Address_1, City) "
                                            "VALUES (%1, %2, '2 Elm St', 'Toronto')")
                                 .arg(canada)
                                 .arg(illinois));
    const int stored = count(QStringLiteral("SELECT Address_ID FROM Addresses WHERE Street_Address_1 = '2 Elm St'"));
    DeclaredRecordWindow* edit = openEdit(QStringLiteral("frmAddress"), stored);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(chosen(edit, "zcbtState"), illinois);
    EXPECT_EQ(edit->field(QStringLiteral("zcbtState"))->Text(), QStringLiteral("Illinois"));
    EXPECT_FALSE(edit->info()->DataChanged()) << "showing the stored state changes nothing";
    type(edit->field(QStringLiteral("ztxtCity")), QStringLiteral("Ottawa"));
    EXPECT_EQ(save(edit), QStringLiteral("State <Illinois> is not a state of Country <Canada>."));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Addresses WHERE City = 'Ottawa'")), 0);
}

// Esc with a pop-up open (a picker's list, its "..." menu, a completer's list) closes only the
// pop-up; the next Esc is the window's cancel. Real key presses, through the shortcut map.
TEST_P(PeopleWindows, EscClosesAnOpenPopupFirstThenTheWindow)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmAddress"));
    ASSERT_NE(window, nullptr);
    QPointer<DeclaredRecordWindow> watch(window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* country = qobject_cast<zComboBoxText*>(window->field(QStringLiteral("zcbtCountry")));
    ASSERT_NE(country, nullptr);
    auto* city = qobject_cast<QLineEdit*>(window->field(QStringLiteral("ztxtCity"))->inputBox());
    ASSERT_NE(city, nullptr);
    auto* completer = new QCompleter(new QStringListModel({ QStringLiteral("Salem"), QStringLiteral("Salford") }), city);
    city->setCompleter(completer);

    const struct {
        const char* popup;
        std::function<QWidget*()> open;
    } cases[] = {
        { "the picker's list",
            [country] {
                country->combo()->setFocus();
                country->combo()->showPopup();
                return country->combo()->view()->window();
            } },
        { "the picker's menu",
            [country] {
                country->combo()->setFocus();
                country->PressButton();
                return static_cast<QWidget*>(country->popupMenu());
            } },
        { "a completer's list",
            [city, completer] {
                city->setFocus();
                completer->complete();
                return completer->popup();
            } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.popup);
        QWidget* popup = c.open();
        QApplication::processEvents();
        ASSERT_TRUE(popup->isVisible());
        ASSERT_EQ(QApplication::activePopupWidget(), popup->window());
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : popup;
        QTest::keyClick(focus, Qt::Key_Escape);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(watch.isNull()) << "Esc closed the window under the pop-up";
        EXPECT_FALSE(popup->isVisible());
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_TRUE(Prompts().boxes.empty());
    }

    // Nothing open now: Esc is the window's Close, which asks about the changes first.
    zFieldBase* street = window->field(QStringLiteral("ztxtStreetAddress(0)"));
    type(street, QStringLiteral("1 Elm St"));
    window->activateWindow();
    street->inputBox()->setFocus();
    ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
    Prompts().answer(MsgBox::Cancel);
    QTest::keyClick(street->inputBox(), Qt::Key_Escape);
    QApplication::processEvents();
    ASSERT_EQ(Prompts().boxes.size(), 1u) << "Save Changes?";
    ASSERT_FALSE(watch.isNull());
    Prompts().answer(MsgBox::No);
    QTest::keyClick(street->inputBox(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
}

// A new telephone takes the default country and area code; the typed number goes unsplit into
// the number field.
TEST_P(PeopleWindows, TelephoneDefaultsAndTypedNumber)
{
    const int us = count(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = 'US'"));
    owner().executeStatement(QStringLiteral("UPDATE DB_App_Options SET DB_Default_Country_ID = %1, "
                                            "DB_Default_Area_Code = '217' WHERE DB_Database_Code = DB_NAME()")
                                 .arg(us));
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmTelephone"), QStringLiteral("555 0100"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->field(QStringLiteral("zcbtCountry"))->Value().toInt(), us);
    EXPECT_EQ(window->field(QStringLiteral("ztxtTelephone(0)"))->Value().toString(), QStringLiteral("217"));
    EXPECT_EQ(window->field(QStringLiteral("ztxtTelephone(1)"))->Value().toString(), QStringLiteral("555 0100"));
    EXPECT_TRUE(window->field(QStringLiteral("ztxtTelephone(2)"))->IsMissing());
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Telephones WHERE Telephone_Number = '555 0100' "
                                   "AND Telephone_Area_Code = '217'")),
        1);
}

// Both map entries of both address windows hand the page address to the one web viewer under
// their caption; an address deleted meanwhile opens nothing.
TEST_P(PeopleWindows, MapEntriesReachTheWebViewer)
{
    const int us = count(QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = 'US'"));
    const int address = insert(QStringLiteral("INSERT INTO Addresses (Country_ID, Street_Address_1, City) "
                                              "VALUES (%1, '1 Elm St', 'Salem') RETURNING Address_ID")
                                   .arg(us));
    const QString yahoo
        = GetSQLValue(QStringLiteral("EXEC usp_Evd_URL_Map_Yahoo @Address_ID = %1").arg(address))->toString();
    const QString mapQuest
        = GetSQLValue(QStringLiteral("EXEC usp_Evd_URL_Map_MapQuest @Address_ID = %1").arg(address))->toString();
    ASSERT_TRUE(yahoo.contains(QStringLiteral("Salem")));

    DeclaredRecordWindow* record = openEdit(QStringLiteral("frmAddress"), address);
    ASSERT_NE(record, nullptr);
    record->runAction(QStringLiteral("View Map (Yahoo)"));
    DeclaredSearchWindow* search = openSearch(QStringLiteral("frmAddresses"));
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->grid()->CountItems(), 0); // opens empty
    selectRow(search, address);
    search->runAction(QStringLiteral("View Map (MapQuest)"));
    EXPECT_EQ(viewers->pages, QStringList({ yahoo, mapQuest }));
    EXPECT_EQ(viewers->pageCaptions, QStringList({ QStringLiteral("Yahoo Map"), QStringLiteral("MapQuest Map") }));

    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Addresses WHERE Address_ID = %1").arg(address)));
    Prompts().clear();
    search->runAction(QStringLiteral("View Map (Yahoo)"));
    EXPECT_EQ(viewers->pages.size(), 2);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("The related record no longer exists."));
}

INSTANTIATE_TEST_SUITE_P(Engines, PeopleWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(PeopleWindows);

} // namespace
