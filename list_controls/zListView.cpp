#include "list_controls/zListView.h"

#include "core/Actions.h"
#include "core/Database.h"
#include "core/Permissions.h"
#include "core/Platform.h"
#include "core/SqlText.h"
#include "core/Twips.h"
#include "form_framework/ChildWindows.h"
#include "form_framework/DataWindow.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/SharedReads.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonsSearch.h"
#include "form_framework/zInfo.h"
#include "list_controls/ResultTableModel.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QString kModule = QStringLiteral("zListView");

// The list view, with the width its cells need (the data-only column sizing). A table view shown
// as a list: it keeps no per-row layout, so one row added, moved or removed costs that row, not a
// walk over every row as a tree view's relayout does.
class GridView : public QTableView {
public:
    using QTableView::QTableView;
    int contentWidth(int column) const { return sizeHintForColumn(column); }
    int cellWidth(const QModelIndex& index) const { return sizeHintForIndex(index).width() + (showGrid() ? 1 : 0); }
};

// The grid's row header, never shown: rows of one fixed height, none hidden or moved, so it
// needs to know how many rows there are, not which one came or went. Qt's own header walks every
// row when one is removed or moved in the middle, and inserts into its list of rows; this one
// adds or drops rows at the end of that list (the same layout, since every row is alike).
class RowHeader : public QHeaderView {
public:
    explicit RowHeader(QWidget* parent)
        : QHeaderView(Qt::Vertical, parent)
    {
    }

    void setModel(QAbstractItemModel* model) override
    {
        if (model == this->model())
            return;
        for (const QMetaObject::Connection& connection : m_connections)
            disconnect(connection);
        m_connections.clear();
        QHeaderView::setModel(model);
        if (!model)
            return;
        // Only where Qt's own handling could be taken off (it is found by name) is it replaced.
        if (disconnect(model, SIGNAL(rowsInserted(QModelIndex, int, int)), this,
                SLOT(sectionsInserted(QModelIndex, int, int))))
            m_connections << connect(model, &QAbstractItemModel::rowsInserted, this, &RowHeader::followRowCount);
        if (disconnect(model, SIGNAL(rowsRemoved(QModelIndex, int, int)), this,
                SLOT(_q_sectionsRemoved(QModelIndex, int, int))))
            m_connections << connect(model, &QAbstractItemModel::rowsRemoved, this, &RowHeader::followRowCount);
        // A moved row leaves the count, and so the layout, as it was.
        disconnect(model, SIGNAL(rowsAboutToBeMoved(QModelIndex, int, int, QModelIndex, int)), this,
            SLOT(_q_sectionsAboutToBeMoved(QModelIndex, int, int, QModelIndex, int)));
        disconnect(model, SIGNAL(rowsMoved(QModelIndex, int, int, QModelIndex, int)), this,
            SLOT(_q_sectionsMoved(QModelIndex, int, int, QModelIndex, int)));
    }

protected:
    // A hidden header has no current row to draw.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override
    {
        if (!isHidden())
            QHeaderView::currentChanged(current, previous);
    }

private:
    void followRowCount(const QModelIndex& parent)
    {
        if (parent.isValid())
            return;
        const int rows = model()->rowCount();
        const int shown = count();
        if (rows == shown)
            return;
        if (rows == 0)
            initializeSections();
        else
            initializeSections(std::min(shown, rows - 1), rows - 1);
    }

    QList<QMetaObject::Connection> m_connections;
};

// Widths the grid sets itself while it lives are not the user's.
class SizingScope {
public:
    explicit SizingScope(int& depth)
        : m_depth(depth)
    {
        ++m_depth;
    }
    ~SizingScope() { --m_depth; }
    SizingScope(const SizingScope&) = delete;
    SizingScope& operator=(const SizingScope&) = delete;

private:
    int& m_depth;
};

// The view does not repaint while it is filled or sized, and does again on every way out.
class FrozenView {
public:
    explicit FrozenView(QWidget* view)
        : m_view(view)
        , m_was(view->updatesEnabled())
    {
        m_view->setUpdatesEnabled(false);
    }
    ~FrozenView() { m_view->setUpdatesEnabled(m_was); }
    FrozenView(const FrozenView&) = delete;
    FrozenView& operator=(const FrozenView&) = delete;

private:
    QWidget* m_view;
    bool m_was;
};
} // namespace

