#include "custody/ItemWindows.h"

#include "cases/PeopleWindows.h"
#include "core/Actions.h"
#include "core/Database.h"
#include "core/MessageBoxes.h"
#include "core/Recordset.h"
#include "custody/CustodyWindows.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "declared_windows/DeclaredTable.h"
#include "exports/MailMerge.h"
#include "form_framework/CrystalReport.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "list_controls/zComboBoxText.h"

#include <QDateTime>
#include <QSet>

#include <memory>

namespace {

DeclaredField dateOf(const QString& control, const QString& column, const QString& goodName)
{
    return DeclaredField::recordDate(control, column, goodName);
}

// The controls the item, item model and location windows' hooks use.
const DeclaredControl<zComboBoxText> ItemCase { { "frmItem" }, "zcbtCase" };
const DeclaredControl<zComboBoxText> ItemPropertyType { { "frmItem" }, "zcbtPropertyType" };
const DeclaredControl<zComboBoxText> ItemCategory { { "frmItem" }, "zcbtPropertyCategory" };
const DeclaredControl<zComboBoxText> ItemModel { { "frmItem" }, "zcbtModel" };
const DeclaredControl<zFieldBase> ItemNumber { { "frmItem" }, "ztxtItemNumber" };
const DeclaredControl<zFieldBase> ItemReviewDate { { "frmItem" }, "zdatDate" };
const DeclaredControl<zFieldBase> ItemYearMade { { "frmItem" }, "znumYearMade" };
const DeclaredControl<zFieldBase> ItemColor { { "frmItem" }, "zcbtColor" };
const DeclaredControl<zFieldBase> ItemSerialNumber { { "frmItem" }, "ztxtSerialNumber" };
const DeclaredControl<zFieldBase> ItemUpc { { "frmItem" }, "znumItemUPN" };
const DeclaredControl<zFieldBase> ItemCurrency { { "frmItem" }, "zcbtCurrency" };
const DeclaredControl<zFieldBase> ItemCurrencyTotal { { "frmItem" }, "znumCurrencyTotal" };
const DeclaredControl<zFieldBase> ItemUnit { { "frmItem" }, "zcbtUnit" };
const DeclaredControl<zFieldBase> ItemWeight { { "frmItem" }, "znumWeight" };
const DeclaredControl<zComboBoxText> ParentModel { { "frmItemModel" }, "zcbtParentModel" };
const DeclaredControl<zComboBoxText> ParentLocation { { "frmLocation" }, "zcbtParentLocation" };

bool isEmpty(zFieldBase* field)
{
    if (auto* picker = qobject_cast<zComboBoxText*>(field))
        return picker->Value().toInt() <= 0 || picker->Text().isEmpty();
    return field->IsMissing();
}

// An entry run as an action of its own: a failure (a window not available) is reported as
// "Unable to <entry>" and the window stays usable.
WindowActions::Run asAction(const QString& caption, WindowActions::Run run)
{
    QString description = caption;
    description.remove(QLatin1Char('&'));
    return [description, run](int id) {
        ActionScope action(QStringLiteral("ItemWindows"), QStringLiteral("ActionClick"), description);
        action.run([&] { run(id); });
    };
}

// The item's number, which printed pages are named after ("Chain of Custody - 2024-0015-01").
QString itemNumberOf(int id)
{
    const auto number
        = GetSQLValue(QStringLiteral("SELECT Item_Number FROM Items WHERE Item_ID = ") + QString::number(id));
    return number && !number->isNull() ? number->toString() : QString();
}

// The item's Actions menu, shared by the record window (the shown item) and the search window
// (the selected row).
template <typename Window> void addItemActions(Window& window)
{
    const auto add = [&window](const QString& caption, WindowActions::Run run) {
        window.addAction(caption, asAction(caption, std::move(run)));
    };
    const auto separator = [&window] { window.addAction(QStringLiteral("-"), {}); };
    const auto open = [](const QString& windowName, bool addMode) {
        return [windowName, addMode](int id) {
            if (addMode)
                OpenNewRecord(windowName, { { QStringLiteral("Item_ID"), id } });
            else
                OpenFormWithParams(windowName, 0, { QStringLiteral("Item_ID"), id });
        };
    };
    add(QStringLiteral("Print Item &Barcode"), [](int id) {
        const QString labels = QStringLiteral("Barcode Labels - Items");
        WordReport(labels, QStringLiteral("EXEC usp_Evd_Rep_Barcode_Label_Items @Item_ID = ") + QString::number(id),
            labels, true, itemNumberOf(id));
    });
    add(QStringLiteral("&Item History Report"), [](int id) {
        ShowCrystalReport(QStringLiteral("Item History.rpt"),
            QStringLiteral("EXEC usp_Evd_Rep_Item_History @Item_ID = ") + QString::number(id), itemNumberOf(id));
    });
    add(QStringLiteral("Chain of Custody &Report"), [](int id) {
        ShowCrystalReport(QStringLiteral("Chain of Custody.rpt"),
            QStringLiteral("EXEC usp_Evd_Rep_Item_Chain_Of_Custody @Item_ID = ") + QString::number(id),
            itemNumberOf(id));
    });
    separator();
    add(QStringLiteral("View Case"), [](int id) {
        const auto caseId
            = GetSQLValue(QStringLiteral("SELECT Case_ID FROM Items WHERE Item_ID = ") + QString::number(id));
        const int identity = caseId && !caseId->isNull() ? caseId->toInt() : 0;
        if (identity <= 0)
            return ShowRelatedRecordGone();
        OpenRecordForEdit(QStringLiteral("frmCase"), identity);
    });
    separator();
    add(QStringLiteral("View Item &Files"), open(QStringLiteral("frmItemFiles"), false));
    add(QStringLiteral("Add File to the Item"), open(QStringLiteral("frmItemFile"), true));
    separator();
    add(QStringLiteral("View Related Batches"), open(QStringLiteral("frmBatchItems"), false));
    add(QStringLiteral("Add Item to Batch"), open(QStringLiteral("frmBatchItem"), true));
    separator();
    add(QStringLiteral("View Notifications"), open(QStringLiteral("frmNotifications"), false));
    add(QStringLiteral("Create Notification"), open(QStringLiteral("frmNotification"), true));
    separator();
    add(QStringLiteral("View Actions"), open(QStringLiteral("frmItemActions"), false));
    add(QStringLiteral("Take Action"), open(QStringLiteral("frmItemAction"), true));
}

// The two location reports are offered but have no content yet.
template <typename Window> void addLocationActions(Window& window)
{
    for (const QString& caption : { QStringLiteral("Inventory Report for Location"),
             QStringLiteral("Inventory Report for Location and Sublocations") })
        window.addAction(caption, [](int) { ShowInfoMessage(QStringLiteral("Not Available")); });
}

// The fields each flag of a property type makes applicable.
struct Applicability {
    const char* flag;
    std::vector<const ControlHandle*> fields;
};
const std::vector<Applicability>& applicabilities()
{
    static const std::vector<Applicability> table = {
        { "Model_Applicable", { &ItemModel } },
        { "Year_Made_Applicable", { &ItemYearMade } },
        { "Color_Applicable", { &ItemColor } },
        { "Serial_Number_Applicable", { &ItemSerialNumber } },
        { "UPC_Applicable", { &ItemUpc } },
        { "Currency_Applicable", { &ItemCurrency, &ItemCurrencyTotal } },
        { "Weight_Applicable", { &ItemWeight, &ItemUnit } },
    };
    return table;
}

// The descriptive fields follow the chosen property type; no type, or a type that is gone, leaves
// them all applicable.
void applyPropertyType(DeclaredRecordWindow& window)
{
    zComboBoxText* type = ItemPropertyType.in(window);
    std::unique_ptr<Recordset> row;
    if (type->Value().toInt() > 0)
        row = OpenRecordset(QStringLiteral("SELECT * FROM Property_Types WHERE Property_Type_ID = ") + type->DBValue());
    const bool found = row && row->recordCount() > 0;
    for (const Applicability& rule : applicabilities()) {
        const bool applies = !found || row->value(QString::fromLatin1(rule.flag)).toBool();
        for (const ControlHandle* handle : rule.fields)
            static_cast<zFieldBase*>(handle->object(window))->setApplicable(applies); // every handle is a field
    }
}

// A chosen case fills an empty category from the case's default and an empty item number from the
// case's date; what the clerk entered is kept.
void applyCase(DeclaredRecordWindow& window)
{
    zComboBoxText* theCase = ItemCase.in(window);
    if (theCase->Value().toInt() <= 0)
        return;
    zComboBoxText* category = ItemCategory.in(window);
    if (category->Value().toInt() <= 0) {
        const auto value = GetSQLValue(
            QStringLiteral("SELECT Default_Property_Category_ID FROM Cases WHERE Case_ID = ") + theCase->DBValue());
        if (value && !value->isNull())
            category->setValue(value->toInt());
    }
    zFieldBase* number = ItemNumber.in(window);
    if (number->IsMissing()) {
        const auto value
            = GetSQLValue(QStringLiteral("SELECT Case_Date_Time FROM Cases WHERE Case_ID = ") + theCase->DBValue());
        if (value && !value->isNull()) {
            const QDateTime when = value->toDateTime();
            if (when.isValid())
                number->setValue(when.date().toString(QStringLiteral("yyyyMMdd")));
        }
    }
}

// The review date the database proposes for the type in the case; a date already there is kept.
void proposeReviewDate(DeclaredRecordWindow& window)
{
    zFieldBase* reviewDate = ItemReviewDate.in(window);
    zComboBoxText* type = ItemPropertyType.in(window);
    zComboBoxText* theCase = ItemCase.in(window);
    if (!reviewDate->IsMissing() || type->Value().toInt() <= 0 || theCase->Value().toInt() <= 0)
        return;
    const auto value = GetProcedureValue(QStringLiteral("usp_Evd_Get_Item_Review_Date"),
        { { QStringLiteral("Property_Type_ID"), type->DBArgument() }, { QStringLiteral("Case_ID"), theCase->DBArgument() } });
    if (value && !value->isNull())
        reviewDate->setValue(value->toDate().startOfDay());
}

void requirePair(zFieldBase* first, zFieldBase* second)
{
    first->setFinalValidation([first, second] {
        QString message = RequireEmptyDependency(first, second);
        if (message.isEmpty())
            message = RequireDependency(first, second);
        return message;
    });
}

void extendItemWindow(DeclaredRecordWindow& window)
{
    zComboBoxText* theCase = ItemCase.in(window);
    zComboBoxText* type = ItemPropertyType.in(window);
    zComboBoxText* model = ItemModel.in(window);
    // Clerks know an item by its number, and the messages about the record name it so.
    window.info()->setRecordNameColumn(QStringLiteral("Item_Number"));
    QObject::connect(theCase, &zComboBoxText::DropDownLostFocus, &window, [&window] { applyCase(window); });
    QObject::connect(type, &zFieldBase::Change, &window, [&window] { applyPropertyType(window); });
    QObject::connect(type, &zComboBoxText::DropDownLostFocus, &window, [&window] { proposeReviewDate(window); });
    // A type deleted while chosen would only fail at the database; say so at the field.
    type->setFinalValidation([type]() -> QString {
        if (type->Value().toInt() <= 0)
            return {};
        const auto found = GetSQLValue(
            QStringLiteral("SELECT Property_Type_ID FROM Property_Types WHERE Property_Type_ID = ") + type->DBValue());
        if (found && !found->isNull())
            return {};
        return type->GoodName() + QStringLiteral(" ") + type->Text() + QStringLiteral(" no longer exists");
    });
    QObject::connect(model, &zComboBoxText::DropDownLostFocus, &window, [model] {
        ResolveTypedName(
            model, QStringLiteral("Item_Models"), QStringLiteral("Item_Model_ID"), QStringLiteral("Item_Model_Name"));
    });
    requirePair(ItemCurrency.in(window), ItemCurrencyTotal.in(window));
    requirePair(ItemUnit.in(window), ItemWeight.in(window));
    addItemActions(window);
}

// A parent may be neither the record itself nor one of its descendants: the tree would close on
// itself. Walks up from the chosen parent; the walk is bounded so a cycle stored past the windows
// ends it too.
void refuseTreeCycles(DeclaredRecordWindow& window, const DeclaredControl<zComboBoxText>& picker, const QString& table,
    const QString& identityColumn, const QString& parentColumn, const QString& message)
{
    zComboBoxText* parent = picker.in(window);
    parent->setFinalValidation([&window, parent, table, identityColumn, parentColumn, message]() -> QString {
        const int self = window.identity()->Value();
        int current = parent->Value().toInt();
        if (self <= 0 || current <= 0)
            return {};
        QSet<int> seen;
        while (current > 0 && !seen.contains(current)) {
            if (current == self)
                return message;
            seen.insert(current);
            const auto up = GetSQLValue(QStringLiteral("SELECT ") + parentColumn + QStringLiteral(" FROM ") + table
                + QStringLiteral(" WHERE ") + identityColumn + QStringLiteral(" = ") + QString::number(current));
            current = up && !up->isNull() ? up->toInt() : 0;
        }
        return {};
    });
}

void extendItemModelWindow(DeclaredRecordWindow& window)
{
    zComboBoxText* parent = ParentModel.in(window);
    QObject::connect(parent, &zComboBoxText::DropDownLostFocus, &window, [parent] {
        ResolveTypedName(
            parent, QStringLiteral("Item_Models"), QStringLiteral("Item_Model_ID"), QStringLiteral("Item_Model_Name"));
    });
    refuseTreeCycles(window, ParentModel, QStringLiteral("Item_Models"), QStringLiteral("Item_Model_ID"),
        QStringLiteral("Parent_Item_Model_ID"),
        QStringLiteral("Parent Model cannot be the model itself or one of its submodels"));
}

void extendLocationWindow(DeclaredRecordWindow& window)
{
    zComboBoxText* parent = ParentLocation.in(window);
    // The picker reads "L-" codes and bare identities itself, before this look-up of the name.
    QObject::connect(parent, &zComboBoxText::DropDownLostFocus, &window, [parent] {
        ResolveTypedName(
            parent, QStringLiteral("Locations"), QStringLiteral("Location_ID"), QStringLiteral("Location_Name"));
    });
    refuseTreeCycles(window, ParentLocation, QStringLiteral("Locations"), QStringLiteral("Location_ID"),
        QStringLiteral("Parent_Location_ID"),
        QStringLiteral("Parent Location cannot be the location itself or one of its sublocations"));
    addLocationActions(window);
}

} // namespace

