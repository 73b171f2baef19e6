#include "cases/PeopleWindows.h"

#include "cases/PersonText.h"
#include "core/Database.h"
#include "core/MessageBoxes.h"
#include "core/Recordset.h"
#include "core/Viewers.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zFieldBase.h"
#include "list_controls/zComboBoxText.h"
#include "reference_tables/GeographyCodes.h"

#include <QDateTime>

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

const QString kGone = QStringLiteral("The related record no longer exists.");

QDateTime Day(int year, int month, int day) { return QDateTime(QDate(year, month, day), QTime(0, 0)); }

DeclaredField DateField(const char* control, const char* column, const char* goodName)
{
    // Birth dates reach further back than the record date's floor.
    return DeclaredField::recordDate(S(control), S(column), S(goodName)).dates(Day(1850, 12, 31), Day(2050, 1, 1));
}

DeclaredField Text(const char* control, const char* column, const char* goodName, int length)
{
    return DeclaredField::text(S(control), S(column), S(goodName)).length(length);
}

// A picker missing its value: no text, or a text that names no entry.
bool PickerMissing(zFieldBase* picker) { return picker->IsMissing() || picker->Value().toInt() <= 0; }

// One column of the default geography's first row: the user's defaults or the database's; null
// when neither exists.
QVariant DefaultGeography(const QString& column)
{
    std::unique_ptr<Recordset> rows = OpenRecordset(QStringLiteral("EXEC usp_Evd_Get_Default_Geography"), false);
    QVariant value;
    if (rows && !rows->eof()) {
        const int index = rows->fieldIndex(column);
        if (index >= 0)
            value = rows->value(index);
    }
    CloseRecordset(rows);
    return value;
}

void DefaultFromGeography(zFieldBase* field, const QString& column, bool identity)
{
    field->setDefaultProcedure([column, identity]() -> QVariant {
        const QVariant value = DefaultGeography(column);
        if (identity)
            return value.isNull() ? 0 : value.toInt();
        return value.isNull() ? QString() : value.toString();
    });
}

// The controls the people windows' hooks use.
const DeclaredControl<zComboBoxText> Country { { "frmAddress", "frmTelephone" }, "zcbtCountry" };
const DeclaredControl<zFieldBase> PersonNames[]
    = { { { "frmPerson" }, "ztxtName(0)" }, { { "frmPerson" }, "ztxtName(1)" }, { { "frmPerson" }, "ztxtName(2)" } };
const DeclaredControl<zFieldBase> PersonUnits[]
    = { { { "frmPerson" }, "zcbtUnit(0)" }, { { "frmPerson" }, "zcbtUnit(1)" } };
const DeclaredControl<zFieldBase> PersonHeight { { "frmPerson" }, "znumHeight" };
const DeclaredControl<zFieldBase> PersonWeight { { "frmPerson" }, "znumWeight" };
const DeclaredControl<zComboBoxText> AddressState { { "frmAddress" }, "zcbtState" };
const DeclaredControl<zFieldBase> AddressCity { { "frmAddress" }, "ztxtCity" };
const DeclaredControl<zFieldBase> AddressStreet { { "frmAddress" }, "ztxtStreetAddress(0)" };
const DeclaredControl<zFieldBase> AddressOtherState { { "frmAddress" }, "ztxtOtherState" };
const DeclaredControl<zFieldBase> AddressZip { { "frmAddress" }, "ztxtZIP" };
const DeclaredControl<zFieldBase> AreaCode { { "frmTelephone" }, "ztxtTelephone(0)" };

void ResolveCountryOnLeaving(DeclaredRecordWindow& window)
{
    auto* country = Country.in(window);
    QObject::connect(country, &zComboBoxText::DropDownLostFocus, &window, [country] { ResolveCountryCode(country); });
}

void OpenRecord(const QString& window, int identity)
{
    OpenRecordForEdit(window, identity);
}

void OpenNewEmployee(int person)
{
    OpenNewRecord(QStringLiteral("frmEmployee"), { { QStringLiteral("Person_ID"), person } });
}

// The person's employee record, 0 when there is none.
int EmployeeOf(int person)
{
    std::unique_ptr<Recordset> rows = OpenRecordset(
        QStringLiteral("SELECT Employee_ID FROM Employees WHERE Person_ID = ") + QString::number(person), false);
    const int employee = rows && !rows->eof() && !rows->value(0).isNull() ? rows->value(0).toInt() : 0;
    CloseRecordset(rows);
    return employee;
}

void ViewEmployeeRecord(int person)
{
    const int employee = EmployeeOf(person);
    if (employee == 0)
        ShowInfoMessage(QStringLiteral("No Employee record exists for this person."));
    else
        OpenRecord(QStringLiteral("frmEmployee"), employee);
}

