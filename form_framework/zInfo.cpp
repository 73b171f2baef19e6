#include "form_framework/zInfo.h"

#include "core/Permissions.h"

#include "core/Actions.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"
#include "core/Twips.h"
#include "form_framework/BoundField.h"
#include "form_framework/ChildWindows.h"
#include "form_framework/DataWindow.h"
#include "form_framework/FailureLog.h"
#include "form_framework/FieldListing.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/PickerField.h"
#include "form_framework/RecordBar.h"
#include "form_framework/ResultList.h"
#include "form_framework/SearchBar.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"

#include <QCloseEvent>
#include <QMouseEvent>

namespace {
enum class SaveAnswer { Save, Discard, Cancel };

constexpr int kMaxRememberedTwips = 32767;
} // namespace

zInfo::zInfo(DataWindow* window)
    : QObject(window)
    , m_window(window)
{
    setObjectName(QStringLiteral("zInfo"));
    window->installEventFilter(this);
}

void zInfo::setStatusBar(const QString& text)
{
    m_statusBar = text.trimmed();
    if (m_window->isActiveWindow() || (m_window->frame() != m_window && m_window->frame()->isActiveWindow()))
        SetStatusText(m_statusBar);
}

QString zInfo::SearchSQL() const
{
    if (!m_searchSQL.isEmpty())
        return m_searchSQL;
    if (!m_mainTableName.isEmpty())
        return QStringLiteral("SELECT * FROM ") + m_mainTableName + QStringLiteral(" WHERE ");
    return {};
}

QString zInfo::Identity() const
{
    return m_identityField + QStringLiteral(" = ") + (zID() ? zID()->DBValue() : QStringLiteral("NULL"));
}

template <typename Member> Member* zInfo::findMember(QPointer<QObject>& cache) const
{
    if (auto* member = dynamic_cast<Member*>(cache.data()))
        return member;
    const QList<QWidget*> children = m_window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (auto* member = dynamic_cast<Member*>(child)) {
            cache = child;
            return member;
        }
    }
    return nullptr;
}

zIdentity* zInfo::zID() const { return findMember<zIdentity>(m_zID); }

RecordBar* zInfo::recordBar() const { return findMember<RecordBar>(m_recordBar); }

SearchBar* zInfo::searchBar() const { return findMember<SearchBar>(m_searchBar); }

ResultList* zInfo::resultList() const { return findMember<ResultList>(m_resultList); }

void zInfo::setMode(FormMode mode)
{
    m_mode = mode;
    if (m_formType == FormType::Record) {
        if (mode == FormMode::Add)
            SetCaption(m_window, QStringLiteral("Add ") + m_formCaption);
        else if (mode == FormMode::Edit)
            SetCaption(m_window, QStringLiteral("Edit ") + m_formCaption + QStringLiteral(" - ") + (zID() ? zID()->Text() : QString()));
        if (RecordBar* bar = recordBar()) {
            bar->setNewEnabled(mode == FormMode::Edit);
            bar->setActionsEnabled(bar->NewEnabled());
        }
        if (mode == FormMode::Add && zID())
            zID()->setValue(0);
    } else if (m_formType == FormType::Search) {
        if (SearchBar* bar = searchBar())
            bar->ChangeMode(m_mode);
    }
    Q_EMIT ModeChanged();
}

void zInfo::setDataChanged(bool changed)
{
    m_dataChanged = changed;
    if (m_formType != FormType::Record || !m_refreshScreen)
        return;
    if (RecordBar* bar = recordBar()) {
        bar->setSaveEnabled(changed);
        bar->setOkEnabled(changed);
        bar->setCloseCaption(changed ? QStringLiteral("&Cancel") : QStringLiteral("&Close"));
    }
}

