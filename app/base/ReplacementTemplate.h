#pragma once
// A replacement text of RegExp::Replace, read once into pieces under the
// JavaScript rules: "$$", "$&", "$`", "$'", "$n" and "$nn" (two digits when
// that group exists, else one digit, else the text itself), "$<name>" when the
// pattern has named groups. Anything else is literal text.

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

namespace quillbay::regexp_detail {

class ReplacementTemplate
{
public:
    // groupCount: capturing groups of the pattern. groupNumberOfName: the
    // number of a named group or 0; empty when the pattern names no groups.
    ReplacementTemplate(const QString &text, int groupCount, const std::function<int(QStringView)> &groupNumberOfName);

    const QString &text() const { return m_text; }

    // Appends the replacement of one match. offsets: start and end of the
    // match and of each group, as PCRE2's output vector, negative or past
    // the subject for a group that did not take part.
    void appendTo(QString &out, QStringView subject, const size_t *offsets) const;

private:
    enum class Kind { Literal, Group, Before, After };
    struct Piece {
        Kind what = Kind::Literal;
        qsizetype start = 0; // literal: offset in m_text
        qsizetype length = 0;
        int group = 0; // 0 is the whole match
    };

    void addLiteral(qsizetype start, qsizetype length);
    void addPiece(Kind kind, int group) { m_pieces.push_back(Piece{kind, 0, 0, group}); }

    QString m_text;
    std::vector<Piece> m_pieces;
};

} // namespace quillbay::regexp_detail
