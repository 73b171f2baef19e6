#pragma once

#include <QAbstractListModel>
#include <QFont>
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

    // The width a drop-down box needs for the rows' texts: that of the few longest, since texts of
    // about the same length differ in width only by their letters. The longest are found at the
    // first measure and extended over rows appended since; each font's width is kept beside them.
    // A list shared by every picker is thus walked once, not by every picker of every window.
    class Widest {
    public:
        static constexpr size_t kMeasuredTexts = 64;

        int width(const Entries& rows, const QFont& font) const;
        // After rows were removed or renamed (`rows` as they are now): the texts that left the rows
        // and those that came. The measure stands, the new texts taken in, while none of the texts
        // that left was among the longest; else it is worked out again when next needed.
        void rowsChanged(const Entries& rows, const std::vector<QString>& gone, const std::vector<QString>& arrived);
        void reset();

    private:
        void extend(const Entries& rows) const;

        mutable std::vector<QString> m_longest; // at most kMeasuredTexts
        mutable size_t m_measured = 0; // rows [0, this) were considered
        mutable QHash<QString, int> m_widths; // of m_longest, by QFont::key()
    };

    // A list shared by pickers (SharedPickerLists.h), the index and the width that go with it.
    struct SharedEntries {
        Entries rows;
        Lookup lookup;
        Widest widest;
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
    // The width of the widest text in the font, as Widest measures it; 0 without rows.
    int widestText(const QFont& font) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // Makes shared rows the model's own before a change.
    void detach();

    std::vector<Entry> m_entries; // the rows, unless shared
    Lookup m_lookup; // over m_entries
    Widest m_widest; // over m_entries
    std::shared_ptr<const SharedEntries> m_shared; // when set, the rows are the lead (if any) and these
    std::optional<Entry> m_lead;
};
