#include "form_framework/zButtonsSearch.h"

#include "core/Actions.h"
#include "form_framework/ActionsMenu.h"
#include "form_framework/BoundField.h"
#include "form_framework/DataWindow.h"
#include "core/InputRoutines.h"
#include "core/Permissions.h"
#include "form_framework/ResultList.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zInfo.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace {
constexpr FormMode kPickMode = FormMode::Pick;
} // namespace

zButtonsSearch::zButtonsSearch(QWidget* parent)
    : zButtonBar({ 621, 33 }, parent)
{
    addButtons({ { &m_new, "btnNew", "&New", 4, 60 }, { &m_edit, "btnEdit", "&Edit", 68, 60, false },
                   { &m_delete, "btnDelete", "&Delete", 132, 60, false },
                   { &m_actions, "btnActions", "&Actions", 428, 60, false }, { &m_select, "btnSelect", "&Select", 492, 60 },
                   { &m_close, "btnClose", "&Close", 556, 60 } },
               25);

    QMenu* menu = addActionsMenu(m_actions)->menu();
    QMenu* adjust = menu->addMenu(QStringLiteral("Adjust &Columns"));
    adjust->setObjectName(QStringLiteral("mnuAdjustColumns"));
    QAction* dataOnly = adjust->addAction(QStringLiteral("&Data Only"));
    dataOnly->setObjectName(QStringLiteral("mnuAdjustColumnsData"));
    QAction* dataAndHeaders = adjust->addAction(QStringLiteral("Data and &Headers"));
    dataAndHeaders->setObjectName(QStringLiteral("mnuAdjustColumnsDataAndHeaders"));
    QAction* selectAll = menu->addAction(QStringLiteral("Select &All"));
    selectAll->setObjectName(QStringLiteral("mnuSelectAll"));
    m_recordHistory = menu->addAction(QStringLiteral("Record &History"));
    m_recordHistory->setObjectName(QStringLiteral("mnuRecordHistory"));

    auto withList = [this](auto call) {
        return [this, call] {
            if (DataWindow* window = containerForm()) {
                if (ResultList* list = window->info()->resultList())
                    call(list);
            }
        };
    };
    connect(dataOnly, &QAction::triggered, this, withList([](ResultList* list) { list->AdjustColumnWidth(false); }));
    connect(dataAndHeaders, &QAction::triggered, this, withList([](ResultList* list) { list->AdjustColumnWidth(true); }));
    connect(selectAll, &QAction::triggered, this, withList([](ResultList* list) { list->SelectAll(); }));
    connect(m_recordHistory, &QAction::triggered, this, &zButtonsSearch::recordHistoryClicked);

    connect(m_new, &QPushButton::clicked, this, &zButtonsSearch::newClicked);
    connect(m_edit, &QPushButton::clicked, this, &zButtonsSearch::editClicked);
    connect(m_delete, &QPushButton::clicked, this, &zButtonsSearch::deleteClicked);
    connect(m_select, &QPushButton::clicked, this, &zButtonsSearch::selectClicked);
    finishBuilding(m_close);
}

void zButtonsSearch::ShowActionsMenu(float&, float&)
{
    actions()->popUpAtPointer();
}

bool zButtonsSearch::EditDeleteEnabled() const
{
    return m_edit->isEnabled();
}

void zButtonsSearch::setEditDeleteEnabled(bool enabled)
{
    for (QPushButton* button : { m_edit, m_delete, m_select, m_actions })
        button->setEnabled(enabled);
}

void zButtonsSearch::ClickNew() { ButtonBeep(m_new); }
void zButtonsSearch::ClickEdit() { ButtonBeep(m_edit); }
void zButtonsSearch::ClickDelete() { ButtonBeep(m_delete); }
void zButtonsSearch::ClickSelect() { ButtonBeep(m_select); }

