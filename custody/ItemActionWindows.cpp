#include "custody/CustodyWindows.h"
#include "custody/ItemActionProcedures.h"

#include "core/Actions.h"
#include "core/Database.h"
#include "core/MessageBoxes.h"
#include "core/Recordset.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "declared_windows/DeclaredTable.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/InsertOnce.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zLabel.h"
#include "list_controls/zComboBoxText.h"
#include "reference_tables/TableNames.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QPushButton>

// frmItemActionType(s), frmItemAction(s), frmItemLocation(s) and frmItemTransfer(s): what was
// done to property in custody, and the detail records (a transfer, an item location) that some
// actions carry.

namespace {

// The two dates of a search window: "<what> From" and "To", the "To" day included.
std::vector<DeclaredField> dateRange(const QString& what)
{
    const QString column = QString(what).replace(QLatin1Char(' '), QLatin1Char('_'));
    return {
        DeclaredField::recordDate(
            QStringLiteral("zdatDate(0)"), column + QStringLiteral("_Date_From"), what + QStringLiteral(" Date From")),
        DeclaredField::recordDate(
            QStringLiteral("zdatDate(1)"), column + QStringLiteral("_Date_To"), what + QStringLiteral(" Date To"))
            .labelled(QStringLiteral("To:")),
    };
}

// The controls the item action, item location and item transfer windows' hooks use.
const DeclaredControl<zFieldBase> ActionTypeNames[]
    = { { { "frmItemActionType" }, "ztxtName(0)" }, { { "frmItemActionType" }, "ztxtName(1)" } };
// Item, case and batch: the subject's option buttons, pickers and captions.
const DeclaredControl<QAbstractButton> SubjectOptions[] = { { { "frmItemAction" }, "optItemCase_0" },
    { { "frmItemAction" }, "optItemCase_1" }, { { "frmItemAction" }, "optItemCase_2" } };
const DeclaredControl<zComboBoxText> SubjectPickers[] = { { { "frmItemAction" }, "zcbtItem" },
    { { "frmItemAction" }, "zcbtCase" }, { { "frmItemAction" }, "zcbtBatch" } };
const DeclaredControl<zLabel> SubjectCaptions[] = { { { "frmItemAction" }, "zlblICB(0)" },
    { { "frmItemAction" }, "zlblICB(1)" }, { { "frmItemAction" }, "zlblICB(2)" } };
const DeclaredControl<zComboBoxText> ActionType { { "frmItemAction" }, "zcbtAction" };
const DeclaredControl<zFieldBase> ActionTypeDetails { { "frmItemAction" }, "ztxtMemo" };
const DeclaredControl<QPushButton> ActionNow { { "frmItemAction" }, "btnNow" };
const DeclaredControl<zFieldBase> ActionDate { { "frmItemAction" }, "zdatDateTime" };
const DeclaredControl<QPushButton> ActionDetails { { "frmItemAction" }, "btnDetails" };
const DeclaredControl<zComboBoxText> ActionEmployee { { "frmItemAction" }, "zcbtEmployee" };
const DeclaredControl<zComboBoxText> LocationOfItem { { "frmItemLocation" }, "zcbtLocation" };
const DeclaredControl<zComboBoxText> TransferAction { { "frmItemTransfer" }, "zcbtItemAction" };
// From and To.
const DeclaredControl<zComboBoxText> TransferLocations[]
    = { { { "frmItemTransfer" }, "zcbtLocation(0)" }, { { "frmItemTransfer" }, "zcbtLocation(1)" } };
const DeclaredControl<zComboBoxText> TransferEmployees[]
    = { { { "frmItemTransfer" }, "zcbtEmployee(0)" }, { { "frmItemTransfer" }, "zcbtEmployee(1)" } };
const DeclaredControl<zLabel> TransferEmployeeCaptions[]
    = { { { "frmItemTransfer" }, "zlblEmployee(0)" }, { { "frmItemTransfer" }, "zlblEmployee(1)" } };
// Out and In.
const DeclaredControl<zComboBoxText> TransferUnits[]
    = { { { "frmItemTransfer" }, "zcbtUnit(0)" }, { { "frmItemTransfer" }, "zcbtUnit(1)" } };
const DeclaredControl<zFieldBase> TransferWeights[]
    = { { { "frmItemTransfer" }, "znumWeight(0)" }, { { "frmItemTransfer" }, "znumWeight(1)" } };

bool pickerEmpty(const zComboBoxText* picker) { return picker->Text().isEmpty() || picker->Value().toInt() <= 0; }

// An entry run as an action of its own: a failure is reported as "Unable to <entry>" and the
// window stays usable.
WindowActions::Run asAction(const QString& caption, WindowActions::Run run)
{
    QString description = caption;
    description.remove(QLatin1Char('&'));
    return [description, run](int id) {
        ActionScope action(QStringLiteral("ItemActionWindows"), QStringLiteral("ActionClick"), description);
        action.run([&] { run(id); });
    };
}

void openForEdit(const QString& windowName, int identity)
{
    OpenRecordForEdit(windowName, identity);
}

// Opens the item, case or batch of the query's first row: the first of the three columns that is
// filled decides. No row, or none filled, opens nothing.
void openSubject(const QString& query)
{
    std::unique_ptr<Recordset> row = OpenRecordset(query);
    if (!row || row->recordCount() == 0)
        return;
    const struct {
        const char* column;
        const char* window;
    } subjects[] = { { "Item_ID", "frmItem" }, { "Case_ID", "frmCase" }, { "Batch_ID", "frmBatch" } };
    for (const auto& subject : subjects) {
        const QVariant value = row->value(QString::fromLatin1(subject.column));
        if (!value.isNull()) {
            const int identity = value.toInt();
            CloseRecordset(row);
            openForEdit(QString::fromLatin1(subject.window), identity);
            return;
        }
    }
    CloseRecordset(row);
}

// "View Action" of a detail record: the item action it belongs to.
WindowActions::Run viewAction(const QString& detailTable, const QString& identity)
{
    return [detailTable, identity](int id) {
        const auto action = GetSQLValue(QStringLiteral("SELECT Item_Action_ID FROM ") + detailTable
            + QStringLiteral(" WHERE ") + identity + QStringLiteral(" = ") + QString::number(id));
        if (!action || action->isNull() || action->toInt() <= 0)
            return;
        openForEdit(QStringLiteral("frmItemAction"), action->toInt());
    };
}

// "View Item / Case / Batch" of a detail record, through its item action.
WindowActions::Run viewDetailSubject(const QString& detailTable, const QString& alias, const QString& identity)
{
    return [=](int id) {
        openSubject(QStringLiteral("SELECT Item_ID, Case_ID, Batch_ID\r\nFROM ") + detailTable + QLatin1Char(' ')
            + alias + QStringLiteral("\r\nJOIN Item_Actions ia ON ia.Item_Action_ID = ") + alias
            + QStringLiteral(".Item_Action_ID\r\nWHERE ") + identity + QStringLiteral(" = ") + QString::number(id));
    };
}

template <typename Window>
void addDetailActions(Window& window, const QString& table, const QString& alias, const QString& identity)
{
    window.addAction(
        QStringLiteral("View Action"), asAction(QStringLiteral("View Action"), viewAction(table, identity)));
    window.addAction(QStringLiteral("-"), {});
    window.addAction(QStringLiteral("View Item / Case / Batch"),
        asAction(QStringLiteral("View Item / Case / Batch"), viewDetailSubject(table, alias, identity)));
}

// A location picker takes a typed "L-" code or number (the picker's own rule), then a name.
void resolveLocationNames(DeclaredRecordWindow& window, zComboBoxText* location)
{
    QObject::connect(location, &zComboBoxText::DropDownLostFocus, &window, [location] {
        ResolveTypedName(
            location, QStringLiteral("Locations"), QStringLiteral("Location_ID"), QStringLiteral("Location_Name"));
    });
}

// ---- Item action types ---------------------------------------------------------------------

DeclaredTable itemActionTypes()
{
    DeclaredTable types = DeclaredTable::of(QStringLiteral("Item_Action_Types"), QStringLiteral("Item_Action_Type_ID"),
        QStringLiteral("frmItemActionType"), QStringLiteral("frmItemActionTypes"), QStringLiteral("Item Action Type"),
        QStringLiteral("Item Action Types"));
    types.defaultValueTarget.clear();
    types.populateOnStart = false;
    types.fields = {
        DeclaredField::text(QStringLiteral("ztxtName(0)"), QStringLiteral("Item_Action_Type_Name_Present"),
            QStringLiteral("Item Action Type Name - Present Tense"))
            .required()
            .length(50)
            .labelled(QStringLiteral("Action - Present:")),
        DeclaredField::text(QStringLiteral("ztxtName(1)"), QStringLiteral("Item_Action_Type_Name_Past"),
            QStringLiteral("Item Action Type Name - Past Tense"))
            .required()
            .length(50)
            .labelled(QStringLiteral("Action - Past Tense:")),
        DeclaredField::text(QStringLiteral("ztxtCode"), QStringLiteral("Item_Action_Type_Code"),
            QStringLiteral("Item Action Type Code"))
            .required()
            .length(10)
            .labelled(QStringLiteral("Action Type Code:")),
        DeclaredField::text(QStringLiteral("ztxtDatePreposition"), QStringLiteral("Item_Action_Date_Preposition"),
            QStringLiteral("Date Preposition"))
            .length(10),
        DeclaredField::pickerOf(QStringLiteral("zcbtChain"), QStringLiteral("Item_Action_Time_ID"),
            QStringLiteral("Chain Position"), QStringLiteral("usp_Evd_DropDown_Item_Action_Times"),
            QStringLiteral("Item_Action_Times"))
            .required()
            .withoutButton(),
        DeclaredField::number(
            QStringLiteral("znumSortOrder"), QStringLiteral("Item_Action_Type_Order"), QStringLiteral("Sort Order"))
            .range(1, 30000),
        DeclaredField::pickerOf(QStringLiteral("zcbtTable"), QStringLiteral("Related_DB_Table_ID"),
            QStringLiteral("Related Table"), QStringLiteral("usp_DB_Combo_DB_Tables"), QStringLiteral("DB_Tables"))
            .withoutButton()
            .withPickerSetUp(ResolveTypedTableNames),
        DeclaredField::text(QStringLiteral("ztxtComments"), QStringLiteral("Comments"), QStringLiteral("Comments"))
            .length(50),
    };
    types.criteria = {
        DeclaredField::text(QStringLiteral("ztxtName"), QStringLiteral("Item_Action_Type_Name"),
            QStringLiteral("Action Type Name Like"))
            .length(50),
    };
    // A type typed into a picker and added from there: the text is both of its names.
    types.defaultValueHandler = [](DeclaredRecordWindow& window, const QString& text) {
        ActionTypeNames[0].in(window)->setValue(text);
        ActionTypeNames[1].in(window)->setValue(text);
    };
    return types;
}

// ---- Item actions --------------------------------------------------------------------------

const QString kSaveFirst = QStringLiteral("Please save the record before creating details.");
const QString kNoDetails = QStringLiteral("No details logic associated with this type of action.");

// Opens the detail record of an action: the existing one for editing, or a new one with the
// action filled in. The action's type names the table that keeps its details.
void openDetails(int actionId)
{
    if (actionId <= 0) {
        ShowInfoMessage(kSaveFirst);
        return;
    }
    std::unique_ptr<Recordset> row
        = CallProcedure(QStringLiteral("usp_Evd_Get_Item_Action_Details"), { { QStringLiteral("Item_Action_ID"), actionId } });
    if (!row)
        return;
    const QVariant table = row->recordCount() > 0 ? row->value(0) : QVariant();
    const QVariant detail = row->recordCount() > 0 ? row->value(1) : QVariant();
    CloseRecordset(row);
    if (table.isNull()) {
        ShowInfoMessage(kNoDetails);
        return;
    }
    QString window;
    if (table.toString().compare(QLatin1String("Item_Transfers"), Qt::CaseInsensitive) == 0)
        window = QStringLiteral("frmItemTransfer");
    else if (table.toString().compare(QLatin1String("Item_Locations"), Qt::CaseInsensitive) == 0)
        window = QStringLiteral("frmItemLocation");
    if (window.isEmpty()) {
        ShowInfoMessage(kNoDetails);
        return;
    }
    if (!detail.isNull() && detail.toInt() > 0)
        openForEdit(window, detail.toInt());
    else
        OpenNewRecord(window, { { QStringLiteral("Item_Action_ID"), actionId } });
}

template <typename Window> void addItemActionActions(Window& window, WindowActions::Run details)
{
    window.addAction(QStringLiteral("&View Details"), asAction(QStringLiteral("&View Details"), std::move(details)));
    window.addAction(QStringLiteral("-"), {});
    window.addAction(
        QStringLiteral("View Item / Case / Batch"), asAction(QStringLiteral("View Item / Case / Batch"), [](int id) {
            openSubject(QStringLiteral("SELECT Item_ID, Case_ID, Batch_ID FROM Item_Actions WHERE Item_Action_ID = ")
                + QString::number(id));
        }));
}

constexpr int kSubjects = 3;

// The chosen subject option makes its picker (and caption) the one in use; the other two keep no
// value, are not checked and save NULL.
void applySubject(DeclaredRecordWindow& window)
{
    for (int i = 0; i < kSubjects; ++i)
        SubjectPickers[i].in(window)->setApplicable(SubjectOptions[i].in(window)->isChecked());
    for (int i = 0; i < kSubjects; ++i)
        SubjectCaptions[i].in(window)->setApplicable(SubjectOptions[i].in(window)->isChecked());
}

// The type details memo follows every change of the action picker.
void showTypeDetails(DeclaredRecordWindow& window)
{
    const int type = ActionType.in(window)->Value().toInt();
    zFieldBase* memo = ActionTypeDetails.in(window);
    if (type < 1) {
        memo->setValue(QString());
        return;
    }
    const auto details = GetProcedureValue(
        QStringLiteral("usp_Evd_Get_Item_Action_Type_Details"), { { QStringLiteral("Item_Action_Type_ID"), type } });
    memo->setValue(details && !details->isNull() ? details->toString().trimmed() : QString());
}

void extendItemActionWindow(DeclaredRecordWindow& window)
{
    for (const auto& option : SubjectOptions)
        QObject::connect(option.in(window), &QAbstractButton::toggled, &window, [&window] { applySubject(window); });
    applySubject(window);
    auto* action = ActionType.in(window);
    QObject::connect(action, &zFieldBase::Change, &window, [&window] { showTypeDetails(window); });
    zFieldBase* date = ActionDate.in(window);
    QObject::connect(
        ActionNow.in(window), &QPushButton::clicked, &window, [date] { date->setValue(QDateTime::currentDateTime()); });
    QObject::connect(ActionDetails.in(window), &QPushButton::clicked, &window,
        [&window] { openDetails(window.identity()->Value()); });
    auto* employee = ActionEmployee.in(window);
    QObject::connect(employee, &zComboBoxText::DropDownLostFocus, &window, [employee] { ResolveEmployee(employee); });
    addItemActionActions(window, openDetails);
    InsertOnce(*window.info(), QStringLiteral("Item_Action_Key"));
}

// A stored action's subject is chosen before the fields are filled, so its picker is in use when
// it receives its value. Rows written past the window may name more than one: the last filled of
// item, case and batch wins.
void restoreSubject(DeclaredRecordWindow& window, Recordset& row)
{
    int chosen = -1;
    for (int i = 0; i < kSubjects; ++i) {
        const QVariant value = row.value(SubjectPickers[i].in(window)->DBFieldName());
        if (!value.isNull() && value.toInt() != 0)
            chosen = i;
    }
    if (chosen < 0)
        return;
    SubjectOptions[chosen].in(window)->setChecked(true);
    applySubject(window);
}

std::vector<DeclaredField> subjectPickers(bool recordWindow)
{
    std::vector<DeclaredField> pickers = {
        DeclaredField::pickerOf(QStringLiteral("zcbtItem"), QStringLiteral("Item_ID"), QStringLiteral("Item Number"),
            QStringLiteral("usp_Evd_DropDown_Items"), QStringLiteral("Items"))
            .recordCodes(QLatin1Char('I'), true),
        DeclaredField::pickerOf(QStringLiteral("zcbtCase"), QStringLiteral("Case_ID"), QStringLiteral("Case Number"),
            QStringLiteral("usp_Evd_DropDown_Cases"), QStringLiteral("Cases"))
            .recordCodes(QLatin1Char('C'), true),
        DeclaredField::pickerOf(QStringLiteral("zcbtBatch"), QStringLiteral("Batch_ID"), QStringLiteral("Batch Number"),
            QStringLiteral("usp_Evd_DropDown_Batches"), QStringLiteral("Batches"))
            .recordCodes(QLatin1Char('B'), true),
    };
    if (recordWindow) {
        for (size_t i = 0; i < pickers.size(); ++i) {
            pickers[i].required().labelled(pickers[i].label, QStringLiteral("zlblICB(%1)").arg(i));
            if (i > 0)
                pickers[i].notApplicableAtStart();
        }
    }
    return pickers;
}

DeclaredTable itemActions()
{
    DeclaredTable actions = DeclaredTable::of(QStringLiteral("Item_Actions"), QStringLiteral("Item_Action_ID"),
        QStringLiteral("frmItemAction"), QStringLiteral("frmItemActions"), QStringLiteral("Item Action"),
        QStringLiteral("Item Actions"));
    actions.defaultValueTarget.clear();
    actions.populateOnStart = false;
    // Opened for a new action with an item, a case or a batch, the action starts on that subject.
    actions.presetOptions = { { QStringLiteral("Item_ID"), &SubjectOptions[0] },
        { QStringLiteral("Case_ID"), &SubjectOptions[1] }, { QStringLiteral("Batch_ID"), &SubjectOptions[2] } };
    actions.fields.push_back(DeclaredField::options(QStringLiteral("fraItemCase"), QString(),
        { { QStringLiteral("optItemCase_0"), QStringLiteral("Item") },
            { QStringLiteral("optItemCase_1"), QStringLiteral("All Items in Case") },
            { QStringLiteral("optItemCase_2"), QStringLiteral("All Items in Batch") } }));
    for (const DeclaredField& picker : subjectPickers(true))
        actions.fields.push_back(picker);
    actions.fields.push_back(DeclaredField::pickerOf(QStringLiteral("zcbtAction"),
        QStringLiteral("Item_Action_Type_ID"), QStringLiteral("Action"),
        QStringLiteral("usp_Evd_DropDown_Item_Action_Types"), QStringLiteral("Item_Action_Types"))
                                 .required()
                                 .withButton(QStringLiteral("btnDetails"), QStringLiteral("&Details")));
    actions.fields.push_back(
        DeclaredField::pickerOf(QStringLiteral("zcbtEmployee"), QStringLiteral("Performed_By_Employee_ID"),
            QStringLiteral("Performed By"), QStringLiteral("usp_Evd_DropDown_Employees"), QStringLiteral("Employees"))
            .required());
    actions.fields.push_back(DeclaredField::recordDate(
        QStringLiteral("zdatDateTime"), QStringLiteral("Item_Action_Date_Time"), QStringLiteral("Action Date & Time"))
                                 .required()
                                 .withTime()
                                 .labelled(QStringLiteral("Action Date && Time:"))
                                 .withButton(QStringLiteral("btnNow"), QStringLiteral("<= Now")));
    actions.fields.push_back(DeclaredField::memo(
        QStringLiteral("zmemDescription"), QStringLiteral("Item_Action_Description"), QStringLiteral("Description"))
                                 .length(200));
    // Captioned, so the clerk sees what the read-only box shows; a box of lines that wrap, as the
    // summary (names, code, chain, details table and comments) is longer than a line.
    actions.fields.push_back(DeclaredField::memo(QStringLiteral("ztxtMemo"), QString(), QStringLiteral("Type Details"))
                                 .notStored()
                                 .locked());
    actions.criteria = dateRange(QStringLiteral("Action"));
    for (const DeclaredField& picker : subjectPickers(false))
        actions.criteria.push_back(picker);
    actions.extendRecordWindow = extendItemActionWindow;
    actions.rowLoaded = restoreSubject;
    return actions;
}

class frmItemActions : public DeclaredSearchWindow {
public:
    frmItemActions()
        : DeclaredSearchWindow(itemActions())
    {
        addItemActionActions(*this, openDetails);
    }

