#pragma once

#include "core/OrderedDictionary.h"
#include "form_framework/FormTypes.h"
#include "form_framework/LoadedRow.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

class DataWindow;
class RecordBar;
class ResultList;
class SearchBar;
class zIdentity;

// Field name to SQL literal, in the window's control order.
using Snapshot = OrderedDictionary<QString>;

// The invisible controller every data window carries (named "zInfo"): what kind of window this
// is, its table and queries, its mode, and the engine behind load, save, commands, close and the
// data-changed messages. Work only the window knows is asked of it through the window's virtual
// hooks (DataWindow), each with a default that serves a plain record or search window.
class zInfo : public QObject {
    Q_OBJECT
public:
    explicit zInfo(DataWindow* window);

    DataWindow* ContainerForm() const { return m_window; }

    // --- Design properties --------------------------------------------------------------------
    QString StatusBar() const { return m_statusBar; }
    void setStatusBar(const QString& text);
    FormMode Mode() const { return m_mode; }
    void setMode(FormMode mode);
    ::FormType FormType() const { return m_formType; }
    void setFormType(::FormType type) { m_formType = type; }
    // The stored query, or "SELECT * FROM <MainTableName> WHERE " when none is stored.
    QString SearchSQL() const;
    void setSearchSQL(const QString& sql) { m_searchSQL = sql; }
    QString SearchSQLOne() const { return m_searchSQLOne; }
    void setSearchSQLOne(const QString& sql) { m_searchSQLOne = sql; }
    QString FormCaption() const { return m_formCaption; }
    void setFormCaption(const QString& caption) { m_formCaption = caption; }
    QString MainTableName() const { return m_mainTableName; }
    void setMainTableName(const QString& table) { m_mainTableName = table; }
    QString IdentityField() const { return m_identityField; }
    void setIdentityField(const QString& field) { m_identityField = field; }
    QString DaughterFormName() const { return m_daughterFormName; }
    void setDaughterFormName(const QString& name) { m_daughterFormName = name; }
    bool PopulateOnStart() const { return m_populateOnStart; }
    void setPopulateOnStart(bool populate) { m_populateOnStart = populate; }
    bool RePopulateOnDelete() const { return m_rePopulateOnDelete; }
    void setRePopulateOnDelete(bool repopulate) { m_rePopulateOnDelete = repopulate; }
    QString DefaultValue() const { return m_defaultValue; }
    void setDefaultValue(const QString& text) { m_defaultValue = text; }
    // Writes a new record in place of the save's own insert: gets the values to insert, answers
    // the new identity, or nothing once it has reported why not. Windows whose records must be
    // written once (InsertOnce.h) set one.
    using InsertWriter = std::function<std::optional<QVariant>(const PairDictionary& values)>;
    void setInsertWriter(InsertWriter writer) { m_insertWriter = std::move(writer); }
    // Asked first by a save of a new record: the identity of the record an earlier save of it
    // stored although its answer was lost (with the values that save sent), a null QVariant when
    // there is none, or nothing once it has reported that it could not find out. The save then
    // goes on as an edit of that record.
    using StoredInsertFinder = std::function<std::optional<QVariant>(PairDictionary& sent)>;
    void setStoredInsertFinder(StoredInsertFinder finder) { m_storedInsertFinder = std::move(finder); }
    // The column whose stored text names the record to the clerk, as "Item <2024-0015-01>" (an
    // item's number); none: the record's identity.
    void setRecordNameColumn(const QString& column) { m_recordNameColumn = column; }

    // --- Run-time state ------------------------------------------------------------------------
    bool DataChanged() const { return m_dataChanged; }
    void setDataChanged(bool changed);
    bool RefreshScreen() const { return m_refreshScreen; }
    void setRefreshScreen(bool refresh) { m_refreshScreen = refresh; }
    DataWindow* ChildForm() const { return m_childForm; }
    void setChildForm(DataWindow* window) { m_childForm = window; }
    DataWindow* ParentForm() const { return m_parentForm; }
    void setParentForm(DataWindow* window) { m_parentForm = window; }
    QWidget* ParentControl() const { return m_parentControl; }
    void setParentControl(QWidget* control) { m_parentControl = control; }
    const Snapshot& SnapShot() const { return m_snapshot; }
    void setSnapShot(const Snapshot& snapshot) { m_snapshot = snapshot; }
    // "<IdentityField> = <zID.DBValue>": the record's WHERE condition.
    QString Identity() const;

