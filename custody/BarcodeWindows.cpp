#include "custody/BarcodeWindows.h"

#include "core/Connection.h"
#include "core/Database.h"
#include "core/InputRoutines.h"
#include "core/MessageBoxes.h"
#include "core/Permissions.h"
#include "core/Platform.h"
#include "core/Recordset.h"
#include "core/WriteOnce.h"
#include "custody/CustodyWindows.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredField.h"
#include "declared_windows/FieldRows.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonBar.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zDate.h"
#include "form_framework/zInfo.h"
#include "form_framework/zMemo.h"
#include "list_controls/zComboBoxText.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QPointer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>

namespace {

// The bulk item action window's fields that it keeps.
const DeclaredControl<zComboBoxText> BulkActionType { { "frmBarcodeItemAction" }, "zcbtAction" };
const DeclaredControl<zComboBoxText> BulkPerformer { { "frmBarcodeItemAction" }, "zcbtEmployee" };
const DeclaredControl<zCheckBox> BulkUseBarcode { { "frmBarcodeItemAction" }, "zchkUseBarcode" };
const DeclaredControl<zDate> BulkDateTime { { "frmBarcodeItemAction" }, "zdatDateTime" };
const DeclaredControl<QPushButton> BulkNow { { "frmBarcodeItemAction" }, "btnNow" };
const DeclaredControl<zMemo> BulkDescription { { "frmBarcodeItemAction" }, "zmemDescription" };

// The role of a list row that holds the row's ScannedCode.
constexpr int ScannedCodeRole = Qt::UserRole + 1;

// A row's ScannedCode; a row that holds none (only its code) is unresolved.
ScannedCode codeOf(const QTreeWidgetItem* row)
{
    ScannedCode entry;
    const QVariant stored = row->data(frmBarcodes::BarcodeColumn, ScannedCodeRole);
    if (stored.isValid())
        entry = stored.value<ScannedCode>();
    entry.code = row->text(frmBarcodes::BarcodeColumn);
    return entry;
}

// The row shows the entry and keeps it.
void showCode(QTreeWidgetItem* row, const ScannedCode& entry)
{
    row->setText(frmBarcodes::BarcodeColumn, entry.code);
    row->setText(frmBarcodes::TypeColumn, entry.typeWord());
    row->setText(frmBarcodes::ValueColumn, entry.value);
    row->setText(frmBarcodes::ResultColumn, entry.done ? QStringLiteral("Done") : QString());
    // Shown only: the entry kept with the row is what the program reads.
    row->setText(frmBarcodes::IDColumn, entry.identity > 0 ? QString::number(entry.identity) : QString());
    row->setData(frmBarcodes::BarcodeColumn, ScannedCodeRole, QVariant::fromValue(entry));
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// The one message of a bulk run that left rows: how many actions were stored, which rows remain
// for another Proceed, and why.
QString RunSummary(int stored, const QStringList& remaining, bool unreachable, const QString& reason)
{
    constexpr qsizetype named = 20;
    QString rows = remaining.mid(0, named).join(QStringLiteral(", "));
    if (remaining.size() > named)
        rows += QStringLiteral(" and %1 more").arg(remaining.size() - named);
    QString text = QStringLiteral("%1 item %2 stored; %3 %4 in the list for another Proceed: %5.")
                       .arg(stored)
                       .arg(stored == 1 ? QStringLiteral("action was") : QStringLiteral("actions were"))
                       .arg(remaining.size())
                       .arg(remaining.size() == 1 ? QStringLiteral("row remains") : QStringLiteral("rows remain"))
                       .arg(rows);
    if (unreachable)
        text += QStringLiteral("\r\nThe database could not be reached. Proceed again once it can: no action is "
                               "stored twice.");
    if (!reason.isEmpty())
        text += QStringLiteral("\r\n\r\n") + reason;
    return text;
}

// Writes the action of a subject row with the procedure's values. A row keeps the key of its
// action until the action is known to be stored: a later Proceed with the same values finds the
// action a lost answer left behind instead of writing it again. Asked with other values (a later
// time, say), the row first finds out whether that earlier action was stored: then the row is
// done, and only otherwise is the new action written, under a key of its own.
WriteOutcome writeRowAction(DatabaseConnection& connection, ScannedCode& row, const ProcedureArguments& values)
{
    WriteKey key { QStringLiteral("Item_Actions"), QStringLiteral("Item_Action_ID"), QStringLiteral("Item_Action_Key"),
        row.actionKey };
    if (!key.key.isEmpty() && !SameArguments(row.actionValues, values)) {
        WriteOutcome earlier;
        try {
            earlier.identity = FindWrittenRecord(connection, key);
        } catch (const AppError& error) {
            earlier.state = WriteOutcome::State::Unknown;
            earlier.error = error;
            return earlier;
        }
        if (!earlier.identity.isNull()) {
            earlier.state = WriteOutcome::State::Stored;
            return earlier;
        }
        key.key.clear();
    }
    if (key.key.isEmpty()) {
        key.key = NewWriteKey();
        row.actionKey = key.key;
        row.actionValues = values;
    }
    ProcedureArguments arguments = values;
    arguments.push_back({ QStringLiteral("Item_Action_Key"), key.key });
    return WriteOnce(connection, key, [&connection, &arguments] {
        return connection.call(QStringLiteral("usp_Evd_Insert_Item_Action"), arguments).valueAt(0, 0);
    });
}

// Esc anywhere in the window presses its cancel button (once an open list is closed).
void escapeClicks(QWidget* window, QPushButton* cancel)
{
    QPointer<QPushButton> button = cancel;
    InstallEscape(window, [button] {
        if (button)
            button->click();
    });
}

} // namespace

// --- frmBarcodes --------------------------------------------------------------------------------

frmBarcodes::frmBarcodes()
    : DataWindow(QStringLiteral("frmBarcodes"))
{
    setWindowTitle(QStringLiteral("Barcodes"));
    info()->setFormType(FormType::Other);
    info()->setMode(FormMode::SearchList);
    info()->setFormCaption(QStringLiteral("Barcodes"));

    txtBarcode = new QLineEdit(this);
    txtBarcode->setObjectName(QStringLiteral("txtBarcode"));
    txtBarcode->setAccessibleName(QStringLiteral("Barcode"));
    txtBarcode->installEventFilter(this);
    btnEnter = makeButton(this, "btnEnter", QStringLiteral("&Enter"));
    btnEnter->setDefault(true);
    btnEnter->setAutoDefault(true);

    lvwBarcodes = new QTreeWidget(this);
    lvwBarcodes->setObjectName(QStringLiteral("lvwBarcodes"));
    lvwBarcodes->setAccessibleName(QStringLiteral("Barcodes"));
    lvwBarcodes->setRootIsDecorated(false);
    lvwBarcodes->setUniformRowHeights(true);
    lvwBarcodes->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwBarcodes->setHeaderLabels({ QStringLiteral("Barcode"), QStringLiteral("Type"), QStringLiteral("Value"), QString(), QStringLiteral("ID") });
    lvwBarcodes->headerItem()->setData(ResultColumn, Qt::AccessibleTextRole, QStringLiteral("Result"));
    QHeaderView* header = lvwBarcodes->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    header->setSectionsClickable(true);
    lvwBarcodes->setColumnWidth(BarcodeColumn, 150);
    lvwBarcodes->setColumnWidth(TypeColumn, 90);
    lvwBarcodes->setColumnWidth(ValueColumn, 200);
    lvwBarcodes->setColumnWidth(ResultColumn, 60);
    lvwBarcodes->setColumnWidth(IDColumn, 0);
    // The identity column is for the program: a user who widened it gets it hidden again by a click.
    connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
        if (section == IDColumn)
            lvwBarcodes->setColumnWidth(IDColumn, 0);
    });

    btnUp = makeButton(this, "btnUp", QStringLiteral("&Up"));
    btnDown = makeButton(this, "btnDown", QStringLiteral("Do&wn"));
    btnDelete = makeButton(this, "btnDelete", QStringLiteral("&Delete"));
    optProcess[0] = new QRadioButton(QStringLiteral("Process &One"), this);
    optProcess[0]->setObjectName(QStringLiteral("optProcess_0"));
    optProcess[1] = new QRadioButton(QStringLiteral("Process &All"), this);
    optProcess[1]->setObjectName(QStringLiteral("optProcess_1"));
    optProcess[0]->setChecked(true);
    btnProceed = makeButton(this, "btnProceed", QStringLiteral("&Proceed"));
    btnClose = makeButton(this, "btnClose", QStringLiteral("&Close"));
    for (QPushButton* button : { btnUp, btnDown, btnDelete, btnProceed, btnClose })
        button->setAutoDefault(false);

    auto* entry = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Barcode:"), this);
    label->setBuddy(txtBarcode);
    entry->addWidget(label);
    entry->addWidget(txtBarcode, 1);
    entry->addWidget(btnEnter);
    auto* side = new QVBoxLayout;
    side->addWidget(btnUp);
    side->addWidget(btnDown);
    side->addWidget(btnDelete);
    side->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(lvwBarcodes, 1);
    middle->addLayout(side);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(optProcess[0]);
    bottom->addWidget(optProcess[1]);
    bottom->addStretch();
    bottom->addWidget(btnProceed);
    bottom->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);
    setTabOrder(txtBarcode, btnEnter);

    connect(btnEnter, &QPushButton::clicked, this, &frmBarcodes::btnEnter_Click);
    // A scanner ends each code with Enter; the box takes it as the default button's press.
    connect(txtBarcode, &QLineEdit::returnPressed, this, &frmBarcodes::btnEnter_Click);
    connect(btnUp, &QPushButton::clicked, this, &frmBarcodes::btnUp_Click);
    connect(btnDown, &QPushButton::clicked, this, &frmBarcodes::btnDown_Click);
    connect(btnDelete, &QPushButton::clicked, this, &frmBarcodes::btnDelete_Click);
    connect(btnProceed, &QPushButton::clicked, this, &frmBarcodes::btnProceed_Click);
    connect(btnClose, &QPushButton::clicked, this, [this] { UnloadWindow(this); });
    // Close is the cancel button: Esc drops the list with the window.
    escapeClicks(this, btnClose);
    connect(lvwBarcodes, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) {
        lvwBarcodes->setCurrentItem(row);
        ProcessSelectedRow();
    });
    resize(620, 420);
}