void zInfo::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    if (m_window->Sizable() && DBConnection()) {
        std::unique_ptr<Recordset> size = CallProcedure(
            QStringLiteral("usp_DB_Form_Size_Load"), { { QStringLiteral("DB_App_Form_Name"), m_window->objectName() } });
        if (size && !size->eof()) {
            const QVariant width = size->value(QStringLiteral("DB_Width_Twips"));
            const QVariant height = size->value(QStringLiteral("DB_Height_Twips"));
            if (!width.isNull() && !height.isNull() && width.toInt() > 0 && height.toInt() > 0) {
                m_storedWidth = width.toInt();
                m_storedHeight = height.toInt();
                m_window->resizeTwips(m_storedWidth, m_storedHeight);
            }
        }
        CloseRecordset(size);
    }
    InitChildForm(m_window);
    if (m_formType == FormType::Record) {
        if (!m_window->Act_LoadForm() && zID())
            zID()->setValue(-1);
    } else if (m_formType == FormType::Search) {
        Act_StandardProcessOnLoadMessageSS(m_window);
        if (m_populateOnStart)
            m_window->PopulateData();
    }
    m_window->PopulateShortcuts();
    if (m_mode == FormMode::Add && !m_defaultValue.isEmpty())
        m_window->ProcessDefaultValue(m_defaultValue);
    m_window->AfterPopulateForm();
    FitChildForm(m_window);
    // Whatever size the load left (the stored one rounded to pixels, the design size, or one the
    // window chose for its record) is not the user's.
    m_loadedSize = m_window->frame()->size();
    m_rememberedWidth = m_storedWidth;
    m_rememberedHeight = m_storedHeight;
}

void zInfo::DoCommand(MainCommand command)
{
    auto beep = [] { Platform::prompt().beep(); };
    try {
        if (m_formType == FormType::Record) {
            RecordBar* bar = recordBar();
            switch (command) {
            case MainCommand::TabDelimited:
                if (!ShowFieldListing(m_window, m_formCaption + QStringLiteral(" Info")))
                    beep();
                return;
            case MainCommand::Excel:
            case MainCommand::XML:
            case MainCommand::ADTG:
            case MainCommand::Edit:
            case MainCommand::Delete:
                beep();
                return;
            case MainCommand::New:
                if (!bar)
                    return beep();
                bar->ClickNew();
                return;
            case MainCommand::Save:
                if (!bar)
                    return beep();
                bar->ClickSave();
                return;
            default:
                m_window->ProcessCommand(command);
                return;
            }
        }
        if (m_formType == FormType::Search) {
            SearchBar* bar = searchBar();
            switch (command) {
            case MainCommand::New:
                if (!bar)
                    return beep();
                bar->ClickNew();
                return;
            case MainCommand::Edit:
                if (!bar)
                    return beep();
                bar->ClickEdit();
                return;
            case MainCommand::Save:
                beep();
                return;
            case MainCommand::Delete:
                if (!bar)
                    return beep();
                bar->ClickDelete();
                return;
            default:
                m_window->ProcessCommand(command);
                return;
            }
        }
        if (m_formType == FormType::Other)
            m_window->ProcessCommand(command);
    } catch (...) {
        LogSwallowedFailure(
            m_window->objectName() + QStringLiteral(" command ") + QString::number(static_cast<int>(command)));
        beep();
    }
}

bool zInfo::CheckFields() { return m_window->CheckFieldsProcedure(); }

bool zInfo::Act_PopulateFormEdit()
{
    m_window->BeforePopulateFormEdit();
    if (!rememberLoadedRow())
        return false;
    return m_window->ActPopulateFormEditProcedure();
}

bool zInfo::rememberLoadedRow()
{
    m_updatesInDoubt.clear();
    if (m_mainTableName.isEmpty() || m_identityField.isEmpty() || !zID()) {
        m_loadedRow.clear();
        return true;
    }
    const PairDictionary written = GetFormSnapshot(m_window);
    QStringList columns;
    for (const QString& column : written.keys()) {
        if (!column.isEmpty())
            columns << column;
    }
    return m_loadedRow.read(m_mainTableName, Identity(), columns);
}