    // --- Operations ----------------------------------------------------------------------------
    void DoCommand(MainCommand command);
    bool SaveData(bool refreshScreen);
    bool CheckFields();
    bool Act_PopulateFormEdit();
    void SetDefaults();
    void ClickNew();
    void ClickMove(int index);
    void ProcessDataChangedMessage(DataChangedAction action, const QString& tableName, const QString& idList);
    void ContainerForm_Activate();

    // The window's load (called once by the opening routines) and its close request.
    void Load();
    // True when the window may close; asks to save unsaved changes.
    bool QueryUnload();
    // The window is closing for good: keep its size, undo its links.
    void Unload();

    // The window's members the controller drives, found by their type (the first of each kind;
    // their object names stay "zID", "zbtnButtons" and "zlvwData" for tests and screen readers).
    zIdentity* zID() const;
    RecordBar* recordBar() const;
    SearchBar* searchBar() const;
    ResultList* resultList() const;

Q_SIGNALS:
    // After every change of the mode, for what the window shows beside the controller.
    void ModeChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool askToSave();
    // The row's columns the window writes, as they are now (before the fields are filled, so a
    // change made in between shows as a change at the save, never the other way round).
    bool rememberLoadedRow();
    // The update of the changed columns, written only while the row holds what was loaded.
    bool updateLoadedRow(const PairDictionary& changes);
    // After the answer to an update was lost: whether the row holds what one of the updates in
    // doubt wrote, newest first; found, the row is taken as the loaded one and that update's
    // values are given. failed: the look-up could not be made, and has been reported.
    std::optional<PairDictionary> takeRowOfUpdateInDoubt(bool& failed);
    // A record that an earlier save of this new record stored becomes the window's record.
    bool takeOnStoredRecord(int identity, const PairDictionary& sent);
    // The update found no row: the record is gone, or someone changed it; offers the reload.
    void reportRowNotUpdated();
    // The record as the messages name it: the caption and the record's name in angle brackets.
    QString recordText() const;
    void reloadRecord();
    void rememberSize();
    void layOutSearchWindow();
    void handToParentControl();
    template <typename Member> Member* findMember(QPointer<QObject>& cache) const;

    DataWindow* m_window;
    QString m_statusBar;
    FormMode m_mode = FormMode::Add;
    ::FormType m_formType = ::FormType::Other;
    QString m_searchSQL;
    QString m_searchSQLOne;
    QString m_formCaption;
    QString m_mainTableName;
    QString m_identityField;
    QString m_daughterFormName;
    bool m_populateOnStart = false;
    bool m_rePopulateOnDelete = false;
    QString m_defaultValue;
    InsertWriter m_insertWriter;
    StoredInsertFinder m_storedInsertFinder;
    QString m_recordNameColumn;
    bool m_dataChanged = false;
    bool m_refreshScreen = true;
    QPointer<DataWindow> m_childForm;
    QPointer<DataWindow> m_parentForm;
    QPointer<QWidget> m_parentControl;
    Snapshot m_snapshot;
    LoadedRow m_loadedRow;
    // The changes of updates of the loaded row whose answer was lost (the connection broke, the
    // server may have made them), until the row is read again.
    QList<PairDictionary> m_updatesInDoubt;
    // The size to save (twips): the stored size until the user gives the window another one in
    // its normal state. The frame's size when the load ended (the stored size rounded to pixels,
    // or the design size) is not the user's, and saving it would drift the stored size.
    int m_rememberedWidth = 0;
    int m_rememberedHeight = 0;
    int m_storedWidth = 0;
    int m_storedHeight = 0;
    QSize m_loadedSize;
    bool m_loaded = false;
    bool m_unloaded = false;
    // The members found so far (a member is looked for again once it is gone).
    mutable QPointer<QObject> m_zID;
    mutable QPointer<QObject> m_recordBar;
    mutable QPointer<QObject> m_searchBar;
    mutable QPointer<QObject> m_resultList;
};
