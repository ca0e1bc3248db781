#include "settings/FolderMenu.h"

#include "services/Registry.h"
#include "settings/Options.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

namespace quillbay {

QChar FolderMenu::AccessKey(const std::optional<StoredValue> &value)
{
    int code = 0;
    if (value) {
        if (const std::optional<double> number = value->number()) {
            code = roundHalfEven(*number + 65.0);
        } else {
            const QString text = value->toText();
            if (text.size() == 1)
                code = text[0].unicode();
        }
    }
    return code >= 'A' && code <= 'Z' ? QChar(char16_t(code)) : QChar(u'B');
}

QString FolderMenu::MenuTitle(const QString &displayName, QChar key)
{
    const qsizetype p = displayName.indexOf(key, 0, Qt::CaseInsensitive);
    if (p < 0)
        return displayName + QStringLiteral(" (&") + key + u')';
    return displayName.left(p) + u'&' + displayName.mid(p);
}

void FolderMenu::WriteValues(const OptionsTable &table, Registry &registry)
{
    const std::optional<StoredValue> show = table.Get(OptionKey::FolderContextMenu);
    const bool shown = show && show->number() == 1.0;
    if (shown) {
        // Title and help first: the extension may read at any moment and must
        // never see the command switched on with an old title.
        const QChar key = AccessKey(table.Get(OptionKey::FolderContextMenuAccessKey));
        registry.WriteRegistryText(Subkey(), QStringLiteral("MenuTitle"), MenuTitle(UiText::LoadText(11), key));
        registry.WriteRegistryText(Subkey(), QStringLiteral("MenuHelp"), UiText::LoadText(961));
    }
    registry.WriteRegistryNumber(Subkey(), QStringLiteral("ShowMenu"), shown ? 1 : 0);
}

} // namespace quillbay
