#include "text/UiText.h"

#include "text/LocaleLanguage.h"
#include "text/StringTables.h"

#include <atomic>

namespace quillbay {

namespace {

constexpr int kLanguageCodeId = 20;
constexpr int kUndecided = -1;

// The language in force: undecided until first used, then taken from the
// environment once, unless setLanguage fixed it before.
std::atomic<int> g_language{kUndecided};

// The placeholder of pairs that starts at position, the first of pairs when
// several do; -1 when none does.
qsizetype placeholderAt(const QString &text, qsizetype position, const QStringList &pairs)
{
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
        const QString &placeholder = pairs[i];
        if (!placeholder.isEmpty() && QStringView(text).mid(position).startsWith(placeholder))
            return i;
    }
    return -1;
}

} // namespace

std::optional<QString> UiText::findText(int id)
{
    const ParsedStringTable &table = StringTables::table(language());
    auto entry = table.texts.constFind(id);
    if (entry != table.texts.constEnd())
        return *entry;
    return StringTables::languageIndependentText(id);
}

// The text is scanned once from left to right and every placeholder found is
// replaced by its value; the values themselves are never scanned again, so a
// file name that happens to contain "&num;" is shown as it is.
QString UiText::LoadTextWith(int id, const QStringList &pairs)
{
    const QString text = LoadText(id);
    QString result;
    result.reserve(text.size());
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype pair = placeholderAt(text, position, pairs);
        if (pair < 0) {
            result.append(text[position]);
            ++position;
            continue;
        }
        result.append(pairs[pair + 1]);
        position += pairs[pair].size();
    }
    return result;
}

QString UiText::LanguageCode()
{
    return LoadText(kLanguageCodeId);
}

QString UiText::LanguageSuffix()
{
    const QString code = LanguageCode();
    if (code.isEmpty())
        return code;
    return code.left(1).toUpper() + code.mid(1).toLower();
}

UiLanguage UiText::language()
{
    int current = g_language.load();
    if (current == kUndecided) {
        const int fromEnvironment = int(languageFromEnvironment());
        // A setLanguage that came first wins over the environment.
        if (g_language.compare_exchange_strong(current, fromEnvironment))
            current = fromEnvironment;
    }
    return UiLanguage(current);
}

void UiText::setLanguage(UiLanguage language)
{
    g_language.store(int(language));
}

void UiText::chooseLanguageAgain()
{
    g_language.store(kUndecided);
}

UiLanguage UiText::languageFromEnvironment()
{
    return chooseUiLanguage(LocaleEnvironment::current());
}

} // namespace quillbay
