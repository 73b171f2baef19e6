#pragma once

#include "core/ColumnType.h"
#include "core/Recordset.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class DatabaseConnection;
enum class Engine : int;

// The type a procedure declares for a parameter; values are converted to it before binding, as
// the server converts the arguments of a call.
enum class ParameterType { Text, Integer, Number, Money, Date, DateTime, Bit };

struct ProcedureParameter {
    QString name; // without the "@"
    ParameterType type = ParameterType::Text;
};

// One statement of a procedure, with its ":Name" placeholders turned into positional "?" marks.
struct ProcedureStatement {
    QString sql;
    std::vector<int> parameterOrder; // index into Procedure::parameters for each "?"
};

// A criterion "(:Name IS NULL OR condition)" of a statement's source text: true whenever the
// parameter is NULL, the bare condition otherwise. Offsets are into the source text.
struct OptionalCriterion {
    qsizetype start = 0; // the opening parenthesis
    qsizetype conditionStart = 0; // the condition after "OR"
    qsizetype end = 0; // just after the closing parenthesis
    int parameter = -1;
};

// The source of one SQLite statement with its optional criteria.
struct CriteriaStatement {
    QString source;
    std::vector<OptionalCriterion> criteria;
};

using NativeProcedure = std::function<Recordset(DatabaseConnection&, const std::vector<QVariant>& arguments)>;

struct Procedure {
    QString name;
    std::vector<ProcedureParameter> parameters;
    // Declared logical types of result columns, by column name (lower case).
    QHash<QString, ColumnType> columnTypes;
    std::vector<ProcedureStatement> sqliteStatements;
    std::vector<ProcedureStatement> postgresStatements;
    NativeProcedure native; // set for procedures written in C++

    // SQLite statements with their optional criteria, parallel to sqliteStatements.
    std::vector<CriteriaStatement> sqliteCriteria;

    int parameterIndex(const QString& name) const;
    const std::vector<ProcedureStatement>& statements(Engine engine) const;
    // The statements as a call with these (converted) arguments runs them. SQLite prepares a
    // statement once without knowing its values, so "(:X IS NULL OR i.Case_ID = :X)" would keep it
    // from using an index on Case_ID whatever X is: there each optional criterion is replaced by
    // what it means for the call, "(1)" when its parameter is NULL and the bare condition when not,
    // and the statement of each set of filled criteria is compiled once and kept. The rows are
    // those of the statement as written, for any value. PostgreSQL plans with the values itself.
    std::vector<const ProcedureStatement*> statementsFor(Engine engine, const std::vector<QVariant>& arguments) const;

private:
    mutable std::map<std::pair<size_t, quint64>, ProcedureStatement> m_plannedStatements;
};

// The procedures of the database: procedures/<name>.sql files compiled into the program (with
// <name>.sqlite.sql or <name>.pg.sql replacing the common file for one engine), and procedures
// written in C++. Names are found without regard to case.
//
// File format: a header of "--" comment lines, then statements separated by ";" at a line end.
//   -- @param Setting_Name text          (one line per parameter, in order; types: text, integer,
//                                          number, money, date, datetime, bit)
//   -- @columns Value Text, Total Money  (logical types of computed result columns)
// Every SELECT (or statement with RETURNING) gives one result set. Every result column carries a
// quoted alias (t.Case_Status_ID AS "Case_Status_ID"): PostgreSQL folds unquoted names to lower
// case, and grids, exports and kept column widths take their names from the result.
class ProcedureCatalogue {
public:
    static ProcedureCatalogue& instance();

    const Procedure* find(const QString& name) const;
    bool contains(const QString& name) const { return find(name) != nullptr; }
    QStringList names() const;

    // Adds a procedure read from text (a tool's own, or one a test defines).
    void registerProcedure(Procedure procedure);
    void registerNative(const QString& name, std::vector<ProcedureParameter> parameters, NativeProcedure body,
                        QHash<QString, ColumnType> columnTypes = {});

    // Reads one procedure file's text (for both engines unless engine-specific); throws AppError
    // on an undeclared placeholder or a bad header.
    static Procedure parse(const QString& name, const QString& commonText, const QString& sqliteText,
                           const QString& postgresText);

private:
    ProcedureCatalogue();
    void loadResources();
    QHash<QString, std::shared_ptr<Procedure>> m_procedures;
};