    // Details keep their message with no row selected: there is no saved action to detail.
    void addAction(const QString& caption, WindowActions::Run run)
    {
        const bool details = caption == QLatin1String("&View Details");
        DeclaredSearchWindow::addAction(
            caption, std::move(run), details ? WindowActions::Needs::Nothing : WindowActions::Needs::Record);
    }
};

// ---- Item locations ------------------------------------------------------------------------

DeclaredTable itemLocations()
{
    DeclaredTable locations = DeclaredTable::of(QStringLiteral("Item_Locations"), QStringLiteral("Item_Location_ID"),
        QStringLiteral("frmItemLocation"), QStringLiteral("frmItemLocations"), QStringLiteral("Item Location"),
        QStringLiteral("Item Locations"));
    locations.defaultValueTarget.clear();
    locations.populateOnStart = false;
    locations.fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtItemAction"), QStringLiteral("Item_Action_ID"),
            QStringLiteral("Item Action"), QStringLiteral("usp_Evd_DropDown_Item_Actions_Locations"),
            QStringLiteral("Item_Actions"))
            .required()
            .unique(),
        DeclaredField::pickerOf(QStringLiteral("zcbtLocation"), QStringLiteral("Location_ID"),
            QStringLiteral("Location"), QStringLiteral("usp_Evd_DropDown_Locations"), QStringLiteral("Locations"))
            .required()
            .recordCodes(QLatin1Char('L'), true),
    };
    locations.criteria = dateRange(QStringLiteral("Action"));
    locations.extendRecordWindow = [](DeclaredRecordWindow& window) {
        InsertOnce(*window.info(), QStringLiteral("Item_Location_Key"));
        resolveLocationNames(window, LocationOfItem.in(window));
        addDetailActions(
            window, QStringLiteral("Item_Locations"), QStringLiteral("il"), QStringLiteral("Item_Location_ID"));
    };
    locations.extendSearchWindow = [](DeclaredSearchWindow& window) {
        addDetailActions(
            window, QStringLiteral("Item_Locations"), QStringLiteral("il"), QStringLiteral("Item_Location_ID"));
    };
    return locations;
}