void zInfo::SetDefaults() { m_window->SetDefaultsProcedure(); }

bool zInfo::SaveData(bool refreshScreen)
{
    bool inserting = m_mode == FormMode::Add;
    if (inserting && m_storedInsertFinder) {
        // An earlier save of this record whose answer was lost may have stored it: the checks and
        // the save are then those of an edit of that record, never of a second one.
        PairDictionary sent;
        const std::optional<QVariant> stored = m_storedInsertFinder(sent);
        if (!stored)
            return false;
        if (!stored->isNull()) {
            if (!takeOnStoredRecord(stored->toInt(), sent))
                return false;
            inserting = false;
        }
    }
    PairDictionary changes;
    {
        // A server that restarted since the window loaded has dropped the connection: the checks
        // only read, so the first of them that finds it broken runs again on a new one.
        RerunAfterReconnect rerun;
        if (!CheckFields())
            return false;
        const PairDictionary current = GetFormSnapshot(m_window);
        changes = inserting ? current : GetChangedValues(m_snapshot, current);
        // The save asks for the permission of what it does: a user who may add but not edit cannot
        // go on editing the record they have just added. Every user may fill in their own user
        // record's names and defaults.
        if (!changes.isEmpty()
            && !(!inserting && IsOwnUserRecordChange(m_mainTableName, zID() ? zID()->Value() : 0, changes.keys()))
            && !CheckTablePermission(inserting ? QStringLiteral("Add") : QStringLiteral("Edit"), m_mainTableName, true))
            return false;
    }
    const bool changed = !changes.isEmpty();
    if (changed && !inserting) {
        if (!updateLoadedRow(changes))
            return false;
    } else if (changed) {
        // One statement, which returns the identity it made.
        const QString sql = BuildInsertSQL(m_mainTableName, changes) + QStringLiteral("\r\nRETURNING ") + m_identityField;
        const std::optional<QVariant> value = m_insertWriter ? m_insertWriter(changes) : GetSQLValue(sql);
        if (!value)
            return false;
        if (zID())
            zID()->setValue(value->toInt());
    }
    m_refreshScreen = refreshScreen;
    setDataChanged(false);
    if (refreshScreen) {
        m_snapshot = GetFormSnapshot(m_window);
        // The row the insert made is the one the window goes on editing.
        if (inserting && changed)
            rememberLoadedRow();
    }
    if (changed) {
        BroadcastDataChanged(inserting ? DataChangedAction::Added : DataChangedAction::Updated, m_mainTableName,
            QString::number(zID() ? zID()->Value() : 0));
        if (inserting)
            handToParentControl();
    }
    if (refreshScreen)
        setMode(FormMode::Edit);
    return true;
}

bool zInfo::updateLoadedRow(const PairDictionary& changes)
{
    // One statement: it writes only while the row holds what the window loaded, and proves it did
    // by returning the row, as it now is, to compare the next save with.
    const DatabaseConnection* connection = DBConnection();
    const QString sql = BuildUpdateSQL(m_mainTableName, changes) + QStringLiteral("\r\nWHERE ") + Identity()
        + (connection ? m_loadedRow.conditions(connection->facts()) : QString()) + QStringLiteral("\r\nRETURNING 0 AS Error")
        + m_loadedRow.returnedColumns();
    std::unique_ptr<Recordset> row;
    {
        // Its conditions make a second run harmless: on a connection opened again it still
        // compares, and writes nothing over a change made meanwhile.
        RerunAfterReconnect rerun;
        const bool ran = Act_OpenRecordset(row, sql);
        if (ran ? rerun.reran() : DBConnection() && DBConnection()->connectionLost()) {
            // The first run's answer went with the connection: the server may have made the
            // change, and the row then holds it rather than what was loaded.
            m_updatesInDoubt << changes;
        }
        if (!ran)
            return false;
    }
    if (!row->eof()) {
        m_loadedRow.take(*row, 1);
        m_updatesInDoubt.clear();
        CloseRecordset(row);
        return true;
    }
    CloseRecordset(row);
    bool failed = false;
    const std::optional<PairDictionary> stored = takeRowOfUpdateInDoubt(failed);
    if (failed)
        return false;
    if (!stored) {
        reportRowNotUpdated();
        return false;
    }
    // The row holds this window's own save: that save is done, and what the clerk has changed
    // since it goes onto the row as it left it.
    if (stored->keys() == changes.keys() && stored->values() == changes.values())
        return true;
    return updateLoadedRow(changes);
}

