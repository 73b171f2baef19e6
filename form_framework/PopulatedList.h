#pragma once

#include <QString>

// A list control that fills itself from a query (pickers and check-box lists).
class PopulatedList {
public:
    virtual ~PopulatedList() = default;
    virtual bool PopulateOnStart() const = 0;
    virtual QString PopulateSQL() const = 0;
    virtual void Populate() = 0;
};
