#pragma once
// Collects text piece by piece in a buffer that grows in large steps, so that
// building a string of many small pieces does not re-allocate at every step.

#include <QString>

namespace quillbay {

class StringAdder
{
public:
    StringAdder();

    void Append(const QString &piece);
    void Append2(const QString &a, const QString &b);
    void Append3(const QString &a, const QString &b, const QString &c);
    void AppendChar(QChar c);
    void AppendCode(int code); // 0..65535 (only the low 16 bits are used); a byte value becomes U+0000..U+00FF
    QString ToString() const;
    void Clear();

private:
    void reserveFor(qsizetype extra, qsizetype growth);
    QString m_buffer;
    qsizetype m_used = 0; // characters in use
};

} // namespace quillbay
