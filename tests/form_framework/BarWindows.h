#pragma once

// Test windows over the table Gadgets that carry the real button bars (the fields are the
// doubles of FakeControls.h).

#include "FakeControls.h"
#include "form_framework/zButtonsAddEdit.h"
#include "form_framework/zButtonsSearch.h"
#include "support/RecordingViewers.h"

#include <QStringList>

class frmBarGadget : public DataWindow {
    Q_OBJECT
public:
    frmBarGadget();
    bool Act_LoadForm() override;
    bool CheckFieldsProcedure() override { return name->IsValid() && serial->IsValid(); }
    bool ActPopulateFormEditProcedure() override;
    void SetDefaultsProcedure() override;
    void PopulateShortcuts() override;

    FakeText* name;
    FakeText* serial;
    zButtonsAddEdit* bar;
    QStringList events;
};

class frmBarGadgets : public DataWindow {
    Q_OBJECT
public:
    frmBarGadgets();

    FakeText* name;
    FakeResultList* list;
    zButtonsSearch* bar;
    QStringList events;
};

void RegisterBarForms();