// The search window asks first; the record window leaves the refusal to the employee window's
// unique Person field.
void AddEmployeeAfterAsking(int person)
{
    const int employee = EmployeeOf(person);
    if (employee == 0) {
        OpenNewEmployee(person);
        return;
    }
    ShowInfoMessage(QStringLiteral("Employee record for this person is already in the database."));
    OpenRecord(QStringLiteral("frmEmployee"), employee);
}

void ViewPerson(int employee)
{
    const std::optional<QVariant> person = GetSQLValue(
        QStringLiteral("SELECT Person_ID FROM Employees WHERE Employee_ID = ") + QString::number(employee));
    if (!person || person->isNull() || person->toInt() <= 0) {
        ShowRelatedRecordGone();
        return;
    }
    OpenRecord(QStringLiteral("frmPerson"), person->toInt());
}

void ViewMap(const char* procedure, const char* caption, int address)
{
    const std::optional<QVariant> url = GetProcedureValue(S(procedure), { { QStringLiteral("Address_ID"), address } });
    if (!url || url->isNull() || url->toString().isEmpty()) {
        ShowRelatedRecordGone();
        return;
    }
    ShowWebPage(url->toString(), S(caption));
}

template <typename Window> void AddMapActions(Window& window)
{
    window.addAction(
        QStringLiteral("View Map (Yahoo)"), [](int id) { ViewMap("usp_Evd_URL_Map_Yahoo", "Yahoo Map", id); });
    window.addAction(
        QStringLiteral("View Map (MapQuest)"), [](int id) { ViewMap("usp_Evd_URL_Map_MapQuest", "MapQuest Map", id); });
}

DeclaredTable People()
{
    DeclaredTable people = DeclaredTable::of(QStringLiteral("People"), QStringLiteral("Person_ID"),
        QStringLiteral("frmPerson"), QStringLiteral("frmPeople"), QStringLiteral("Person"), QStringLiteral("People"));
    people.fields = {
        DeclaredField::pickerOf(
            "zcbtSalutation", "Salutation_ID", "Salutation", "usp_Evd_DropDown_Salutations", "Salutations"),
        Text("ztxtName(0)", "First_Name", "First Name", 50).required(),
        Text("ztxtName(1)", "Middle_Name", "Middle Name", 50),
        Text("ztxtName(2)", "Last_Name", "Last Name", 50).required(),
        DeclaredField::pickerOf("zcbtSuffix", "Suffix_ID", "Suffix", "usp_Evd_DropDown_Suffixes", "Suffixes"),
        Text("ztxtName(3)", "Nickname", "Nickname", 50),
        DateField("zdatDate(0)", "Date_Of_Birth", "Date of Birth"),
        DateField("zdatDate(1)", "Date_Of_Death", "Date of Death"),
        DeclaredField::pickerOf("zcbtGender", "Gender_ID", "Gender", "usp_Evd_DropDown_Genders", "Genders"),
        DeclaredField::number(S("znumHeight"), S("Person_Height"), S("Height"))
            .decimals(3)
            .range(0, 250)
            .minExcluded()
            .maxExcluded(),
        DeclaredField::pickerOf("zcbtUnit(0)", "Person_Height_Unit_ID", "Height Unit",
            "usp_Evd_DropDown_Units @Unit_Type_Code = 'L'", "Units")
            .labelled(QString())
            .besideThePrevious(),
        DeclaredField::number(S("znumWeight"), S("Person_Weight"), S("Weight"))
            .decimals(3)
            .range(0, 600)
            .minExcluded()
            .maxExcluded(),
        DeclaredField::pickerOf("zcbtUnit(1)", "Person_Weight_Unit_ID", "Weight Unit",
            "usp_Evd_DropDown_Units @Unit_Type_Code = 'W'", "Units")
            .labelled(QString())
            .besideThePrevious(),
        DeclaredField::pickerOf("zcbtColor(0)", "Eye_Color_ID", "Eye Color", "usp_Evd_DropDown_Colors_Eyes", "Colors"),
        DeclaredField::pickerOf(
            "zcbtColor(1)", "Hair_Color_ID", "Hair Color", "usp_Evd_DropDown_Colors_Hair", "Colors"),
        DeclaredField::pickerOf("zcbtRace", "Race_ID", "Race", "usp_Evd_DropDown_Races", "Races"),
        Text("ztxtSSN", "SSN", "SSN", 9),
    };
    people.criteria = {
        Text("ztxtName(0)", "First_Name", "First Name Like", 50),
        Text("ztxtName(1)", "Last_Name", "Last Name Like", 50),
    };
    people.populateOnStart = false;
    people.defaultValueHandler = [](DeclaredRecordWindow& window, const QString& text) {
        const PersonName name = SplitFullName(text);
        PersonNames[0].in(window)->setValue(name.firstName);
        PersonNames[1].in(window)->setValue(name.middleName);
        PersonNames[2].in(window)->setValue(name.lastName);
    };
    people.extendRecordWindow = [](DeclaredRecordWindow& window) {
        for (const auto& [unit, measurement] :
            { std::pair { &PersonUnits[0], &PersonHeight }, { &PersonUnits[1], &PersonWeight } }) {
            zFieldBase* unitField = unit->in(window);
            zFieldBase* measurementField = measurement->in(window);
            unitField->setFinalValidation(
                [unitField, measurementField] { return MeasurementUnitMessage(unitField, measurementField); });
        }
        window.addAction(QStringLiteral("View Employee Record"), ViewEmployeeRecord);
        window.addAction(QStringLiteral("Add Employee"), OpenNewEmployee);
    };
    people.extendSearchWindow = [](DeclaredSearchWindow& window) {
        window.addAction(QStringLiteral("View Employee Record"), ViewEmployeeRecord);
        window.addAction(QStringLiteral("Add Employee"), AddEmployeeAfterAsking);
    };
    return people;
}

