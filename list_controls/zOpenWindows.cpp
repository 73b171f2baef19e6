#include "list_controls/zOpenWindows.h"

#include "form_framework/ChildWindows.h"
#include "form_framework/DataWindow.h"
#include "list_controls/OpenWindowsModel.h"
#include "form_framework/WindowList.h"
#include "form_framework/zInfo.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

zOpenWindows::zOpenWindows(QWidget* parent)
    : QWidget(parent)
    , m_view(new QListView(this))
    , m_model(new OpenWindowsModel(this))
    , m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("zowOpenWindows"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setObjectName(QStringLiteral("lvwList"));
    m_view->setModel(m_model);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setContextMenuPolicy(Qt::PreventContextMenu);
    m_view->viewport()->installEventFilter(this);

    m_menu->setObjectName(QStringLiteral("mnuPopup"));
    QAction* closeOne = m_menu->addAction(QStringLiteral("Close &Window"));
    closeOne->setObjectName(QStringLiteral("mnuCloseWindow"));
    QAction* closeAll = m_menu->addAction(QStringLiteral("Close &All Windows"));
    closeAll->setObjectName(QStringLiteral("mnuCloseAllWindows"));
    connect(closeOne, &QAction::triggered, this, [] {
        if (MainWindow())
            UnloadWindow(MainWindow()->activeChildWindow());
    });
    connect(closeAll, &QAction::triggered, this, [] { UnloadAllForms(); });
}

QString zOpenWindows::KeyOf(const QWidget* window)
{
    return WindowNumberText(static_cast<long long>(reinterpret_cast<quintptr>(window)));
}

void zOpenWindows::AddItem(QWidget* window)
{
    if (!window || m_model->rowOfKey(KeyOf(window)) >= 0)
        return;
    m_model->append({ KeyOf(window), window, window->windowTitle(), true });
    m_view->scrollTo(m_model->index(m_model->count() - 1));
}

void zOpenWindows::RemoveItem(QWidget* window)
{
    const int row = m_model->rowOfKey(KeyOf(window));
    if (row >= 0)
        m_model->remove(row);
}

void zOpenWindows::ActivateItem(QWidget* window)
{
    const int row = m_model->rowOfKey(KeyOf(window));
    if (row >= 0)
        select(row);
}

void zOpenWindows::EnableItem(QWidget* window)
{
    const int row = m_model->rowOfKey(KeyOf(window));
    if (row >= 0)
        m_model->setEnabled(row, true);
}

void zOpenWindows::DisableItem(QWidget* window)
{
    const int row = m_model->rowOfKey(KeyOf(window));
    if (row >= 0)
        m_model->setEnabled(row, false);
}

void zOpenWindows::setCaption(QWidget* window, const QString& caption)
{
    const int row = m_model->rowOfKey(KeyOf(window));
    if (row >= 0)
        m_model->setText(row, caption);
}

int zOpenWindows::count() const { return m_model->count(); }

QString zOpenWindows::itemText(int row) const { return m_model->at(row).text; }

bool zOpenWindows::itemEnabled(int row) const { return m_model->at(row).enabled; }

int zOpenWindows::selectedRow() const
{
    const QModelIndexList selected = m_view->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void zOpenWindows::select(int row)
{
    m_view->selectionModel()->setCurrentIndex(m_model->index(row), QItemSelectionModel::ClearAndSelect);
}

void zOpenWindows::pressed(int row, bool rightButton, const QPoint& globalPos)
{
    if (row != selectedRow()) {
        const int before = selectedRow();
        select(row);
        // The window whose key the entry has, among the loaded ones (the main window aside).
        const QString key = m_model->at(row).key;
        QWidget* main = MainWindow() ? MainWindow()->mainWindow() : nullptr;
        QWidget* target = nullptr;
        for (QWidget* window : LoadedWindows()) {
            if (window != main && KeyOf(window) == key) {
                target = window;
                break;
            }
        }
        if (auto* dataWindow = AsDataWindow(target)) {
            if (m_model->at(row).enabled) {
                dataWindow->bringToFront();
            } else if (DataWindow* child = dataWindow->info()->ChildForm()) {
                // A window waiting on one it opened: that one comes forward instead.
                child->bringToFront();
                const int childRow = m_model->rowOfKey(KeyOf(child));
                select(childRow >= 0 ? childRow : before);
            }
        } else if (target) {
            target->raise();
            target->activateWindow();
        }
    }
    if (rightButton)
        m_menu->popup(globalPos);
}

bool zOpenWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex hit = m_view->indexAt(mouse->position().toPoint());
        // Nothing under the pointer: no selection change and no menu.
        if (hit.isValid())
            pressed(hit.row(), mouse->button() == Qt::RightButton, mouse->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
