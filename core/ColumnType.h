#pragma once

#include <QString>

#include <optional>

// The one logical type of a result column, the same on both engines. Grids, exports and formats
// rely on it rather than on what a driver happens to report.
enum class ColumnType : int {
    Integer = 1,
    Double = 2,
    Currency = 3,
    Date = 4,
    DateTime = 5,
    Boolean = 6,
    Text = 7,
};

QString ColumnTypeName(ColumnType type);
// The logical type of a value of this Qt type (a column nothing declares).
ColumnType ColumnTypeOfMetaType(int typeId);
// Reads a type name as procedure files declare it (case-insensitive); nothing for an unknown name.
std::optional<ColumnType> ColumnTypeFromName(const QString& name);
