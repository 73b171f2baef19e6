#pragma once

#include "core/ColumnType.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

// The client-side result of one command: every row is read at once, fields are found by name
// without regard to case, and a command may give several result sets. Values are kept per column
// in their logical type, so a large result holds little more than its values: whole numbers (and
// dates, money, Booleans) in 4 bytes while they fit and 8 otherwise, texts as UTF-8 one after
// another, each after its length, NULL marks as bits only in columns that have a NULL.
class Recordset {
public:
    struct Column {
        QString name;
        ColumnType type = ColumnType::Text;
        // The type is taken from the column's first non-null value (computed columns that
        // nothing declares).
        bool inferType = false;
    };

    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    // --- Building (the database layer) -------------------------------------------------------
    // Starts a new result set with these columns; the first one added becomes current.
    void addResultSet(const std::vector<Column>& columns);
    // Appends one value to the row being built of the last result set; values come in column
    // order, and a row is complete when every column has one. A null QVariant is NULL.
    void appendValue(int column, const QVariant& value);
    void appendNull(int column);
    void appendInteger(int column, qint64 value);
    void appendDouble(int column, double value);
    void appendText(int column, const QString& value);
    // A text the engine gave as UTF-8, kept as it came.
    void appendUtf8(int column, const char* bytes, qsizetype length);
    void finishRow();
    // The number of rows the last result set will get, when the engine knows it before the
    // first row (PostgreSQL's PQntuples): the columns are sized for them once.
    void reserveRows(int rows);
    // Ends the last result set. Storage grows in blocks; only each column's last block is cut to
    // its values.
    void finishResultSet();

    // --- Reading -----------------------------------------------------------------------------
    // Open when the command gave at least one result set.
    bool isOpen() const;
    int resultSetCount() const;
    int currentResultSet() const { return m_current; }
    // Moves to the next result set of the command; false (and closed) when there is none.
    bool nextRecordset();

    int fieldCount() const;
    QString fieldName(int column) const;
    ColumnType fieldType(int column) const;
    // -1 when no column has that name.
    int fieldIndex(const QString& name) const;
    std::vector<Column> columns() const;

    int recordCount() const;
    bool eof() const;
    bool bof() const;
    int position() const { return m_row; }
    void setPosition(int row);
    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();

    // The value of the current row; throws AppError when there is no current row or no such field.
    QVariant value(int column) const;
    QVariant value(const QString& name) const;
    QVariant valueAt(int row, int column) const;
    bool isNullAt(int row, int column) const;
    // A whole-number column's value without a QVariant (identities are read once per row);
    // other columns give what valueAt(...).toLongLong() gives. NULL gives 0 and sets *isNull.
    qint64 intValue(int row, int column, bool* isNull = nullptr) const;

    // Bytes held by the values, offsets and null marks (for measurements).
    size_t memoryBytes() const;

private:
    struct ResultSet;
    const ResultSet& current() const;
    int requireColumn(const QString& name) const;
    void requireRow() const;

    std::vector<std::unique_ptr<ResultSet>> m_sets;
    int m_current = 0;
    int m_row = 0;
};
