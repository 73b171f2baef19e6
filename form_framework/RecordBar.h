#pragma once

#include <QString>

// The record button bar (zbtnButtons of a record window) as the controller drives it.
class RecordBar {
public:
    virtual ~RecordBar() = default;
    virtual bool NewEnabled() const = 0;
    virtual void setNewEnabled(bool enabled) = 0;
    virtual bool ActionsEnabled() const = 0;
    virtual void setActionsEnabled(bool enabled) = 0;
    virtual void setSaveEnabled(bool enabled) = 0;
    virtual void setOkEnabled(bool enabled) = 0;
    virtual void setCloseCaption(const QString& caption) = 0;
    virtual void ClickNew() = 0;
    virtual void ClickSave() = 0;
};
