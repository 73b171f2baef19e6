#pragma once

#include "core/ColumnType.h"
#include "core/Recordset.h"
#include "list_controls/ListFormats.h"

#include <QAbstractTableModel>
#include <QPersistentModelIndex>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The rows of a result grid. The grid keeps the typed results it was filled from and formats a
// cell only when the view asks for it, so filling 100,000 rows costs little more than reading
// them. Columns are the result's fields 1 onward, except "_" fields, which give the sort order
// of their namesakes; field 0 is the row's identity, its key "#" + identity.
class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The typed value a column sorts by: its "_" companion where the query gives one.
    static constexpr int SortRole = Qt::UserRole + 1;
    // The row's identity (int), the same on every column.
    static constexpr int IdentityRole = Qt::UserRole + 2;

    struct Column {
        QString name;
        ColumnType type = ColumnType::Text;
        QString companion; // "_" + name when the query gives it, else empty
        ColumnType companionType = ColumnType::Text;
    };

    explicit ResultTableModel(QObject* parent = nullptr);

    // --- Columns -------------------------------------------------------------------------------
    bool hasColumns() const { return m_built; }
    // Takes the columns from a result's field list (the first result the grid ever receives).
    void buildColumns(const Recordset& result);
    const std::vector<Column>& gridColumns() const { return m_columns; }
    int columnIndex(const QString& name) const; // -1 when there is no such column

    // --- Rows ----------------------------------------------------------------------------------
    // Drops every row (the columns stay).
    void clearRows();
    // Adds every row of the result; throws AppError when a column's field is missing from it or
    // an identity is already shown (the rows before that one stay). In a sorted grid a few rows
    // (what a data-changed message brings) each go to their sorted place, after the rows of an
    // equal key, as the full sort would put them; many rows are appended and the grid sorted
    // again. An unsorted grid appends them.
    void appendRows(std::shared_ptr<const Recordset> result);
    // Replaces the cells of the rows whose identities the result gives; other identities are
    // skipped. In a sorted grid a row whose key changed moves to where the full sort would put
    // it; the others stay. Returns the number of rows replaced. `changedCells`, when given, gets
    // the cells whose text changed.
    int updateRows(std::shared_ptr<const Recordset> result, QList<QPersistentModelIndex>* changedCells = nullptr);
    // Removes the row of that identity; false when none is shown.
    bool removeIdentity(int identity);
    void removeRowAt(int row);

    int identityAt(int row) const { return m_rows.at(static_cast<size_t>(row)).identity; }
    int rowOfIdentity(int identity) const; // -1 when not shown
    QString textAt(int row, int column) const;

    // --- Check marks ---------------------------------------------------------------------------
    bool checkboxes() const { return m_checkboxes; }
    void setCheckboxes(bool on);
    bool isChecked(int row) const { return m_rows.at(static_cast<size_t>(row)).checked(); }
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);
    void reverseChecked();

    // --- Sorting -------------------------------------------------------------------------------
    // Typed, stable: NULL first in ascending order. The grid stays sorted so: rows added or
    // rewritten later keep that order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return m_sortColumn; } // -1 while unsorted
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    // --- QAbstractItemModel ---------------------------------------------------------------------
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    // The user changed a row's check mark.
    void checkChanged(int row, bool checked);

private:
    // One result the rows come from, and where each grid column lies in it.
    struct Source {
        std::shared_ptr<const Recordset> result; // shared with the other grids a message reaches
        std::vector<int> field;     // per grid column
        std::vector<int> companion; // per grid column, -1 without one
        quint32 first = 0;          // the number of its first record across the sources
    };
    // 8 bytes a row: the record's number across the sources (in the order they came) with the
    // check mark in its top bit, and the identity, which look-ups compare without a call.
    struct Row {
        static constexpr quint32 kChecked = 0x80000000u;
        quint32 ref = 0;
        int identity = 0;
        quint32 number() const { return ref & ~kChecked; }
        bool checked() const { return (ref & kChecked) != 0; }
        void setChecked(bool on) { ref = on ? (ref | kChecked) : (ref & ~kChecked); }
    };
    static_assert(sizeof(Row) == 8);

    int addSource(std::shared_ptr<const Recordset> result);
    // The source of a row's record and the record's place in it.
    const Source& sourceOf(const Row& row, int& record) const;
    QVariant cellValue(const Row& row, int column) const;
    QVariant sortValue(const Row& row, int column) const;
    SortKey sortKey(const Row& row, int column) const;
    bool sorted() const { return m_sortColumn >= 0 && m_sortColumn < columnCount(); }
    // Where a row of this key goes among the rows other than `skip` (-1: all rows), counted
    // without it: after the rows that sort before it and, of the rows of an equal key, after those
    // above `skip`'s place (all of them for a new row). The full sort is stable, so this is where
    // it would put the row.
    int sortedPlace(const SortKey& key, int skip) const;
    void insertSorted(const Row& row);

    std::vector<Column> m_columns;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_built = false;
    bool m_checkboxes = false;
    std::vector<Source> m_sources;
    std::vector<Row> m_rows;
    QSet<int> m_identities;
    // The row last placed or found: checked first when a row is looked up by its identity.
    mutable int m_lastPlaced = -1;
};