// ---- Item transfers ------------------------------------------------------------------------

// The chain position of the chosen action decides which employees take part; an unknown answer
// (or none) leaves them as the last known answer set them.
void applyChainPosition(DeclaredRecordWindow& window)
{
    const int action = TransferAction.in(window)->Value().toInt();
    if (action <= 0)
        return;
    const auto answer = GetProcedureValue(
        QStringLiteral("usp_Evd_Get_Chain_Position_From_Action"), { { QStringLiteral("Item_Action_ID"), action } });
    if (!answer || answer->isNull())
        return;
    const QString code = answer->toString().trimmed();
    const bool beginning = code.compare(QLatin1String("BC"), Qt::CaseInsensitive) == 0;
    const bool middle = code.compare(QLatin1String("MC"), Qt::CaseInsensitive) == 0;
    const bool end = code.compare(QLatin1String("EC"), Qt::CaseInsensitive) == 0;
    if (!beginning && !middle && !end)
        return;
    const bool from = !beginning;
    const bool to = !end;
    TransferEmployees[0].in(window)->setApplicable(from);
    TransferEmployeeCaptions[0].in(window)->setApplicable(from);
    TransferEmployees[1].in(window)->setApplicable(to);
    TransferEmployeeCaptions[1].in(window)->setApplicable(to);
}

