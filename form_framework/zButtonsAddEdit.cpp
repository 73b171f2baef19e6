#include "form_framework/zButtonsAddEdit.h"

#include "core/Actions.h"
#include "form_framework/ActionsMenu.h"
#include "form_framework/DataWindow.h"
#include "core/InputRoutines.h"
#include "core/Permissions.h"
#include "form_framework/WindowList.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace {
constexpr int kWideMove = 75;
constexpr int kNarrowMove = 27;
} // namespace

zButtonsAddEdit::zButtonsAddEdit(QWidget* parent)
    : zButtonBar({ 582, 36 }, parent)
{
    addButtons({ { &m_save, "btnSave", "&Save", 4, 59, false }, { &m_new, "btnNew", "&New", 68, 59, false },
                   { &m_previous, "btnMove0", "<< &Previous", 188, kWideMove },
                   { &m_next, "btnMove1", "Ne&xt >>", 268, kWideMove },
                   { &m_actions, "btnActions", "&Actions", 392, 59, false }, { &m_ok, "btnOK", "&OK", 456, 59, false },
                   { &m_close, "btnClose", "&Close", 520, 59 } },
               28);

    ActionsMenu* menu = addActionsMenu(m_actions);
    QAction* history = menu->menu()->addAction(QStringLiteral("Record &History"));
    history->setObjectName(QStringLiteral("mnuRecordHistory"));
    connect(history, &QAction::triggered, this, &zButtonsAddEdit::recordHistoryClicked);

    connect(m_save, &QPushButton::clicked, this, &zButtonsAddEdit::saveClicked);
    connect(m_ok, &QPushButton::clicked, this, &zButtonsAddEdit::okClicked);
    connect(m_new, &QPushButton::clicked, this, &zButtonsAddEdit::newClicked);
    connect(m_previous, &QPushButton::clicked, this, [this] { moveClicked(0); });
    connect(m_next, &QPushButton::clicked, this, [this] { moveClicked(1); });
    finishBuilding(m_close);
}

void zButtonsAddEdit::setAllowNew(bool allow)
{
    m_allowNew = allow;
    m_new->setVisible(allow);
}

void zButtonsAddEdit::setAllowMove(bool allow)
{
    m_allowMove = allow;
    m_previous->setVisible(allow);
    m_next->setVisible(allow);
}

bool zButtonsAddEdit::SaveEnabled() const { return m_save->isEnabled(); }
void zButtonsAddEdit::setSaveEnabled(bool enabled) { m_save->setEnabled(enabled); }
bool zButtonsAddEdit::NewEnabled() const { return m_new->isEnabled(); }
void zButtonsAddEdit::setNewEnabled(bool enabled) { m_new->setEnabled(enabled); }
bool zButtonsAddEdit::OkEnabled() const { return m_ok->isEnabled(); }
void zButtonsAddEdit::setOkEnabled(bool enabled) { m_ok->setEnabled(enabled); }
bool zButtonsAddEdit::ActionsEnabled() const { return m_actions->isEnabled(); }
void zButtonsAddEdit::setActionsEnabled(bool enabled) { m_actions->setEnabled(enabled); }
QString zButtonsAddEdit::CloseCaption() const { return m_close->text(); }
void zButtonsAddEdit::setCloseCaption(const QString& caption) { m_close->setText(caption); }

void zButtonsAddEdit::ClickSave()
{
    ButtonBeep(m_save);
}

void zButtonsAddEdit::ClickNew()
{
    ButtonBeep(m_new);
}

void zButtonsAddEdit::layOut()
{
    place(m_save, m_save->x(), m_save->width());
    place(m_new, m_new->x(), m_new->width());
    placeFromRight({ m_close, m_ok, m_actions });
    const int right = m_new->x() + m_new->width();
    const int gap = m_actions->x() - right;
    // Room for two wide move buttons with three gaps.
    const bool wide = gap >= 2 * kWideMove + 3 * kGap;
    const int moveWidth = wide ? kWideMove : kNarrowMove;
    m_previous->setText(wide ? QStringLiteral("<< &Previous") : QStringLiteral("<<"));
    m_next->setText(wide ? QStringLiteral("Ne&xt >>") : QStringLiteral(">>"));
    // The pair stands centred in the gap, 4 pixels apart (division truncating toward zero).
    place(m_previous, right + (gap - kGap) / 2 - moveWidth, moveWidth);
    place(m_next, right + (gap + kGap) / 2, moveWidth);
}

void zButtonsAddEdit::saveClicked()
{
    if (DataWindow* window = containerForm())
        window->info()->SaveData(true);
}

void zButtonsAddEdit::okClicked()
{
    DataWindow* window = containerForm();
    if (window && window->info()->SaveData(false))
        UnloadWindow(window);
}

void zButtonsAddEdit::newClicked()
{
    DataWindow* window = containerForm();
    if (!window)
        return;
    zInfo* info = window->info();
    if (!CheckTablePermission(QStringLiteral("Add"), info->MainTableName(), true))
        return;
    info->ClickNew();
    // A cancelled save question or a failed save leaves the record where it was: its changes
    // stay marked and its fields keep their values.
    if (info->Mode() != FormMode::Add)
        return;
    info->setDataChanged(false);
    info->SetDefaults();
}

void zButtonsAddEdit::moveClicked(int index)
{
    DataWindow* window = containerForm();
    if (!window)
        return;
    BusyPointer busy;
    window->info()->ClickMove(index);
}

void zButtonsAddEdit::recordHistoryClicked()
{
    DataWindow* window = containerForm();
    if (!window)
        return;
    zInfo* info = window->info();
    const QString identity = info->zID() ? info->zID()->DBValue() : QStringLiteral("NULL");
    ActionsMenu::ShowRecordHistory(info->MainTableName(), identity, info->FormCaption(), identity);
}
