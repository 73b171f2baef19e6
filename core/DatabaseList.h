#pragma once

#include "core/EngineFacts.h"

#include <QString>

#include <vector>

// One database the user may choose, as Settings.xml lists it.
struct DatabaseEntry {
    QString DisplayName; // DatabaseName + " on " + Server
    QString DatabaseName;
    QString Server;
    QString EngineName; // as written in Settings.xml ("" is SQLite)
};

// The databases of Settings.xml, indexed from 1 in the file's order.
std::vector<DatabaseEntry>& DBList();
int DBCount();
// Index into DBList of the database in use; 0 before one is chosen.
int& CurrentDB();
// The entry at a 1-based index, or nothing.
const DatabaseEntry* DatabaseAt(int index);

// Fills DBList from Settings.xml in the program folder (every Database element at any depth).
// A missing file is reported through the error dialog; entries read before a failure stay.
void ReadDBsFromXML();
// Reads the list and chooses the database used last ("DBOnServer"), else the first one.
void LoadDatabases();

// Settings.xml's update location (trimmed; empty: no updates).
QString ReadUpdateLocation(const QString& settingsFile);
// The same for callers that must tell the failures apart: false, with a description, when the
// file cannot be opened or parsed or has no Update_Location element at all.
bool ReadUpdateLocation(const QString& settingsFile, QString& location, QString& failure);
