#include "custody/BarcodeWindows.h"

#include "core/Connection.h"
#include "core/Database.h"
#include "core/MessageBoxes.h"
#include "core/Permissions.h"
#include "core/Platform.h"
#include "core/RecordCodes.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "core/WriteOnce.h"
#include "custody/CustodyWindows.h"
#include "core/InputRoutines.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zDate.h"
#include "form_framework/zInfo.h"
#include "form_framework/zMemo.h"
#include "list_controls/zComboBoxText.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>
#include <optional>

namespace {

// What a record code's prefix stands for: the type word the list shows and every later step
// reads, the look-up of the record's value, its record window and the table whose Edit
// permission opening it needs.
struct CodeKind {
    QChar prefix;
    const char* word;
    const char* lookUp;
    const char* window;
    const char* table;
};

const std::array<CodeKind, 6>& codeKinds()
{
    static const std::array<CodeKind, 6> kinds { {
        { QLatin1Char('C'), "Case", "SELECT Case_Number FROM Cases WHERE Case_ID = ", "frmCase", "Cases" },
        { QLatin1Char('I'), "Item", "SELECT Item_Number FROM Items WHERE Item_ID = ", "frmItem", "Items" },
        { QLatin1Char('E'), "Employee", "SELECT Employee FROM vw_Evd_Employees WHERE Employee_ID = ", "frmEmployee",
            "Employees" },
        { QLatin1Char('B'), "Batch", "SELECT Batch_Number FROM Batches WHERE Batch_ID = ", "frmBatch", "Batches" },
        { QLatin1Char('L'), "Location", "SELECT Location_Name FROM Full_Name_Locations WHERE Location_ID = ",
            "frmLocation", "Locations" },
        { QLatin1Char('N'), "Notification",
            "SELECT CAST(Notification_ID AS VARCHAR(10)) FROM Notifications WHERE Notification_ID = ",
            "frmNotification", "Notifications" },
    } };
    return kinds;
}

const CodeKind* kindOfPrefix(const QString& code)
{
    if (code.size() < 2 || code.at(1) != QLatin1Char('-'))
        return nullptr;
    for (const CodeKind& kind : codeKinds()) {
        if (code.at(0).toUpper() == kind.prefix)
            return &kind;
    }
    return nullptr;
}

const CodeKind* kindOfWord(const QString& word)
{
    for (const CodeKind& kind : codeKinds()) {
        if (word.compare(QLatin1String(kind.word), Qt::CaseInsensitive) == 0)
            return &kind;
    }
    return nullptr;
}

const QString Unknown = QStringLiteral("???");

bool isWord(const QString& type, const char* word) { return type.compare(QLatin1String(word), Qt::CaseInsensitive) == 0; }

int identityOf(const QTreeWidgetItem* row) { return row->text(frmBarcodes::IDColumn).toInt(); }

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
WriteOutcome writeRowAction(DatabaseConnection& connection, QTreeWidgetItem* row, const QString& values)
{
    WriteKey key { QStringLiteral("Item_Actions"), QStringLiteral("Item_Action_ID"), QStringLiteral("Item_Action_Key"),
        row->data(frmBarcodes::BarcodeColumn, frmBarcodes::ActionKeyRole).toString() };
    if (!key.key.isEmpty()
        && row->data(frmBarcodes::BarcodeColumn, frmBarcodes::ActionValuesRole).toString() != values) {
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
        row->setData(frmBarcodes::BarcodeColumn, frmBarcodes::ActionKeyRole, key.key);
        row->setData(frmBarcodes::BarcodeColumn, frmBarcodes::ActionValuesRole, values);
    }
    const QString sql = QStringLiteral("EXEC usp_Evd_Insert_Item_Action ") + values
        + QStringLiteral(", @Item_Action_Key = ") + SQLString(key.key);
    return WriteOnce(connection, key, [&connection, &sql] { return connection.execute(sql).valueAt(0, 0); });
}

// Esc anywhere in the window presses its cancel button.
void escapeClicks(QWidget* window, QPushButton* cancel)
{
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(escape, &QShortcut::activated, cancel, &QPushButton::click);
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
    lvwBarcodes->setHeaderLabels(
        { QStringLiteral("Barcode"), QStringLiteral("Type"), QStringLiteral("Value"), QString(), QStringLiteral("ID") });
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
        auto* row = new QTreeWidgetItem(lvwBarcodes);
        row->setText(BarcodeColumn, code);
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
    // The moved row keeps only its code: it is resolved again at the next Proceed.
    auto* moved = new QTreeWidgetItem;
    moved->setText(BarcodeColumn, row->text(BarcodeColumn));
    // The key of an action whose answer was lost goes with the row.
    for (int role : { ActionKeyRole, ActionValuesRole })
        moved->setData(BarcodeColumn, role, row->data(BarcodeColumn, role));
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

void frmBarcodes::ResolveBarcodes()
{
    for (int index = 0; index < lvwBarcodes->topLevelItemCount(); ++index) {
        QTreeWidgetItem* row = lvwBarcodes->topLevelItem(index);
        if (!row->text(TypeColumn).isEmpty())
            continue;
        const QString code = row->text(BarcodeColumn);
        const CodeKind* kind = kindOfPrefix(code);
        if (!kind) {
            row->setText(TypeColumn, Unknown);
            row->setText(ValueColumn, Unknown);
            row->setText(IDColumn, QString());
            continue;
        }
        row->setText(TypeColumn, QLatin1String(kind->word));
        // "C-12X" or "B-99999999999" names no record that could exist: no look-up is sent.
        const RecordCode read = ReadRecordCode(code, kind->prefix);
        if (read.reading != RecordCodeReading::Identity) {
            row->setText(ValueColumn, Unknown);
            row->setText(IDColumn, QString());
            continue;
        }
        std::unique_ptr<Recordset> found
            = OpenRecordset(QLatin1String(kind->lookUp) + QString::number(read.identity), false);
        if (found && !found->eof()) {
            row->setText(ValueColumn, found->value(0).toString());
            row->setText(IDColumn, QString::number(read.identity));
        } else {
            row->setText(ValueColumn, Unknown);
            row->setText(IDColumn, QString());
        }
        CloseRecordset(found);
    }
}

void frmBarcodes::ProcessSelectedRow()
{
    QTreeWidgetItem* row = lvwBarcodes->currentItem();
    if (!row)
        return;
    const QString type = row->text(TypeColumn);
    const int identity = identityOf(row);
    const CodeKind* kind = kindOfWord(type);
    if (!kind) {
        ShowErrorMessage(QStringLiteral("Unknown Barcode"));
        return;
    }
    if (identity == 0) {
        ShowErrorMessage(QStringLiteral("Unknown ") + QLatin1String(kind->word));
        return;
    }
    if (!CheckTablePermission(QStringLiteral("Edit"), QLatin1String(kind->table), true))
        return;
    OpenFormWithParams(QLatin1String(kind->window), identity,
        { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), identity });
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

QString frmBarcodes::refusalOfRun() const
{
    // Codes that would set the performer or the location but name no record: the rows after
    // them would be stored against the wrong person or place.
    QStringList unresolved;
    for (int index = 0; index < lvwBarcodes->topLevelItemCount(); ++index) {
        const QTreeWidgetItem* row = lvwBarcodes->topLevelItem(index);
        const QString type = row->text(TypeColumn);
        const bool setsPerformer = UseBarcode && isWord(type, "Employee");
        if ((setsPerformer || isWord(type, "Location")) && identityOf(row) <= 0)
            unresolved << AngleQuote(row->text(BarcodeColumn));
    }
    if (!unresolved.isEmpty())
        return QStringLiteral("Unresolved barcodes: ") + unresolved.join(QStringLiteral(", ")) + QLatin1Char('.');
    int performer = PerformedByEmployeeID;
    for (int index = 0; index < lvwBarcodes->topLevelItemCount(); ++index) {
        const QTreeWidgetItem* row = lvwBarcodes->topLevelItem(index);
        const QString type = row->text(TypeColumn);
        if (isWord(type, "Employee") && UseBarcode)
            performer = identityOf(row);
        const bool subject = isWord(type, "Case") || isWord(type, "Item") || isWord(type, "Batch");
        if (subject && identityOf(row) > 0 && performer <= 0)
            return QStringLiteral("No employee barcode before ") + AngleQuote(row->text(BarcodeColumn))
                + QLatin1Char('.');
    }
    return QString();
}

void frmBarcodes::ProcessAll()
{
    // Checked whole before the first insert: custody is never attributed to nobody, nor to the
    // performer or place of a code that named no record.
    const QString refusal = refusalOfRun();
    if (!refusal.isEmpty()) {
        ShowErrorMessage(refusal);
        return;
    }
    DatabaseConnection* connection = DBConnection();
    if (!connection) {
        ShowErrorMessage(QStringLiteral("No database is open; nothing was stored."));
        return;
    }
    int performer = PerformedByEmployeeID;
    int location = 0;
    int stored = 0;
    QStringList remaining;
    std::optional<AppError> failure;
    bool unreachable = false;
    // The date goes as ISO text to the minute: a workstation's own date order is no business of
    // the database's, and a day-first desktop would swap day and month.
    const QString when = SQLString(ActionDateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    for (int index = 0; index < lvwBarcodes->topLevelItemCount(); ++index) {
        QTreeWidgetItem* row = lvwBarcodes->topLevelItem(index);
        const QString type = row->text(TypeColumn);
        int subject = 0;
        if (isWord(type, "Case") || isWord(type, "Item") || isWord(type, "Batch"))
            subject = identityOf(row);
        else if (isWord(type, "Employee")) {
            if (UseBarcode)
                performer = identityOf(row);
        } else if (isWord(type, "Location"))
            location = identityOf(row);
        if (subject <= 0)
            continue;
        if (unreachable) {
            remaining << row->text(BarcodeColumn);
            continue;
        }
        const CodeKind* kind = kindOfWord(type);
        const QString values = QStringLiteral("@") + QLatin1String(kind->word) + QStringLiteral("_ID = ")
            + QString::number(subject) + QStringLiteral(", @Performed_By_Employee_ID = ") + QString::number(performer)
            + QStringLiteral(", @Item_Action_Type_ID = ") + QString::number(ActionTypeID)
            + QStringLiteral(", @Item_Action_Date_Time = ") + when + QStringLiteral(", @Item_Action_Description = ")
            + SQLString(ActionDescription) + QStringLiteral(", @Location_ID = ") + QString::number(location);
        const WriteOutcome outcome = writeRowAction(*connection, row, values);
        if (outcome.state == WriteOutcome::State::Stored) {
            row->setText(ResultColumn, QStringLiteral("Done"));
            ++stored;
            continue;
        }
        remaining << row->text(BarcodeColumn);
        if (!failure)
            failure = outcome.error;
        // The database cannot be reached again: every later insert would fail the same way.
        if (outcome.state == WriteOutcome::State::Unknown) {
            failure = outcome.error;
            unreachable = true;
        }
    }
    for (int index = lvwBarcodes->topLevelItemCount() - 1; index >= 0; --index) {
        if (lvwBarcodes->topLevelItem(index)->text(ResultColumn).compare(QLatin1String("Done"), Qt::CaseInsensitive) == 0)
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

    auto picker = [this](const char* name, const char* goodName, const char* field, const char* sql, const char* table) {
        auto* p = new zComboBoxText(this);
        p->setObjectName(QString::fromLatin1(name));
        p->setGoodName(QString::fromLatin1(goodName));
        p->setDBFieldName(QString::fromLatin1(field));
        p->setPopulateSQL(QString::fromLatin1(sql));
        p->setDataChangedTableName(QString::fromLatin1(table));
        p->setPopulateOnStart(true);
        p->setRequired(true);
        p->setMinimumSize(260, 24);
        return p;
    };
    zcbtAction = picker("zcbtAction", "Action", "Item_Action_Type_ID", "EXEC usp_Evd_DropDown_Item_Action_Types",
        "Item_Action_Types");
    zcbtEmployee = picker("zcbtEmployee", "Performed By", "Performed_By_Employee_ID",
        "EXEC usp_Evd_DropDown_Employees", "Employees");
    zcbtEmployee->setFixedWidth(260);
    zcbtEmployee->setApplicable(false);
    zchkUseBarcode = new zCheckBox(this);
    zchkUseBarcode->setObjectName(QStringLiteral("zchkUseBarcode"));
    zchkUseBarcode->setCaption(QStringLiteral("Use Barcode"));
    zchkUseBarcode->setGoodName(QStringLiteral("Use Barcode"));
    zchkUseBarcode->setPartOfTheQuery(false);
    zchkUseBarcode->setValue(true);
    zchkUseBarcode->setMinimumSize(140, 24);
    zdatDateTime = new zDate(this);
    zdatDateTime->setObjectName(QStringLiteral("zdatDateTime"));
    zdatDateTime->setGoodName(QStringLiteral("Action Date & Time"));
    zdatDateTime->setDBFieldName(QStringLiteral("Item_Action_Date_Time"));
    zdatDateTime->setRequired(true);
    zdatDateTime->setDataFormat(QStringLiteral("mm/dd/yyyy h:mm AMPM"));
    zdatDateTime->setKeyFilter(QStringLiteral("/0123456789: AMPM"));
    zdatDateTime->setMin(QDateTime(QDate(1950, 12, 31), QTime(0, 0)));
    zdatDateTime->setMax(QDateTime(QDate(2050, 1, 1), QTime(0, 0)));
    zdatDateTime->setFixedSize(200, 24);
    btnNow = makeButton(this, "btnNow", QStringLiteral("<= Now"));
    zmemDescription = new zMemo(this);
    zmemDescription->setObjectName(QStringLiteral("zmemDescription"));
    zmemDescription->setGoodName(QStringLiteral("Description"));
    zmemDescription->setDBFieldName(QStringLiteral("Item_Action_Description"));
    zmemDescription->setMaxLength(200);
    zmemDescription->setMinimumSize(260, 60);
    btnProceed = makeButton(this, "btnProceed", QStringLiteral("&Proceed"));
    btnCancel = makeButton(this, "btnCancel", QStringLiteral("&Cancel"));
    for (QPushButton* button : { btnNow, btnProceed, btnCancel })
        button->setAutoDefault(false);

    // One row per field: its caption in a column of one width, the field, and what stands beside it.
    auto* rows = new QVBoxLayout(this);
    QFont bold = font();
    bold.setBold(true);
    auto addRow = [this, rows, &bold](const char* labelName, const QString& caption, zFieldBase* field, QWidget* extra,
                      bool required) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(labelName));
        label->setBuddy(field->inputBox() ? field->inputBox() : field);
        label->setMinimumWidth(150);
        // Required fields' captions carry the framework's required look (bold).
        if (required)
            label->setFont(bold);
        auto* row = new QHBoxLayout;
        row->addWidget(label, 0, Qt::AlignTop);
        row->addWidget(field, extra ? 0 : 1);
        if (extra)
            row->addWidget(extra);
        row->addStretch();
        rows->addLayout(row, field == zmemDescription ? 1 : 0);
    };
    addRow("zlabel1_5", QStringLiteral("Action:"), zcbtAction, nullptr, true);
    addRow("zlblEmployee", QStringLiteral("Performed By:"), zcbtEmployee, zchkUseBarcode, true);
    addRow("zlblDateTime", QStringLiteral("Action Date && Time:"), zdatDateTime, btnNow, true);
    addRow("zlabel2_5", QStringLiteral("Description:"), zmemDescription, nullptr, false);
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
    barcodes->ActionTypeID = zcbtAction->Value().toInt();
    barcodes->UseBarcode = zchkUseBarcode->Value().toBool();
    barcodes->PerformedByEmployeeID = zcbtEmployee->Value().toInt();
    barcodes->ActionDateTime = zDate::ToDate(zdatDateTime->Value()).value_or(QDateTime());
    barcodes->ActionDescription = zmemDescription->Text();
    barcodes->ProcessAll();
    UnloadWindow(this);
}

void RegisterBarcodeWindows()
{
    FormRegistry::registerForm(QStringLiteral("frmBarcodes"), [] { return new frmBarcodes; });
    FormRegistry::registerForm(QStringLiteral("frmBarcodeItemAction"), [] { return new frmBarcodeItemAction; });
}