QString RequireEmptyDependency(zFieldBase* first, zFieldBase* second)
{
    if (!isEmpty(first) && isEmpty(second))
        return first->GoodName() + QStringLiteral(" cannot be populated if ") + second->GoodName()
            + QStringLiteral(" is empty");
    return {};
}

QString RequireDependency(zFieldBase* first, zFieldBase* second)
{
    if (isEmpty(first) && !isEmpty(second))
        return first->GoodName() + QStringLiteral(" is required if ") + second->GoodName()
            + QStringLiteral(" is populated");
    return {};
}

DeclaredTable ItemsTable()
{
    DeclaredTable items = DeclaredTable::of(QStringLiteral("Items"), QStringLiteral("Item_ID"),
        QStringLiteral("frmItem"), QStringLiteral("frmItems"), QStringLiteral("Item"), QStringLiteral("Items"));
    items.fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtCase"), QStringLiteral("Case_ID"), QStringLiteral("Case Number"),
            QStringLiteral("usp_Evd_DropDown_Cases"), QStringLiteral("Cases"))
            .required()
            .recordCodes(QLatin1Char('C'), true),
        DeclaredField::text(
            QStringLiteral("ztxtItemNumber"), QStringLiteral("Item_Number"), QStringLiteral("Item Number"))
            .required()
            .unique()
            .length(30),
        DeclaredField::pickerOf(QStringLiteral("zcbtStatus"), QStringLiteral("Item_Status_ID"),
            QStringLiteral("Item Status"), QStringLiteral("usp_Evd_DropDown_Item_Statuses"),
            QStringLiteral("Item_Statuses")),
        DeclaredField::memo(
            QStringLiteral("zmemDesc"), QStringLiteral("Item_Description"), QStringLiteral("Item Description"))
            .length(200),
        DeclaredField::pickerOf(QStringLiteral("zcbtPropertyCategory"), QStringLiteral("Property_Category_ID"),
            QStringLiteral("Property Category"), QStringLiteral("usp_Evd_DropDown_Property_Categories"),
            QStringLiteral("Property_Categories")),
        DeclaredField::pickerOf(QStringLiteral("zcbtPropertyType"), QStringLiteral("Property_Type_ID"),
            QStringLiteral("Property Type"), QStringLiteral("usp_Evd_DropDown_Property_Types"),
            QStringLiteral("Property_Types")),
        DeclaredField::pickerOf(QStringLiteral("zcbtModel"), QStringLiteral("Item_Model_ID"),
            QStringLiteral("Item Model"), QStringLiteral("usp_Evd_DropDown_Item_Models"), QStringLiteral("Item_Models"))
            .labelled(QStringLiteral("Manufacturer / Model:"))
            // What describes the item stands in a second column: in one the window is taller than
            // a screen.
            .inSecondColumn(),
        DeclaredField::number(QStringLiteral("znumYearMade"), QStringLiteral("Year_Made"), QStringLiteral("Year Made"))
            .decimals(0)
            .range(1800, 2050),
        DeclaredField::pickerOf(QStringLiteral("zcbtColor"), QStringLiteral("Item_Color_ID"), QStringLiteral("Color"),
            QStringLiteral("usp_Evd_DropDown_Colors_Items"), QStringLiteral("Colors")),
        DeclaredField::pickerOf(QStringLiteral("zcbtWarning"), QStringLiteral("Warning_Type_ID"),
            QStringLiteral("Warning"), QStringLiteral("usp_Evd_DropDown_Warning_Types"),
            QStringLiteral("Warning_Types")),
        DeclaredField::text(
            QStringLiteral("ztxtSerialNumber"), QStringLiteral("Serial_Number"), QStringLiteral("Serial Number"))
            .length(50),
        DeclaredField::number(QStringLiteral("znumItemUPN"), QStringLiteral("Item_UPN"), QStringLiteral("Item UPN"))
            .decimals(0)
            .range(0, 10000000)
            .minExcluded()
            .labelled(QStringLiteral("UPC/EAN:")),
        DeclaredField::pickerOf(QStringLiteral("zcbtCurrency"), QStringLiteral("Currency_Type_ID"),
            QStringLiteral("Currency"), QStringLiteral("usp_Evd_DropDown_Currency_Types"),
            QStringLiteral("Currency_Types")),
        DeclaredField::number(
            QStringLiteral("znumCurrencyTotal"), QStringLiteral("Currency_Total"), QStringLiteral("Currency Total"))
            .decimals(2)
            .range(0, 10000000)
            .minExcluded(),
        DeclaredField::number(
            QStringLiteral("znumWeight"), QStringLiteral("Item_Weight"), QStringLiteral("Item Weight"))
            .decimals(3)
            .range(0, 100000)
            .minExcluded()
            .maxExcluded()
            .labelled(QStringLiteral("Weight:")),
        DeclaredField::pickerOf(QStringLiteral("zcbtUnit"), QStringLiteral("Item_Weight_Unit_ID"),
            QStringLiteral("Weight Unit"), QStringLiteral("usp_Evd_DropDown_Units @Unit_Type_Code = 'W'"),
            QStringLiteral("Units"))
            .labelled(QString())
            .besideThePrevious(),
        dateOf(QStringLiteral("zdatDate"), QStringLiteral("Item_Review_Date"), QStringLiteral("Review Date")),
        DeclaredField::memo(QStringLiteral("zmemNotes"), QStringLiteral("Item_Notes"), QStringLiteral("Notes"))
            .length(200),
    };
    auto caseNumber = DeclaredField::pickerOf(QStringLiteral("zcbtCase"), QStringLiteral("Case_ID"),
        QStringLiteral("Case Number"), QStringLiteral("usp_Evd_DropDown_Cases"), QStringLiteral("Cases"))
                          .recordCodes(QLatin1Char('C'), true);
    items.criteria = {
        dateOf(QStringLiteral("zdatDate(0)"), QStringLiteral("Case_Date_From"), QStringLiteral("Case Date From")),
        dateOf(QStringLiteral("zdatDate(1)"), QStringLiteral("Case_Date_To"), QStringLiteral("Case Date To"))
            .labelled(QStringLiteral("To:")),
        caseNumber,
    };
    items.codePrefix = QLatin1Char('I');
    items.codeCaption = QStringLiteral("Item Barcode:");
    items.defaultValueTarget = QStringLiteral("ztxtItemNumber");
    items.populateOnStart = false;
    items.extendRecordWindow = extendItemWindow;
    items.extendSearchWindow = [](DeclaredSearchWindow& window) { addItemActions(window); };
    return items;
}

