#include "base/StringAdder.h"

#include "base/Assert.h"

#include <algorithm>

namespace quillbay {
namespace {

constexpr qsizetype kGrowth = 10000; // characters

} // namespace

StringAdder::StringAdder() : m_buffer(kGrowth, QLatin1Char(' ')) {}

// Grows the buffer at its end by `growth` spaces when `extra` more characters
// would not fit. Growing in large steps keeps re-allocations rare.
void StringAdder::reserveFor(qsizetype extra, qsizetype growth)
{
    if (m_used + extra > m_buffer.size())
        m_buffer.resize(m_buffer.size() + growth, QLatin1Char(' '));
}

void StringAdder::append(const QString &piece)
{
    reserveFor(piece.size(), piece.size() + kGrowth);
    std::copy(piece.cbegin(), piece.cend(), m_buffer.begin() + m_used);
    m_used += piece.size();
}

void StringAdder::append2(const QString &a, const QString &b)
{
    const qsizetype total = a.size() + b.size();
    reserveFor(total, total + kGrowth);
    QChar *out = m_buffer.data() + m_used;
    out = std::copy(a.cbegin(), a.cend(), out);
    std::copy(b.cbegin(), b.cend(), out);
    m_used += total;
}

void StringAdder::append3(const QString &a, const QString &b, const QString &c)
{
    const qsizetype total = a.size() + b.size() + c.size();
    reserveFor(total, total + kGrowth);
    QChar *out = m_buffer.data() + m_used;
    out = std::copy(a.cbegin(), a.cend(), out);
    out = std::copy(b.cbegin(), b.cend(), out);
    std::copy(c.cbegin(), c.cend(), out);
    m_used += total;
}

void StringAdder::appendChar(QChar c)
{
    reserveFor(1, kGrowth);
    m_buffer[m_used] = c;
    ++m_used;
}

void StringAdder::appendCode(int code)
{
    // A code unit is 16 bits; a larger code is a caller's mistake, kept to its low bits.
    QB_ASSERT(code >= 0 && code <= 0xFFFF, code &= 0xFFFF);
    appendChar(QChar(char16_t(code)));
}

QString StringAdder::toString() const
{
    return m_buffer.left(m_used);
}

void StringAdder::clear()
{
    m_used = 0;
}

} // namespace quillbay
