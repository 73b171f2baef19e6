#include "cases/CaseWindows.h"

#include "cases/NotificationWindows.h"
#include "cases/PeopleWindows.h"
#include "core/Actions.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "core/Viewers.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "declared_windows/DeclaredTable.h"
#include "exports/MailMerge.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zDate.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "list_controls/zComboBoxText.h"
#include "list_controls/zListView.h"

#include <QDateTime>
#include <QPushButton>

namespace {

DeclaredField caseDate(const QString& control, const QString& column, const QString& goodName)
{
    return DeclaredField::recordDate(control, column, goodName).withTime();
}

// The date range and case criteria that both search windows start with.
std::vector<DeclaredField> caseCriteria(bool typedCodes)
{
    auto from = DeclaredField::recordDate(
        QStringLiteral("zdatDate(0)"), QStringLiteral("Case_Date_From"), QStringLiteral("Case Date From"));
    auto to = DeclaredField::recordDate(
        QStringLiteral("zdatDate(1)"), QStringLiteral("Case_Date_To"), QStringLiteral("Case Date To"))
                  .labelled(QStringLiteral("To:"));
    auto caseNumber = DeclaredField::pickerOf(QStringLiteral("zcbtCase"), QStringLiteral("Case_ID"),
        QStringLiteral("Case Number"), QStringLiteral("usp_Evd_DropDown_Cases"), QStringLiteral("Cases"));
    if (typedCodes)
        caseNumber.recordCodes(QLatin1Char('C'), true);
    return { from, to, caseNumber };
}

// An entry run as an action of its own: a failure (a window not available) is reported as
// "Unable to <entry>" and the window stays usable.
WindowActions::Run asAction(const QString& caption, WindowActions::Run run)
{
    QString description = caption;
    description.remove(QLatin1Char('&'));
    return [description, run](int id) {
        ActionScope action(QStringLiteral("CaseWindows"), QStringLiteral("ActionClick"), description);
        action.run([&] { run(id); });
    };
}

// The case's Actions menu, shared by the record window (the shown case) and the search window
// (the selected row).
template <typename Window> void addCaseActions(Window& window)
{
    const auto report = [](const QString& templateName, const QString& procedure) {
        return [templateName, procedure](int id) {
            // Printed pages are named after the labels and the case ("Barcode Labels - Cases - 2024-77").
            const auto number
                = GetSQLValue(QStringLiteral("SELECT Case_Number FROM Cases WHERE Case_ID = ") + QString::number(id));
            WordReport(templateName,
                QStringLiteral("EXEC ") + procedure + QStringLiteral(" @Case_ID = ") + QString::number(id),
                templateName, true, number && !number->isNull() ? number->toString() : QString());
        };
    };
    const auto open = [](const QString& windowName, bool addMode) {
        return [windowName, addMode](int id) {
            if (addMode)
                OpenNewRecord(windowName, { { QStringLiteral("Case_ID"), id } });
            else
                OpenFormWithParams(windowName, 0, { QStringLiteral("Case_ID"), id });
        };
    };
    window.addAction(QStringLiteral("Print Ca&se Barcode"),
        asAction(QStringLiteral("Print Ca&se Barcode"),
            report(QStringLiteral("Barcode Labels - Cases"), QStringLiteral("usp_Evd_Rep_Barcode_Label_Cases"))));
    window.addAction(QStringLiteral("Print Item &Barcodes for Case"),
        asAction(QStringLiteral("Print Item &Barcodes for Case"),
            report(QStringLiteral("Barcode Labels - Items"), QStringLiteral("usp_Evd_Rep_Barcode_Label_Items"))));
    window.addAction(QStringLiteral("-"), {});
    window.addAction(QStringLiteral("View Case &Items"),
        asAction(QStringLiteral("View Case &Items"), open(QStringLiteral("frmItems"), false)));
    window.addAction(QStringLiteral("A&dd Item to the Case"),
        asAction(QStringLiteral("A&dd Item to the Case"), open(QStringLiteral("frmItem"), true)));
    window.addAction(QStringLiteral("-"), {});
    window.addAction(QStringLiteral("View Case &People"),
        asAction(QStringLiteral("View Case &People"), open(QStringLiteral("frmCasePeople"), false)));
    window.addAction(QStringLiteral("Add Person to the Case"),
        asAction(QStringLiteral("Add Person to the Case"), open(QStringLiteral("frmCasePerson"), true)));
    window.addAction(QStringLiteral("-"), {});
    window.addAction(QStringLiteral("View Related Batches"),
        asAction(QStringLiteral("View Related Batches"), open(QStringLiteral("frmBatchItems"), false)));
    window.addAction(QStringLiteral("Add Case to Batch"),
        asAction(QStringLiteral("Add Case to Batch"), open(QStringLiteral("frmBatchItem"), true)));
    window.addAction(QStringLiteral("-"), {});
    window.addAction(QStringLiteral("View Actions"),
        asAction(QStringLiteral("View Actions"), open(QStringLiteral("frmItemActions"), false)));
    window.addAction(QStringLiteral("Take Action"),
        asAction(QStringLiteral("Take Action"), open(QStringLiteral("frmItemAction"), true)));
}

// The case person's Actions menu. A link or address that is gone opens nothing.
template <typename Window> void addCasePersonActions(Window& window)
{
    const auto add = [&window](const QString& caption, WindowActions::Run run) {
        window.addAction(caption, asAction(caption, std::move(run)));
    };
    add(QStringLiteral("View Ca&se"), [](int id) {
        const auto caseId = GetSQLValue(
            QStringLiteral("SELECT Case_ID FROM Case_People WHERE Case_Person_ID = ") + QString::number(id));
        if (!caseId)
            return ShowRelatedRecordGone();
        const int identity = caseId->toInt();
        if (caseId->isNull() || identity <= 0)
            return ShowRelatedRecordGone();
        OpenRecordForEdit(QStringLiteral("frmCase"), identity);
    });
    window.addAction(QStringLiteral("-"), {});
    const auto map = [](const QString& procedure, const QString& caption) {
        return [procedure, caption](int id) {
            const auto url = GetProcedureValue(procedure, { { QStringLiteral("Case_Person_ID"), id } });
            if (!url || url->isNull() || url->toString().isEmpty())
                return ShowRelatedRecordGone();
            ShowWebPage(url->toString(), caption);
        };
    };
    add(QStringLiteral("View Map (Yahoo)"), map(QStringLiteral("usp_Evd_URL_Map_Yahoo"), QStringLiteral("Yahoo Map")));
    add(QStringLiteral("View Map (MapQuest)"),
        map(QStringLiteral("usp_Evd_URL_Map_MapQuest"), QStringLiteral("MapQuest Map")));
}

// The controls the case windows' hooks use.
const DeclaredControl<zFieldBase> CaseNumber { { "frmCase" }, "ztxtCaseNumber" };
const DeclaredControl<zFieldBase> CaseDate { { "frmCase" }, "zdatCaseDateTime" };
const DeclaredControl<zFieldBase> CollectedDate { { "frmCase" }, "zdatCollectedDateTime" };
const DeclaredControl<QPushButton> CaseDateNow { { "frmCase" }, "btnNow" };
const DeclaredControl<QPushButton> CollectedDateNow { { "frmCase" }, "btnNow2" };
const DeclaredControl<zComboBoxText> ConnectUpCase { { "frmCase" }, "zcbtConnectUpCase" };
const DeclaredControl<zComboBoxText> CollectingEmployee { { "frmCase" }, "zcbtCollectingEmployee" };
const DeclaredControl<zComboBoxText> SubmittingEmployee { { "frmCase" }, "zcbtSubmittingEmployee" };
const DeclaredControl<zComboBoxText> CasePersonPerson { { "frmCasePerson" }, "zcbtPerson" };
const DeclaredControl<zComboBoxText> CasePersonAddressType { { "frmCasePerson" }, "zcbtAddressType" };
const DeclaredControl<zComboBoxText> CasePersonAddress { { "frmCasePerson" }, "zcbtAddress" };
const DeclaredControl<zComboBoxText> CasePersonTelephoneType { { "frmCasePerson" }, "zcbtTelephoneType" };
const DeclaredControl<zComboBoxText> CasePersonTelephone { { "frmCasePerson" }, "zcbtTelephone" };

bool pickerEmpty(zComboBoxText* picker) { return picker->Text().isEmpty() || picker->Value().toInt() <= 0; }

// Fills an empty type-and-value pair from the person's look-up; the first row only.
void fillPair(zComboBoxText* type, zComboBoxText* value, const QString& procedure, const QVariant& personId,
    const QString& typeColumn, const QString& valueColumn)
{
    if (!pickerEmpty(value))
        return;
    auto row = CallProcedure(procedure, { { QStringLiteral("Person_ID"), personId } });
    if (!row || row->recordCount() == 0)
        return;
    type->setValue(row->value(typeColumn));
    value->setValue(row->value(valueColumn));
}

void extendCaseWindow(DeclaredRecordWindow& window)
{
    auto* caseDateField = CaseDate.in(window);
    auto* collected = CollectedDate.in(window);
    QObject::connect(CaseDateNow.in(window), &QPushButton::clicked, &window, [&window, caseDateField] {
        caseDateField->setValue(QDateTime::currentDateTime());
        SetDefaultCaseNumber(window);
    });
    QObject::connect(CollectedDateNow.in(window), &QPushButton::clicked, &window,
        [collected] { collected->setValue(QDateTime::currentDateTime()); });
    QObject::connect(caseDateField, &zFieldBase::LostFocus, &window, [&window] { SetDefaultCaseNumber(window); });

    auto* connectUp = ConnectUpCase.in(window);
    connectUp->setOnLostFocusValidation([&window, connectUp]() -> QString {
        const int chosen = connectUp->Value().toInt();
        if (chosen > 0 && chosen == window.identity()->Value())
            return QStringLiteral("The case cannot connect to itself");
        return {};
    });
    for (const DeclaredControl<zComboBoxText>* handle : { &CollectingEmployee, &SubmittingEmployee }) {
        auto* employee = handle->in(window);
        QObject::connect(
            employee, &zComboBoxText::DropDownLostFocus, &window, [employee] { ResolveEmployee(employee); });
    }
    addCaseActions(window);
}

void extendCasePersonWindow(DeclaredRecordWindow& window)
{
    auto* person = CasePersonPerson.in(window);
    auto* addressType = CasePersonAddressType.in(window);
    auto* address = CasePersonAddress.in(window);
    auto* telephoneType = CasePersonTelephoneType.in(window);
    auto* telephone = CasePersonTelephone.in(window);
    QObject::connect(person, &zComboBoxText::DropDownLostFocus, &window, [=, &window] {
        if (window.info()->Mode() == FormMode::Edit || person->Value().toInt() <= 0)
            return;
        fillPair(addressType, address, QStringLiteral("usp_Evd_Get_Address_For_Person"), person->DBArgument(),
            QStringLiteral("Address_Type_ID"), QStringLiteral("Address_ID"));
        fillPair(telephoneType, telephone, QStringLiteral("usp_Evd_Get_Telephone_For_Person"), person->DBArgument(),
            QStringLiteral("Telephone_Type_ID"), QStringLiteral("Telephone_ID"));
    });
    // A type needs its value; a value without a type is accepted.
    const auto needsValue = [](zComboBoxText* type, zComboBoxText* value) {
        return [type, value]() -> QString {
            if (!pickerEmpty(type) && pickerEmpty(value))
                return type->GoodName() + QStringLiteral(" cannot be populated if ") + value->GoodName()
                    + QStringLiteral(" is empty");
            return {};
        };
    };
    addressType->setFinalValidation(needsValue(addressType, address));
    telephoneType->setFinalValidation(needsValue(telephoneType, telephone));
    addCasePersonActions(window);
}

} // namespace

