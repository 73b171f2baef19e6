#include "list_controls/zComboBoxText.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/InputRoutines.h"
#include "core/MessageBoxes.h"
#include "core/Permissions.h"
#include "core/Platform.h"
#include "core/RecordCodes.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"
#include "form_framework/ChildWindows.h"
#include "form_framework/DataWindow.h"
#include "form_framework/MainWindowServices.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zInfo.h"
#include "list_controls/PickerListModel.h"
#include "list_controls/SharedPickerLists.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
const QString kModule = QStringLiteral("zComboBoxText");
const QString kGeneralItem = QStringLiteral("<All>");
constexpr int kButtonGapPixels = 6; // 90 twips

void notAvailable() { ShowErrorMessage(QStringLiteral("Not Available.")); }

// The control's own writes to the list: they must not look like the user's choice.
class Adjusting {
public:
    explicit Adjusting(int& counter)
        : m_counter(counter)
    {
        ++m_counter;
    }
    ~Adjusting() { --m_counter; }
    Adjusting(const Adjusting&) = delete;
    Adjusting& operator=(const Adjusting&) = delete;

private:
    int& m_counter;
};
// The drop-down box sized to its widest entries, as a combo box sized on its first show is, but
// measuring only the longest texts: a list of 10,000 cases would otherwise shape every text on
// each window's first show, which is most of the cost of opening a window with large pickers.
class PickerBox : public QComboBox {
public:
    PickerBox(PickerListModel* list, QWidget* parent)
        : QComboBox(parent)
        , m_list(list)
    {
        // A list filled while its window opens counts at once: the window is sized to its
        // contents before it shows.
        const auto remeasure = [this] {
            m_hint = QSize();
            updateGeometry();
        };
        connect(list, &QAbstractItemModel::modelReset, this, remeasure);
        connect(list, &QAbstractItemModel::rowsInserted, this, remeasure);
        connect(list, &QAbstractItemModel::rowsRemoved, this, remeasure);
        connect(list, &QAbstractItemModel::dataChanged, this, remeasure);
    }

    QSize sizeHint() const override { return hint(); }
    QSize minimumSizeHint() const override { return hint(); }

    void showPopup() override
    {
        // What an editable box's list gets when the box is made editable: a scroll bar as needed
        // where the style shows the list as a pop-up.
        if (!m_popupPrepared) {
            m_popupPrepared = true;
            QStyleOptionComboBox option;
            initStyleOption(&option);
            if (style()->styleHint(QStyle::SH_ComboBox_Popup, &option, this))
                view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        }
        // A field in error draws its text in red, and the list would take that colour from the
        // box: its entries are what may be chosen, not what is wrong, so they read as usual.
        QPalette palette = view()->palette();
        palette.setColor(QPalette::Text, QApplication::palette().color(QPalette::Text));
        view()->setPalette(palette);
        QComboBox::showPopup();
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        // Like a box that fits its contents on its first show: the entries filled by then count.
        if (!m_shownOnce) {
            m_shownOnce = true;
            m_hint = QSize();
            updateGeometry();
        }
        QComboBox::showEvent(event);
    }

    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            m_hint = QSize();
        QComboBox::changeEvent(event);
    }

private:
    // The list keeps its measure (PickerListModel::Widest): a shared list of every case is
    // measured once, not by every picker of every window that shows it.
    int widestText() const
    {
        if (m_list->count() == 0)
            return 7 * fontMetrics().horizontalAdvance(QLatin1Char('x'));
        return m_list->widestText(font());
    }

    QSize hint() const
    {
        if (!m_hint.isValid()) {
            QStyleOptionComboBox option;
            initStyleOption(&option);
            const int textHeight = std::max(static_cast<int>(std::ceil(QFontMetricsF(font()).height())), 14) + 2;
            m_hint = style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(widestText(), textHeight), this);
        }
        return m_hint;
    }

    PickerListModel* m_list;
    mutable QSize m_hint;
    bool m_shownOnce = false;
    bool m_popupPrepared = false;
};
} // namespace

