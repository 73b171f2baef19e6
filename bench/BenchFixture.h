#pragma once

// What the window benches share: the offscreen application on a fresh embedded database, the
// case room's classification rows, reading a query's rows as a filled list does, and the timed
// openings of a record window and a search window's Populate.

#include "BenchTiming.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

class DatabaseConnection;
class LookupSearchWindow;

// The application (offscreen unless QT_QPA_PLATFORM names another platform) and the SQLite
// database "bench.db" in a folder of its own, set as the program's connection. At the end it
// unloads every window still loaded and closes the connection.
class BenchSession {
public:
    BenchSession(int& argc, char** argv);
    ~BenchSession();
    BenchSession(const BenchSession&) = delete;
    BenchSession& operator=(const BenchSession&) = delete;

    const QTemporaryDir& folder() const { return m_folder; }

private:
    QApplication m_application;
    QTemporaryDir m_folder;
};

// The table sizes a bench of one table runs: "--rows N" names the one size (with --smoke, one pass
// of it); otherwise `fullSize`, or with --smoke an empty and a one-row table.
std::vector<int> TableSizes(int argc, char** argv, int fullSize);

// The crime class, felony class and property category (each ID 1) every case points at.
void FillCaseClasses(DatabaseConnection& connection);

// A case date and time spread over ten years by its serial number.
QString SpreadCaseDateTime(int serial);

// Case `serial` numbered N-0000001 on, in the classes above and submitted by employee 1.
void InsertCase(DatabaseConnection& connection, int serial, const QString& dateTime);

// Reads every row of the query, its first and last column, as a filled list does.
void ReadAll(const QString& sql);
void ReadAll(const QStringList& queries);

// Opens a record window for edit on one record, shows it and lets it go idle when `show`, and
// unloads it: the work of opening a window for edit, without the unload's deferred deletions.
void OpenForEditAndClose(const QString& window, int identity, bool show);

// A record window opened for edit, shown and closed, against the queries it runs read alone.
PairedTimes TimeOpenForEdit(int repeats, const QStringList& queries, const QString& window, int identity);

// A search window's Populate button to rows shown, against its procedure's rows read alone;
// prints the rows the grid shows.
PairedTimes TimePopulate(int repeats, LookupSearchWindow* search, const QString& procedure);
