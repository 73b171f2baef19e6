#include "core/CStringBuilder.h"

#include <algorithm>
#include <limits>

namespace {
[[noreturn]] void raiseRange(const QString& description, const char* member)
{
    throw AppError(ErrStringBuilderRange, description, QStringLiteral("CStringBuilder.") + QLatin1String(member));
}

const QString OutOfRange = QStringLiteral("Argument(s) out of range.");
} // namespace

CStringBuilder::CStringBuilder()
    : m_buffer(std::size_t(m_capacity / 2))
    , m_scratch(std::size_t(m_capacity / 2))
{
}

void CStringBuilder::setBufferBump(int bytes)
{
    if (bytes <= 0)
        return;
    if (bytes % 2 != 0) {
        if (bytes == std::numeric_limits<int>::max())
            throw AppError(ErrOverflow, QStringLiteral("Overflow"), QStringLiteral("CStringBuilder.BufferBump"));
        ++bytes;
    }
    m_bufferBump = bytes;
}

void CStringBuilder::setCapacity(int bytes)
{
    if (bytes <= 0)
        return;
    const qint64 steps = (qint64(bytes) + m_bufferBump - 1) / m_bufferBump;
    const qint64 capacity = steps * m_bufferBump;
    if (capacity > std::numeric_limits<int>::max())
        throw AppError(ErrOverflow, QStringLiteral("Overflow"), QStringLiteral("CStringBuilder.Capacity"));
    m_capacity = int(capacity);
    // BufferBump is always even, so the capacity is a whole number of characters.
    m_buffer.resize(std::size_t(m_capacity / 2));
    m_scratch.resize(std::size_t(m_capacity / 2));
    m_length = std::min(m_length, m_capacity);
}

QChar CStringBuilder::Chars(int index) const
{
    if (index < 0 || index >= Length())
        raiseRange(QStringLiteral("Tried reading character past end of buffer."), "Chars");
    return QChar(m_buffer[std::size_t(index)]);
}

void CStringBuilder::setChars(int index, QChar character)
{
    if (index < 0 || index >= Length())
        raiseRange(QStringLiteral("Tried assigning character past end of buffer."), "Chars");
    m_buffer[std::size_t(index)] = character.unicode();
}

void CStringBuilder::setLength(int characters)
{
    if (characters < 0)
        return;
    const qint64 bytes = qint64(characters) * 2;
    if (bytes > std::numeric_limits<int>::max())
        throw AppError(ErrOverflow, QStringLiteral("Overflow"), QStringLiteral("CStringBuilder.Length"));
    if (bytes > m_capacity)
        setCapacity(int(bytes));
    m_length = int(bytes);
}

CStringBuilder& CStringBuilder::Append(const QString& text)
{
    if (text.isEmpty())
        return *this;
    const qint64 needed = qint64(m_length) + qint64(text.size()) * 2;
    if (needed > std::numeric_limits<int>::max())
        throw AppError(ErrOverflow, QStringLiteral("Overflow"), QStringLiteral("CStringBuilder.Append"));
    EnsureCapacity(int(needed));
    std::copy(text.utf16(), text.utf16() + text.size(), m_buffer.begin() + Length());
    m_length = int(needed);
    return *this;
}

int CStringBuilder::EnsureCapacity(int bytes)
{
    if (bytes > m_capacity)
        setCapacity(bytes);
    return m_capacity;
}

CStringBuilder& CStringBuilder::Insert(int index, const QString& text)
{
    if (index < 0 || index > Length())
        raiseRange(OutOfRange, "Insert");
    if (text.isEmpty())
        return *this;
    const qint64 needed = qint64(m_length) + qint64(text.size()) * 2;
    if (needed > std::numeric_limits<int>::max())
        throw AppError(ErrOverflow, QStringLiteral("Overflow"), QStringLiteral("CStringBuilder.Insert"));
    EnsureCapacity(int(needed));
    // Build the new text in the scratch array and swap, so every character moves once.
    const auto at = m_buffer.begin() + index;
    const auto end = m_buffer.begin() + Length();
    auto out = std::copy(m_buffer.begin(), at, m_scratch.begin());
    out = std::copy(text.utf16(), text.utf16() + text.size(), out);
    std::copy(at, end, out);
    m_buffer.swap(m_scratch);
    m_length = int(needed);
    return *this;
}

CStringBuilder& CStringBuilder::Remove(int start, int count)
{
    if (start < 0 || count < 0 || qint64(start) + count > Length())
        raiseRange(OutOfRange, "Remove");
    const auto from = m_buffer.begin() + start;
    std::copy(from + count, m_buffer.begin() + Length(), from);
    m_length -= count * 2;
    return *this;
}

QString CStringBuilder::ToString() const { return QString::fromUtf16(m_buffer.data(), Length()); }