zComboBoxText::zComboBoxText(QWidget* parent)
    : zFieldBase(parent)
    , m_list(new PickerListModel(this))
{
    m_combo = new PickerBox(m_list, this);
    m_button = new QPushButton(QStringLiteral("..."), this);
    m_menu = new QMenu(this);
    m_combo->setObjectName(QStringLiteral("cboCombo"));
    // Editable through its own line edit: the drop-down list's view is made when first needed
    // rather than for every picker of every window.
    m_combo->setLineEdit(new QLineEdit(m_combo));
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    // Typed text is matched whole against the entries; no completion rewrites what was typed.
    m_combo->setCompleter(nullptr);
    m_combo->setModel(m_list);
    m_combo->setCurrentIndex(-1);
    m_button->setObjectName(QStringLiteral("btnButton"));
    m_button->setAccessibleName(QStringLiteral("..."));
    // Out of the Tab order: Tab and Shift+Tab leave the picker for the window's next field.
    m_button->setFocusPolicy(Qt::ClickFocus);
    m_button->setFixedWidth(m_button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 12);

    setInputBox(m_combo);
    auto* column = qobject_cast<QVBoxLayout*>(layout());
    column->removeWidget(m_combo);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kButtonGapPixels);
    row->addWidget(m_combo, 1);
    row->addWidget(m_button);
    column->insertLayout(0, row);

    m_menu->setObjectName(QStringLiteral("mnuPopup"));
    auto addEntry = [this](const char* name, const QString& caption) {
        QAction* action = m_menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    QAction* mnuNew = addEntry("mnuNew", QStringLiteral("New"));
    m_mnuEdit = addEntry("mnuEdit", QStringLiteral("Edit"));
    m_mnuDelete = addEntry("mnuDelete", QStringLiteral("Delete"));
    QAction* mnuSearch = addEntry("mnuSearch", QStringLiteral("Search"));
    m_menu->addSeparator()->setObjectName(QStringLiteral("mnuDiv"));
    QAction* mnuRefresh = addEntry("mnuRefresh", QStringLiteral("Refresh"));
    connect(mnuNew, &QAction::triggered, this, &zComboBoxText::ClickNew);
    connect(m_mnuEdit, &QAction::triggered, this, &zComboBoxText::ClickEdit);
    connect(m_mnuDelete, &QAction::triggered, this, &zComboBoxText::ClickDelete);
    connect(mnuSearch, &QAction::triggered, this, &zComboBoxText::ClickSearch);
    connect(mnuRefresh, &QAction::triggered, this, &zComboBoxText::RePopulate);
    connect(m_button, &QPushButton::clicked, this, &zComboBoxText::PressButton);

    connect(m_combo, &QComboBox::currentIndexChanged, this, [this] {
        if (m_adjusting == 0)
            cboCombo_Change();
    });
    connect(m_combo->lineEdit(), &QLineEdit::textEdited, this, &zComboBoxText::typedText);
    redraw();
}

// --- Properties --------------------------------------------------------------------------------------

void zComboBoxText::setPopulateSQL(const QString& sql)
{
    QString text = sql.trimmed();
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    m_populateSQL = text.trimmed();
}

std::optional<FormMode> zComboBoxText::windowMode() const
{
    zInfo* info = controller();
    return info ? std::optional(info->Mode()) : std::nullopt;
}

bool zComboBoxText::searchMode() const
{
    const std::optional<FormMode> mode = windowMode();
    return mode == FormMode::SearchList || mode == FormMode::Pick;
}

bool zComboBoxText::GeneralItem() const { return m_generalItem && searchMode(); }

bool zComboBoxText::choosesOnlyEntry() const { return Required() && m_list->count() == 1; }

void zComboBoxText::setGeneralItem(bool on)
{
    if (on == m_generalItem)
        return;
    m_generalItem = on;
    // The list changes only on a search window; elsewhere the item never shows.
    if (!searchMode())
        return;
    Adjusting adjusting(m_adjusting);
    if (!on) {
        if (m_list->count() > 0 && m_list->at(0).identity == 0) {
            if (m_combo->currentIndex() == 0)
                selectRow(-1);
            m_list->removeEntry(0);
            if (choosesOnlyEntry())
                selectRow(0);
        }
    } else {
        m_list->insertEntry(0, { kGeneralItem, 0 });
    }
    cboCombo_Change();
}

void zComboBoxText::setShowButton(bool show)
{
    if (show == m_showButton)
        return;
    m_showButton = show;
    redraw();
}

