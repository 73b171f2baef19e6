#pragma once

// What the window benches share: their start (the offscreen application, the registrations, a
// fresh embedded database), the case room's rows, reading a query's rows as a filled list does,
// and the timed openings of a record window and a search window's Populate.

#include "BenchTiming.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>
#include <vector>

class DataWindow;
class DatabaseConnection;
class DeclaredSearchWindow;

// What a bench registers at its start, in order: the procedures and windows it uses
// (RegisterLookupWindows, RegisterCaseWindows, ...).
using BenchRegistrations = std::initializer_list<void (*)()>;

// The list controls' procedures and the reference-table windows, which the windows of every window
// bench use.
void RegisterLookupWindows();

// The start of a window bench: the application (offscreen unless QT_QPA_PLATFORM names another
// platform), then the bench's registrations; and whether the run is a smoke run (--smoke).
class BenchApplication {
public:
    BenchApplication(int& argc, char** argv, BenchRegistrations registrations = {});
    BenchApplication(const BenchApplication&) = delete;
    BenchApplication& operator=(const BenchApplication&) = delete;

    bool smoke() const { return m_smoke; }
    // How often a measurement repeats: `full`, once in a smoke run.
    int repeats(int full) const { return m_smoke ? 1 : full; }

protected:
    static void Register(BenchRegistrations registrations);

private:
    QApplication m_application;
    bool m_smoke;
};

// The application and the SQLite database "bench.db" in a folder of its own, set as the program's
// connection (the first trusted log-on makes the account its administrator), then the bench's
// registrations. At the end it unloads every window still loaded and closes the connection.
class BenchSession : public BenchApplication {
public:
    BenchSession(int& argc, char** argv, BenchRegistrations registrations = {});
    ~BenchSession();

    const QTemporaryDir& folder() const { return m_folder; }
    // The program's connection.
    DatabaseConnection& connection() const;

private:
    QTemporaryDir m_folder;
};

// The table sizes a bench of one table runs: "--rows N" names the one size (with --smoke, one pass
// of it); otherwise `fullSize`, or with --smoke an empty and a one-row table.
std::vector<int> TableSizes(int argc, char** argv, int fullSize);

// The crime class, felony class and property category (each ID 1) every case points at.
void FillCaseClasses(DatabaseConnection& connection);

// The location Room (ID 1) and the item action type Store (ID 1), which stores an item there.
void FillStoreAction(DatabaseConnection& connection);

// A case date and time spread over ten years by its serial number.
QString SpreadCaseDateTime(int serial);

// Case `serial` numbered N-0000001 on, in the classes above and submitted by employee 1.
void InsertCase(DatabaseConnection& connection, int serial, const QString& dateTime);

// Item `serial` numbered I-0000001 on, of case `caseId`.
void InsertItem(DatabaseConnection& connection, int serial, int caseId);

// Batch `serial` numbered B-000001 on, of batch type 1, made by employee 1 on 2020-01-01 10:00.
void InsertBatch(DatabaseConnection& connection, int serial);

// Reads every row of the query, its first and last column, as a filled list does.
void ReadAll(const QString& sql);
void ReadAll(const QStringList& queries);

// Opens a record window for edit on one record, shows it and lets it go idle when `show`, and
// unloads it: the work of opening a window for edit, without the unload's deferred deletions.
void OpenForEditAndClose(const QString& window, int identity, bool show);

// A record window opened for edit, shown and closed, against the queries it runs read alone.
PairedTimes TimeOpenForEdit(int repeats, const QStringList& queries, const QString& window, int identity);
// The same, printed as the line `label` beside the target 2.0.
void PrintOpenForEdit(int repeats, const QStringList& queries, const QString& window, int identity, const char* label);

// The framework's part of opening a record window for edit, on a window already built: its start
// parameters queued and taken by its load (the row into the fields, the snapshot).
void LoadForEdit(DataWindow* built, int identity);

// A search window's Populate button to rows shown, against its procedure's rows read alone;
// prints the rows the grid shows.
PairedTimes TimePopulate(int repeats, DeclaredSearchWindow* search, const QString& procedure);

// The same for the window just opened, printed as the line `label` beside the target 1.5; false,
// with a line saying so, when it is no search window (it did not open).
bool PrintPopulate(int repeats, DataWindow* opened, const QString& procedure, const char* label);

// A search window's PopulateData to rows shown, against its search statement (as its criteria
// stand) run alone.
PairedTimes TimePopulateData(int repeats, DeclaredSearchWindow* search);
