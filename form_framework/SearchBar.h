#pragma once

#include "form_framework/FormTypes.h"

// The search button bar (zbtnButtons of a search window) as the controller drives it.
class SearchBar {
public:
    virtual ~SearchBar() = default;
    virtual void ChangeMode(FormMode mode) = 0;
    virtual void SetButtons() = 0;
    virtual void ClickNew() = 0;
    virtual void ClickEdit() = 0;
    virtual void ClickDelete() = 0;
};
