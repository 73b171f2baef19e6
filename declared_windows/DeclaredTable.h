#pragma once

#include "declared_windows/DeclaredField.h"

#include <QChar>
#include <QString>

#include <functional>
#include <vector>

class ControlHandle;
template <typename T> class DeclaredControl;
class QAbstractButton;
class DeclaredRecordWindow;
class DeclaredSearchWindow;
class Recordset;

// A lookup table and its pair of windows, declared: the table, its identity, the names and
// captions of its record and search windows, the record window's fields in their load and check
// order, and the search window's criteria. The two window patterns build everything else.
struct DeclaredTable {
    QString table; // "Case_Statuses"
    QString identityField; // "Case_Status_ID"
    QString recordWindow; // "frmCaseStatus"
    QString searchWindow; // "frmCaseStatuses"
    QString caption; // the record in the singular: "Case Status"
    QString pluralCaption; // the search window's own caption: "Case Statuses"
    std::vector<DeclaredField> fields;
    std::vector<DeclaredField> criteria;
    // What a record window adds to the pattern (a preview, a code look-up), run once its fields
    // exist; most tables add nothing.
    std::function<void(DeclaredRecordWindow&)> extendRecordWindow;

    // --- What a record window may add (every default keeps the plain lookup window) -------------
    // The record code pair: a prefix letter ('E') and the caption beside the code ("Employee
    // Barcode:"); no prefix, no pair. The code text's font unless another is named.
    QChar codePrefix {};
    QString codeCaption {};
    QString codeFontFamily = QStringLiteral("Courier New");
    double codeFontPoints = 9.75;
    // The fields in a scroll area (windows of many fields that would not fit the screen).
    bool scrollFields = false;
    // An opener's typed default value goes into this control; an empty name ignores it. A handler,
    // when given, takes the value in its place (names split into their parts, say).
    QString defaultValueTarget = QStringLiteral("ztxtName");
    std::function<void(DeclaredRecordWindow&, const QString&)> defaultValueHandler {};
    // Run by the load before the start parameters are applied (a setting the presets depend on).
    std::function<void(DeclaredRecordWindow&)> beforeStartParameters {};
    // Option buttons that a new record's presets choose: the first entry whose column the opener
    // presets (an item action opened with a Case_ID is about the case) ticks its button, after the
    // defaults and before the presets fill the fields.
    struct PresetOption {
        QString column;
        const DeclaredControl<QAbstractButton>* option;
    };
    std::vector<PresetOption> presetOptions {};
    // Run with the record's row once it is read, before the fields are filled from it.
    std::function<void(DeclaredRecordWindow&, Recordset&)> rowLoaded {};
    // The defaults of a new record (the window opened for adding, or New pressed); none: the
    // fields' own starting values.
    std::function<void(DeclaredRecordWindow&)> setDefaults {};
    // The bar's New button and its Previous and Next buttons.
    bool allowNew = true;
    bool allowMove = true;
    // --- The search window ---
    // Fill the grid as soon as the window opens; false opens it with an empty grid (tables too
    // large to list whole wait for their criteria).
    bool populateOnStart = true;
    // The bar's New and Edit buttons (and the main window's commands for them).
    bool searchAllowNew = true;
    bool searchAllowEdit = true;
    // A double click or Enter on a row opens it for edit.
    bool gridOpensRow = true;
    // The bar's Delete and Record History buttons.
    bool searchAllowDelete = true;
    bool searchAllowRecordHistory = true;
    // The search call when it is not the table's own "usp_Evd_Search_<table>_All" (a window over
    // something that is no table of ours); such a window has no one-row search.
    QString searchCall {};
    // What a search window adds to the pattern (actions on the selected row), run once its grid
    // and bar exist.
    std::function<void(DeclaredSearchWindow&)> extendSearchWindow {};

    // The search procedures' family: the framework's own tables have "EXEC usp_DB_Search_".
    QString searchPrefix = QStringLiteral("EXEC usp_Evd_Search_");
    // The control handles (DeclaredControl.h) the record window's hooks use: checked when the window
    // is built, and the only handles its hooks may resolve. of() takes every handle that names the
    // record window; the declarations sweep fails for a handle naming a declared window that is not
    // here.
    std::vector<const ControlHandle*> controls {};

    // Controls whose values together may stand in one row only (checked after the fields, the
    // focus going to the first); empty: no such check.
    std::vector<QString> uniqueCombination {};

    // "EXEC usp_Evd_Search_<table>_All" and "..._One".
    QString searchProcedure() const
    {
        if (!searchCall.isEmpty())
            return searchCall;
        return searchPrefix + table + QStringLiteral("_All");
    }
    QString searchOneProcedure() const
    {
        if (!searchCall.isEmpty())
            return QString();
        return searchPrefix + table + QStringLiteral("_One");
    }
    // The identity's name in messages: "Case Status ID".
    QString identityGoodName() const { return caption + QStringLiteral(" ID"); }

    // Every declaration begins here, with the six names every table has; the rest is member
    // assignment (or a step such as withNameAndCode) on what this returns:
    //
    //     DeclaredTable items = DeclaredTable::of("Items", "Item_ID", "frmItem", "frmItems", "Item", "Items");
    //     items.fields = { ... };
    static DeclaredTable of(const QString& table, const QString& identityField, const QString& recordWindow,
        const QString& searchWindow, const QString& caption, const QString& pluralCaption);
    // The commonest shape, as a step on of(): a required, unique name and a required, unique code,
    // the columns named after the identity ("Case_Status_ID" gives Case_Status_Name and
    // Case_Status_Code) and the fields after the caption ("Case Status Name"). Replaces the fields.
    DeclaredTable& withNameAndCode(int nameLength = 30, int codeLength = 10);
    // The name field alone (for tables whose code is shaped otherwise).
    DeclaredField nameField(int length) const;
    DeclaredField codeField(int length) const;
    QString entity() const; // "Case_Status"
};
