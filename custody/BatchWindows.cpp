#include "custody/BatchWindows.h"

#include "cases/PeopleWindows.h"
#include "core/Actions.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "custody/CustodyWindows.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "exports/MailMerge.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zLabel.h"
#include "list_controls/zComboBoxText.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QPushButton>

namespace {

DeclaredField dateTimeField(const QString& control, const QString& column, const QString& goodName)
{
    return DeclaredField::recordDate(control, column, goodName).withTime();
}

DeclaredField batchPicker()
{
    return DeclaredField::pickerOf(QStringLiteral("zcbtBatch"), QStringLiteral("Batch_ID"),
        QStringLiteral("Batch Number"), QStringLiteral("usp_Evd_DropDown_Batches"), QStringLiteral("Batches"))
        .recordCodes(QLatin1Char('B'), true);
}

DeclaredField itemPicker()
{
    return DeclaredField::pickerOf(QStringLiteral("zcbtItem"), QStringLiteral("Item_ID"), QStringLiteral("Item Number"),
        QStringLiteral("usp_Evd_DropDown_Items"), QStringLiteral("Items"))
        .recordCodes(QLatin1Char('I'), true);
}

DeclaredField casePicker()
{
    return DeclaredField::pickerOf(QStringLiteral("zcbtCase"), QStringLiteral("Case_ID"), QStringLiteral("Case Number"),
        QStringLiteral("usp_Evd_DropDown_Cases"), QStringLiteral("Cases"))
        .recordCodes(QLatin1Char('C'), true);
}

// An entry run as an action of its own: a failure (a window not available yet) is reported as
// "Unable to <entry>" and the window stays usable.
WindowActions::Run asAction(const QString& caption, WindowActions::Run run)
{
    QString description = caption;
    description.remove(QLatin1Char('&'));
    return [description, run](int id) {
        ActionScope action(QStringLiteral("BatchWindows"), QStringLiteral("ActionClick"), description);
        action.run([&] { run(id); });
    };
}

// The batch's Actions menu, shared by the record window (the shown batch) and the search window
// (the selected row).
template <typename Window> void addBatchActions(Window& window)
{
    const auto add = [&window](const QString& caption, WindowActions::Run run) {
        window.addAction(caption, asAction(caption, std::move(run)));
    };
    // The labels open in the word processor for the user rather than going to the printer.
    const auto labels = [](const QString& templateName, const QString& procedure) {
        return [templateName, procedure](int id) {
            // Printed pages are named after the labels and the batch ("Barcode Labels - Items - BOX-1").
            const auto number = GetSQLValue(
                QStringLiteral("SELECT Batch_Number FROM Batches WHERE Batch_ID = ") + QString::number(id));
            WordReport(templateName,
                QStringLiteral("EXEC ") + procedure + QStringLiteral(" @Batch_ID = ") + QString::number(id),
                templateName, true, number && !number->isNull() ? number->toString() : QString());
        };
    };
    add(QStringLiteral("Print &Batch Barcode"),
        labels(QStringLiteral("Barcode Labels - Batches"), QStringLiteral("usp_Evd_Rep_Barcode_Label_Batches")));
    add(QStringLiteral("Print Ca&se Barcodes for Batch"),
        labels(QStringLiteral("Barcode Labels - Cases"), QStringLiteral("usp_Evd_Rep_Barcode_Label_Cases")));
    add(QStringLiteral("Print &Item Barcodes for Batch"),
        labels(QStringLiteral("Barcode Labels - Items"), QStringLiteral("usp_Evd_Rep_Barcode_Label_Items")));
    window.addAction(QStringLiteral("-"), {});
    add(QStringLiteral("View Batch Items"), [](int id) {
        OpenFormWithParams(QStringLiteral("frmBatchItems"), 0, { QStringLiteral("Batch_ID"), id });
    });
    add(QStringLiteral("Add Item to the Batch"), [](int id) {
        OpenNewRecord(QStringLiteral("frmBatchItem"), { { QStringLiteral("Batch_ID"), id } });
    });
    window.addAction(QStringLiteral("-"), {});
    add(QStringLiteral("View Actions"), [](int id) {
        OpenFormWithParams(QStringLiteral("frmItemActions"), 0, { QStringLiteral("Batch_ID"), id });
    });
    add(QStringLiteral("Take Action"), [](int id) {
        OpenNewRecord(QStringLiteral("frmItemAction"), { { QStringLiteral("Batch_ID"), id } });
    });
}

void openForEdit(const QString& windowName, int identity)
{
    OpenRecordForEdit(windowName, identity);
}

// The batch item's Actions menu, the same in all four windows. A batch, item or case that is gone
// opens nothing.
template <typename Window> void addBatchItemActions(Window& window)
{
    const auto add = [&window](const QString& caption, WindowActions::Run run) {
        window.addAction(caption, asAction(caption, std::move(run)));
    };
    add(QStringLiteral("View Batch"), [](int id) {
        const auto batch = GetSQLValue(
            QStringLiteral("SELECT Batch_ID FROM Batch_Items WHERE Batch_Item_ID = ") + QString::number(id));
        if (!batch || batch->isNull() || batch->toInt() <= 0)
            return ShowRelatedRecordGone();
        openForEdit(QStringLiteral("frmBatch"), batch->toInt());
    });
    window.addAction(QStringLiteral("-"), {});
    add(QStringLiteral("View Item / Case"), [](int id) {
        auto row = OpenRecordset(
            QStringLiteral("SELECT Case_ID, Item_ID FROM Batch_Items WHERE Batch_Item_ID = ") + QString::number(id));
        if (!row)
            return;
        if (row->recordCount() == 0)
            return ShowRelatedRecordGone();
        const QVariant caseId = row->value(QStringLiteral("Case_ID"));
        const QVariant itemId = row->value(QStringLiteral("Item_ID"));
        // A case membership opens the case whatever the item column holds.
        if (!caseId.isNull() && caseId.toInt() > 0)
            return openForEdit(QStringLiteral("frmCase"), caseId.toInt());
        if (!itemId.isNull() && itemId.toInt() > 0)
            return openForEdit(QStringLiteral("frmItem"), itemId.toInt());
        ShowRelatedRecordGone();
    });
}

// The controls the batch and batch-item windows' hooks use.
const DeclaredControl<QPushButton> BatchNow { { "frmBatch" }, "btnNow" };
const DeclaredControl<zFieldBase> BatchCreated { { "frmBatch" }, "zdatCreatedDateTime" };
const DeclaredControl<zComboBoxText> BatchEmployee { { "frmBatch" }, "zcbtEmployee" };
const DeclaredControl<zComboBoxText> MemberBatch { { "frmBatchItem", "frmBatchItemAdv" }, "zcbtBatch" };
const DeclaredControl<zComboBoxText> MemberItem { { "frmBatchItem", "frmBatchItemAdv" }, "zcbtItem" };
const DeclaredControl<zComboBoxText> MemberCase { { "frmBatchItem", "frmBatchItemAdv" }, "zcbtCase" };
// "Item" and "All Items in Case", and the captions of the item and case pickers.
const DeclaredControl<QAbstractButton> MemberOptions[] = { { { "frmBatchItem", "frmBatchItemAdv" }, "optItemCase_0" },
    { { "frmBatchItem", "frmBatchItemAdv" }, "optItemCase_1" } };
const DeclaredControl<zLabel> MemberCaptions[] = { { { "frmBatchItem", "frmBatchItemAdv" }, "zlblICB(0)" },
    { { "frmBatchItem", "frmBatchItemAdv" }, "zlblICB(1)" } };
// Only the advanced window records an action with its date.
const DeclaredControl<QPushButton> MemberActionNow { { "frmBatchItemAdv" }, "btnNow" };
const DeclaredControl<zFieldBase> MemberActionDate { { "frmBatchItemAdv" }, "zdatDateTime" };

// Chooses "Item" or "All Items in Case"; the window follows the option buttons' own change.
void chooseOption(DeclaredRecordWindow& window, bool wholeCase)
{
    MemberOptions[wholeCase ? 1 : 0].in(window)->setChecked(true);
}

// The record windows of batch items. The option buttons decide whether the membership is for one
// item or for a whole case: only the chosen picker takes part (a picker that takes no part is
// saved as NULL and keeps its selection for when its option comes back). The plain window asks
// the database before a save whether the membership is already there or clashes with another
// physical batch; the advanced window records actions and checks nothing beyond its fields.
class BatchItemWindow : public DeclaredRecordWindow {
public:
    BatchItemWindow(const DeclaredTable& table, bool checksMemberships)
        : DeclaredRecordWindow(table)
        , m_checks(checksMemberships)
    {
        m_batch = MemberBatch.in(*this);
        m_item = MemberItem.in(*this);
        m_case = MemberCase.in(*this);
        m_itemOption = MemberOptions[0].in(*this);
        m_caseOption = MemberOptions[1].in(*this);
        // At once on every change, so that an opener's preset reaches the picker that takes part.
        connect(m_itemOption, &QAbstractButton::toggled, this, [this] { applyOption(); });
        applyOption();
        if (m_checks) {
            m_item->setFinalValidation([this] {
                return membershipMessage(QStringLiteral("Item"), m_item, QStringLiteral("usp_Evd_Check_Item_In_Batch"),
                    QStringLiteral("usp_Evd_Check_Item_In_Single_Physical_Batch"));
            });
            m_case->setFinalValidation([this] {
                return membershipMessage(QStringLiteral("Case"), m_case, QStringLiteral("usp_Evd_Check_Case_In_Batch"),
                    QStringLiteral("usp_Evd_Check_Case_In_Single_Physical_Batch"));
            });
        }
        if (MemberActionNow.names(objectName())) {
            zFieldBase* date = MemberActionDate.in(*this);
            connect(MemberActionNow.in(*this), &QPushButton::clicked, this,
                [date] { date->setValue(QDateTime::currentDateTime()); });
        }
        addBatchItemActions(*this);
    }

