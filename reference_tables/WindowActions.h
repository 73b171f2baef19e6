#pragma once

#include <QString>

#include <functional>
#include <vector>

// The entries of a data window's Actions menu, in menu order, and what each runs with the
// identity of the record in hand. A chosen name matches its entry without regard to case or to
// the "&" of the access key.
class WindowActions {
public:
    using Run = std::function<void(int identity)>;

    // "-" makes a separator line.
    void add(const QString& caption, Run run);
    bool isEmpty() const { return m_entries.empty(); }
    QStringList captions() const;
    // Runs the matching entry; "Unknown Action <name>." in the error box when none matches.
    void run(const QString& actionName, int identity) const;

private:
    struct Entry {
        QString caption;
        Run run;
    };
    std::vector<Entry> m_entries;
};
