#pragma once

#include <QChar>
#include <QString>

#include <optional>

// A record code typed or scanned into a field: the prefix letter (any letter case), "-" and the
// record identity as 1 to 10 digits ("C-0000000042" and "c-42" name the same case). Blanks around
// the whole code are ignored; nothing else is: no sign, no blank after the hyphen, no eleventh digit.
enum class RecordCodeReading {
    NotACode, // the text does not begin with the prefix and a hyphen
    Malformed, // it does, but what follows is not 1 to 10 digits with a value from 1 to 2147483647
    Identity, // a record identity
};

struct RecordCode {
    RecordCodeReading reading = RecordCodeReading::NotACode;
    int identity = 0;
};

RecordCode ReadRecordCode(const QString& text, QChar prefix);
// The identity of a bare number ("42", blanks around it ignored): 1 to 10 digits with a value from
// 1 to 2147483647; nothing otherwise.
std::optional<int> ReadIdentityNumber(const QString& text);

// The code of a record as shown, printed and scanned: the prefix, "-" and the identity padded
// with zeros to ten digits ("E-0000000042"). Every code the program forms comes from here.
QString RecordCodeText(QChar prefix, int identity);
