#pragma once

#include <QString>

// The result list of a search window (zlvwData) as the framework uses it. Rows are keyed "#" and
// the record identity.
class ResultList {
public:
    virtual ~ResultList() = default;
    virtual QString PopulateSQL() const = 0;
    virtual void setPopulateSQL(const QString& sql) = 0;
    virtual void Populate() = 0;
    virtual void AddListViewItems(const QString& sql) = 0;
    virtual void UpdateListViewItems(const QString& sql) = 0;
    virtual void RemoveListViewItemsByID(const QString& idList) = 0;
    virtual void HighlightOneListViewItem(const QString& key) = 0;
    virtual bool MoveNext() = 0;
    virtual bool MovePrevious() = 0;
    // Opens the record window of the current row; the position (twips) is used when given.
    virtual void Edit(int leftTwips = -1, int topTwips = -1) = 0;
    // The current row's identity (0 when no row is current) and the text of its first shown column.
    virtual int SelectedItemID() const = 0;
    virtual QString SelectedItemText() const = 0;
    // Deletes the selected rows once the user confirms; false when nothing was deleted.
    virtual bool Act_Delete() = 0;
    // Sizes every column to its data, and to its caption too when asked.
    virtual void AdjustColumnWidth(bool includeHeaders) = 0;
    virtual void SelectAll() = 0;
};
