#pragma once

#include <QString>
#include <vector>

class DataWindow;

// The field listing of a record window: each listed field's GoodName and shown text, ordered by
// its place on the window (top to bottom, then left to right), under the caption, the signature
// and the database, shown in the text viewer.

struct FieldEntry {
    QString GoodName;
    QString Text;
    int Left = 0;
    int Top = 0;
};

// The listed fields in the window's control order: visible field controls (type names beginning
// with "z", other than labels, images and the record bar) that apply to the record.
std::vector<FieldEntry> ListedFields(const DataWindow* window);
// Orders the entries by Top, then Left, exactly as the listing always did: from the last position
// down, every earlier entry is exchanged with it when it lies above or on the same line to the
// left. Entries with equal Top and Left are never exchanged with each other.
void SortFieldEntries(std::vector<FieldEntry>& entries);
// The listing's text: caption, signature, database, then "GoodName:" TAB text per field.
QString FieldListingText(const DataWindow* window, const QString& caption);

// Shows the listing in the text viewer. Throws when the signature query fails.
void FormFieldsToText(DataWindow* window, const QString& caption);

// Installs FormFieldsToText as the record windows' field listing (command 1 on a record window);
// the main program calls it at start-up.
void InstallFieldListing();
