#pragma once

#include <QAbstractListModel>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

// The entries of the open-windows list: one per open child window, keyed "#" + the window's
// number, with its caption and whether the window is enabled (a disabled one shows grey).
class OpenWindowsModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int KeyRole = Qt::UserRole + 1;

    struct Entry {
        QString key;
        QPointer<QWidget> window;
        QString text;
        bool enabled = true;
    };

    explicit OpenWindowsModel(QObject* parent = nullptr);

    int count() const { return static_cast<int>(m_entries.size()); }
    const Entry& at(int row) const { return m_entries.at(static_cast<size_t>(row)); }
    int rowOfKey(const QString& key) const;
    void append(const Entry& entry);
    void remove(int row);
    void setText(int row, const QString& text);
    void setEnabled(int row, bool enabled);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<Entry> m_entries;
};