zListView::zListView(QWidget* parent)
    : QWidget(parent)
    , m_view(new GridView(this))
    , m_model(new ResultTableModel(this))
{
    setObjectName(QStringLiteral("zlvwData"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setObjectName(QStringLiteral("lvwData"));
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->setTabKeyNavigation(false);
    m_view->setCornerButtonEnabled(false);
    // Rows of one height, fixed: what keeps 100,000 rows cheap to lay out.
    m_view->setVerticalHeader(new RowHeader(m_view));
    QHeaderView* rows = m_view->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Scrolled by pixels: scrolling by rows walks the rows' heights on every change of the rows.
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setModel(m_model);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    m_view->horizontalHeader()->setStretchLastSection(false);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, &zListView::SortByColumn);
    // A width the grid did not set itself is the user's: it stays, and it is what is kept.
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (m_sizing == 0 && column >= 0 && column < static_cast<int>(m_userWidth.size()))
            m_userWidth[static_cast<size_t>(column)] = true;
    });
    connect(m_model, &ResultTableModel::checkChanged, this, [this](int row, bool checked) {
        Q_EMIT ItemCheck(QStringLiteral("#") + QString::number(m_model->identityAt(row)), checked);
    });
    // A grid starts disabled; building its columns enables it.
    setEnabled(false);
}

zListView::~zListView()
{
    Act_SaveColumnsWidthDB();
}

bool zListView::Checkboxes() const { return m_model->checkboxes(); }

void zListView::setCheckboxes(bool on) { m_model->setCheckboxes(on); }

DataWindow* zListView::containerWindow() const
{
    for (QWidget* widget = parentWidget(); widget; widget = widget->parentWidget()) {
        if (auto* window = qobject_cast<DataWindow*>(widget))
            return window;
    }
    return nullptr;
}

std::optional<FormMode> zListView::windowMode() const
{
    DataWindow* window = containerWindow();
    return window ? std::optional(window->info()->Mode()) : std::nullopt;
}

// --- Filling -------------------------------------------------------------------------------------

void zListView::Populate()
{
    if (m_populateSQL.isEmpty())
        return;
    ActionScope action(kModule, QStringLiteral("Act_PopulateListView"), QStringLiteral("Populate List View"));
    action.run([&] {
        std::unique_ptr<Recordset> result;
        if (!Act_OpenRecordset(result, m_populateSQL))
            RaiseSilent();
        FrozenView frozen(m_view);
        bool noSavedWidths = false;
        if (m_model->hasColumns()) {
            if (m_model->rowCount() > 0)
                m_model->clearRows();
        } else if (!Act_MakeColumns(*result, noSavedWidths)) {
            RaiseSilent();
        }
        appendRows(std::move(result));
        fitColumns();
        // After a refill the first row is current, and selected.
        if (m_model->rowCount() > 0)
            selectOnly(0);
    });
    updateCountText();
}

bool zListView::Act_MakeColumns(const Recordset& result, bool& noSavedWidths)
{
    ActionScope action(kModule, QStringLiteral("Act_MakeColumns"), QStringLiteral("Make Columns"));
    return action.run([&] {
        {
            SizingScope sizing(m_sizing);
            m_model->buildColumns(result);
        }
        m_userWidth.assign(static_cast<size_t>(m_model->columnCount()), false);
        DataWindow* window = containerWindow();
        m_formName = window ? window->objectName() : this->window()->objectName();
        m_gridName = objectName();
        if (!Act_LoadColumnsWidthDB(noSavedWidths))
            RaiseSilent();
        setEnabled(true);
    });
}

