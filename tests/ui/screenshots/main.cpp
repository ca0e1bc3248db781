// quillbay-screenshots OUTPUT_FOLDER [--japanese] [--points N]
// Opens every registered screen and saves a picture of each into
// OUTPUT_FOLDER as "<en|ja>-<default|Npt>-<screen>.png". The program's own
// files go to a temporary folder; the user's home is never touched.

#include "ScreenshotSession.h"

#include "settings/Options.h"
#include "text/UiText.h"
#include "ui/common/FontChoice.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTranslator>
#include <cstdio>

using namespace quillbay;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.isEmpty()) {
        std::fputs("usage: quillbay-screenshots OUTPUT_FOLDER [--japanese] [--points N]\n", stderr);
        return 2;
    }
    const QString output = arguments.first();
    const bool japanese = arguments.contains(QStringLiteral("--japanese"));
    const int pointsAt = int(arguments.indexOf(QStringLiteral("--points")));
    const int points = pointsAt > 0 ? arguments.value(pointsAt + 1).toInt() : 0;
    UiText::setLanguage(japanese ? UiLanguage::Japanese : UiLanguage::English);
    QTranslator qtTexts;
    if (japanese && qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    QDir().mkpath(output);
    QTemporaryDir temporary;
    const QString data = temporary.filePath(QStringLiteral("data"));
    const QString samples = temporary.filePath(QStringLiteral("samples"));
    QDir().mkpath(data);
    QDir().mkpath(samples);
    const QString prefix = QString::fromLatin1(japanese ? "ja" : "en") + u'-'
        + (points > 0 ? QString::number(points) + QStringLiteral("pt") : QStringLiteral("default"));

    shots::ScreenshotSession session(data, samples, output, prefix);
    if (points > 0) {
        session.context().options.table().set(OptionKey::FontName, StoredValue::ofText(QApplication::font().family()));
        session.context().options.table().set(OptionKey::FontSize, StoredValue::ofWhole(points));
    }
    applyFontOptions(session.context().options.table());
    for (const auto &[group, screens] : shots::registeredScreens()) {
        std::printf("%s: %s\n", qPrintable(prefix), qPrintable(group));
        screens(session);
    }
    return session.failures() == 0 ? 0 : 1;
}