void zComboBoxText::setApplicable(bool applicable)
{
    if (applicable == Applicable())
        return;
    zFieldBase::setApplicable(applicable);
    if (choosesOnlyEntry()) {
        Adjusting adjusting(m_adjusting);
        selectRow(0);
    }
    cboCombo_Change();
}

void zComboBoxText::setRecordCodePrefix(QChar prefix, bool acceptBareIdentity)
{
    m_codePrefix = prefix.toUpper();
    m_acceptBareIdentity = acceptBareIdentity;
}

void zComboBoxText::redraw()
{
    if (!m_combo)
        return;
    const bool applicable = Applicable();
    m_combo->setVisible(applicable);
    // A locked picker keeps its button: the list is locked, the button still offers its menu.
    setEnabled(applicable && (!Locked() || m_showButton));
    m_combo->setEnabled(!Locked());
    QPalette palette = m_combo->palette();
    palette.setColor(QPalette::Base, Locked() ? QApplication::palette().color(QPalette::Button) : NormalFieldColor());
    m_combo->setPalette(palette);
    setFrameShape(applicable ? QFrame::NoFrame : QFrame::Box);
    m_button->setVisible(applicable && m_showButton);
}

// --- Value ----------------------------------------------------------------------------------------------

QVariant zComboBoxText::Value() const { return Applicable() ? m_current : -1; }

void zComboBoxText::setValue(const QVariant& value)
{
    const int identity = value.isNull() ? (GeneralItem() ? 0 : -1) : value.toInt();
    if (identity == m_current)
        return;
    // A kept list may have been read before another user added the record: the record's own
    // row joins the list.
    if (identity > 0 && m_list->rowOfIdentity(identity) < 0 && SharedPickerLists::isKept(m_populateSQL))
        AddItemsByID(QString::number(identity));
    else if (identity > 0 && !m_outsideEntrySQL.isEmpty() && m_list->rowOfIdentity(identity) < 0)
        addOutsideEntry(identity);
    {
        Adjusting adjusting(m_adjusting);
        selectRow(identity == -1 ? -1 : m_list->rowOfIdentity(identity));
    }
    cboCombo_Change();
}

QString zComboBoxText::Text() const { return m_combo->currentText(); }

void zComboBoxText::setText(const QString& text)
{
    m_combo->setEditText(text);
    typedText(text);
}

bool zComboBoxText::IsMissing() const { return isBlankText(Text()); }

QString zComboBoxText::DBValue() const
{
    const int identity = Value().toInt();
    return identity > 0 ? QString::number(identity) : QStringLiteral("NULL");
}

QVariant zComboBoxText::DBArgument() const
{
    const int identity = Value().toInt();
    return identity > 0 ? QVariant(identity) : QVariant();
}

void zComboBoxText::selectRow(int row)
{
    m_combo->setCurrentIndex(row);
    if (row < 0)
        m_combo->setEditText(QString());
}

void zComboBoxText::typedText(const QString& text)
{
    // A typed text that equals an entry (letter case aside) chooses it; any other text chooses
    // nothing. What the user typed stays as typed.
    const int row = m_list->rowOfText(text.trimmed());
    if (row != m_combo->currentIndex()) {
        Adjusting adjusting(m_adjusting);
        const int cursor = m_combo->lineEdit()->cursorPosition();
        m_combo->setCurrentIndex(row);
        m_combo->setEditText(text);
        m_combo->lineEdit()->setCursorPosition(cursor);
    }
    cboCombo_Change();
}

void zComboBoxText::cboCombo_Change()
{
    clearFieldError();
    const int row = m_combo->currentIndex();
    m_current = row >= 0 && row < m_list->count() ? m_list->at(row).identity : -1;
    m_notInList = false;
    Q_EMIT Change();
    if (PartOfTheQuery() && !m_filling)
        markWindowChanged();
}

// --- Validation ---------------------------------------------------------------------------------------

QString zComboBoxText::codeMessage() const
{
    if (m_codePrefix.isNull())
        return {};
    if (ReadRecordCode(Text(), m_codePrefix).reading != RecordCodeReading::Malformed)
        return {};
    return GoodName() + QStringLiteral(" ") + AngleQuote(Text().trimmed())
        + QStringLiteral(" is not a valid record code");
}

