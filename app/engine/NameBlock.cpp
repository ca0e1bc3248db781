#include "engine/NameBlock.h"

namespace quillbay {

void NameBlock::append(QStringView name)
{
    m_units.insert(m_units.end(), name.utf16(), name.utf16() + name.size());
    m_ends.push_back(m_units.size());
}

void NameBlock::appendUtf8(QUtf8StringView name)
{
    // The text is known to be valid: no overlong forms, no surrogates, nothing
    // beyond U+10FFFF, no sequence cut short. A byte order mark is a character
    // like any other here.
    const auto *p = reinterpret_cast<const unsigned char *>(name.data());
    const auto *end = p + name.size();
    while (p < end) {
        const unsigned char lead = *p;
        char32_t cp;
        int trail;
        if (lead < 0x80) {
            m_units.push_back(lead);
            ++p;
            continue;
        } else if (lead < 0xE0) {
            cp = lead & 0x1F;
            trail = 1;
        } else if (lead < 0xF0) {
            cp = lead & 0x0F;
            trail = 2;
        } else {
            cp = lead & 0x07;
            trail = 3;
        }
        ++p;
        for (int k = 0; k < trail; ++k)
            cp = cp << 6 | (*p++ & 0x3F);
        if (cp >= 0x10000) {
            m_units.push_back(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
            m_units.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            m_units.push_back(char16_t(cp));
        }
    }
    m_ends.push_back(m_units.size());
}

void NameBlock::clear()
{
    decltype(m_units)().swap(m_units);
    decltype(m_ends)().swap(m_ends);
}

} // namespace quillbay