frmBarcodes::~frmBarcodes()
{
    // The item-action window works on this window's list: it goes with it.
    if (m_itemAction)
        UnloadWindow(m_itemAction);
}

bool frmBarcodes::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtBarcode) {
        if (event->type() == QEvent::FocusIn) {
            SelectAllText(txtBarcode);
            HighlightControl(txtBarcode);
        } else if (event->type() == QEvent::FocusOut) {
            UnhighlightControl(txtBarcode);
        }
    }
    return DataWindow::eventFilter(watched, event);
}

void frmBarcodes::ProcessCommand(MainCommand command)
{
    // The two exports are offered by the main window for every window; the scan list has nothing
    // to export, so they do nothing. Anything else is no command of this window.
    if (command == MainCommand::TabDelimited || command == MainCommand::Excel)
        return;
    Platform::prompt().beep();
}

void frmBarcodes::btnEnter_Click()
{
    const QString code = txtBarcode->text().trimmed();
    if (!code.isEmpty()) {
        ScannedCode entry;
        entry.code = code;
        showCode(new QTreeWidgetItem(lvwBarcodes), entry);
    }
    txtBarcode->clear();
    txtBarcode->setFocus();
}

void frmBarcodes::moveSelected(int step)
{
    QTreeWidgetItem* row = lvwBarcodes->currentItem();
    if (!row)
        return;
    const int from = lvwBarcodes->indexOfTopLevelItem(row);
    const int to = from + step;
    if (to < 0 || to >= lvwBarcodes->topLevelItemCount())
        return;
    // The moved row keeps only its code: it is resolved again at the next Proceed. The key of an
    // action whose answer was lost goes with it.
    const ScannedCode entry = codeOf(row);
    ScannedCode kept;
    kept.code = entry.code;
    kept.actionKey = entry.actionKey;
    kept.actionValues = entry.actionValues;
    auto* moved = new QTreeWidgetItem;
    showCode(moved, kept);
    delete lvwBarcodes->takeTopLevelItem(from);
    lvwBarcodes->insertTopLevelItem(to, moved);
    lvwBarcodes->setCurrentItem(moved);
}

