#pragma once

#include "core/EngineFacts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Recordset;

// What the row of a record window held when the window loaded it or last saved it: the text of
// every column the window writes, as the database itself turns the stored value into text. A save
// then asks the database to write only while the row still holds exactly that, so a change made
// by anyone else since is never overwritten. Texts compare exactly (a change of letter case is a
// change, in case-insensitive columns too); money, real numbers and dates compare as stored,
// without a round trip through the program's own types; NULL compares with IS NULL.
class LoadedRow {
public:
    // Reads the columns of the row ("T_ID = 15") of the table; false when the read failed, which
    // has been reported. A row that is gone leaves nothing remembered.
    bool read(const QString& tableName, const QString& identityCondition, const QStringList& columns);
    // Takes the row from a result whose columns from the given one on are returnedColumns().
    void take(const Recordset& row, int firstColumn);
    void clear();
    bool isEmpty() const { return m_columns.isEmpty(); }

    // CR LF "AND <column> ..." for every remembered column: the save's WHERE clause goes on so.
    QString conditions(const EngineFacts& facts) const;
    // ", CAST(<column> AS TEXT) AS <column>" for every remembered column, to end a RETURNING list.
    QString returnedColumns() const;

private:
    static QString textOf(const QString& column);

    QStringList m_columns;
    QList<QVariant> m_values;
};

// "by <log-in> on <date and time>" of the last change the change log holds of the record, or
// nothing when it holds none (or cannot be read).
QString LastChangeOfRecord(const QString& tableName, int identity);
