#pragma once

#include "core/EngineFacts.h"
#include "core/OrderedDictionary.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

class Recordset;

// What the row of a record window held when the window loaded it or last saved it: every column
// the window writes, as the database itself gives the stored value as text (EngineFacts::
// storedValueSql). A save then asks the database to write only while the row still holds exactly
// that, so a change made by anyone else since is never overwritten. Texts compare exactly (a
// change of letter case is a change, in case-insensitive columns too, and a text another program
// stored with a NUL or bytes that are not UTF-8 still equals itself); money, real numbers and
// dates compare as stored, without a round trip through the program's own types; NULL compares
// with IS NULL.
class LoadedRow {
public:
    // Reads the columns of the row ("T_ID = 15") of the table; false when the read failed, which
    // has been reported. A row that is gone leaves nothing remembered.
    bool read(const QString& tableName, const QString& identityCondition, const QStringList& columns);
    // Takes the row from a result whose columns from the given one on are returnedColumns().
    void take(const Recordset& row, int firstColumn);
    void clear();
    bool isEmpty() const { return m_columns.isEmpty(); }
    // The text a remembered column held; null when it held NULL or is not remembered.
    QVariant textOf(const QString& column) const;

    // CR LF "AND <column> ..." for every remembered column: the save's WHERE clause goes on so.
    QString conditions(const EngineFacts& facts) const;
    // The same conditions for the row as a write of the given values (column to the literal the
    // write sent) onto the remembered row leaves it: every other column as remembered, each
    // written one holding its value. The columns named in textColumns hold texts and compare
    // exactly; the others compare as the engine compares the literal with the column's type.
    QString conditionsAfterWrite(const EngineFacts& facts, const PairDictionary& written, const QSet<QString>& textColumns) const;
    // ", <stored value of column> AS <column>" for every remembered column, to end a RETURNING list.
    QString returnedColumns() const;

private:
    static QString castToText(const QString& column);
    QString storedValue(const QString& column) const;
    QString rememberedCondition(qsizetype index, const EngineFacts& facts) const;

    const EngineFacts* m_facts = &FactsOf(Engine::SQLite);
    QStringList m_columns;
    QList<QVariant> m_values;
};

// "by <log-in> on <date and time>" of the last change the change log holds of the record, or
// nothing when it holds none (or cannot be read).
QString LastChangeOfRecord(const QString& tableName, int identity);
