#include "base/ReplacementTemplate.h"

namespace quillbay::regexp_detail {
namespace {

int digitAt(const QString &text, qsizetype i)
{
    if (i >= text.size())
        return -1;
    const char16_t c = text[i].unicode();
    return c >= u'0' && c <= u'9' ? c - u'0' : -1;
}

} // namespace

ReplacementTemplate::ReplacementTemplate(const QString &text, int groupCount,
                                         const std::function<int(QStringView)> &groupNumberOfName)
    : m_text(text)
{
    qsizetype literalStart = 0;
    qsizetype i = 0;
    while (i < m_text.size()) {
        if (m_text[i] != u'$' || i + 1 >= m_text.size()) {
            ++i;
            continue;
        }
        const char16_t next = m_text[i + 1].unicode();
        qsizetype consumed = 0; // length of the token at i, 0 when "$" is literal
        if (next == u'$') {
            addLiteral(literalStart, i + 1 - literalStart); // keeps one "$"
            literalStart = i + 2;
            i += 2;
            continue;
        }
        if (next == u'&' || next == u'`' || next == u'\'') {
            addLiteral(literalStart, i - literalStart);
            addPiece(next == u'&' ? Kind::Group : next == u'`' ? Kind::Before : Kind::After, 0);
            consumed = 2;
        } else if (digitAt(m_text, i + 1) >= 0) {
            const int d1 = digitAt(m_text, i + 1);
            const int d2 = digitAt(m_text, i + 2);
            int group = 0;
            if (d2 >= 0 && d1 * 10 + d2 >= 1 && d1 * 10 + d2 <= groupCount) {
                group = d1 * 10 + d2;
                consumed = 3;
            } else if (d1 >= 1 && d1 <= groupCount) {
                group = d1;
                consumed = 2;
            }
            if (consumed > 0) {
                addLiteral(literalStart, i - literalStart);
                addPiece(Kind::Group, group);
            }
        } else if (next == u'<' && groupNumberOfName) {
            const qsizetype close = m_text.indexOf(u'>', i + 2);
            if (close >= 0) {
                addLiteral(literalStart, i - literalStart);
                const int group = groupNumberOfName(QStringView(m_text).mid(i + 2, close - i - 2));
                if (group > 0)
                    addPiece(Kind::Group, group); // an unknown name stands for nothing
                consumed = close + 1 - i;
            }
        }
        if (consumed == 0) {
            ++i;
            continue;
        }
        i += consumed;
        literalStart = i;
    }
    addLiteral(literalStart, m_text.size() - literalStart);
}

void ReplacementTemplate::addLiteral(qsizetype start, qsizetype length)
{
    if (length <= 0)
        return;
    if (!m_pieces.empty() && m_pieces.back().what == Kind::Literal
        && m_pieces.back().start + m_pieces.back().length == start) {
        m_pieces.back().length += length;
        return;
    }
    m_pieces.push_back(Piece{Kind::Literal, start, length, 0});
}

void ReplacementTemplate::appendTo(QString &out, QStringView subject, const size_t *offsets) const
{
    const size_t subjectSize = size_t(subject.size());
    const size_t matchStart = offsets[0];
    const size_t matchEnd = offsets[1];
    for (const Piece &piece : m_pieces) {
        switch (piece.what) {
        case Kind::Literal:
            out += QStringView(m_text).mid(piece.start, piece.length);
            break;
        case Kind::Before:
            out += subject.first(qsizetype(matchStart));
            break;
        case Kind::After:
            out += subject.sliced(qsizetype(matchEnd));
            break;
        case Kind::Group: {
            const size_t start = offsets[2 * piece.group];
            const size_t end = offsets[2 * piece.group + 1];
            if (start <= end && end <= subjectSize) // a group that did not take part gives nothing
                out += subject.sliced(qsizetype(start), qsizetype(end - start));
            break;
        }
        }
    }
}

} // namespace quillbay::regexp_detail