DeclaredTable ItemModelsTable()
{
    DeclaredTable models = DeclaredTable::of(QStringLiteral("Item_Models"), QStringLiteral("Item_Model_ID"),
        QStringLiteral("frmItemModel"), QStringLiteral("frmItemModels"), QStringLiteral("Item Model"),
        QStringLiteral("Item Models"));
    models.fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtParentModel"), QStringLiteral("Parent_Item_Model_ID"),
            QStringLiteral("Parent Model"), QStringLiteral("usp_Evd_DropDown_Item_Models"),
            QStringLiteral("Item_Models")),
        DeclaredField::text(
            QStringLiteral("ztxtName"), QStringLiteral("Item_Model_Name"), QStringLiteral("Item Model Name"))
            .required()
            .length(50),
        DeclaredField::text(
            QStringLiteral("ztxtCode"), QStringLiteral("Item_Model_Code"), QStringLiteral("Item Model Code"))
            .length(20),
    };
    models.criteria = { DeclaredField::text(
        QStringLiteral("ztxtItemModelName"), QStringLiteral("Item_Model_Name"), QStringLiteral("Item Model Name Like"))
                            .length(30) };
    models.populateOnStart = false;
    models.extendRecordWindow = extendItemModelWindow;
    return models;
}

DeclaredTable LocationsTable()
{
    DeclaredTable locations
        = DeclaredTable::of(QStringLiteral("Locations"), QStringLiteral("Location_ID"), QStringLiteral("frmLocation"),
            QStringLiteral("frmLocations"), QStringLiteral("Location"), QStringLiteral("Locations"));
    locations.fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtParentLocation"), QStringLiteral("Parent_Location_ID"),
            QStringLiteral("Parent Location"), QStringLiteral("usp_Evd_DropDown_Locations"),
            QStringLiteral("Locations"))
            .recordCodes(QLatin1Char('L'), true),
        DeclaredField::text(
            QStringLiteral("ztxtName"), QStringLiteral("Location_Name"), QStringLiteral("Location Name"))
            .required()
            .length(50),
        DeclaredField::text(
            QStringLiteral("ztxtCode"), QStringLiteral("Location_Code"), QStringLiteral("Location Code"))
            .required()
            .length(20),
    };
    locations.criteria = { DeclaredField::text(
        QStringLiteral("ztxtLocationName"), QStringLiteral("Location_Name"), QStringLiteral("Location Name Like"))
                               .length(30) };
    locations.codePrefix = QLatin1Char('L');
    locations.codeCaption = QStringLiteral("Location Barcode:");
    locations.populateOnStart = false;
    locations.extendRecordWindow = extendLocationWindow;
    locations.extendSearchWindow = [](DeclaredSearchWindow& window) { addLocationActions(window); };
    return locations;
}

void RegisterItemWindows()
{
    const DeclaredTable items = ItemsTable();
    FormRegistry::registerForm(items.recordWindow, [items] { return new DeclaredRecordWindow(items); });
    FormRegistry::registerForm(items.searchWindow, [items] { return new DeclaredSearchWindow(items); });
    const DeclaredTable models = ItemModelsTable();
    FormRegistry::registerForm(models.recordWindow, [models] { return new DeclaredRecordWindow(models); });
    FormRegistry::registerForm(models.searchWindow, [models] { return new DeclaredSearchWindow(models); });
    const DeclaredTable locations = LocationsTable();
    FormRegistry::registerForm(locations.recordWindow, [locations] { return new DeclaredRecordWindow(locations); });
    FormRegistry::registerForm(locations.searchWindow, [locations] { return new DeclaredSearchWindow(locations); });
}
