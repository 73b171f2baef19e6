#include "exports/ExportFormats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

char* copyText(const char* text, char* out)
{
    const size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

char* twoDigits(int number, char* out)
{
    out[0] = static_cast<char>('0' + number / 10);
    out[1] = static_cast<char>('0' + number % 10);
    return out + 2;
}

// The digits and decimal exponent of the shortest text that reads back as the value.
struct ShortestDigits {
    bool negative = false;
    char digits[20] = {};
    int count = 0;
    int exponent = 0;
};

ShortestDigits shortestDigits(double value)
{
    char text[40];
    const char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific).ptr;
    ShortestDigits result;
    const char* p = text;
    if (*p == '-') {
        result.negative = true;
        ++p;
    }
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '.')
            result.digits[result.count++] = *p;
    }
    // "e+21", "e-07"
    const bool negativeExponent = p[1] == '-';
    std::from_chars(p + 2, end, result.exponent);
    if (negativeExponent)
        result.exponent = -result.exponent;
    return result;
}

// The %g form of at most 15 significant digits, which carry no trailing zeros.
char* writeGeneral(const ShortestDigits& number, char* out)
{
    if (number.negative)
        *out++ = '-';
    const int exponent = number.exponent;
    if (exponent < -4 || exponent >= 15) {
        *out++ = number.digits[0];
        if (number.count > 1) {
            *out++ = '.';
            out = std::copy(number.digits + 1, number.digits + number.count, out);
        }
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(exponent);
        if (magnitude >= 100)
            *out++ = static_cast<char>('0' + magnitude / 100);
        return twoDigits(magnitude % 100, out);
    }
    if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -exponent - 1, '0');
        return std::copy(number.digits, number.digits + number.count, out);
    }
    const int whole = exponent + 1;
    if (number.count <= whole) {
        out = std::copy(number.digits, number.digits + number.count, out);
        return std::fill_n(out, whole - number.count, '0');
    }
    out = std::copy(number.digits, number.digits + whole, out);
    *out++ = '.';
    return std::copy(number.digits + whole, number.digits + number.count, out);
}

// True when the value lies exactly halfway between two 15-digit texts: its full expansion (at most
// 767 significant digits for a double) has a 5 as sixteenth significant digit and nothing after.
bool exactlyHalfway(double value)
{
    char text[800];
    const char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 770).ptr;
    const char* p = text;
    if (*p == '-')
        ++p;
    // "d.ddd...e+XX"
    p += 2 + 14;
    if (*p++ != '5')
        return false;
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '0')
            return false;
    }
    return true;
}

} // namespace

char* WriteNumberText(double value, char* out)
{
    if (std::isnan(value))
        return copyText("nan", out);
    if (std::isinf(value))
        return copyText(value < 0 ? "-inf" : "inf", out);
    if (value == 0) {
        *out = '0';
        return out + 1;
    }
    // A normal double whose shortest text has at most 15 digits is that text rounded to 15 digits:
    // the next 15-digit text is further away than half a step between doubles. Not so for the
    // subnormals near zero, whose steps are coarse.
    const bool normal = std::isnormal(value);
    const ShortestDigits number = shortestDigits(value);
    if (normal && number.count <= 15)
        return writeGeneral(number, out);
    // Rounded to 15 digits. to_chars rounds a value exactly halfway to even, Qt away from zero: the
    // next value away from zero rounds the same way as Qt, and no 15-digit text lies between. A
    // normal value halfway has a 16-digit shortest text ending in 5.
    const bool candidate = !normal || (number.count == 16 && number.digits[15] == '5');
    if (candidate && exactlyHalfway(value))
        value = std::nextafter(value,
            number.negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity());
    return std::to_chars(out, out + kExportFormatSize, value, std::chars_format::general, 15).ptr;
}

char* WriteDateText(QDate date, char* out)
{
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    if (!date.isValid() || year < 1 || year > 9999)
        return nullptr;
    out = twoDigits(month, out);
    *out++ = '/';
    out = twoDigits(day, out);
    *out++ = '/';
    out = twoDigits(year / 100, out);
    return twoDigits(year % 100, out);
}

char* WriteDateTimeText(QDate date, QTime time, char* out)
{
    if (!time.isValid())
        return nullptr;
    out = WriteDateText(date, out);
    if (!out)
        return nullptr;
    const int hour = time.hour();
    *out++ = ' ';
    out = twoDigits(hour % 12 == 0 ? 12 : hour % 12, out);
    *out++ = ':';
    out = twoDigits(time.minute(), out);
    *out++ = ':';
    out = twoDigits(time.second(), out);
    return copyText(hour < 12 ? " AM" : " PM", out);
}
