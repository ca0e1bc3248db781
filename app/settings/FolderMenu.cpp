#include "settings/FolderMenu.h"

#include "services/FileManagerMenus.h"
#include "services/Registry.h"
#include "settings/Options.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

namespace quillbay {

QChar FolderMenu::accessKey(const std::optional<StoredValue> &value)
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

Result<void> FolderMenu::writeValues(const OptionsTable &table, Registry &registry, const FileManagerMenus &menus)
{
    const std::optional<StoredValue> show = table.get(OptionKey::FolderContextMenu);
    const bool shown = show && show->number() == 1.0;
    if (!shown) {
        registry.writeRegistryNumber(subkey(), QStringLiteral("ShowMenu"), 0);
        return menus.remove();
    }
    // Title and help first: the extension may read at any moment and must
    // never see the command switched on with an old title.
    const QChar key = accessKey(table.get(OptionKey::FolderContextMenuAccessKey));
    const QString title = MenuTitle(UiText::LoadText(11), key);
    const QString help = UiText::LoadText(961);
    registry.writeRegistryText(subkey(), QStringLiteral("MenuTitle"), title);
    registry.writeRegistryText(subkey(), QStringLiteral("MenuHelp"), help);
    registry.writeRegistryNumber(subkey(), QStringLiteral("ShowMenu"), 1);
    return menus.write(title, help);
}

} // namespace quillbay