DeclaredTable Employees()
{
    DeclaredTable employees
        = DeclaredTable::of(QStringLiteral("Employees"), QStringLiteral("Employee_ID"), QStringLiteral("frmEmployee"),
            QStringLiteral("frmEmployees"), QStringLiteral("Employee"), QStringLiteral("Employees"));
    employees.codePrefix = QLatin1Char('E');
    employees.codeCaption = QStringLiteral("Employee Barcode:");
    employees.fields = {
        DeclaredField::pickerOf("zcbtPerson", "Person_ID", "Person", "usp_Evd_DropDown_People", "People")
            .required()
            .unique(),
        DeclaredField::pickerOf("zcbtCategory", "Employee_Category_ID", "Employee Category",
            "usp_Evd_DropDown_Employee_Categories", "Employee_Categories")
            .required(),
        Text("ztxtPayrollNumber", "Payroll_Number", "Payroll Number", 30).required().unique(),
        Text("ztxtTitle", "Title", "Title / Position", 30),
        DeclaredField::pickerOf("zcbtRank", "Rank_ID", "Rank", "usp_Evd_DropDown_Ranks", "Ranks"),
        Text("ztxtBadgeNumber", "Badge_Number", "Badge Number", 30),
        Text("ztxtBadgeBarCode", "Badge_Bar_Code", "Badge Bar Code", 30),
        DateField("zdatDate", "Employed_Since", "Employed Since"),
    };
    employees.criteria = {
        Text("ztxtName(0)", "First_Name", "First Name Like", 50),
        Text("ztxtName(1)", "Last_Name", "Last Name Like", 50),
        Text("ztxtPayrollNumber", "Payroll_Number", "Payroll Number Like", 30),
    };
    employees.populateOnStart = false;
    // A text typed into another window's employee picker says nothing about the new employee.
    employees.defaultValueTarget.clear();
    employees.extendRecordWindow
        = [](DeclaredRecordWindow& window) { window.addAction(QStringLiteral("View Person"), ViewPerson); };
    employees.extendSearchWindow
        = [](DeclaredSearchWindow& window) { window.addAction(QStringLiteral("View Person"), ViewPerson); };
    return employees;
}

