#include "form_framework/DataWindow.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"
#include "core/Twips.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/ResultList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

DataWindow::DataWindow(const QString& className, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(className);
    setAttribute(Qt::WA_DeleteOnClose);
    m_info = new zInfo(this);
}

QWidget* DataWindow::frame()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        return sub;
    return this;
}

bool DataWindow::isChildOfMainWindow() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget()) != nullptr;
}

int DataWindow::LeftTwips()
{
    return PixelsToTwips(frame()->x());
}

int DataWindow::TopTwips()
{
    return PixelsToTwips(frame()->y());
}

void DataWindow::moveTwips(int left, int top)
{
    frame()->move(TwipsToPixels(left), TwipsToPixels(top));
    m_placedByOpener = true;
}

void DataWindow::resizeTwips(int width, int height)
{
    frame()->resize(TwipsToPixels(width), TwipsToPixels(height));
}

void DataWindow::fitFrameTo(const QSize& size)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(frame());
    if (!sub || size.isEmpty())
        return;
    sub->resize(frameSizeFor(size));
}

QSize DataWindow::frameSizeFor(const QSize& size)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(frame());
    if (!sub)
        return size;
    QStyleOptionTitleBar option;
    option.initFrom(sub);
    const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
    const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub);
    return { size.width() + 2 * border, size.height() + title + border };
}

QSize DataWindow::contentsMinimumSize() const
{
    QSize least = minimumSize();
    if (layout())
        least = least.expandedTo(minimumSizeHint());
    return least;
}

void DataWindow::setWindowEnabled(bool enabled)
{
    setEnabled(enabled);
    if (QWidget* f = frame(); f != this)
        f->setEnabled(enabled);
}

void DataWindow::bringToFront(bool restoreMinimized)
{
    QWidget* f = frame();
    if (restoreMinimized && f->isMinimized())
        f->showNormal();
    f->raise();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(f); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    else
        f->activateWindow();
}

QWidget* DataWindow::member(const QString& name) const
{
    return findChild<QWidget*>(name);
}

bool DataWindow::Act_LoadForm()
{
    if (!FormParams::contains(objectName()))
        return true;
    const bool loaded = Act_StandardProcessOnLoadMessage(this);
    // Filling the fields is no change of the user's.
    m_info->setDataChanged(false);
    return loaded;
}

bool DataWindow::CheckFieldsProcedure()
{
    const QList<zFieldBase*> fields = findChildren<zFieldBase*>();
    for (zFieldBase* field : fields) {
        if (!field->IsValid())
            return false;
    }
    return true;
}

bool DataWindow::ActPopulateFormEditProcedure()
{
    // An action of its own, so a failure reaches the load as a recorded error and never as an
    // exception through the controller.
    ActionScope action(objectName(), QStringLiteral("ActPopulateFormEditProcedure"), QStringLiteral("Populate Form"));
    return action.run([this] {
        std::unique_ptr<Recordset> row;
        if (!Act_OpenRecordset(row, m_info->SearchSQL() + m_info->Identity()))
            RaiseSilent();
        if (row->eof()) {
            CloseRecordset(row);
            RaiseToReport(m_info->FormCaption() + QStringLiteral(" ")
                + AngleQuote(m_info->zID() ? m_info->zID()->Text() : QString())
                + QStringLiteral(" no longer exists in the database."));
        }
        const QList<zFieldBase*> fields = findChildren<zFieldBase*>();
        for (zFieldBase* field : fields) {
            // A field that no column feeds (a computed or window-only field) keeps its value.
            const int column = field->DBFieldName().isEmpty() ? -1 : row->fieldIndex(field->DBFieldName());
            if (column < 0)
                continue;
            const QVariant value = row->value(column);
            if (qobject_cast<zCheckBox*>(field))
                field->setValue(!value.isNull() && value.toBool());
            else
                field->setValue(value);
        }
        CloseRecordset(row);
    });
}

void DataWindow::PopulateData()
{
    ResultList* rows = m_info->resultList();
    if (!rows || !m_info->CheckFields())
        return;
    rows->setPopulateSQL(BuildExecSQL(m_info->SearchSQL(), GetFormSnapshot(this)));
    rows->Populate();
}