void frmBarcodes::btnUp_Click() { moveSelected(-1); }

void frmBarcodes::btnDown_Click() { moveSelected(1); }

void frmBarcodes::btnDelete_Click()
{
    QTreeWidgetItem* row = lvwBarcodes->currentItem();
    if (!row)
        return;
    delete row;
    if (QTreeWidgetItem* next = lvwBarcodes->currentItem())
        next->setSelected(true);
}

std::vector<ScannedCode> frmBarcodes::scannedCodes() const
{
    std::vector<ScannedCode> codes;
    codes.reserve(static_cast<size_t>(lvwBarcodes->topLevelItemCount()));
    for (int index = 0; index < lvwBarcodes->topLevelItemCount(); ++index)
        codes.push_back(codeOf(lvwBarcodes->topLevelItem(index)));
    return codes;
}

void frmBarcodes::ResolveBarcodes()
{
    const auto lookUp = [](const ScannedKindFacts& kind, int identity) -> std::optional<QString> {
        std::unique_ptr<Recordset> found = OpenRecordset(QLatin1String(kind.lookUp) + QString::number(identity), false);
        std::optional<QString> value;
        if (found && !found->eof())
            value = found->value(0).toString();
        CloseRecordset(found);
        return value;
    };
    for (int index = 0; index < lvwBarcodes->topLevelItemCount(); ++index) {
        QTreeWidgetItem* row = lvwBarcodes->topLevelItem(index);
        ScannedCode entry = codeOf(row);
        if (entry.kind != ScannedKind::Unresolved)
            continue;
        ScannedCode resolved = ResolveScannedCode(entry.code, lookUp);
        resolved.actionKey = entry.actionKey;
        resolved.actionValues = entry.actionValues;
        showCode(row, resolved);
    }
}

