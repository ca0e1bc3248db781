#include "ui/common/FontChoice.h"

#include "settings/Options.h"
#include "text/UiText.h"
#include "ui/common/MenuTextRoom.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>

namespace quillbay {

namespace {

int sizeOption(const OptionsTable &options)
{
    const std::optional<StoredValue> value = options.get(OptionKey::FontSize);
    if (!value)
        return 0;
    const std::optional<double> number = value->number();
    return number ? int(*number) : 0;
}

} // namespace

bool FontExists(const QString &name)
{
    if (name.trimmed().isEmpty())
        return false;
    QFont probe(name);
    probe.setStyleStrategy(QFont::NoFontMerging);
    return QFontInfo(probe).family().compare(name, Qt::CaseInsensitive) == 0;
}

QString japaneseFontFamily()
{
    for (const char *family :
         {"Noto Sans CJK JP", "Noto Sans JP", "IPAexGothic", "IPAGothic", "TakaoPGothic", "VL PGothic"}) {
        if (FontExists(QString::fromLatin1(family)))
            return QString::fromLatin1(family);
    }
    return QString();
}

QFont applyFontOptions(const OptionsTable &options)
{
    QFont font = QApplication::font();
    const QString name = options.text(OptionKey::FontName);
    if (!name.isEmpty()) {
        font.setFamily(name);
        if (const int size = sizeOption(options); size > 0)
            font.setPointSize(size);
    } else if (UiText::language() == UiLanguage::Japanese) {
        if (const QString family = japaneseFontFamily(); !family.isEmpty())
            font.setFamily(family);
    }
    giveMenuTextsRoom();
    QApplication::setFont(font);
    return font;
}

bool ApplyChosenFont(const QString &name, int size)
{
    if (!FontExists(name))
        return false;
    QFont font = QApplication::font();
    font.setFamily(name);
    if (size > 0)
        font.setPointSize(size);
    QApplication::setFont(font);
    return true;
}

} // namespace quillbay