void zButtonsSearch::SetButtons()
{
    DataWindow* window = containerForm();
    if (!window)
        return;
    const bool hasRecordWindow = !window->info()->DaughterFormName().isEmpty();
    m_hasRecordWindow = hasRecordWindow;
    m_new->setVisible(hasRecordWindow && m_allowNew);
    m_edit->setVisible(hasRecordWindow && m_allowEdit);
    if (!hasRecordWindow) {
        // Delete takes New's place at the left edge.
        m_deleteLeft = 4;
        m_delete->move(m_deleteLeft, m_delete->y());
    }
    const FormMode mode = window->info()->Mode();
    m_select->setVisible(mode == kPickMode);
    m_close->setText(mode == kPickMode ? QStringLiteral("&Cancel") : QStringLiteral("&Close"));
}

void zButtonsSearch::ChangeMode(FormMode mode)
{
    m_select->setVisible(mode == kPickMode);
    m_close->setText(mode == kPickMode ? QStringLiteral("&Cancel") : QStringLiteral("&Close"));
    layOut();
}

void zButtonsSearch::setAllowNew(bool allow)
{
    m_allowNew = allow;
    m_new->setVisible(allow && m_hasRecordWindow);
}

void zButtonsSearch::setAllowEdit(bool allow)
{
    m_allowEdit = allow;
    m_edit->setVisible(allow && m_hasRecordWindow);
}

void zButtonsSearch::setAllowDelete(bool allow)
{
    m_allowDelete = allow;
    m_delete->setVisible(allow);
}

void zButtonsSearch::setAllowRecordHistory(bool allow)
{
    m_allowRecordHistory = allow;
    m_recordHistory->setVisible(allow);
}

void zButtonsSearch::layOut()
{
    for (QPushButton* button : { m_new, m_edit, m_delete, m_actions, m_select, m_close })
        place(button, button->x(), button->width());
    // Without a window around the bar (a designer's preview) the picker arrangement shows.
    DataWindow* window = containerForm();
    if (!window || window->info()->Mode() == kPickMode)
        placeFromRight({ m_close, m_select, m_actions });
    else
        placeFromRight({ m_close, m_actions });
}

void zButtonsSearch::newClicked()
{
    DataWindow* window = containerForm();
    if (!window || !m_allowNew)
        return;
    zInfo* info = window->info();
    if (!CheckTablePermission(QStringLiteral("Add"), info->MainTableName(), true))
        return;
    ActionScope action(QStringLiteral("zButtonsSearch"), QStringLiteral("btnNew_Click"), QStringLiteral("Open New Record Window"));
    action.run([&] { OpenNewRecord(info->DaughterFormName()); });
}

void zButtonsSearch::editClicked()
{
    // The list opens the record window and reports its own failures.
    DataWindow* window = containerForm();
    if (window && m_allowEdit && window->info()->resultList())
        window->info()->resultList()->Edit();
}

void zButtonsSearch::deleteClicked()
{
    DataWindow* window = containerForm();
    if (window && window->info()->resultList())
        window->info()->resultList()->Act_Delete();
}

void zButtonsSearch::selectClicked()
{
    DataWindow* window = containerForm();
    if (!window)
        return;
    zInfo* info = window->info();
    ResultList* list = info->resultList();
    if (auto* field = dynamic_cast<BoundField*>(info->ParentControl()); field && list) {
        if (field->fieldKind() == FieldKind::Text)
            field->setFKValue(list->SelectedItemID());
        else if (field->fieldKind() == FieldKind::ComboBoxText)
            field->setValue(list->SelectedItemID());
    }
    UnloadWindow(window);
}

void zButtonsSearch::recordHistoryClicked()
{
    DataWindow* window = containerForm();
    if (!window || !window->info()->resultList())
        return;
    zInfo* info = window->info();
    ResultList* list = info->resultList();
    ActionsMenu::ShowRecordHistory(info->MainTableName(), QString::number(list->SelectedItemID()), info->FormCaption(),
                                   list->SelectedItemText());
}