void frmBarcodes::ProcessSelectedRow()
{
    QTreeWidgetItem* row = lvwBarcodes->currentItem();
    if (!row)
        return;
    const ScannedCode entry = codeOf(row);
    const ScannedKindFacts* kind = FactsOf(entry.kind);
    if (!kind) {
        ShowErrorMessage(QStringLiteral("Unknown Barcode"));
        return;
    }
    if (entry.identity == 0) {
        ShowErrorMessage(QStringLiteral("Unknown ") + QLatin1String(kind->word));
        return;
    }
    if (!CheckTablePermission(QStringLiteral("Edit"), QLatin1String(kind->table), true))
        return;
    OpenRecordForEdit(QLatin1String(kind->window), entry.identity);
}

void frmBarcodes::btnProceed_Click()
{
    ResolveBarcodes();
    if (optProcess[0]->isChecked()) {
        ProcessSelectedRow();
        return;
    }
    DataWindow* window = ShowFormByName(QStringLiteral("frmBarcodeItemAction"));
    if (auto* itemAction = qobject_cast<frmBarcodeItemAction*>(window)) {
        m_itemAction = itemAction;
        itemAction->setBarcodeWindow(this);
        itemAction->bringToFront(true);
    }
}

void frmBarcodes::ProcessAll(const BulkItemAction& action)
{
    // Checked whole before the first insert: custody is never attributed to nobody, nor to the
    // performer or place of a code that named no record.
    const BulkRunPlan plan = PlanBulkRun(scannedCodes(), action);
    if (!plan.refusal.isEmpty()) {
        ShowErrorMessage(plan.refusal);
        return;
    }
    DatabaseConnection* connection = DBConnection();
    if (!connection) {
        ShowErrorMessage(QStringLiteral("No database is open; nothing was stored."));
        return;
    }
    int stored = 0;
    QStringList remaining;
    std::optional<AppError> failure;
    bool unreachable = false;
    for (const BulkStep& step : plan.steps) {
        QTreeWidgetItem* row = lvwBarcodes->topLevelItem(step.row);
        ScannedCode entry = codeOf(row);
        if (unreachable) {
            remaining << entry.code;
            continue;
        }
        const WriteOutcome outcome = writeRowAction(*connection, entry, step.arguments);
        entry.done = outcome.state == WriteOutcome::State::Stored;
        showCode(row, entry);
        if (entry.done) {
            ++stored;
            continue;
        }
        remaining << entry.code;
        if (!failure)
            failure = outcome.error;
        // The database cannot be reached again: every later insert would fail the same way.
        if (outcome.state == WriteOutcome::State::Unknown) {
            failure = outcome.error;
            unreachable = true;
        }
    }
    for (int index = lvwBarcodes->topLevelItemCount() - 1; index >= 0; --index) {
        if (codeOf(lvwBarcodes->topLevelItem(index)).done)
            delete lvwBarcodes->takeTopLevelItem(index);
    }
    if (remaining.isEmpty()) {
        ShowInfoMessage(QStringLiteral("Done"));
        return;
    }
    // One box for the whole run, however many rows failed.
    ShowErrorMessage(RunSummary(stored, remaining, unreachable, failure ? failure->description() : QString()));
}

