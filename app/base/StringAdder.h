#pragma once
// Collects text piece by piece in a buffer that grows in large steps, so that
// building a string of many small pieces does not re-allocate at every step.

#include <QString>

namespace quillbay {

class StringAdder
{
public:
    StringAdder();

    void append(const QString &piece);
    void append2(const QString &a, const QString &b);
    void append3(const QString &a, const QString &b, const QString &c);
    void appendChar(QChar c);
    void appendCode(int code); // 0..65535 (only the low 16 bits are used); a byte value becomes U+0000..U+00FF
    QString toString() const;
    void clear();

private:
    void reserveFor(qsizetype extra, qsizetype growth);
    QString m_buffer;
    qsizetype m_used = 0; // characters in use
};

} // namespace quillbay
