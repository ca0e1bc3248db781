#include "settings/FolderMenu.h"

#include "services/FileManagerMenus.h"
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

Result<void> FolderMenu::WriteValues(const OptionsTable &table, Registry &registry, const FileManagerMenus &menus)
{
    const std::optional<StoredValue> show = table.Get(OptionKey::FolderContextMenu);
    const bool shown = show && show->number() == 1.0;
    if (!shown) {
        registry.WriteRegistryNumber(Subkey(), QStringLiteral("ShowMenu"), 0);
        return menus.Remove();
    }
    // Title and help first: the extension may read at any moment and must
    // never see the command switched on with an old title.
    const QChar key = AccessKey(table.Get(OptionKey::FolderContextMenuAccessKey));
    const QString title = MenuTitle(UiText::LoadText(11), key);
    const QString help = UiText::LoadText(961);
    registry.WriteRegistryText(Subkey(), QStringLiteral("MenuTitle"), title);
    registry.WriteRegistryText(Subkey(), QStringLiteral("MenuHelp"), help);
    registry.WriteRegistryNumber(Subkey(), QStringLiteral("ShowMenu"), 1);
    return menus.Write(title, help);
}

} // namespace quillbay
