#pragma once
// Read into every test source (see tests/support/CMakeLists.txt): a failed comparison of Qt texts
// prints the texts, not their bytes one by one.
#include <QByteArray>
#include <QString>
#include <QVariant>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '"' << bytes.toStdString() << '"'; }
inline void PrintTo(const QVariant& value, std::ostream* out)
{
    *out << value.typeName() << '(' << value.toString().toStdString() << ')';
}