// --- frmBarcodeItemAction -------------------------------------------------------------------------

frmBarcodeItemAction::frmBarcodeItemAction()
    : DataWindow(QStringLiteral("frmBarcodeItemAction"))
{
    setWindowTitle(QStringLiteral("Item Action"));
    info()->setFormType(FormType::Other);
    info()->setMode(FormMode::Add);
    info()->setFormCaption(QStringLiteral("Item Action"));
    info()->setMainTableName(QStringLiteral("Item_Actions"));
    info()->setIdentityField(QStringLiteral("Item_Action_ID"));

    const std::vector<DeclaredField> fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtAction"), QStringLiteral("Item_Action_Type_ID"), QStringLiteral("Action"),
            QStringLiteral("usp_Evd_DropDown_Item_Action_Types"), QStringLiteral("Item_Action_Types"))
            .required()
            .labelled(QStringLiteral("Action:"), QStringLiteral("zlabel1_5")),
        DeclaredField::pickerOf(QStringLiteral("zcbtEmployee"), QStringLiteral("Performed_By_Employee_ID"),
            QStringLiteral("Performed By"), QStringLiteral("usp_Evd_DropDown_Employees"), QStringLiteral("Employees"))
            .required()
            .notApplicableAtStart()
            .labelled(QStringLiteral("Performed By:"), QStringLiteral("zlblEmployee")),
        DeclaredField::checkBox(QStringLiteral("zchkUseBarcode"), QString(), QStringLiteral("Use Barcode"),
            QStringLiteral("Use Barcode"), true)
            .notStored()
            .besideThePrevious(),
        DeclaredField::recordDate(QStringLiteral("zdatDateTime"), QStringLiteral("Item_Action_Date_Time"),
            QStringLiteral("Action Date & Time"))
            .withTime()
            .required()
            .labelled(QStringLiteral("Action Date && Time:"), QStringLiteral("zlblDateTime"))
            .withButton(QStringLiteral("btnNow"), QStringLiteral("<= Now")),
        DeclaredField::memo(QStringLiteral("zmemDescription"), QStringLiteral("Item_Action_Description"),
            QStringLiteral("Description"))
            .length(200)
            .labelled(QStringLiteral("Description:"), QStringLiteral("zlabel2_5")),
    };
    auto* rows = new QVBoxLayout(this);
    const FieldRows made = AddDeclaredFields(this, rows, fields, 150);
    zcbtAction = BulkActionType.in(made);
    zcbtEmployee = BulkPerformer.in(made);
    zchkUseBarcode = BulkUseBarcode.in(made);
    zdatDateTime = BulkDateTime.in(made);
    btnNow = BulkNow.in(made);
    zmemDescription = BulkDescription.in(made);
    zcbtAction->setMinimumSize(260, 24);
    zcbtEmployee->setMinimumSize(260, 24);
    zcbtEmployee->setFixedWidth(260);
    zchkUseBarcode->setMinimumSize(140, 24);
    zdatDateTime->setFixedSize(200, 24);
    zmemDescription->setMinimumSize(260, 60);

    btnProceed = makeButton(this, "btnProceed", QStringLiteral("&Proceed"));
    btnCancel = makeButton(this, "btnCancel", QStringLiteral("&Cancel"));
    for (QPushButton* button : { btnProceed, btnCancel })
        button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnProceed);
    buttons->addWidget(btnCancel);
    rows->addLayout(buttons);

    connect(zchkUseBarcode, &zFieldBase::Change, this,
        [this] { zcbtEmployee->setApplicable(!zchkUseBarcode->Value().toBool()); });
    connect(zcbtEmployee, &zComboBoxText::DropDownLostFocus, this, [this] { ResolveEmployee(zcbtEmployee); });
    connect(btnNow, &QPushButton::clicked, this, [this] { zdatDateTime->setValue(QDateTime::currentDateTime()); });
    connect(btnProceed, &QPushButton::clicked, this, &frmBarcodeItemAction::btnProceed_Click);
    connect(btnCancel, &QPushButton::clicked, this, [this] { UnloadWindow(this); });
    escapeClicks(this, btnCancel);
    resize(480, 260);
}