bool zListView::Act_LoadColumnsWidthDB(bool& noSavedWidths)
{
    noSavedWidths = true;
    if (!DBConnection())
        return true;
    ActionScope action(kModule, QStringLiteral("Act_LoadColumnsWidthDB"), QStringLiteral("Load Columns Width"));
    return action.run([&] {
        std::unique_ptr<Recordset> widths;
        if (!Act_CallProcedure(widths, QStringLiteral("usp_DB_Col_Columns_Width_Load"),
                { { QStringLiteral("DB_App_Form_Name"), trimBlanks(m_formName) },
                    { QStringLiteral("DB_App_Grid_Name"), trimBlanks(m_gridName) } }))
            RaiseSilent();
        if (!widths || widths->eof())
            return;
        noSavedWidths = false;
        SizingScope sizing(m_sizing);
        for (; !widths->eof(); widths->moveNext()) {
            const int column = m_model->columnIndex(widths->value(QStringLiteral("DB_App_Column_Name")).toString());
            const QVariant twips = widths->value(QStringLiteral("DB_App_Column_Width"));
            if (column >= 0 && !twips.isNull()) {
                // A kept width is one the user set: it wins over the content.
                m_view->setColumnWidth(column, std::max(0, TwipsToPixels(twips.toInt())));
                m_userWidth[static_cast<size_t>(column)] = true;
            }
        }
    });
}

bool zListView::Act_SaveColumnsWidthDB()
{
    // Once per grid, and only for a grid whose columns (and widths) were ever built.
    if (m_widthsSaved || !m_model->hasColumns() || m_model->columnCount() == 0 || !DBConnection())
        return true;
    m_widthsSaved = true;
    ActionScope action(kModule, QStringLiteral("Act_SaveColumnsWidthDB"), QStringLiteral("Save Columns Width"));
    return action.run([&] {
        // Only the widths the user set are kept; the others follow the content next time too.
        QString select;
        const auto& columns = m_model->gridColumns();
        for (size_t i = 0; i < columns.size(); ++i) {
            if (i >= m_userWidth.size() || !m_userWidth[i])
                continue;
            select += QStringLiteral("UNION SELECT ") + QuoteText(columns[i].name) + QStringLiteral(", ")
                + QString::number(PixelsToTwips(m_view->columnWidth(static_cast<int>(i)))) + QStringLiteral("\r\n");
        }
        select.remove(0, 6);
        if (!Act_CallProcedureTrans(QStringLiteral("usp_DB_Col_Columns_Width_Save"),
                { { QStringLiteral("DB_App_Form_Name"), trimBlanks(m_formName) },
                    { QStringLiteral("DB_App_Grid_Name"), trimBlanks(m_gridName) },
                    { QStringLiteral("Column_Width_SQL"), trimBlanks(select) } }))
            RaiseSilent();
    });
}

void zListView::appendRows(std::shared_ptr<const Recordset> result)
{
    ActionScope action(kModule, QStringLiteral("Act_AddListViewItemRS"), QStringLiteral("Add Item To List View From Recordset"));
    if (!action.run([&] { m_model->appendRows(std::move(result)); }))
        RaiseSilent();
}

void zListView::AddListViewItems(const QString& sql)
{
    ActionScope action(kModule, QStringLiteral("Act_AddListViewItemsSQL"), QStringLiteral("Add Items To List View From SQL"));
    action.run([&] {
        // The other grids this data-changed message reaches share the read.
        std::shared_ptr<const Recordset> result;
        if (!SharedReads::open(sql, result))
            RaiseSilent();
        bool noSavedWidths = false;
        const bool fresh = !m_model->hasColumns();
        if (fresh && !Act_MakeColumns(*result, noSavedWidths))
            RaiseSilent();
        // The model puts the rows where the grid's sort wants them. A data-changed message's row
        // widens its columns if it needs to; a larger addition fits them all again.
        const int before = m_model->rowCount();
        const int added = result ? result->recordCount() : 0;
        QList<int> identities;
        if (!fresh && added <= 32) {
            for (int record = 0; record < added; ++record)
                identities << static_cast<int>(result->intValue(record, 0));
        }
        appendRows(std::move(result));
        if (fresh || before == 0 || added > 32) {
            fitColumns();
            return;
        }
        QList<int> rows;
        for (int identity : identities)
            rows << m_model->rowOfIdentity(identity);
        widenForRows(rows);
    });
    updateCountText();
}

