#pragma once

#include <QAbstractListModel>
#include <QString>

#include <vector>

// The rows of a check-box list: identity (key "#" + identity), text and check mark.
class CheckListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int IdentityRole = Qt::UserRole + 1;

    struct Entry {
        int identity = 0;
        QString text;
        bool checked = false;
    };

    explicit CheckListModel(QObject* parent = nullptr);

    int count() const { return static_cast<int>(m_entries.size()); }
    const Entry& at(int row) const { return m_entries.at(static_cast<size_t>(row)); }
    void setEntries(std::vector<Entry> entries);
    void setChecked(int row, bool checked);
    // Sets every row's mark by the function of its current mark (check, uncheck, reverse).
    template <class Rule> void markAll(Rule rule)
    {
        for (Entry& entry : m_entries)
            entry.checked = rule(entry.checked);
        if (!m_entries.empty())
            Q_EMIT dataChanged(index(0), index(count() - 1), { Qt::CheckStateRole });
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    // The user changed a mark.
    void userChecked(int row, bool checked);

private:
    std::vector<Entry> m_entries;
};