void frmBarcodeItemAction::AfterPopulateForm()
{
    if (!m_barcodes) {
        for (QWidget* window : LoadedWindows()) {
            if (auto* barcodes = qobject_cast<frmBarcodes*>(window)) {
                m_barcodes = barcodes;
                break;
            }
        }
    }
}

void frmBarcodeItemAction::btnProceed_Click()
{
    for (zFieldBase* field : std::initializer_list<zFieldBase*> { zcbtAction, zcbtEmployee, zdatDateTime, zmemDescription }) {
        if (!field->IsValid())
            return;
    }
    frmBarcodes* barcodes = m_barcodes;
    if (!barcodes) {
        // The barcode window closes this one when it goes, so this is a window left alone.
        UnloadWindow(this);
        return;
    }
    BulkItemAction action;
    action.ActionTypeID = zcbtAction->Value().toInt();
    action.UseBarcode = zchkUseBarcode->Value().toBool();
    action.PerformedByEmployeeID = zcbtEmployee->Value().toInt();
    action.ActionDateTime = zDate::ToDate(zdatDateTime->Value()).value_or(QDateTime());
    action.ActionDescription = zmemDescription->Text();
    barcodes->ProcessAll(action);
    UnloadWindow(this);
}

void RegisterBarcodeWindows()
{
    FormRegistry::registerForm(QStringLiteral("frmBarcodes"), [] { return new frmBarcodes; });
    FormRegistry::registerForm(QStringLiteral("frmBarcodeItemAction"), [] { return new frmBarcodeItemAction; });
}