// A new transfer starts from where its subject was last put: the empty From fields take that
// location and employee. A From field already chosen is never overwritten; a stored transfer
// keeps its From fields.
void fillFromLastLocation(DeclaredRecordWindow& window)
{
    if (window.info()->Mode() == FormMode::Edit)
        return;
    const int action = TransferAction.in(window)->Value().toInt();
    if (action <= 0)
        return;
    zComboBoxText* location = TransferLocations[0].in(window);
    zComboBoxText* employee = TransferEmployees[0].in(window);
    if (!pickerEmpty(location) && !pickerEmpty(employee))
        return;
    std::unique_ptr<Recordset> row = CallProcedure(
        QStringLiteral("usp_Evd_Get_Last_Location_For_Action"), { { QStringLiteral("Item_Action_ID"), action } });
    if (!row)
        return;
    if (row->recordCount() > 0) {
        const QVariant lastLocation = row->value(QStringLiteral("Location_ID"));
        const QVariant lastEmployee = row->value(QStringLiteral("Employee_ID"));
        if (pickerEmpty(location) && !lastLocation.isNull())
            location->setValue(lastLocation);
        if (pickerEmpty(employee) && !lastEmployee.isNull())
            employee->setValue(lastEmployee);
    }
    CloseRecordset(row);
}