DeclaredTable Addresses()
{
    DeclaredTable addresses
        = DeclaredTable::of(QStringLiteral("Addresses"), QStringLiteral("Address_ID"), QStringLiteral("frmAddress"),
            QStringLiteral("frmAddresses"), QStringLiteral("Address"), QStringLiteral("Addresses"));
    addresses.fields = {
        DeclaredField::pickerOf("zcbtCountry", "Country_ID", "Country", "usp_Evd_DropDown_Countries", "Countries")
            .required(),
        Text("ztxtStreetAddress(0)", "Street_Address_1", "Street Address 1", 50).required(),
        Text("ztxtStreetAddress(1)", "Street_Address_2", "Street Address 2", 50),
        Text("ztxtCity", "City", "City", 50).required(),
        DeclaredField::pickerOf("zcbtState", "State_ID", "State", "usp_Evd_DropDown_States", "States"),
        Text("ztxtOtherState", "State_Other", "Other State", 50),
        Text("ztxtZIP", "ZIP", "ZIP", 10),
    };
    addresses.criteria = {
        Text("ztxtStreetAddress(0)", "Street_Address_1", "Street Address 1 Like", 50),
        Text("ztxtStreetAddress(1)", "Street_Address_2", "Street Address 2 Like", 50),
        Text("ztxtCity", "City", "City Like", 50),
    };
    addresses.populateOnStart = false;
    addresses.setDefaults = [](DeclaredRecordWindow& window) {
        for (zFieldBase* field : { static_cast<zFieldBase*>(Country.in(window)),
                 static_cast<zFieldBase*>(AddressState.in(window)), AddressCity.in(window) })
            field->SetDefault();
    };
    addresses.defaultValueHandler = [](DeclaredRecordWindow& window, const QString& text) {
        zFieldBase* country = Country.in(window);
        const int countryID = country->Value().toInt();
        const AddressFields parts = SplitAddressText(
            text, [countryID](const QString& state) { return FindStateByNameOrCode(state, countryID); });
        AddressStreet.in(window)->setValue(parts.street);
        if (parts.city)
            AddressCity.in(window)->setValue(*parts.city);
        if (parts.stateID)
            AddressState.in(window)->setValue(*parts.stateID);
        if (parts.otherState)
            AddressOtherState.in(window)->setValue(*parts.otherState);
        if (parts.zip)
            AddressZip.in(window)->setValue(*parts.zip);
    };
    addresses.extendRecordWindow = [](DeclaredRecordWindow& window) {
        DefaultFromGeography(Country.in(window), QStringLiteral("Country_ID"), true);
        DefaultFromGeography(AddressState.in(window), QStringLiteral("State_ID"), true);
        DefaultFromGeography(AddressCity.in(window), QStringLiteral("City"), false);
        ResolveCountryOnLeaving(window);
        StatesFollowCountry(AddressState.in(window), Country.in(window));
        AddMapActions(window);
    };
    addresses.extendSearchWindow = [](DeclaredSearchWindow& window) { AddMapActions(window); };
    return addresses;
}

DeclaredTable Telephones()
{
    DeclaredTable telephones = DeclaredTable::of(QStringLiteral("Telephones"), QStringLiteral("Telephone_ID"),
        QStringLiteral("frmTelephone"), QStringLiteral("frmTelephones"), QStringLiteral("Telephone"),
        QStringLiteral("Telephones"));
    telephones.fields = {
        DeclaredField::pickerOf("zcbtCountry", "Country_ID", "Country", "usp_Evd_DropDown_Countries", "Countries")
            .required(),
        Text("ztxtTelephone(0)", "Telephone_Area_Code", "Area Code", 10).required(),
        Text("ztxtTelephone(1)", "Telephone_Number", "Telephone Number", 10).required(),
        Text("ztxtTelephone(2)", "Telephone_Extention", "Extention", 5),
    };
    // On the search window the number comes first, and the names in messages carry no "Like".
    telephones.criteria = {
        Text("ztxtTelephone(0)", "Telephone_Number", "Telephone Number", 10)
            .labelled(QStringLiteral("Telephone Number Like:")),
        Text("ztxtTelephone(1)", "Telephone_Area_Code", "Area Code", 10).labelled(QStringLiteral("Area Code Like:")),
    };
    telephones.populateOnStart = false;
    telephones.defaultValueTarget = QStringLiteral("ztxtTelephone(1)");
    telephones.setDefaults = [](DeclaredRecordWindow& window) {
        Country.in(window)->SetDefault();
        AreaCode.in(window)->SetDefault();
    };
    telephones.extendRecordWindow = [](DeclaredRecordWindow& window) {
        DefaultFromGeography(Country.in(window), QStringLiteral("Country_ID"), true);
        DefaultFromGeography(AreaCode.in(window), QStringLiteral("Area_Code"), false);
        ResolveCountryOnLeaving(window);
    };
    return telephones;
}

} // namespace

QString MeasurementUnitMessage(zFieldBase* unit, zFieldBase* measurement)
{
    const bool unitMissing = PickerMissing(unit);
    const bool measurementMissing = measurement->IsMissing();
    if (!unitMissing && measurementMissing)
        return unit->GoodName() + QStringLiteral(" cannot be populated if ") + measurement->GoodName()
            + QStringLiteral(" is empty");
    if (unitMissing && !measurementMissing)
        return unit->GoodName() + QStringLiteral(" is required if ") + measurement->GoodName()
            + QStringLiteral(" is populated");
    return QString();
}

std::vector<DeclaredTable> PeopleTables() { return { People(), Employees(), Addresses(), Telephones() }; }

void RegisterPeopleForms()
{
    for (const DeclaredTable& table : PeopleTables()) {
        FormRegistry::registerForm(table.recordWindow, [table] { return new DeclaredRecordWindow(table); });
        FormRegistry::registerForm(table.searchWindow, [table] { return new DeclaredSearchWindow(table); });
    }
}

void ShowRelatedRecordGone() { ShowInfoMessage(kGone); }