void SetDefaultCaseNumber(DeclaredRecordWindow& window)
{
    zFieldBase* number = CaseNumber.in(window);
    zFieldBase* caseDate = CaseDate.in(window);
    if (!number->IsMissing() || caseDate->IsMissing())
        return;
    const QDateTime when = caseDate->Value().toDateTime();
    if (!when.isValid())
        return;
    number->setValue(when.date().toString(QStringLiteral("yyyyMMdd")));
}

DeclaredTable CasesTable()
{
    DeclaredTable cases = DeclaredTable::of(QStringLiteral("Cases"), QStringLiteral("Case_ID"),
        QStringLiteral("frmCase"), QStringLiteral("frmCases"), QStringLiteral("Case"), QStringLiteral("Cases"));
    const QString collected = QStringLiteral("Items Collected ");
    const QString defaults = QStringLiteral("Default Values for Items - Can Be Changed for Each Item Later ");
    cases.fields = {
        caseDate(
            QStringLiteral("zdatCaseDateTime"), QStringLiteral("Case_Date_Time"), QStringLiteral("Case Date & Time"))
            .required()
            .labelled(QStringLiteral("Case Date && Time:"))
            .withButton(QStringLiteral("btnNow"), QStringLiteral("<= Now")),
        DeclaredField::text(
            QStringLiteral("ztxtCaseNumber"), QStringLiteral("Case_Number"), QStringLiteral("Case Number"))
            .required()
            .unique()
            .length(30),
        DeclaredField::pickerOf(QStringLiteral("zcbtCaseStatus"), QStringLiteral("Case_Status_ID"),
            QStringLiteral("Case Status"), QStringLiteral("usp_Evd_DropDown_Case_Statuses"),
            QStringLiteral("Case_Statuses")),
        DeclaredField::pickerOf(QStringLiteral("zcbtConnectUpCase"), QStringLiteral("Connect_Up_Case_ID"),
            QStringLiteral("Connect Up Case"), QStringLiteral("usp_Evd_DropDown_Cases"), QStringLiteral("Cases"))
            .recordCodes(QLatin1Char('C'), true),
        DeclaredField::text(
            QStringLiteral("ztxtInvoice"), QStringLiteral("Invoice_Number"), QStringLiteral("Invoice Number"))
            .length(10),
        DeclaredField::pickerOf(QStringLiteral("zcbtCrimeClass"), QStringLiteral("Crime_Class_ID"),
            QStringLiteral("Crime Class"), QStringLiteral("usp_Evd_DropDown_Crime_Classes"),
            QStringLiteral("Crime_Classes"))
            .required(),
        DeclaredField::pickerOf(QStringLiteral("zcbtFelonyClass"), QStringLiteral("Felony_Class_ID"),
            QStringLiteral("Felony Class"), QStringLiteral("usp_Evd_DropDown_Felony_Classes"),
            QStringLiteral("Felony_Classes"))
            .required(),
        DeclaredField::pickerOf(QStringLiteral("zcbtIncidentAddress"), QStringLiteral("Original_Incident_Address_ID"),
            QStringLiteral("Incident Address"), QStringLiteral("usp_Evd_DropDown_Addresses"),
            QStringLiteral("Addresses")),
        DeclaredField::text(QStringLiteral("ztxtIncidentLocation"), QStringLiteral("Original_Incident_Location"),
            QStringLiteral("Incident Location"))
            .length(50),
        caseDate(QStringLiteral("zdatCollectedDateTime"), QStringLiteral("Obtained_Date_Time"),
            QStringLiteral("Items Collected Date & Time"))
            .labelled(QStringLiteral("Date && Time:"))
            .withButton(QStringLiteral("btnNow2"), QStringLiteral("<= Now"))
            .inGroup(collected, QStringLiteral("Frame2"))
            .inSecondColumn(),
        DeclaredField::pickerOf(QStringLiteral("zcbtCollectedAddress"), QStringLiteral("Obtained_Address_ID"),
            QStringLiteral("Collected From Address"), QStringLiteral("usp_Evd_DropDown_Addresses"),
            QStringLiteral("Addresses"))
            .labelled(QStringLiteral("From Address:"))
            .inGroup(collected, QStringLiteral("Frame2")),
        DeclaredField::text(QStringLiteral("ztxtCollectedLocation"), QStringLiteral("Obtained_Location"),
            QStringLiteral("Collected From Location"))
            .length(50)
            .labelled(QStringLiteral("From Location:"))
            .inGroup(collected, QStringLiteral("Frame2")),
        DeclaredField::pickerOf(QStringLiteral("zcbtCollectingEmployee"), QStringLiteral("Collecting_Employee_ID"),
            QStringLiteral("Collecting Employee"), QStringLiteral("usp_Evd_DropDown_Employees"),
            QStringLiteral("Employees"))
            .inGroup(collected, QStringLiteral("Frame2")),
        DeclaredField::pickerOf(QStringLiteral("zcbtPropertyCategory"), QStringLiteral("Default_Property_Category_ID"),
            QStringLiteral("Default Property Category"), QStringLiteral("usp_Evd_DropDown_Property_Categories"),
            QStringLiteral("Property_Categories"))
            .required()
            .labelled(QStringLiteral("Property Category:"))
            .inGroup(defaults, QStringLiteral("Frame1")),
        DeclaredField::pickerOf(QStringLiteral("zcbtSubmittingEmployee"),
            QStringLiteral("Default_Submitting_Employee_ID"), QStringLiteral("Default Submitting Employee"),
            QStringLiteral("usp_Evd_DropDown_Employees"), QStringLiteral("Employees"))
            .required()
            .labelled(QStringLiteral("Submitting Employee:"))
            .inGroup(defaults, QStringLiteral("Frame1")),
        DeclaredField::memo(QStringLiteral("zmemNotes"), QStringLiteral("Case_Notes"), QStringLiteral("Notes"))
            .length(200),
    };
    cases.criteria = caseCriteria(false);
    cases.codePrefix = QLatin1Char('C');
    cases.codeCaption = QStringLiteral("Case Barcode:");
    cases.defaultValueTarget = QStringLiteral("ztxtCaseNumber");
    cases.populateOnStart = false;
    cases.extendRecordWindow = extendCaseWindow;
    cases.extendSearchWindow = [](DeclaredSearchWindow& window) { addCaseActions(window); };
    return cases;
}