void zListView::UpdateListViewItems(const QString& sql)
{
    ActionScope action(kModule, QStringLiteral("Act_UpdateListViewItemsSQL"), QStringLiteral("Update List View Items From SQL"));
    action.run([&] {
        std::shared_ptr<const Recordset> result;
        if (!SharedReads::open(sql, result))
            RaiseSilent();
        // A grid without columns shows no row to update.
        if (!m_model->hasColumns())
            return;
        ActionScope rows(kModule, QStringLiteral("Act_UpdateListViewItemRS"), QStringLiteral("Update List View Items From Recordset"));
        // Only a cell whose text changed can need a wider column: measuring a text is what costs.
        QList<QPersistentModelIndex> changed;
        if (!rows.run([&] { m_model->updateRows(std::move(result), &changed); }))
            RaiseSilent();
        widenForCells(changed);
    });
}

void zListView::RemoveListViewItemsByID(const QString& idList)
{
    const QStringList parts = idList.split(QLatin1Char(','));
    for (const QString& part : parts) {
        bool ok = false;
        const int identity = part.trimmed().toInt(&ok);
        if (ok)
            m_model->removeIdentity(identity); // an identity the grid does not show is skipped
    }
    const int row = currentRow();
    if (row >= 0)
        m_view->selectionModel()->select(m_model->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    updateCountText();
}

void zListView::HighlightOneListViewItem(const QString& key)
{
    const int current = currentRow();
    if (current >= 0)
        m_view->selectionModel()->select(m_model->index(current, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    if (!key.startsWith(QLatin1Char('#')))
        return;
    bool ok = false;
    const int identity = key.mid(1).toInt(&ok);
    const int row = ok ? m_model->rowOfIdentity(identity) : -1;
    if (row >= 0)
        selectOnly(row);
}

void zListView::updateCountText()
{
    DataWindow* window = containerWindow();
    if (!window)
        return;
    if (auto* bar = dynamic_cast<zButtonsSearch*>(window->info()->searchBar()))
        bar->setEditDeleteEnabled(CountItems() > 0);
    window->info()->setStatusBar(CountCaption(CountItems(), window->info()->FormCaption()));
}

// --- Rows and selection --------------------------------------------------------------------------

int zListView::CountItems() const { return m_model->rowCount(); }

int zListView::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void zListView::selectOnly(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_view->scrollTo(index);
}

int zListView::SelectedItemID() const
{
    const int row = currentRow();
    return row >= 0 ? m_model->identityAt(row) : 0;
}

QString zListView::SelectedItemText() const
{
    const int row = currentRow();
    return row >= 0 && m_model->columnCount() > 0 ? m_model->textAt(row, 0) : QString();
}

int zListView::CountSelectedItems() const { return static_cast<int>(m_view->selectionModel()->selectedRows().size()); }

QString zListView::GetSelectedItems(int& selectedCount) const
{
    QModelIndexList rows = m_view->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList identities;
    for (const QModelIndex& index : rows) {
        identities << QString::number(m_model->identityAt(index.row()));
        ++selectedCount;
    }
    return identities.join(QLatin1Char(','));
}

void zListView::SelectAll()
{
    BusyPointer busy;
    m_view->selectAll();
}

bool zListView::MoveNext()
{
    const int row = currentRow();
    if (row < 0 || row >= CountItems() - 1)
        return false;
    selectOnly(row + 1);
    return true;
}

bool zListView::MovePrevious()
{
    const int row = currentRow();
    if (row <= 0)
        return false;
    selectOnly(row - 1);
    return true;
}

void zListView::SetFocus() { m_view->setFocus(Qt::OtherFocusReason); }

// --- Check marks ---------------------------------------------------------------------------------

void zListView::CheckAll()
{
    BusyPointer busy;
    m_model->setAllChecked(true);
}

void zListView::UnCheckAll()
{
    BusyPointer busy;
    m_model->setAllChecked(false);
}

void zListView::ReverseChecked()
{
    BusyPointer busy;
    m_model->reverseChecked();
}

int zListView::CountCheckedItems() const
{
    BusyPointer busy;
    int count = 0;
    for (int row = 0; row < CountItems(); ++row)
        count += m_model->isChecked(row) ? 1 : 0;
    return count;
}

QString zListView::GetCheckedIDs() const
{
    BusyPointer busy;
    QStringList identities;
    for (int row = 0; row < CountItems(); ++row) {
        if (m_model->isChecked(row))
            identities << QString::number(m_model->identityAt(row));
    }
    return identities.join(QStringLiteral(", "));
}

void zListView::RemoveChecked()
{
    BusyPointer busy;
    for (int row = CountItems() - 1; row >= 0; --row) {
        if (m_model->isChecked(row))
            m_model->removeRowAt(row);
    }
}

// --- Record actions ------------------------------------------------------------------------------

void zListView::Edit(int leftTwips, int topTwips)
{
    DataWindow* window = containerWindow();
    if (!window)
        return;
    zInfo* info = window->info();
    if (!CheckTablePermission(QStringLiteral("Edit"), info->MainTableName(), true))
        return;
    const int row = currentRow();
    if (row < 0) {
        Platform::prompt().beep();
        return;
    }
    selectOnly(row);
    const int identity = m_model->identityAt(row);
    StartParameters place;
    if (leftTwips >= 0)
        place = { { QStringLiteral("PositionX"), leftTwips }, { QStringLiteral("PositionY"), topTwips } };
    ActionScope action(kModule, QStringLiteral("Edit"), QStringLiteral("Open Record Window"));
    action.run([&] { OpenRecordForEdit(info->DaughterFormName(), identity, place); });
}

bool zListView::Act_Delete()
{
    DataWindow* window = containerWindow();
    if (!window)
        return false;
    zInfo* info = window->info();
    // The question names exactly what is selected: that row's text, or the count of rows.
    int count = 0;
    const QString identities = GetSelectedItems(count);
    if (count == 0) {
        Platform::prompt().beep();
        return false;
    }
    QString recordText;
    if (count == 1) {
        const QModelIndexList rows = m_view->selectionModel()->selectedRows();
        recordText = m_model->textAt(rows.first().row(), 0);
    }
    ActionScope action(kModule, QStringLiteral("Act_Delete"), QStringLiteral("Delete Record(s)"));
    const bool deleted = action.run([&] {
        // Every window hears of the deletion, also when this one searches again afterwards.
        if (!Act_DeleteRecords(info->MainTableName(), info->FormCaption(), recordText, identities, true))
            RaiseSilent();
    });
    if (!deleted)
        return false;
    if (info->RePopulateOnDelete()) {
        if (auto* populate = qobject_cast<QAbstractButton*>(window->member(QStringLiteral("btnPopulate"))))
            populate->click();
    }
    SetFocus();
    return true;
}

// --- Columns -------------------------------------------------------------------------------------

void zListView::AdjustColumnWidth(bool includeHeaders)
{
    // The user asks for widths by the content: every column follows its content again.
    m_fitHeaders = includeHeaders;
    std::fill(m_userWidth.begin(), m_userWidth.end(), false);
    fitColumns();
}

void zListView::fitColumns()
{
    if (!m_model->hasColumns())
        return;
    FrozenView frozen(m_view);
    SizingScope sizing(m_sizing);
    QHeaderView* header = m_view->horizontalHeader();
    // No column wider than the grid shows: a long text does not push the others out of sight.
    const int limit = std::max(m_view->viewport()->width(), header->minimumSectionSize());
    m_widthLimited = false;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (column < static_cast<int>(m_userWidth.size()) && m_userWidth[static_cast<size_t>(column)])
            continue;
        int width = static_cast<GridView*>(m_view)->contentWidth(column);
        if (m_fitHeaders)
            width = std::max(width, header->sectionSizeHint(column));
        width = std::max(width, header->minimumSectionSize());
        if (width > limit) {
            width = limit;
            m_widthLimited = true;
        }
        m_view->setColumnWidth(column, width);
    }
}

void zListView::widenForRows(const QList<int>& rows)
{
    QList<QPersistentModelIndex> cells;
    for (int row : rows) {
        for (int column = 0; row >= 0 && column < m_model->columnCount(); ++column)
            cells << QPersistentModelIndex(m_model->index(row, column));
    }
    widenForCells(cells);
}

void zListView::widenForCells(const QList<QPersistentModelIndex>& cells)
{
    if (!m_model->hasColumns() || cells.isEmpty())
        return;
    SizingScope sizing(m_sizing);
    QHeaderView* header = m_view->horizontalHeader();
    const int limit = std::max(m_view->viewport()->width(), header->minimumSectionSize());
    std::vector<int> widths(static_cast<size_t>(m_model->columnCount()), -1);
    for (const QPersistentModelIndex& cell : cells) {
        const int column = cell.column();
        if (!cell.isValid() || column >= m_model->columnCount()
            || (column < static_cast<int>(m_userWidth.size()) && m_userWidth[static_cast<size_t>(column)]))
            continue;
        int& width = widths[static_cast<size_t>(column)];
        if (width < 0)
            width = m_view->columnWidth(column);
        width = std::max(width, static_cast<GridView*>(m_view)->cellWidth(cell));
    }
    for (int column = 0; column < m_model->columnCount(); ++column) {
        int width = widths[static_cast<size_t>(column)];
        if (width < 0)
            continue;
        if (width > limit) {
            width = limit;
            m_widthLimited = true;
        }
        if (width != m_view->columnWidth(column))
            m_view->setColumnWidth(column, width);
    }
}

void zListView::SortByColumn(int column)
{
    if (column < 0 || column >= m_model->columnCount() || CountItems() < 2)
        return;
    if (m_sortColumn == column)
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else {
        m_sortColumn = column;
        m_sortOrder = Qt::AscendingOrder;
    }
    m_model->sort(m_sortColumn, m_sortOrder);
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    m_view->horizontalHeader()->setSortIndicator(m_sortColumn, m_sortOrder);
    if (m_view->currentIndex().isValid())
        m_view->scrollTo(m_view->currentIndex());
}

// --- Keyboard and mouse --------------------------------------------------------------------------

void zListView::pressBarButton(const char* which)
{
    DataWindow* window = containerWindow();
    auto* bar = window ? dynamic_cast<zButtonsSearch*>(window->info()->searchBar()) : nullptr;
    if (!bar)
        return;
    const QByteArray name(which);
    if (name == "Edit")
        bar->ClickEdit();
    else if (name == "Select")
        bar->ClickSelect();
    else if (name == "Delete")
        bar->ClickDelete();
}

bool zListView::eventFilter(QObject* watched, QEvent* event)
{
    const bool onView = watched == m_view;
    const bool onViewport = watched == m_view->viewport();
    if (!onView && !onViewport)
        return QWidget::eventFilter(watched, event);
    auto openRow = [this] {
        if (!ItemsExist())
            return;
        if (windowMode() == FormMode::SearchList) {
            if (m_openRowOnActivate)
                pressBarButton("Edit");
        } else if (windowMode() == FormMode::Pick)
            pressBarButton("Select");
    };
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (!onView)
            break;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openRow();
            return true;
        }
        if (key == Qt::Key_Delete) {
            pressBarButton("Delete");
            return true;
        }
        break;
    }
    case QEvent::Resize:
        // A column cut to a narrower grid gets its width back when the grid grows.
        if (onViewport && m_widthLimited)
            fitColumns();
        break;
    case QEvent::MouseButtonDblClick:
        if (onViewport && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            openRow();
            return true;
        }
        break;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!onViewport || mouse->button() != Qt::RightButton || !ItemsExist())
            break;
        const QModelIndex hit = m_view->indexAt(mouse->position().toPoint());
        if (hit.isValid())
            selectOnly(hit.row());
        DataWindow* window = containerWindow();
        if (auto* bar = window ? dynamic_cast<zButtonsSearch*>(window->info()->searchBar()) : nullptr) {
            float x = static_cast<float>(mouse->position().x());
            float y = static_cast<float>(mouse->position().y());
            bar->ShowActionsMenu(x, y);
        }
        return true;
    }
    case QEvent::FocusIn: {
        const int row = currentRow();
        if (onView && row >= 0)
            m_view->selectionModel()->select(m_model->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
