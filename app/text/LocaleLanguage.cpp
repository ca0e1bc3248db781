#include "text/LocaleLanguage.h"

namespace quillbay {

namespace {

QString environmentText(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

// The language part of a locale name: "ja" of "ja_JP.UTF-8@euro".
QStringView languagePart(QStringView localeName)
{
    qsizetype end = 0;
    while (end < localeName.size()) {
        const QChar c = localeName[end];
        if (c == u'_' || c == u'.' || c == u'@' || c == u'-')
            break;
        ++end;
    }
    return localeName.left(end);
}

// "C", "POSIX" and their variants such as "C.UTF-8" all name the C locale,
// under which gettext ignores LANGUAGE.
bool isCLocale(QStringView localeName)
{
    const QStringView language = languagePart(localeName);
    return language.isEmpty() || language == u"C" || language == u"POSIX";
}

bool isJapanese(QStringView localeName)
{
    const QStringView language = languagePart(localeName);
    return language.compare(u"ja", Qt::CaseInsensitive) == 0 || language.compare(u"japanese", Qt::CaseInsensitive) == 0;
}

} // namespace

LocaleEnvironment LocaleEnvironment::current()
{
    return {environmentText("LANGUAGE"), environmentText("LC_ALL"), environmentText("LC_MESSAGES"),
            environmentText("LANG")};
}

UiLanguage chooseUiLanguage(const LocaleEnvironment &environment)
{
    QString locale = environment.lcAll;
    if (locale.isEmpty())
        locale = environment.lcMessages;
    if (locale.isEmpty())
        locale = environment.lang;

    QStringView chosen = locale;
    if (!isCLocale(locale)) {
        const QStringView firstLanguage = QStringView(environment.language).split(u':').constFirst();
        if (!firstLanguage.isEmpty())
            chosen = firstLanguage;
    }
    return isJapanese(chosen) ? UiLanguage::Japanese : UiLanguage::English;
}

} // namespace quillbay
