#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A dictionary that remembers the order in which its keys were added. Keys compare exactly
// (case-sensitive). The SQL builders rely on the order: a statement lists its columns and
// parameters in the order the caller added them.
template <class Value> class OrderedDictionary {
public:
    // Adds a new pair at the end; returns false and changes nothing when the key is already present.
    bool add(const QString& key, const Value& value)
    {
        if (m_index.contains(key))
            return false;
        m_index.insert(key, m_keys.size());
        m_keys.append(key);
        m_values.append(value);
        return true;
    }

    // Replaces the value of an existing key in its place, or adds the pair at the end.
    void set(const QString& key, const Value& value)
    {
        const auto found = m_index.constFind(key);
        if (found == m_index.cend())
            add(key, value);
        else
            m_values[*found] = value;
    }

    bool contains(const QString& key) const { return m_index.contains(key); }

    // The value of the key, or a default-constructed value when the key is absent.
    Value value(const QString& key, const Value& defaultValue = Value()) const
    {
        const auto found = m_index.constFind(key);
        return found == m_index.cend() ? defaultValue : m_values.at(*found);
    }

    // Removes the pair; the others keep their order. Returns false when the key is absent.
    bool remove(const QString& key)
    {
        const auto found = m_index.constFind(key);
        if (found == m_index.cend())
            return false;
        const qsizetype position = *found;
        m_index.erase(found);
        m_keys.removeAt(position);
        m_values.removeAt(position);
        for (qsizetype i = position; i < m_keys.size(); ++i)
            m_index[m_keys.at(i)] = i;
        return true;
    }

    const QStringList& keys() const { return m_keys; }
    const QList<Value>& values() const { return m_values; }
    qsizetype count() const { return m_keys.size(); }
    bool isEmpty() const { return m_keys.isEmpty(); }

    void clear()
    {
        m_index.clear();
        m_keys.clear();
        m_values.clear();
    }

private:
    QHash<QString, qsizetype> m_index;
    QStringList m_keys;
    QList<Value> m_values;
};

// Column or parameter names with the SQL literal of each value, in the order they were added.
using PairDictionary = OrderedDictionary<QString>;