QString zComboBoxText::checks(bool final)
{
    m_notInList = false;
    const QString text = Text().trimmed();
    if (Required() && text.isEmpty())
        return requiredMessage();
    if (!text.isEmpty()) {
        if (m_current == -1) {
            const QString code = codeMessage();
            if (!code.isEmpty())
                return code;
            m_notInList = true;
            return GoodName() + QStringLiteral(" should match an item in the list");
        }
        const QString unique = uniqueMessage();
        if (!unique.isEmpty())
            return unique;
    }
    QString message = lostFocusMessage();
    if (message.isEmpty() && final)
        message = finalMessage();
    return message;
}

bool zComboBoxText::IsValid()
{
    if (Validate(true))
        return true;
    if (m_showButton && m_notInList) {
        const int answer = AskQuestion(QStringLiteral("Cannot find ") + GoodName() + QStringLiteral(" ")
                + AngleQuote(Text()) + QStringLiteral(".\r\n\r\nWould you like to add it to the database?"),
            ApplicationTitle());
        if (answer == MsgBox::Yes) {
            loadButtonInfo();
            ClickNew();
        }
    } else {
        ShowValidationMessage(FieldError() + QStringLiteral("."));
    }
    if (m_combo->isVisible() && m_combo->isEnabled())
        m_combo->setFocus(Qt::OtherFocusReason);
    return false;
}

bool zComboBoxText::ResolveRecordCode()
{
    if (m_codePrefix.isNull() || IsMissing() || m_current >= 1)
        return false;
    const QString text = Text().trimmed();
    int identity = 0;
    const RecordCode code = ReadRecordCode(text, m_codePrefix);
    if (code.reading == RecordCodeReading::Identity)
        identity = code.identity;
    else if (code.reading == RecordCodeReading::NotACode && m_acceptBareIdentity)
        identity = ReadIdentityNumber(text).value_or(0);
    // Only a record the list holds is chosen; otherwise the typed code stays for the user to see
    // (and the check says it matches nothing) rather than vanishing.
    const int row = identity > 0 ? m_list->rowOfIdentity(identity) : -1;
    if (row < 0)
        return false;
    setValue(identity);
    return true;
}

void zComboBoxText::boxFocusOut()
{
    const QString text = m_combo->currentText();
    if (text.trimmed() != text) {
        Adjusting adjusting(m_adjusting);
        m_combo->setEditText(text.trimmed());
    }
    ResolveRecordCode();
    Validate(false);
    paintFieldError();
    Q_EMIT DropDownLostFocus();
    UnhighlightControl(m_combo);
}

