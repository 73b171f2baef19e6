#include "form_framework/ChildWindows.h"

#include "core/AppInfo.h"
#include "core/Connection.h"
#include "form_framework/DataWindow.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/MainWindowServices.h"
#include "core/Platform.h"
#include "form_framework/PopulatedList.h"
#include "form_framework/SearchBar.h"
#include "core/TextUtilities.h"
#include "form_framework/WindowList.h"
#include "form_framework/zInfo.h"

#include <QApplication>
#include <QCursor>
#include <QLayout>
#include <QTabWidget>

#include <algorithm>

namespace {
MainWindowServices* s_mainWindow = nullptr;

struct DragState {
    bool active = false;
    QPoint start;
};
DragState s_drag;

bool normalState(QWidget* frame)
{
    return !frame->isMinimized() && !frame->isMaximized();
}
} // namespace

MainWindowServices* MainWindow()
{
    return s_mainWindow;
}

void SetMainWindow(MainWindowServices* services)
{
    s_mainWindow = services;
}

bool MainWindowLoaded()
{
    return s_mainWindow != nullptr;
}

void PopulateControls(DataWindow* window)
{
    const QList<QWidget*> children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (auto* list = dynamic_cast<PopulatedList*>(child); list && list->PopulateOnStart() && !list->PopulateSQL().isEmpty())
            list->Populate();
    }
}

void InitChildForm(DataWindow* window)
{
    PopulateControls(window);
    if (window->info()->FormType() == FormType::Search && window->info()->searchBar())
        window->info()->searchBar()->SetButtons();
    if (!MainWindowLoaded())
        return;
    window->setWindowIcon(s_mainWindow->icon());
    if (OpenWindowsList* list = s_mainWindow->openWindows())
        list->AddItem(window);
}

void FitChildForm(DataWindow* window)
{
    // Layouts keep the sizes they measured while the window was built; the lists filled since,
    // in a window not shown yet, have not told them.
    for (QWidget* part : window->findChildren<QWidget*>())
        part->updateGeometry();
    for (QLayout* layout : window->findChildren<QLayout*>())
        layout->invalidate();
    QWidget* frame = window->frame();
    const QSize least = window->frameSizeFor(window->contentsMinimumSize());
    QSize size = frame->size().expandedTo(least);
    if (!MainWindowLoaded() || !window->isChildOfMainWindow()) {
        frame->resize(size);
        return;
    }
    const QSize client = s_mainWindow->clientAreaSize();
    if (!client.isEmpty())
        size = size.boundedTo(client).expandedTo(least);
    frame->resize(size);

    QPoint place = frame->pos();
    if (!window->placedByOpener()) {
        // One title bar's height down and right of the window before; a place another window
        // already starts at is taken.
        const int step = std::max(window->frameSizeFor(QSize(0, 0)).height(), 1);
        QList<QPoint> taken;
        for (QWidget* other : LoadedWindows()) {
            DataWindow* data = AsDataWindow(other);
            if (data && data != window && data->isChildOfMainWindow() && data->frame()->isVisible())
                taken << data->frame()->pos();
        }
        place = QPoint(0, 0);
        for (int k = 0;; ++k) {
            const QPoint candidate(k * step, k * step);
            if (candidate.x() + size.width() > client.width() || candidate.y() + size.height() > client.height())
                break;
            if (!taken.contains(candidate)) {
                place = candidate;
                break;
            }
        }
    }
    if (place.y() + size.height() > client.height())
        place.setY(0);
    if (place.x() + size.width() > client.width())
        place.setX(0);
    frame->move(place);
}

void SetStatusText(const QString& text)
{
    if (s_mainWindow)
        s_mainWindow->setStatusText(text);
}

void ActivateChildForm(DataWindow* window)
{
    if (!MainWindowLoaded() || !window)
        return;
    if (DataWindow* child = window->info()->ChildForm()) {
        child->bringToFront();
        return;
    }
    SetStatusText(window->info()->StatusBar());
    if (OpenWindowsList* list = s_mainWindow->openWindows())
        list->ActivateItem(window);
}

void ClearStatusText(DataWindow*)
{
    if (MainWindowLoaded())
        SetStatusText(QString());
}

void FormClosing(DataWindow* window)
{
    if (!MainWindowLoaded() || !window)
        return;
    zInfo* info = window->info();
    if (DataWindow* child = info->ChildForm())
        UnloadWindow(child);
    if (DataWindow* parent = info->ParentForm()) {
        parent->setWindowEnabled(true);
        if (OpenWindowsList* list = s_mainWindow->openWindows())
            list->EnableItem(parent);
        parent->info()->setChildForm(nullptr);
        info->setParentControl(nullptr);
        info->setParentForm(nullptr);
    }
    SetStatusText(QString());
    if (OpenWindowsList* list = s_mainWindow->openWindows())
        list->RemoveItem(window);
    if (!window->isChildOfMainWindow()) {
        if (DataWindow* active = AsDataWindow(s_mainWindow->activeChildWindow()))
            ActivateChildForm(active);
    }
}

