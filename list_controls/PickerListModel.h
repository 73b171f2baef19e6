#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>
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

    using Entries = std::vector<Entry>;

    // Finds the first row of an identity, or of a text letter case aside, without walking the
    // rows: an index of each, built at the first look-up of its kind (a window choosing a value
    // never pays for the texts) and extended over rows appended since. Any other change to the
    // rows (an entry put before others, renamed or removed) must call reset().
    class Lookup {
    public:
        int rowOfIdentity(const Entries& rows, int identity) const;
        int rowOfText(const Entries& rows, const QString& text) const;
        void reset();

    private:
        mutable QHash<int, int> m_identities; // the first row of each identity
        mutable size_t m_identitiesIndexed = 0; // rows [0, this) are in m_identities
        mutable QHash<QString, int> m_texts; // the first row of each text, case folded
        mutable size_t m_textsIndexed = 0;
    };

    // A list shared by pickers (SharedPickerLists.h) and the index that goes with it.
    struct SharedEntries {
        Entries rows;
        Lookup lookup;
    };

    explicit PickerListModel(QObject* parent = nullptr);

    int count() const;
    const Entry& at(int row) const;
    void setEntries(std::vector<Entry> entries);
    // Rows shared with a kept list (SharedPickerLists.h), not copied: a large list costs a window
    // nothing to show. The first change other than an entry put before them makes them its own.
    void setSharedEntries(std::shared_ptr<const SharedEntries> entries);
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
    // Makes shared rows the model's own before a change.
    void detach();

    std::vector<Entry> m_entries; // the rows, unless shared
    Lookup m_lookup; // over m_entries
    std::shared_ptr<const SharedEntries> m_shared; // when set, the rows are the lead (if any) and these
    std::optional<Entry> m_lead;
};