// A weight and its unit come together; the message stands on the unit.
void requireWeightPair(zComboBoxText* unit, zFieldBase* weight)
{
    unit->setFinalValidation([unit, weight]() -> QString {
        const bool unitEmpty = pickerEmpty(unit);
        const bool weightEmpty = weight->IsMissing();
        if (!unitEmpty && weightEmpty)
            return unit->GoodName() + QStringLiteral(" cannot be populated if ") + weight->GoodName()
                + QStringLiteral(" is empty");
        if (unitEmpty && !weightEmpty)
            return unit->GoodName() + QStringLiteral(" is required if ") + weight->GoodName()
                + QStringLiteral(" is populated");
        return {};
    });
}

void extendItemTransferWindow(DeclaredRecordWindow& window)
{
    InsertOnce(*window.info(), QStringLiteral("Item_Transfer_Key"));
    auto* action = TransferAction.in(window);
    QObject::connect(action, &zFieldBase::Change, &window, [&window] { applyChainPosition(window); });
    QObject::connect(action, &zComboBoxText::DropDownLostFocus, &window, [&window] { fillFromLastLocation(window); });
    for (int i = 0; i < 2; ++i) {
        resolveLocationNames(window, TransferLocations[i].in(window));
        auto* employee = TransferEmployees[i].in(window);
        QObject::connect(
            employee, &zComboBoxText::DropDownLostFocus, &window, [employee] { ResolveEmployee(employee); });
        requireWeightPair(TransferUnits[i].in(window), TransferWeights[i].in(window));
    }
    addDetailActions(
        window, QStringLiteral("Item_Transfers"), QStringLiteral("it"), QStringLiteral("Item_Transfer_ID"));
}

