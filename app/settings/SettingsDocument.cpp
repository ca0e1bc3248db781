#include "settings/SettingsDocument.h"

#include "settings/SettingsSchema.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

#include <optional>
#include <utility>

namespace quillbay {

namespace {

constexpr int kDefaultDocumentTextId = 980;

// The raw name attribute; a setting without one reads as no name at all.
std::optional<QString> rawName(pugi::xml_node setting)
{
    const pugi::xml_attribute a = setting.attribute(kName);
    if (!a)
        return std::nullopt;
    return toQString(a);
}

// Whether some setting other than except carries a name equal to name without
// regard to letter case. Settings without a name attribute are skipped, so
// this never names a setting as a side effect.
bool nameTakenIgnoreCase(pugi::xml_node root, const QString &name, pugi::xml_node except)
{
    for (pugi::xml_node s = root.child(kSetting); s; s = s.next_sibling(kSetting)) {
        if (s == except)
            continue;
        if (const auto n = rawName(s); n && sameTextIgnoreCase(*n, name))
            return true;
    }
    return false;
}

} // namespace

SettingsDocument::SettingsDocument() = default;

QString SettingsDocument::defaultDocumentText()
{
    return UiText::LoadText(kDefaultDocumentTextId);
}

Result<void> SettingsDocument::loadDefault()
{
    const QString text = defaultDocumentText();
    if (text.isEmpty())
        return Error::withMessage(QStringLiteral("the program holds no default settings document"));
    return loadText(text);
}

Result<void> SettingsDocument::loadText(const QString &xml)
{
    pugi::xml_document loaded;
    if (Result<void> parsed = XmlTools::loadText(loaded, xml); !parsed)
        return parsed;
    m_doc = std::move(loaded);
    return {};
}

Result<void> SettingsDocument::loadFile(const QString &path)
{
    pugi::xml_document loaded;
    if (Result<void> read = XmlTools::loadFile(loaded, path); !read)
        return read;
    m_doc = std::move(loaded);
    return {};
}

pugi::xml_node SettingsDocument::SettingsRoot()
{
    return XmlTools::root(m_doc, kSettings);
}

QString SettingsDocument::settingName(pugi::xml_node setting)
{
    if (!setting)
        return {};
    if (const auto n = rawName(setting))
        return *n;
    // A setting that has never been named gets the first "Setting N" that no
    // other setting uses yet, and keeps it from now on.
    const pugi::xml_node root = setting.parent();
    for (int number = 1;; ++number) {
        const QString candidate = QStringLiteral("Setting %1").arg(number);
        if (!nameTakenIgnoreCase(root, candidate, setting)) {
            XmlTools::setAttribute(setting, kName, candidate);
            return candidate;
        }
    }
}

pugi::xml_node SettingsDocument::FindSetting(const QString &name)
{
    const pugi::xml_node root = SettingsRoot();
    for (pugi::xml_node s = root.child(kSetting); s; s = s.next_sibling(kSetting)) {
        if (settingName(s) == name)
            return s;
    }
    return {};
}

pugi::xml_node SettingsDocument::FindSettingIgnoreCase(const QString &name)
{
    const pugi::xml_node root = SettingsRoot();
    for (pugi::xml_node s = root.child(kSetting); s; s = s.next_sibling(kSetting)) {
        if (sameTextIgnoreCase(settingName(s), name))
            return s;
    }
    return {};
}

pugi::xml_node SettingsDocument::SelectedSetting()
{
    const pugi::xml_node root = SettingsRoot();
    const pugi::xml_attribute select = root.attribute(kSelect);
    if (select) {
        if (const pugi::xml_node s = FindSetting(toQString(select)))
            return s;
    }
    pugi::xml_node first = root.child(kSetting);
    if (!first)
        first = XmlTools::appendChild(root, kSetting);
    XmlTools::setAttribute(root, kSelect, settingName(first));
    return first;
}

bool SettingsDocument::SelectSetting(const QString &name)
{
    if (!FindSetting(name))
        return false;
    XmlTools::setAttribute(SettingsRoot(), kSelect, name);
    return true;
}

int SettingsDocument::SettingCount()
{
    int count = 0;
    const pugi::xml_node root = SettingsRoot();
    for (pugi::xml_node s = root.child(kSetting); s; s = s.next_sibling(kSetting))
        ++count;
    return count;
}

QStringList SettingsDocument::SettingNames()
{
    QStringList names;
    const pugi::xml_node root = SettingsRoot();
    for (pugi::xml_node s = root.child(kSetting); s; s = s.next_sibling(kSetting))
        names.append(settingName(s));
    return names;
}

bool SettingsDocument::AddSetting(const QString &name)
{
    // An empty name could never be told apart from "the selected setting" by
    // the operations that take a name, so it is refused like a taken one.
    if (name.isEmpty() || FindSetting(name) || FindSettingIgnoreCase(name))
        return false;
    const pugi::xml_node root = SettingsRoot();
    const pugi::xml_node setting = XmlTools::appendChild(root, kSetting);
    XmlTools::setAttribute(setting, kName, name);

    const pugi::xml_node folders = XmlTools::appendChild(setting, kFolders);
    XmlTools::setAttribute(folders, "childFolders", QStringLiteral("deep"));

    const pugi::xml_node files = XmlTools::appendChild(setting, kFileCriteria);
    XmlTools::setAttribute(files, "regExp", QStringLiteral("false"));
    for (const char *attribute : {"startWith", "ext", "regExpBaseName", "regExpExt"})
        XmlTools::setAttribute(files, attribute, QString());

    const pugi::xml_node folderCriteria = XmlTools::appendChild(setting, kFolderCriteria);
    XmlTools::setAttribute(folderCriteria, "regExp", QStringLiteral("false"));
    for (const char *attribute : {"startWith", "endWith", "regExpBaseName"})
        XmlTools::setAttribute(folderCriteria, attribute, QString());

    XmlTools::appendChild(setting, kFileRules);
    XmlTools::appendChild(setting, kFolderRules);
    XmlTools::setAttribute(root, kSelect, name);
    return true;
}

bool SettingsDocument::RenameSetting(const QString &oldName, const QString &newName)
{
    if (newName.isEmpty() || FindSetting(newName))
        return false;
    const pugi::xml_node setting = FindSetting(oldName);
    if (!setting)
        return false;
    // The setting itself may keep its name in another letter case.
    if (nameTakenIgnoreCase(SettingsRoot(), newName, setting))
        return false;
    XmlTools::setAttribute(setting, kName, newName);
    XmlTools::setAttribute(SettingsRoot(), kSelect, newName);
    return true;
}

bool SettingsDocument::DuplicateSetting(const QString &sourceName, const QString &newName)
{
    if (newName.isEmpty() || FindSetting(newName) || FindSettingIgnoreCase(newName))
        return false;
    const pugi::xml_node source = FindSetting(sourceName);
    if (!source)
        return false;
    pugi::xml_node root = SettingsRoot();
    const pugi::xml_node copy = root.append_copy(source);
    XmlTools::setAttribute(copy, kName, newName);
    XmlTools::setAttribute(root, kSelect, newName);
    return true;
}

bool SettingsDocument::RemoveSetting(const QString &name)
{
    if (SettingCount() < 2)
        return false;
    const pugi::xml_node setting = FindSetting(name);
    if (!setting)
        return false;
    const pugi::xml_node root = SettingsRoot();
    XmlTools::removeChild(root, setting);
    XmlTools::setAttribute(root, kSelect, settingName(root.child(kSetting)));
    return true;
}

pugi::xml_node SettingsDocument::settingOrSelected(const QString &name)
{
    return name.isEmpty() ? SelectedSetting() : FindSetting(name);
}

} // namespace quillbay