    bool CheckFieldsProcedure() override
    {
        m_checkFailed = false;
        m_caseFoundAlone = false;
        if (!DeclaredRecordWindow::CheckFieldsProcedure())
            return false;
        // A check the database could not answer has been reported; nothing is saved.
        if (m_checkFailed)
            return false;
        // With "Item" chosen the case is NULL, and a pair that counts NULL as a value would find
        // every item membership of the batch: the pair is a case's only.
        if (!m_checks || !m_caseOption->isChecked())
            return true;
        // The case's membership check has just found no other membership of this batch with the
        // case: the pair cannot be there either, and asking again costs a query per save.
        if (m_caseFoundAlone)
            return true;
        return CheckUniqueCombination({ m_batch, m_case }, this, m_case);
    }

private:
    void applyOption()
    {
        const bool item = m_itemOption->isChecked();
        m_item->setApplicable(item);
        m_case->setApplicable(!item);
        for (int i = 0; i < 2; ++i)
            MemberCaptions[i].in(*this)->setApplicable((i == 0) == item);
    }

    // The checks run one after the other and stop at the first finding: already in this batch,
    // then in another physical batch (named by the database, not by this window's picker).
    QString membershipMessage(
        const QString& kind, zComboBoxText* member, const QString& inBatch, const QString& inPhysicalBatch)
    {
        if (m_batch->Value().toInt() <= 0 || member->Value().toInt() <= 0)
            return {};
        const int identity = this->identity()->Value();
        const ProcedureArguments arguments { { QStringLiteral("Batch_Item_ID"), identity > 0 ? QVariant(identity) : QVariant() },
            { QStringLiteral("Batch_ID"), m_batch->DBArgument() }, { member->DBFieldName(), member->DBArgument() } };
        auto found = CallProcedure(inBatch, arguments);
        if (!found) {
            m_checkFailed = true;
            return {};
        }
        if (found->recordCount() > 0)
            return kind + QStringLiteral(" ") + AngleQuote(member->Text()) + QStringLiteral(" is already in the Batch ")
                + AngleQuote(m_batch->Text());
        found = CallProcedure(inPhysicalBatch, arguments);
        if (!found) {
            m_checkFailed = true;
            return {};
        }
        if (found->recordCount() > 0)
            return kind + QStringLiteral(" ") + AngleQuote(member->Text())
                + QStringLiteral(" is in another Physical Batch ")
                + AngleQuote(NullToString(found->value(QStringLiteral("Batch_Number"))));
        if (member == m_case)
            m_caseFoundAlone = true;
        return {};
    }

