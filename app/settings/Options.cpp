#include "settings/Options.h"

#include "services/Registry.h"
#include "settings/FolderMenu.h"
#include "text/UiText.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace quillbay {

static const char *const kRoot = "appSetting";
static const char *const kObject = "object";
static const char *const kParam = "param";
static const char *const kName = "name";
static const char *const kValue = "value";

Options::Options(const QString &optionsFile, const QString &programFolder)
    : m_optionsFile(optionsFile), m_programFolder(programFolder)
{
}

void Options::setLocation(const QString &optionsFile, const QString &programFolder)
{
    m_optionsFile = optionsFile;
    m_programFolder = programFolder;
}

Result<void> Options::ReadOptionsFile()
{
    const QString delivered = QDir(m_programFolder).filePath(QStringLiteral("app.xml"));
    if (!m_programFolder.isEmpty() && !QFile::exists(m_optionsFile) && QFile::exists(delivered))
        QFile::copy(delivered, m_optionsFile); // never replaces: QFile::copy refuses an existing target
    Result<void> loaded = XmlTools::LoadFile(m_doc, m_optionsFile);
    EnsureRootAndDeclaration();
    return loaded;
}

void Options::EnsureRootAndDeclaration()
{
    XmlTools::Root(m_doc, kRoot);
    XmlTools::EnsureDeclaration(m_doc, "UTF-16");
}

pugi::xml_node Options::object(const QString &name)
{
    return XmlTools::KeyedChild(XmlTools::Root(m_doc, kRoot), kObject, kName, name, true);
}

OptionsTable Options::Defaults()
{
    OptionsTable table;
    table.Set(OptionKey::UiLang, StoredValue::ofText(UiText::LoadText(20)));
    table.Set(OptionKey::UiLoad, StoredValue::ofText(QString()));
    table.Set(OptionKey::FontName, StoredValue::ofText(QString()));
    table.Set(OptionKey::FontSize, StoredValue::ofWhole(14));
    table.Set(OptionKey::ReportHoldingDays, StoredValue::ofWhole(60));
    table.Set(OptionKey::FolderContextMenu, StoredValue::ofWhole(0));
    table.Set(OptionKey::FolderContextMenuAccessKey, StoredValue::ofText(QStringLiteral("B")));
    return table;
}

void Options::BuildOptions(Registry &registry)
{
    m_table = Defaults();
    const QString olderKey = Registry::ProgramKey() + QStringLiteral("\\Options");
    if (registry.RegistryKeyExists(RegistryRoot::CurrentUser, olderKey, false)) {
        for (const RegistryNamedValue &named : registry.RegistryValues(RegistryRoot::CurrentUser, olderKey))
            m_table.Set(named.name, named.value);
    }
    const pugi::xml_node options = object(QStringLiteral("Options"));
    for (pugi::xml_node param = options.child(kParam); param; param = param.next_sibling(kParam)) {
        const QString key = XmlTools::ReadAttribute(param, kName, QString(), true);
        const QString text = XmlTools::ReadAttribute(param, kValue, QString(), true);
        m_table.Set(key, StoredValue::fromText(text));
    }
    const OptionsTable defaults = Defaults();
    for (const QString &key : {OptionKey::FontSize, OptionKey::ReportHoldingDays, OptionKey::FolderContextMenu}) {
        if (!m_table.Get(key)->isNumeric())
            m_table.Set(key, *defaults.Get(key));
    }
}

void Options::StoreOptions()
{
    const pugi::xml_node options = object(QStringLiteral("Options"));
    XmlTools::RemoveAllChildren(options);
    for (const OptionsTable::Entry &entry : m_table.entries()) {
        const pugi::xml_node param = XmlTools::AppendChild(options, kParam);
        XmlTools::SetAttribute(param, kName, entry.key);
        XmlTools::SetAttribute(param, kValue, entry.value.toText());
    }
}

Result<void> Options::WriteFolderMenuValues(Registry &registry, const FileManagerMenus &menus) const
{
    return FolderMenu::WriteValues(m_table, registry, menus);
}

static std::optional<int> wholeNumber(const QString &text)
{
    const std::optional<double> number = parseNumber(text);
    if (!number || std::trunc(*number) != *number || *number > 2147483647.0 || *number < -2147483648.0)
        return std::nullopt;
    return static_cast<int>(*number);
}

int Options::ReadPosition(const QString &objectName, const QString &paramName, int defaultValue)
{
    const pugi::xml_node param = XmlTools::KeyedChild(object(objectName), kParam, kName, paramName, false);
    if (!param) {
        WritePosition(objectName, paramName, defaultValue);
        return defaultValue;
    }
    return wholeNumber(XmlTools::ReadAttribute(param, kValue, QString(), false)).value_or(defaultValue);
}

void Options::WritePosition(const QString &objectName, const QString &paramName, int value)
{
    const pugi::xml_node param = XmlTools::KeyedChild(object(objectName), kParam, kName, paramName, true);
    XmlTools::SetAttribute(param, kValue, QString::number(value));
}

Result<void> Options::Save()
{
    EnsureRootAndDeclaration();
    return XmlTools::SaveToPath(m_doc, m_optionsFile);
}

} // namespace quillbay