void UnloadAllForms()
{
    QWidget* main = s_mainWindow ? s_mainWindow->mainWindow() : nullptr;
    QList<QWidget*> windows = LoadedWindows();
    for (qsizetype i = windows.size() - 1; i >= 0; --i) {
        QWidget* window = windows.at(i);
        if (window == main || (main && window->objectName().compare(main->objectName(), Qt::CaseInsensitive) == 0))
            continue;
        if (!UnloadWindow(window))
            return; // the window refused to close: leave the rest open
    }
}

QString WindowNumberText(long long number)
{
    return QStringLiteral("#") + QString::number(number);
}

void SetCaption(QWidget* window, const QString& caption)
{
    window->setWindowTitle(caption);
    if (auto* data = AsDataWindow(window); data && data->frame() != data)
        data->frame()->setWindowTitle(caption);
    if (MainWindowLoaded() && s_mainWindow->openWindows() && window != s_mainWindow->mainWindow())
        s_mainWindow->openWindows()->setCaption(window, caption);
}

QString CountCaption(int count, const QString& noun)
{
    if (count < 0)
        return {};
    if (count == 0)
        return QStringLiteral("No ") + Plural(noun) + QStringLiteral(" found");
    if (count == 1)
        return QStringLiteral("1 ") + noun + QStringLiteral(" is showing");
    return QString::number(count) + QStringLiteral(" ") + Plural(noun) + QStringLiteral(" are showing");
}

QString MainCaption()
{
    QString caption = TestMode() ? QStringLiteral("Test ") : QString();
    caption += ApplicationTitle();
    const DatabaseEntry* entry = DatabaseAt(CurrentDB());
    if (!DBConnection() || !entry)
        caption += QStringLiteral(" - Database: None - User: None");
    else
        caption += QStringLiteral(" - Database: ") + entry->DisplayName + QStringLiteral(" - User: ") + UserName();
    if (DevelopmentRun())
        caption += QStringLiteral(" - Debug Mode!!!");
    return caption;
}

void SetMainCaption()
{
    if (s_mainWindow)
        s_mainWindow->setCaption(MainCaption());
}

void SetDatabaseMenus()
{
    if (!s_mainWindow)
        return;
    const DatabaseEntry* entry = DatabaseAt(CurrentDB());
    if (DBConnection() && entry) {
        s_mainWindow->setMenuCaption(QStringLiteral("mnuDatabase"), QStringLiteral("&Database (") + entry->DisplayName + QStringLiteral(")"));
        s_mainWindow->setMenuCaption(QStringLiteral("mnuTimeout"),
                                     QStringLiteral("&Timeout = ") + QString::number(DBConnection()->commandTimeout()) + QStringLiteral(" sec."));
        for (int i = 1; i <= DBCount(); ++i)
            s_mainWindow->setDatabaseMenuItem(i, i == CurrentDB());
        return;
    }
    s_mainWindow->setMenuCaption(QStringLiteral("mnuDatabase"), QStringLiteral("&Database (None)"));
    s_mainWindow->setMenuCaption(QStringLiteral("mnuTimeout"), QStringLiteral("&Timeout = XXX sec."));
}

void ArrangeTabControls()
{
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* w = focus; w; w = w->parentWidget()) {
        auto* tabs = qobject_cast<QTabWidget*>(w);
        if (!tabs)
            continue;
        for (int page = 0; page < tabs->count(); ++page) {
            if (tabs->widget(page)->isAncestorOf(focus)) {
                tabs->setCurrentIndex(page);
                break;
            }
        }
    }
}

void DragFormStart(DataWindow* window, int x, int y)
{
    if (!normalState(window->frame()))
        return;
    s_drag.active = true;
    s_drag.start = QPoint(x, y);
}

void DragFormMove(DataWindow* window, int x, int y)
{
    QWidget* frame = window->frame();
    if (!normalState(frame) || !s_drag.active)
        return;
    frame->move(frame->x() + (x - s_drag.start.x()), frame->y() + (y - s_drag.start.y()));
}

void DragFormEnd(DataWindow* window)
{
    if (normalState(window->frame()))
        s_drag.active = false;
}

void CenterCursorOnWindow(QWidget* window)
{
    const QRect r(window->mapToGlobal(QPoint(0, 0)), window->size());
    QCursor::setPos(r.left() + r.width() / 2, r.top() + r.height() / 2);
}

bool IsCursorOverWindow(QWidget* window)
{
    const QPoint p = QCursor::pos();
    const QPoint topLeft = window->mapToGlobal(QPoint(0, 0));
    return p.x() >= topLeft.x() && p.x() <= topLeft.x() + window->width() && p.y() >= topLeft.y()
        && p.y() <= topLeft.y() + window->height();
}

void SendCommandToActiveForm(int command)
{
    DataWindow* window = s_mainWindow ? AsDataWindow(s_mainWindow->activeChildWindow()) : nullptr;
    if (!window) {
        Platform::prompt().beep();
        return;
    }
    window->info()->DoCommand(static_cast<MainCommand>(command));
}
