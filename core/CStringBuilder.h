#pragma once

#include "core/AppError.h"

#include <QChar>
#include <QString>

#include <vector>

// A growable text buffer. Sizes are counted in bytes, two per character, and the buffer grows in
// steps of BufferBump bytes, so a long run of appends reallocates rarely. Reading or writing past
// the built text throws AppError(ErrStringBuilderRange, ..., "CStringBuilder.<member>").
class CStringBuilder {
public:
    CStringBuilder();

    // The growth step in bytes (default 2048). Values <= 0 are ignored; an odd value is raised by one.
    int BufferBump() const { return m_bufferBump; }
    void setBufferBump(int bytes);

    // The buffer size in bytes. Writing rounds up to a multiple of BufferBump, keeps the contents
    // that fit and cuts the length to the new size; values <= 0 are ignored.
    int Capacity() const { return m_capacity; }
    void setCapacity(int bytes);

    // The character at index 0 .. Length() - 1.
    QChar Chars(int index) const;
    void setChars(int index, QChar character);

    // The length in characters. Growing it exposes whatever the buffer holds past the old end;
    // negative values are ignored.
    int Length() const { return m_length / 2; }
    void setLength(int characters);

    CStringBuilder& Append(const QString& text);
    // Grows the buffer when it is smaller than the given bytes; returns the capacity.
    int EnsureCapacity(int bytes);
    // Inserts the text before the character at index (0 .. Length()).
    CStringBuilder& Insert(int index, const QString& text);
    // Removes count characters from start; start + count must not pass the end.
    CStringBuilder& Remove(int start, int count);
    QString ToString() const;

private:
    int m_bufferBump = 2048;
    int m_length = 0; // bytes
    int m_capacity = 2048; // bytes
    std::vector<char16_t> m_buffer; // capacity / 2 code units
    std::vector<char16_t> m_scratch; // same size; Insert builds the new text here and swaps
};
