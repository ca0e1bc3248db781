#include "ui/text/UiText.h"

// Placeholder until the string table lands.
namespace quillbay {
static UiLanguage g_language = UiLanguage::English;
QString UiText::LoadText(int, bool *found) { if (found) *found = false; return {}; }
QString UiText::LoadTextWith(int id, const QStringList &, bool *found) { return LoadText(id, found); }
QString UiText::LanguageCode() { return g_language == UiLanguage::Japanese ? QStringLiteral("ja") : QStringLiteral("en"); }
QString UiText::LanguageSuffix() { return g_language == UiLanguage::Japanese ? QStringLiteral("Ja") : QStringLiteral("En"); }
UiLanguage UiText::language() { return g_language; }
void UiText::setLanguage(UiLanguage l) { g_language = l; }
UiLanguage UiText::languageFromEnvironment() { return UiLanguage::English; }
}
