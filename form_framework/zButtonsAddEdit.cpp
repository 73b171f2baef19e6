#include "form_framework/zButtonsAddEdit.h"

#include "core/Actions.h"
#include "form_framework/ActionsMenu.h"
#include "form_framework/BarButtons.h"
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
constexpr int kUnits = 36; // the bar's inner height in layout units
constexpr int kGap = 4;
constexpr int kWideMove = 75;
constexpr int kNarrowMove = 27;
// Two wide move buttons with three gaps.
constexpr int kWideMoveSpace = 2 * kWideMove + 3 * kGap;
} // namespace

zButtonsAddEdit::zButtonsAddEdit(QWidget* parent)
    : zButtonBar(parent)
{
    setObjectName(QStringLiteral("zbtnButtons"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    setFont(font);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    m_save = BarButtons::make(this, QStringLiteral("btnSave"), QStringLiteral("&Save"));
    m_new = BarButtons::make(this, QStringLiteral("btnNew"), QStringLiteral("&New"));
    m_previous = BarButtons::make(this, QStringLiteral("btnMove0"), QStringLiteral("<< &Previous"));
    m_next = BarButtons::make(this, QStringLiteral("btnMove1"), QStringLiteral("Ne&xt >>"));
    m_actions = BarButtons::make(this, QStringLiteral("btnActions"), QStringLiteral("&Actions"));
    m_ok = BarButtons::make(this, QStringLiteral("btnOK"), QStringLiteral("&OK"));
    m_close = BarButtons::make(this, QStringLiteral("btnClose"), QStringLiteral("&Close"));
    m_save->setGeometry(4, 4, 59, 28);
    m_new->setGeometry(68, 4, 59, 28);
    m_previous->setGeometry(188, 4, kWideMove, 28);
    m_next->setGeometry(268, 4, kWideMove, 28);
    m_actions->setGeometry(392, 4, 59, 28);
    m_ok->setGeometry(456, 4, 59, 28);
    m_close->setGeometry(520, 4, 59, 28);
    QWidget::setTabOrder(m_save, m_new);
    QWidget::setTabOrder(m_new, m_previous);
    QWidget::setTabOrder(m_previous, m_next);
    QWidget::setTabOrder(m_next, m_actions);
    QWidget::setTabOrder(m_actions, m_ok);
    QWidget::setTabOrder(m_ok, m_close);
    m_save->setEnabled(false);
    m_new->setEnabled(false);
    m_actions->setEnabled(false);
    m_ok->setEnabled(false);

    m_menu = new ActionsMenu(this);
    QAction* history = m_menu->menu()->addAction(QStringLiteral("Record &History"));
    history->setObjectName(QStringLiteral("mnuRecordHistory"));
    m_menu->beginWindowCommands();
    connect(history, &QAction::triggered, this, &zButtonsAddEdit::recordHistoryClicked);
    connect(m_menu, &ActionsMenu::ActionClick, this, [this](QString& name) { Q_EMIT ActionClick(name); });

    connect(m_save, &QPushButton::clicked, this, &zButtonsAddEdit::saveClicked);
    connect(m_ok, &QPushButton::clicked, this, &zButtonsAddEdit::okClicked);
    connect(m_new, &QPushButton::clicked, this, &zButtonsAddEdit::newClicked);
    connect(m_previous, &QPushButton::clicked, this, [this] { moveClicked(0); });
    connect(m_next, &QPushButton::clicked, this, [this] { moveClicked(1); });
    connect(m_close, &QPushButton::clicked, this, &zButtonsAddEdit::closeClicked);
    connect(m_actions, &QPushButton::clicked, this, [this] { m_menu->popUpUnder(m_actions); });
    setCloseButton(m_close);
    resize(sizeHint());
    layOut();
}

void zButtonsAddEdit::AddAction(const QString& caption, bool flag)
{
    m_menu->addWindowCommand(caption, flag);
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
QMenu* zButtonsAddEdit::actionsMenu() const { return m_menu->menu(); }

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
    const int top = BarButtons::scaled(4, height(), kUnits);
    const int buttonHeight = BarButtons::scaled(28, height(), kUnits);
    auto place = [top, buttonHeight](QPushButton* button, int left, int width) { button->setGeometry(left, top, width, buttonHeight); };
    place(m_save, m_save->x(), m_save->width());
    place(m_new, m_new->x(), m_new->width());
    place(m_close, width() - m_close->width() - kGap, m_close->width());
    place(m_ok, m_close->x() - m_ok->width() - kGap, m_ok->width());
    place(m_actions, m_ok->x() - m_actions->width() - kGap, m_actions->width());
    const int right = m_new->x() + m_new->width();
    const int gap = m_actions->x() - right;
    const bool wide = gap >= kWideMoveSpace;
    const int moveWidth = wide ? kWideMove : kNarrowMove;
    m_previous->setText(wide ? QStringLiteral("<< &Previous") : QStringLiteral("<<"));
    m_next->setText(wide ? QStringLiteral("Ne&xt >>") : QStringLiteral(">>"));
    // The pair stands centred in the gap, 4 pixels apart (division truncating toward zero).
    place(m_previous, right + (gap - kGap) / 2 - moveWidth, moveWidth);
    place(m_next, right + (gap + kGap) / 2, moveWidth);
}

DataWindow* zButtonsAddEdit::containerForm() const
{
    return BarButtons::containerOf(this);
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

void zButtonsAddEdit::closeClicked()
{
    if (DataWindow* window = containerForm())
        UnloadWindow(window);
    else
        this->window()->close();
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