    bool m_checks;
    bool m_checkFailed = false;
    bool m_caseFoundAlone = false; // the case's membership checks ran on this save and found nothing
    zComboBoxText* m_batch;
    zComboBoxText* m_item;
    zComboBoxText* m_case;
    QAbstractButton* m_itemOption;
    QAbstractButton* m_caseOption;
};

void extendBatchWindow(DeclaredRecordWindow& window)
{
    zFieldBase* created = BatchCreated.in(window);
    QObject::connect(BatchNow.in(window), &QPushButton::clicked, &window,
        [created] { created->setValue(QDateTime::currentDateTime()); });
    auto* employee = BatchEmployee.in(window);
    QObject::connect(employee, &zComboBoxText::DropDownLostFocus, &window, [employee] { ResolveEmployee(employee); });
    addBatchActions(window);
}

} // namespace

DeclaredTable BatchesTable()
{
    DeclaredTable batches = DeclaredTable::of(QStringLiteral("Batches"), QStringLiteral("Batch_ID"),
        QStringLiteral("frmBatch"), QStringLiteral("frmBatches"), QStringLiteral("Batch"), QStringLiteral("Batches"));
    batches.fields = {
        DeclaredField::text(
            QStringLiteral("ztxtBatchNumber"), QStringLiteral("Batch_Number"), QStringLiteral("Batch Number"))
            .required()
            .unique()
            .length(30),
        dateTimeField(QStringLiteral("zdatCreatedDateTime"), QStringLiteral("Created_Date_Time"),
            QStringLiteral("Created Date & Time"))
            .required()
            .labelled(QStringLiteral("Created On:"))
            .withButton(QStringLiteral("btnNow"), QStringLiteral("<= Now")),
        DeclaredField::pickerOf(QStringLiteral("zcbtEmployee"), QStringLiteral("Created_By_Employee_ID"),
            QStringLiteral("Created By"), QStringLiteral("usp_Evd_DropDown_Employees"), QStringLiteral("Employees"))
            .required(),
        DeclaredField::pickerOf(QStringLiteral("zcbtBatchType"), QStringLiteral("Batch_Type_ID"),
            QStringLiteral("Batch Type"), QStringLiteral("usp_Evd_DropDown_Batch_Types"), QStringLiteral("Batch_Types"))
            .required()
            .withoutButton(),
        // Its name in messages keeps the column's underscore.
        DeclaredField::memo(
            QStringLiteral("zmemDescription"), QStringLiteral("Batch_Description"), QStringLiteral("Batch_Description"))
            .length(200)
            .labelled(QStringLiteral("Description:")),
    };
    batches.criteria = {
        DeclaredField::text(
            QStringLiteral("ztxtBatchNumber"), QStringLiteral("Batch_Number"), QStringLiteral("Batch Number Like"))
            .length(50),
    };
    batches.codePrefix = QLatin1Char('B');
    batches.codeCaption = QStringLiteral("Batch Barcode:");
    batches.defaultValueTarget = QStringLiteral("ztxtBatchNumber");
    batches.populateOnStart = false;
    batches.extendRecordWindow = extendBatchWindow;
    batches.extendSearchWindow = [](DeclaredSearchWindow& window) { addBatchActions(window); };
    return batches;
}