DeclaredTable CasePeopleTable()
{
    DeclaredTable people = DeclaredTable::of(QStringLiteral("Case_People"), QStringLiteral("Case_Person_ID"),
        QStringLiteral("frmCasePerson"), QStringLiteral("frmCasePeople"), QStringLiteral("Case Person"),
        QStringLiteral("Case People"));
    people.fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtCase"), QStringLiteral("Case_ID"), QStringLiteral("Case Number"),
            QStringLiteral("usp_Evd_DropDown_Cases"), QStringLiteral("Cases"))
            .required()
            .recordCodes(QLatin1Char('C'), true),
        DeclaredField::pickerOf(QStringLiteral("zcbtCasePersonType"), QStringLiteral("Case_Person_Type_ID"),
            QStringLiteral("Case Person Type"), QStringLiteral("usp_Evd_DropDown_Case_Person_Types"),
            QStringLiteral("Case_Person_Types"))
            .required()
            .labelled(QStringLiteral("Person Type:")),
        DeclaredField::pickerOf(QStringLiteral("zcbtPerson"), QStringLiteral("Person_ID"), QStringLiteral("Person"),
            QStringLiteral("usp_Evd_DropDown_People"), QStringLiteral("People"))
            .required(),
        DeclaredField::pickerOf(QStringLiteral("zcbtAddressType"), QStringLiteral("Address_Type_ID"),
            QStringLiteral("Address Type"), QStringLiteral("usp_Evd_DropDown_Address_Types"),
            QStringLiteral("Address_Types")),
        DeclaredField::pickerOf(QStringLiteral("zcbtAddress"), QStringLiteral("Address_ID"), QStringLiteral("Address"),
            QStringLiteral("usp_Evd_DropDown_Addresses"), QStringLiteral("Addresses")),
        DeclaredField::pickerOf(QStringLiteral("zcbtTelephoneType"), QStringLiteral("Telephone_Type_ID"),
            QStringLiteral("Telephone Type"), QStringLiteral("usp_Evd_DropDown_Telephone_Types"),
            QStringLiteral("Telephone_Types")),
        DeclaredField::pickerOf(QStringLiteral("zcbtTelephone"), QStringLiteral("Telephone_ID"),
            QStringLiteral("Telephone"), QStringLiteral("usp_Evd_DropDown_Telephones"), QStringLiteral("Telephones")),
    };
    people.criteria = caseCriteria(true);
    people.criteria.push_back(DeclaredField::pickerOf(QStringLiteral("zcbtCasePersonType"),
        QStringLiteral("Case_Person_Type_ID"), QStringLiteral("Case_Person Type"),
        QStringLiteral("usp_Evd_DropDown_Case_Person_Types"), QStringLiteral("Case_Person_Types"))
                                  .labelled(QStringLiteral("Person Type:")));
    // An opener's default value has no effect here.
    people.defaultValueTarget.clear();
    people.populateOnStart = false;
    people.extendRecordWindow = extendCasePersonWindow;
    people.extendSearchWindow = [](DeclaredSearchWindow& window) { addCasePersonActions(window); };
    return people;
}

void RegisterCaseWindows()
{
    const DeclaredTable cases = CasesTable();
    FormRegistry::registerForm(cases.recordWindow, [cases] { return new DeclaredRecordWindow(cases); });
    FormRegistry::registerForm(cases.searchWindow, [cases] { return new DeclaredSearchWindow(cases); });
    const DeclaredTable people = CasePeopleTable();
    FormRegistry::registerForm(people.recordWindow, [people] { return new DeclaredRecordWindow(people); });
    FormRegistry::registerForm(people.searchWindow, [people] { return new DeclaredSearchWindow(people); });
}

std::vector<DeclaredTable> CaseDeclarations()
{
    std::vector<DeclaredTable> tables = PeopleTables();
    tables.push_back(CasesTable());
    tables.push_back(CasePeopleTable());
    tables.push_back(NotificationsTable());
    return tables;
}