std::optional<PairDictionary> zInfo::takeRowOfUpdateInDoubt(bool& failed)
{
    failed = false;
    const DatabaseConnection* connection = DBConnection();
    if (m_updatesInDoubt.isEmpty() || !connection)
        return std::nullopt;
    // Texts compare exactly, letter case included; other values as the engine stores them.
    QSet<QString> textColumns;
    for (BoundField* field : FieldsOf(m_window)) {
        if (field->fieldKind() == FieldKind::Text || field->fieldKind() == FieldKind::Memo)
            textColumns.insert(field->DBFieldName());
    }
    for (qsizetype i = m_updatesInDoubt.size() - 1; i >= 0; --i) {
        const PairDictionary written = m_updatesInDoubt.at(i);
        std::unique_ptr<Recordset> row;
        {
            RerunAfterReconnect rerun;
            if (!Act_OpenRecordset(row,
                    QStringLiteral("SELECT 0 AS Error") + m_loadedRow.returnedColumns() + QStringLiteral(" FROM ")
                        + m_mainTableName + QStringLiteral("\r\nWHERE ") + Identity()
                        + m_loadedRow.conditionsAfterWrite(connection->facts(), written, textColumns))) {
                failed = true;
                return std::nullopt;
            }
        }
        if (!row->eof()) {
            m_loadedRow.take(*row, 1);
            m_updatesInDoubt.clear();
            CloseRecordset(row);
            return written;
        }
        CloseRecordset(row);
    }
    return std::nullopt;
}

bool zInfo::takeOnStoredRecord(int identity, const PairDictionary& sent)
{
    if (zID())
        zID()->setValue(identity);
    // What that save sent is what the window's record holds: the clerk's changes since are this
    // save's changes.
    m_snapshot = sent;
    setMode(FormMode::Edit);
    BroadcastDataChanged(DataChangedAction::Added, m_mainTableName, QString::number(identity));
    handToParentControl();
    return rememberLoadedRow();
}

QString zInfo::recordText() const
{
    QString name;
    if (!m_recordNameColumn.isEmpty())
        name = m_loadedRow.textOf(m_recordNameColumn).toString().trimmed();
    if (name.isEmpty() && zID())
        name = zID()->Text();
    return m_formCaption + QStringLiteral(" ") + AngleQuote(name);
}

void zInfo::reportRowNotUpdated()
{
    const QString record = recordText();
    std::optional<QVariant> rows;
    {
        RerunAfterReconnect rerun;
        rows = GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM ") + m_mainTableName + QStringLiteral(" WHERE ") + Identity());
    }
    if (!rows)
        return;
    if (rows->toInt() == 0) {
        ShowErrorMessage(QStringLiteral("Unable to Open Recordset\r\n\r\n") + record + QStringLiteral(" no longer exists in the database."));
        return;
    }
    const QString change = LastChangeOfRecord(m_mainTableName, zID() ? zID()->Value() : 0);
    const QString text = record + QStringLiteral(" was changed ") + (change.isEmpty() ? QStringLiteral("by another user") : change)
        + QStringLiteral(" since you opened it. Your changes were not saved.\r\n\r\nReload it now?");
    // No is the default: the reload drops what the user typed.
    if (ShowMessageBox(text, MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2, QStringLiteral("Record Changed")) == MsgBox::Yes)
        reloadRecord();
}

