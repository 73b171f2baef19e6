#pragma once

#include "core/ColumnType.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

// How the list controls show and order the values of a result column.

// The text a grid cell shows for a value of that logical type: "" for NULL, money as
// "#,##0.00", Booleans as "Yes"/"No", dates as "mm/dd/yyyy", date-times as "mm/dd/yyyy" at
// midnight and otherwise "mm/dd/yyyy hh:nn AM" with seconds only when they are not zero.
QString CellText(const QVariant& value, ColumnType type);

// "#,##0.00", whatever the system locale.
QString MoneyText(double value);

// A value reduced to what it sorts by. NULL sorts before every value; numbers, money, dates and
// Booleans by their value; texts without regard to case.
struct SortKey {
    enum Kind : unsigned char { Null = 0, Number = 1, Text = 2 };
    Kind kind = Null;
    double number = 0;
    qint64 integer = 0;
    bool isInteger = false;
    QString text;
};
SortKey MakeSortKey(const QVariant& value, ColumnType type);
// -1, 0 or 1.
int CompareSortKeys(const SortKey& a, const SortKey& b);

// The identities of an identity list ("12,40" or "12, 40"); each part trimmed, empty parts
// skipped. Nothing when a part is not a whole number within 32 bits.
std::optional<std::vector<int>> ParseIdentityList(const QString& list);
