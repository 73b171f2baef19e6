#pragma once

#include <QAbstractListModel>
#include <QString>

#include <vector>

// The entries of a picker's drop-down list: a text and the record identity behind it (the
// general item "<All>" has identity 0). Identities may repeat: an added record is appended even
// when the list already holds it.
class PickerListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int IdentityRole = Qt::UserRole + 1;

    struct Entry {
        QString text;
        int identity = -1;
    };

    explicit PickerListModel(QObject* parent = nullptr);

    int count() const { return static_cast<int>(m_entries.size()); }
    const Entry& at(int row) const { return m_entries.at(static_cast<size_t>(row)); }
    void setEntries(std::vector<Entry> entries);
    void insertEntry(int row, const Entry& entry);
    void removeEntry(int row);
    void setText(int row, const QString& text);
    void clear();
    // The first row (from the top) with that identity, or -1.
    int rowOfIdentity(int identity) const;
    // The first row whose text equals the text without regard to letter case, or -1.
    int rowOfText(const QString& text) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<Entry> m_entries;
};
