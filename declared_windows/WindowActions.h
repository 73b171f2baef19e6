#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The entries of a data window's Actions menu, in menu order, and what each runs with the
// identity of the record in hand. A chosen name matches its entry without regard to case or to
// the "&" of the access key.
class WindowActions {
public:
    using Run = std::function<void(int identity)>;

    // "-" makes a separator line. An entry runs only for a record in hand, unless it is added to
    // run without one: it then runs with identity 0 (and says itself what is missing).
    enum class Needs { Record, Nothing };
    void add(const QString& caption, Run run, Needs needs = Needs::Record);
    bool isEmpty() const { return m_entries.empty(); }
    QStringList captions() const;
    // Runs the matching entry; "Unknown Action <name>." in the error box when none matches. With
    // no record in hand (no identity) an entry that needs one does nothing.
    void run(const QString& actionName, std::optional<int> identity) const;

private:
    struct Entry {
        QString caption;
        Run run;
        Needs needs;
    };
    std::vector<Entry> m_entries;
};
