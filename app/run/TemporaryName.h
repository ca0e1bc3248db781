#pragma once
// Temporary names for breaking a cycle of renames: eight upper-case hexadecimal
// digits followed by ".TMP", drawn from a generator that tests can seed.

#include <QString>
#include <optional>
#include <random>

namespace quillbay {

class TemporaryNameSource
{
public:
    TemporaryNameSource(); // seeded from the system's entropy
    explicit TemporaryNameSource(quint32 seed);
    void seed(quint32 value) { m_random.seed(value); }

    // The name formed from two draws of 0..65535 ("000000" + both in hex, last 8 characters).
    static QString formatName(quint32 first, quint32 second);

    struct Result {
        QString name;
        QString fullPath;
    };
    // A name that nothing in folder carries yet, or no value after attempts tries.
    std::optional<Result> MakeTemporaryName(const QString &folder, int attempts);

private:
    std::mt19937 m_random;
};

} // namespace quillbay