bool zComboBoxText::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_combo && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        const int last = m_list->count() - 1;
        switch (key->key()) {
        case Qt::Key_End:
            if (ctrl) {
                if (last >= 0)
                    selectRow(last);
                return true;
            }
            break;
        case Qt::Key_Home:
            if (ctrl) {
                if (last >= 0)
                    selectRow(0);
                return true;
            }
            break;
        case Qt::Key_Up:
            if (!m_combo->view()->isVisible() && m_combo->currentIndex() == 0) {
                Platform::prompt().beep();
                SelectAllText(m_combo);
                return true;
            }
            break;
        case Qt::Key_Down:
            if (!m_combo->view()->isVisible() && last >= 0 && m_combo->currentIndex() == last) {
                Platform::prompt().beep();
                SelectAllText(m_combo);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return zFieldBase::eventFilter(watched, event);
}

// --- List ------------------------------------------------------------------------------------------------

int zComboBoxText::ListCount() const { return m_list->count(); }

QString zComboBoxText::ListText(int row) const { return m_list->at(row).text; }

int zComboBoxText::ListIdentity(int row) const { return m_list->at(row).identity; }

void zComboBoxText::appendEntry(const QString& text, int identity, int position)
{
    {
        Adjusting adjusting(m_adjusting);
        m_list->insertEntry(position < 0 ? m_list->count() : position, { text, identity });
    }
    // A text typed before its entry existed is chosen as soon as the entry arrives.
    if (m_current == -1 && !Text().isEmpty() && Text().compare(text, Qt::CaseInsensitive) == 0)
        setValue(identity);
}

void zComboBoxText::addOutsideEntry(int identity)
{
    ActionScope action(kModule, QStringLiteral("Act_AddItemsSQL"), QStringLiteral("Add Items to Drop Down List"));
    action.run([&] {
        std::unique_ptr<Recordset> result;
        if (!Act_OpenRecordset(result, m_outsideEntrySQL.arg(identity)))
            RaiseSilent();
        if (result && result->isOpen() && result->fieldCount() >= 2 && result->recordCount() >= 1) {
            Adjusting adjusting(m_adjusting);
            m_list->insertEntry(m_list->count(), { NullToString(result->valueAt(0, 1)), result->valueAt(0, 0).toInt() });
        }
        CloseRecordset(result);
    });
}

void zComboBoxText::Populate()
{
    if (m_populateSQL.isEmpty())
        return;
    ActionScope action(kModule, QStringLiteral("Act_PopulateComboStraight"), QStringLiteral("Populate Combo"));
    action.run([&] {
        // A large list comes from the connection's kept copy (SharedPickerLists.h).
        std::shared_ptr<const PickerListModel::SharedEntries> entries;
        const bool reread = std::exchange(m_rereadList, false);
        if (!SharedPickerLists::read(m_populateSQL, m_dataChangedTableName, reread, entries))
            RaiseSilent();
        m_filling = true;
        {
            Adjusting adjusting(m_adjusting);
            selectRow(-1);
            m_list->setSharedEntries(std::move(entries));
            if (GeneralItem())
                m_list->insertEntry(0, { kGeneralItem, 0 });
            // With the general item a search window starts every fill on "<All>".
            if (choosesOnlyEntry() || (GeneralItem() && m_list->count() >= 1))
                selectRow(0);
            else
                selectRow(-1);
        }
        cboCombo_Change();
        m_filling = false;
        redraw();
    });
    m_filling = false;
}

void zComboBoxText::RePopulate()
{
    const QVariant kept = Value();
    m_rereadList = true;
    Populate();
    setValue(kept);
}

void zComboBoxText::Clear()
{
    {
        Adjusting adjusting(m_adjusting);
        selectRow(-1);
        m_list->clear();
    }
    m_current = -1;
    redraw();
}

void zComboBoxText::RemoveCurrentItem()
{
    const int row = m_combo->currentIndex();
    if (row < 0)
        return;
    {
        Adjusting adjusting(m_adjusting);
        selectRow(-1);
        m_list->removeEntry(row);
    }
    cboCombo_Change();
}

QString zComboBoxText::limitedQuery(const QString& idList) const
{
    // Only a procedure called without parameters can be limited to some identities.
    return SharedPickerLists::limitedQuery(m_populateSQL, idList);
}

void zComboBoxText::AddItemsByID(const QString& idList)
{
    const QString sql = limitedQuery(idList);
    if (sql.isEmpty())
        return;
    ActionScope action(kModule, QStringLiteral("Act_AddItemsSQL"), QStringLiteral("Add Items to Drop Down List"));
    action.run([&] {
        std::unique_ptr<Recordset> result;
        if (!Act_OpenRecordset(result, sql))
            RaiseSilent();
        for (int row = 0; result && result->isOpen() && result->fieldCount() >= 2 && row < result->recordCount(); ++row)
            appendEntry(NullToString(result->valueAt(row, 1)), result->valueAt(row, 0).toInt());
        CloseRecordset(result);
    });
}

void zComboBoxText::UpdateItemsByID(const QString& idList)
{
    const QString sql = limitedQuery(idList);
    if (sql.isEmpty())
        return;
    ActionScope action(kModule, QStringLiteral("Act_UpdateItemsSQL"), QStringLiteral("Update Items in Drop Down List"));
    action.run([&] {
        std::unique_ptr<Recordset> result;
        if (!Act_OpenRecordset(result, sql))
            RaiseSilent();
        for (int row = 0; result && result->isOpen() && result->fieldCount() >= 2 && row < result->recordCount();
             ++row) {
            const int at = m_list->rowOfIdentity(result->valueAt(row, 0).toInt());
            if (at < 0)
                continue;
            const QString text = NullToString(result->valueAt(row, 1));
            m_list->setText(at, text);
            if (at == m_combo->currentIndex()) {
                Adjusting adjusting(m_adjusting);
                m_combo->setEditText(text);
            }
        }
        CloseRecordset(result);
    });
}

void zComboBoxText::RemoveItemsByID(const QString& idList)
{
    for (int row = m_list->count() - 1; row >= 0; --row) {
        if (!InCommaList(QString::number(m_list->at(row).identity), idList))
            continue;
        const bool chosen = row == m_combo->currentIndex();
        {
            Adjusting adjusting(m_adjusting);
            if (chosen)
                selectRow(-1);
            m_list->removeEntry(row);
        }
        if (chosen)
            cboCombo_Change();
    }
}

// --- The "..." button ---------------------------------------------------------------------------------------

void zComboBoxText::loadButtonInfo()
{
    if (m_tableName.isEmpty())
        m_tableName = m_dataChangedTableName;
    if (m_tableName.isEmpty() || m_infoLoaded)
        return;
    m_infoLoaded = true;
    std::unique_ptr<Recordset> info = CallProcedure(
        QStringLiteral("usp_DB_Get_Info_For_Drop_Down_Button"), { { QStringLiteral("DB_Table_Name"), trimBlanks(m_tableName) } });
    if (info && !info->eof()) {
        m_recordGoodName = NullToString(info->value(QStringLiteral("DB_Record_Good_Name")));
        m_singleRecordForm = NullToString(info->value(QStringLiteral("Single_Record_Form")));
        m_multipleRecordsForm = NullToString(info->value(QStringLiteral("Multiple_Records_Form")));
    }
    CloseRecordset(info);
}

void zComboBoxText::PressButton()
{
    loadButtonInfo();
    m_pressedID = Value().toInt();
    m_mnuEdit->setEnabled(m_pressedID > 0);
    m_mnuDelete->setEnabled(m_pressedID > 0);
    if (!IsCursorOverWindow(m_button))
        CenterCursorOnWindow(m_button);
    m_menu->popup(QCursor::pos());
}

void zComboBoxText::ClickNew()
{
    loadButtonInfo();
    if (m_singleRecordForm.isEmpty())
        return notAvailable();
    if (!CheckTablePermission(QStringLiteral("Add"), m_tableName, true))
        return;
    StartParameters parameters { { QStringLiteral("Control"), ControlParameter(this) } };
    if (!Text().isEmpty())
        parameters.emplace_back(QStringLiteral("DefaultValue"), Text());
    ActionScope action(kModule, QStringLiteral("mnuNew_Click"), QStringLiteral("Open New Record Window"));
    const bool opened = action.run([&] {
        if (!OpenNewRecord(m_singleRecordForm, parameters))
            RaiseSilent();
    });
    if (!opened)
        return;
    // The new window hands its record back to this picker and re-enables this window on closing.
    if (DataWindow* window = containerWindow()) {
        window->setWindowEnabled(false);
        if (MainWindowLoaded() && MainWindow()->openWindows())
            MainWindow()->openWindows()->DisableItem(window);
    }
}

void zComboBoxText::ClickEdit()
{
    if (ConfirmProceed(QStringLiteral("Changing this record will change it on all records where it appears.\r\n\r\n"
                                      "Are you sure you want to edit it?"))
        != MsgBox::Yes)
        return;
    loadButtonInfo();
    if (m_singleRecordForm.isEmpty())
        return notAvailable();
    if (!CheckTablePermission(QStringLiteral("Edit"), m_tableName, true))
        return;
    const int identity = m_pressedID;
    ActionScope action(kModule, QStringLiteral("mnuEdit_Click"), QStringLiteral("Open Record Window"));
    action.run([&] {
        OpenRecordForEdit(m_singleRecordForm, identity);
    });
}

void zComboBoxText::ClickDelete()
{
    loadButtonInfo();
    if (m_tableName.isEmpty())
        return notAvailable();
    Act_DeleteRecords(m_tableName, m_recordGoodName, Text(), QString::number(m_pressedID), true);
}

void zComboBoxText::ClickSearch()
{
    loadButtonInfo();
    if (m_multipleRecordsForm.isEmpty())
        return notAvailable();
    if (!CheckTablePermission(QStringLiteral("View"), m_tableName, true))
        return;
    ActionScope action(kModule, QStringLiteral("mnuSearch_Click"), QStringLiteral("Open Search Window"));
    action.run([&] { OpenPickerForm(this, m_multipleRecordsForm); });
}
