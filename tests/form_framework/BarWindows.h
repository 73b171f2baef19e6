#pragma once

// Test windows over the table Gadgets that carry the real button bars (the fields are the
// doubles of FakeControls.h), and a viewer double that keeps the texts ShowText was given.

#include "FakeControls.h"
#include "core/Viewers.h"
#include "form_framework/zButtonsAddEdit.h"
#include "form_framework/zButtonsSearch.h"

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

class RecordingViewers final : public ViewerWindows {
public:
    void showText(const QString& text) override { texts << text; }
    void showImage(const QString& path) override { images << path; }
    void showWebPage(const QString& address, const QString&) override { pages << address; }
    QString browseForFolder(const QString&) override { return {}; }

    QStringList texts;
    QStringList images;
    QStringList pages;
};

void RegisterBarForms();
