#pragma once

#include "form_framework/ResultList.h"

#include "form_framework/FormTypes.h"

#include <QPersistentModelIndex>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class DataWindow;
class QTableView;
class Recordset;
class ResultTableModel;

// The result grid of a search window (instances are named zlvwData): fills itself from the
// window's search query, one row per record keyed "#" + identity, columns from the query's
// fields 1 onward ("_" fields order their namesakes), typed sorting on a header click, the count
// in the status bar, selection, stepping, opening, deleting, the row updates that data-changed
// messages ask for, and the column widths each user keeps per window and grid.
class zListView : public QWidget, public ResultList {
    Q_OBJECT
public:
    explicit zListView(QWidget* parent = nullptr);
    // Keeps the column widths of a grid whose columns were built.
    ~zListView() override;

    // --- Design properties ----------------------------------------------------------------------
    QString PopulateSQL() const override { return m_populateSQL; }
    void setPopulateSQL(const QString& sql) override { m_populateSQL = sql.trimmed(); }
    bool Checkboxes() const;
    void setCheckboxes(bool on);
    // Whether a double click or Enter on a row of a search list opens it for edit (the default);
    // a grid whose rows open otherwise turns it off. A picker still chooses its row.
    bool OpenRowOnActivate() const { return m_openRowOnActivate; }
    void setOpenRowOnActivate(bool on) { m_openRowOnActivate = on; }

    // --- Filling --------------------------------------------------------------------------------
    void Populate() override;
    void AddListViewItems(const QString& sql) override;
    void UpdateListViewItems(const QString& sql) override;
    void RemoveListViewItemsByID(const QString& idList) override;
    void HighlightOneListViewItem(const QString& key) override;

    // --- Rows and selection ---------------------------------------------------------------------
    int CountItems() const;
    bool ItemsExist() const { return CountItems() > 0; }
    QString GetFormName() const { return m_formName; }
    int SelectedItemID() const override;
    QString SelectedItemText() const override;
    int CountSelectedItems() const;
    // The selected rows' identities joined by ","; adds one to selectedCount per row.
    QString GetSelectedItems(int& selectedCount) const;
    void SelectAll() override;
    bool MoveNext() override;
    bool MovePrevious() override;
    void SetFocus();

    // --- Check marks ----------------------------------------------------------------------------
    void CheckAll();
    void UnCheckAll();
    void ReverseChecked();
    int CountCheckedItems() const;
    // The checked rows' identities joined by ", ".
    QString GetCheckedIDs() const;
    void RemoveChecked();

    // --- Record actions -------------------------------------------------------------------------
    void Edit(int leftTwips = -1, int topTwips = -1) override;
    bool Act_Delete() override;

    // --- Columns --------------------------------------------------------------------------------
    // Columns follow their content (and their captions, unless the user asked for the data only)
    // after every fill, each up to the grid's width, except the columns whose width the user set
    // (by dragging, or kept from an earlier session); this command hands every column back to its
    // content.
    void AdjustColumnWidth(bool includeHeaders) override;
    // What a click on the column's header does: the same column again reverses the order.
    void SortByColumn(int column);
    // Stores the widths the user set now (the grid also does so when it is destroyed).
    bool Act_SaveColumnsWidthDB();

    QTableView* listView() const { return m_view; }
    ResultTableModel* model() const { return m_model; }

Q_SIGNALS:
    // The user changed a row's check mark.
    void ItemCheck(const QString& key, bool checked);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DataWindow* containerWindow() const;
    bool Act_MakeColumns(const Recordset& result, bool& noSavedWidths);
    bool Act_LoadColumnsWidthDB(bool& noSavedWidths);
    void appendRows(std::shared_ptr<const Recordset> result);
    void updateCountText();
    int currentRow() const;
    void selectOnly(int row);
    std::optional<FormMode> windowMode() const;
    void pressBarButton(const char* which);
    void fitColumns();
    // Widens the columns that follow their content to what these rows' cells need.
    void widenForRows(const QList<int>& rows);
    void widenForCells(const QList<QPersistentModelIndex>& cells);

    QTableView* m_view;
    ResultTableModel* m_model;
    QString m_populateSQL;
    QString m_formName;
    QString m_gridName;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_widthsSaved = false;
    bool m_openRowOnActivate = true;
    std::vector<bool> m_userWidth; // per column: the user set its width
    bool m_fitHeaders = true;
    bool m_widthLimited = false; // a column was held to the grid's width at the last fit
    int m_sizing = 0;
};