DeclaredTable BatchItemsTable(bool advanced)
{
    DeclaredTable items = DeclaredTable::of(QStringLiteral("Batch_Items"), QStringLiteral("Batch_Item_ID"),
        advanced ? QStringLiteral("frmBatchItemAdv") : QStringLiteral("frmBatchItem"),
        advanced ? QStringLiteral("frmBatchItemsAdv") : QStringLiteral("frmBatchItems"), QStringLiteral("Batch Item"),
        QStringLiteral("Batch Items"));

    DeclaredField options = DeclaredField::options(QStringLiteral("fraItemCase"), QString(),
        { { QStringLiteral("optItemCase_0"), QStringLiteral("Item") },
            { QStringLiteral("optItemCase_1"), QStringLiteral("All Items in Case") } });
    DeclaredField item = itemPicker().required().labelled(QStringLiteral("Item Number:"), QStringLiteral("zlblICB(0)"));
    DeclaredField theCase = casePicker().required().notApplicableAtStart().labelled(
        QStringLiteral("Case Number:"), QStringLiteral("zlblICB(1)"));
    if (advanced) {
        items.fields = {
            batchPicker().required(),
            DeclaredField::pickerOf(QStringLiteral("zcbtAction"), QStringLiteral("Batch_Item_Action_ID"),
                QStringLiteral("Action"), QStringLiteral("usp_Evd_DropDown_Batch_Item_Actions"),
                QStringLiteral("Batch_Item_Actions"))
                .required()
                .withoutButton(),
            options,
            item,
            theCase,
            dateTimeField(QStringLiteral("zdatDateTime"), QStringLiteral("Action_Date_Time"),
                QStringLiteral("Action Date & Time"))
                .required()
                .labelled(QStringLiteral("Action Date && Time:"))
                .withButton(QStringLiteral("btnNow"), QStringLiteral("<= Now")),
        };
    } else {
        items.fields = { batchPicker().required(), options, item, theCase };
    }

    // The batch-number criterion takes typed "B-" codes; the item and case criteria list the
    // memberships through the case as well (an item's case, a case's items).
    auto from = DeclaredField::recordDate(
        QStringLiteral("zdatDate(0)"), QStringLiteral("Batch_Date_From"), QStringLiteral("Batch Date From"));
    auto to = DeclaredField::recordDate(
        QStringLiteral("zdatDate(1)"), QStringLiteral("Batch_Date_To"), QStringLiteral("Batch Date To"))
                  .labelled(QStringLiteral("To:"));
    items.criteria = { from, to, batchPicker(), itemPicker(), casePicker() };
    // A membership has no name an opener could type.
    items.defaultValueTarget.clear();
    items.rowLoaded = [](DeclaredRecordWindow& window, Recordset& row) {
        const QVariant itemId = row.value(QStringLiteral("Item_ID"));
        chooseOption(window, itemId.isNull() || itemId.toInt() == 0);
    };
    items.setDefaults = [](DeclaredRecordWindow& window) { chooseOption(window, false); };
    items.populateOnStart = false;
    // Opened for a new row with an item or a case, the row starts on that option.
    if (!advanced)
        items.presetOptions
            = { { QStringLiteral("Item_ID"), &MemberOptions[0] }, { QStringLiteral("Case_ID"), &MemberOptions[1] } };
    items.extendSearchWindow = [](DeclaredSearchWindow& window) { addBatchItemActions(window); };
    return items;
}

void RegisterBatchWindows()
{
    const DeclaredTable batches = BatchesTable();
    FormRegistry::registerForm(batches.recordWindow, [batches] { return new DeclaredRecordWindow(batches); });
    FormRegistry::registerForm(batches.searchWindow, [batches] { return new DeclaredSearchWindow(batches); });
    for (const bool advanced : { false, true }) {
        const DeclaredTable items = BatchItemsTable(advanced);
        FormRegistry::registerForm(
            items.recordWindow, [items, advanced] { return new BatchItemWindow(items, !advanced); });
        FormRegistry::registerForm(items.searchWindow, [items] { return new DeclaredSearchWindow(items); });
    }
}