void zInfo::reloadRecord()
{
    if (!Act_PopulateFormEdit())
        return;
    m_snapshot = GetFormSnapshot(m_window);
    m_refreshScreen = true;
    setDataChanged(false);
    setMode(FormMode::Edit);
}

void zInfo::handToParentControl()
{
    if (!m_parentControl || !zID() || zID()->Value() <= 0)
        return;
    auto* field = dynamic_cast<BoundField*>(m_parentControl.data());
    if (!field)
        return;
    if (field->fieldKind() == FieldKind::Text)
        field->setFKValue(zID()->Value());
    else if (field->fieldKind() == FieldKind::ComboBoxText)
        field->setValue(zID()->Value());
}

bool zInfo::askToSave()
{
    // True when the caller may go on: saved, or the changes are to be dropped.
    if (!m_dataChanged)
        return true;
    const int answer = ConfirmSaveChanges(m_formCaption + QStringLiteral(" ") + AngleQuote(zID() ? zID()->Text() : QString()));
    if (answer == MsgBox::Yes)
        return SaveData(false);
    return answer == MsgBox::No;
}

void zInfo::ClickNew()
{
    if (!askToSave())
        return;
    setMode(FormMode::Add);
}

void zInfo::ClickMove(int index)
{
    if (m_dataChanged) {
        const int answer = ConfirmSaveChanges(m_formCaption + QStringLiteral(" ") + AngleQuote(zID() ? zID()->Text() : QString()));
        if (answer == MsgBox::Yes) {
            if (!SaveData(false))
                return;
        } else if (answer == MsgBox::No) {
            m_refreshScreen = false;
            setDataChanged(false);
        } else {
            return;
        }
    }
    for (QWidget* w : LoadedWindows()) {
        DataWindow* list = AsDataWindow(w);
        if (!list || list == m_window || list->info()->DaughterFormName().compare(m_window->objectName(), Qt::CaseInsensitive) != 0)
            continue;
        if (ResultList* rows = list->info()->resultList()) {
            const bool moved = index != 0 ? rows->MoveNext() : rows->MovePrevious();
            if (moved)
                rows->Edit(m_window->LeftTwips(), m_window->TopTwips());
            else
                Platform::prompt().beep();
        }
        break;
    }
    UnloadWindow(m_window);
}

void zInfo::ProcessDataChangedMessage(DataChangedAction action, const QString& tableName, const QString& idList)
{
    if (tableName.compare(m_mainTableName, Qt::CaseInsensitive) == 0) {
        if (m_mode == FormMode::Edit) {
            if (action == DataChangedAction::Deleted && zID() && InCommaList(QString::number(zID()->Value()), idList)) {
                m_refreshScreen = false;
                setDataChanged(false);
                UnloadWindow(m_window);
                return;
            }
        } else if (m_mode == FormMode::SearchList || m_mode == FormMode::Pick) {
            if (ResultList* rows = resultList()) {
                const QString oneRow = m_searchSQLOne + QStringLiteral(" @") + m_identityField + QStringLiteral(" = ") + idList;
                if (action == DataChangedAction::Added && !m_searchSQLOne.isEmpty()) {
                    rows->AddListViewItems(oneRow);
                    rows->HighlightOneListViewItem(QStringLiteral("#") + idList.trimmed());
                } else if (action == DataChangedAction::Updated && !m_searchSQLOne.isEmpty()) {
                    rows->UpdateListViewItems(oneRow);
                } else if (action == DataChangedAction::Deleted) {
                    rows->RemoveListViewItemsByID(idList);
                }
            }
        }
    }
    const QList<QWidget*> children = m_window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        auto* picker = dynamic_cast<PickerField*>(child);
        if (!picker || picker->DataChangedTableName().compare(tableName, Qt::CaseInsensitive) != 0)
            continue;
        if (action == DataChangedAction::Added)
            picker->AddItemsByID(idList);
        else if (action == DataChangedAction::Updated)
            picker->UpdateItemsByID(idList);
        else if (action == DataChangedAction::Deleted)
            picker->RemoveItemsByID(idList);
    }
}

