#pragma once

#include "core/Recordset.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <vector>

struct pg_result;

// What the PostgreSQL path of the connection needs besides libpq itself: statements go to the
// server one at a time through the extended query protocol (which refuses a second statement in
// one text), their values as parameters in text form, and results are read straight into a
// Recordset.

// The statement text with its positional "?" placeholders numbered "$1", "$2", ... as the server
// names parameters. A "?" inside a string, a quoted name, a comment or dollar quoting is text.
QByteArray NumberPlaceholders(const QString& sql);

// The values of one statement in the text form the server reads them in: NULL for a null value
// (a null or invalid text, date or time too), booleans as 1/0, numbers with "." and no
// grouping, dates and times in ISO form (a wall-clock time without a zone stays wall-clock),
// binary values as bytea.
class PostgresParameters {
public:
    explicit PostgresParameters(const std::vector<QVariant>& values);

    int count() const { return static_cast<int>(m_values.size()); }
    const char* const* values() const { return m_values.data(); }
    const int* lengths() const { return m_lengths.data(); }
    const unsigned int* types() const { return m_types.data(); }

private:
    std::vector<QByteArray> m_texts;
    std::vector<const char*> m_values;
    std::vector<int> m_lengths;
    std::vector<unsigned int> m_types;
};

// Appends the rows of a result (text format) as a new result set with these columns, each value
// read as its server type and kept as the column's logical type.
void ReadPostgresRows(const pg_result* result, Recordset& recordset, const std::vector<Recordset::Column>& columns);
