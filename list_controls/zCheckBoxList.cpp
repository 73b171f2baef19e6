#include "list_controls/zCheckBoxList.h"

#include "core/Actions.h"
#include "list_controls/CheckListModel.h"
#include "core/Database.h"
#include "core/InputRoutines.h"
#include "list_controls/ListFormats.h"
#include "core/TextUtilities.h"

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QSet>

zCheckBoxList::zCheckBoxList(QWidget* parent)
    : zFieldBase(parent)
    , m_view(new QListView(this))
    , m_model(new CheckListModel(this))
    , m_menu(new QMenu(QStringLiteral("Actions"), this))
{
    m_view->setObjectName(QStringLiteral("lvwListView"));
    m_view->setModel(m_model);
    m_view->setUniformItemSizes(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setContextMenuPolicy(Qt::PreventContextMenu);
    m_menu->setObjectName(QStringLiteral("mnuActions"));
    QAction* all = m_menu->addAction(QStringLiteral("&Select All"));
    all->setObjectName(QStringLiteral("mnuSelectAll"));
    QAction* none = m_menu->addAction(QStringLiteral("&Unselect All"));
    none->setObjectName(QStringLiteral("mnuUnselectAll"));
    QAction* reverse = m_menu->addAction(QStringLiteral("&Reverse Selection"));
    reverse->setObjectName(QStringLiteral("mnuReverseSelection"));
    connect(all, &QAction::triggered, this, &zCheckBoxList::CheckAll);
    connect(none, &QAction::triggered, this, &zCheckBoxList::UnCheckAll);
    connect(reverse, &QAction::triggered, this, &zCheckBoxList::ReverseChecked);
    connect(m_model, &CheckListModel::userChecked, this, [this] { changeProcessing(); });
    setRequired(true);
    setInputBox(m_view, true);
    m_view->viewport()->installEventFilter(this);
}

void zCheckBoxList::ProcessDataChanged(int, const QString&, const QString&) { }

QVariant zCheckBoxList::Value() const
{
    if (!Applicable())
        return {};
    const QString identities = GetCheckedIDs();
    return identities.isEmpty() ? QVariant() : QVariant(identities);
}

void zCheckBoxList::setValue(const QVariant& value)
{
    const std::optional<std::vector<int>> identities = ParseIdentityList(value.isNull() ? QString() : value.toString());
    const QSet<int> wanted = identities ? QSet<int>(identities->begin(), identities->end()) : QSet<int>();
    for (int row = 0; row < m_model->count(); ++row)
        m_model->setChecked(row, wanted.contains(m_model->at(row).identity));
    changeProcessing();
}

QString zCheckBoxList::Text() const
{
    return Value().toString();
}

bool zCheckBoxList::IsMissing() const
{
    return CountCheckedItems() == 0;
}

QString zCheckBoxList::DBValue() const
{
    const QString identities = Value().toString();
    return identities.isEmpty() ? QStringLiteral("NULL") : QStringLiteral("'") + identities + QStringLiteral("'");
}

void zCheckBoxList::Populate()
{
    if (m_populateSQL.isEmpty())
        return;
    ActionScope action(QStringLiteral("zCheckBoxList"), QStringLiteral("Act_PopulateListStraight"), QStringLiteral("Populate Checkbox List"));
    action.run([&] {
        std::unique_ptr<Recordset> result;
        if (!Act_OpenRecordset(result, m_populateSQL))
            RaiseSilent();
        std::vector<CheckListModel::Entry> entries;
        const int fields = result && result->isOpen() ? result->fieldCount() : 0;
        for (int row = 0; fields >= 2 && row < result->recordCount(); ++row) {
            const QVariant mark = fields >= 3 ? result->valueAt(row, 2) : QVariant();
            entries.push_back({ result->valueAt(row, 0).toInt(), NullToString(result->valueAt(row, 1)),
                                !mark.isNull() && FormatYesNoText(mark) == QLatin1String("Yes") });
        }
        CloseRecordset(result);
        m_model->setEntries(std::move(entries));
    });
    redraw();
}

void zCheckBoxList::Clear()
{
    m_model->setEntries({});
    redraw();
}

void zCheckBoxList::CheckAll()
{
    BusyPointer busy;
    m_model->markAll([](bool) { return true; });
}

void zCheckBoxList::UnCheckAll()
{
    BusyPointer busy;
    m_model->markAll([](bool) { return false; });
}

void zCheckBoxList::ReverseChecked()
{
    BusyPointer busy;
    m_model->markAll([](bool checked) { return !checked; });
}

int zCheckBoxList::CountCheckedItems() const
{
    int checked = 0;
    for (int row = 0; row < m_model->count(); ++row)
        checked += m_model->at(row).checked ? 1 : 0;
    return checked;
}

QString zCheckBoxList::GetCheckedIDs() const
{
    BusyPointer busy;
    QStringList identities;
    for (int row = 0; row < m_model->count(); ++row) {
        if (m_model->at(row).checked)
            identities << QString::number(m_model->at(row).identity);
    }
    return identities.join(QLatin1Char(','));
}

int zCheckBoxList::count() const { return m_model->count(); }

QString zCheckBoxList::checks(bool final)
{
    if (Required() && CountCheckedItems() == 0)
        return requiredMessage();
    QString message = lostFocusMessage();
    if (message.isEmpty() && final)
        message = finalMessage();
    return message;
}

void zCheckBoxList::redraw()
{
    if (!m_view)
        return;
    m_view->setVisible(Applicable());
    const bool enabled = m_model->count() > 0 && !Locked();
    setEnabled(enabled);
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, enabled ? NormalFieldColor() : QApplication::palette().color(QPalette::Button));
    m_view->setPalette(palette);
}

void zCheckBoxList::boxFocusOut()
{
    // The list is checked only when the window asks (IsValid), not on leaving it.
    UnhighlightControl(m_view);
}

bool zCheckBoxList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && m_model->count() > 0) {
            const QModelIndex hit = m_view->indexAt(mouse->position().toPoint());
            if (hit.isValid())
                m_view->setCurrentIndex(hit);
            m_menu->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return zFieldBase::eventFilter(watched, event);
}