void zInfo::ContainerForm_Activate()
{
    ActivateChildForm(m_window);
}

bool zInfo::QueryUnload()
{
    // A child window that refuses to close keeps its parent open too.
    if (m_childForm && !UnloadWindow(m_childForm))
        return false;
    if (m_formType != FormType::Record || !m_dataChanged)
        return true;
    // A window whose load failed has nothing to save.
    if (zID() && zID()->Value() == -1)
        return true;
    m_window->bringToFront();
    return askToSave();
}

void zInfo::Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    const bool resized = m_rememberedWidth != m_storedWidth || m_rememberedHeight != m_storedHeight;
    if (m_window->Sizable() && resized && m_rememberedWidth >= 1 && m_rememberedHeight >= 1 && DBConnection()) {
        Act_CallProcedureTrans(QStringLiteral("usp_DB_Form_Size_Save"),
            { { QStringLiteral("DB_App_Form_Name"), m_window->objectName() },
                { QStringLiteral("DB_Width_Twips"), m_rememberedWidth },
                { QStringLiteral("DB_Height_Twips"), m_rememberedHeight } });
    }
    FormClosing(m_window);
    RemoveLoadedWindow(m_window);
}

void zInfo::rememberSize()
{
    QWidget* frame = m_window->frame();
    if (!m_window->Sizable() || frame->isMinimized() || frame->isMaximized())
        return;
    if (m_loadedSize.isValid() && frame->size() == m_loadedSize) {
        m_rememberedWidth = m_storedWidth;
        m_rememberedHeight = m_storedHeight;
        return;
    }
    m_rememberedWidth = std::min(PixelsToTwips(frame->width()), kMaxRememberedTwips);
    m_rememberedHeight = std::min(PixelsToTwips(frame->height()), kMaxRememberedTwips);
}

void zInfo::layOutSearchWindow()
{
    QWidget* list = dynamic_cast<QWidget*>(resultList());
    if (!list)
        list = m_window->member(QStringLiteral("grdData"));
    if (!list)
        return;
    auto clamp = [](int value) { return value < 0 ? 0 : value; };
    const int margin = list->x();
    QWidget* bar = dynamic_cast<QWidget*>(searchBar());
    const int barHeight = bar ? bar->height() : 0;
    list->resize(clamp(m_window->width() - 2 * margin), clamp(m_window->height() - list->y() - barHeight));
    QWidget* populate = m_window->member(QStringLiteral("btnPopulate"));
    if (populate)
        populate->move(clamp(m_window->width() - populate->width() - margin), populate->y());
    if (QWidget* options = m_window->member(QStringLiteral("fraSearchOptions")); options && populate)
        options->resize(clamp(populate->x() - options->x() - margin), options->height());
}

bool zInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Resize:
        rememberSize();
        if (m_formType == FormType::Search && !m_window->frame()->isMinimized())
            layOutSearchWindow();
        break;
    case QEvent::Close: {
        auto* close = static_cast<QCloseEvent*>(event);
        if (!QueryUnload()) {
            close->ignore();
            return true;
        }
        Unload();
        break;
    }
    case QEvent::WindowActivate:
        ContainerForm_Activate();
        break;
    case QEvent::WindowDeactivate:
        ClearStatusText(m_window);
        break;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        DragFormStart(m_window, mouse->position().toPoint().x(), mouse->position().toPoint().y());
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() != Qt::NoButton)
            DragFormMove(m_window, mouse->position().toPoint().x(), mouse->position().toPoint().y());
        break;
    }
    case QEvent::MouseButtonRelease:
        DragFormEnd(m_window);
        break;
    default:
        break;
    }
    return false;
}