DeclaredTable itemTransfers()
{
    DeclaredTable transfers = DeclaredTable::of(QStringLiteral("Item_Transfers"), QStringLiteral("Item_Transfer_ID"),
        QStringLiteral("frmItemTransfer"), QStringLiteral("frmItemTransfers"), QStringLiteral("Item Transfer"),
        QStringLiteral("Item Transfers"));
    transfers.defaultValueTarget.clear();
    transfers.populateOnStart = false;
    transfers.fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtItemAction"), QStringLiteral("Item_Action_ID"),
            QStringLiteral("Item Action"), QStringLiteral("usp_Evd_DropDown_Item_Actions_Transfers"),
            QStringLiteral("Item_Actions"))
            .required()
            .unique(),
    };
    const char* ends[] = { "From", "To" };
    for (int i = 0; i < 2; ++i) {
        const QString end = QString::fromLatin1(ends[i]);
        transfers.fields.push_back(DeclaredField::pickerOf(QStringLiteral("zcbtLocation(%1)").arg(i),
            end + QStringLiteral("_Location_ID"), end + QStringLiteral(" Location"),
            QStringLiteral("usp_Evd_DropDown_Locations"), QStringLiteral("Locations"))
                                       .required()
                                       .recordCodes(QLatin1Char('L'), true));
    }
    for (int i = 0; i < 2; ++i) {
        const QString end = QString::fromLatin1(ends[i]);
        transfers.fields.push_back(
            DeclaredField::pickerOf(QStringLiteral("zcbtEmployee(%1)").arg(i), end + QStringLiteral("_Employee_ID"),
                end + QStringLiteral(" Employee"), QStringLiteral("usp_Evd_DropDown_Employees"),
                QStringLiteral("Employees"))
                .required()
                .labelled(end + QStringLiteral(" Employee:"), QStringLiteral("zlblEmployee(%1)").arg(i)));
    }
    const char* directions[] = { "Out", "In" };
    for (int i = 0; i < 2; ++i) {
        const QString direction = QString::fromLatin1(directions[i]);
        transfers.fields.push_back(DeclaredField::number(QStringLiteral("znumWeight(%1)").arg(i),
            QStringLiteral("Item_Weight_") + direction, QStringLiteral("Item Weight ") + direction)
                                       .range(0, 100000)
                                       .minExcluded()
                                       .maxExcluded()
                                       .decimals(3)
                                       .labelled(QStringLiteral("Weight ") + direction + QStringLiteral(":")));
        transfers.fields.push_back(DeclaredField::pickerOf(QStringLiteral("zcbtUnit(%1)").arg(i),
            QStringLiteral("Item_Weight_") + direction + QStringLiteral("_Unit_ID"),
            QStringLiteral("Weight ") + direction + QStringLiteral(" Unit"),
            QStringLiteral("usp_Evd_DropDown_Units @Unit_Type_Code = 'W'"), QStringLiteral("Units"))
                                       .labelled(QString())
                                       .besideThePrevious());
    }
    transfers.criteria = dateRange(QStringLiteral("Transfer"));
    transfers.extendRecordWindow = extendItemTransferWindow;
    transfers.extendSearchWindow = [](DeclaredSearchWindow& window) {
        addDetailActions(
            window, QStringLiteral("Item_Transfers"), QStringLiteral("it"), QStringLiteral("Item_Transfer_ID"));
    };
    return transfers;
}

template <typename Search = DeclaredSearchWindow> void registerPair(const DeclaredTable& table)
{
    FormRegistry::registerForm(table.recordWindow, [table] { return new DeclaredRecordWindow(table); });
    FormRegistry::registerForm(table.searchWindow, [table] { return new Search(table); });
}

} // namespace

std::vector<DeclaredTable> ItemActionTables()
{
    return { itemActionTypes(), itemActions(), itemLocations(), itemTransfers() };
}

void RegisterItemActionWindows()
{
    RegisterItemActionProcedures();
    registerPair(itemActionTypes());
    registerPair(itemLocations());
    registerPair(itemTransfers());
    const DeclaredTable actions = itemActions();
    FormRegistry::registerForm(actions.recordWindow, [actions] { return new DeclaredRecordWindow(actions); });
    FormRegistry::registerForm(actions.searchWindow, [] { return new frmItemActions; });
}
