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

Result<void> Options::readOptionsFile()
{
    const QString delivered = QDir(m_programFolder).filePath(QStringLiteral("app.xml"));
    if (!m_programFolder.isEmpty() && !QFile::exists(m_optionsFile) && QFile::exists(delivered))
        QFile::copy(delivered, m_optionsFile); // never replaces: QFile::copy refuses an existing target
    Result<void> loaded = XmlTools::loadFile(m_doc, m_optionsFile);
    ensureRootAndDeclaration();
    return loaded;
}

void Options::ensureRootAndDeclaration()
{
    XmlTools::root(m_doc, kRoot);
    XmlTools::ensureDeclaration(m_doc, "UTF-16");
}

pugi::xml_node Options::object(const QString &name)
{
    return XmlTools::keyedChild(XmlTools::root(m_doc, kRoot), kObject, kName, name, true);
}

OptionsTable Options::defaults()
{
    OptionsTable table;
    table.set(OptionKey::UiLang, StoredValue::ofText(UiText::LoadText(20)));
    table.set(OptionKey::UiLoad, StoredValue::ofText(QString()));
    table.set(OptionKey::FontName, StoredValue::ofText(QString()));
    table.set(OptionKey::FontSize, StoredValue::ofWhole(14));
    table.set(OptionKey::ReportHoldingDays, StoredValue::ofWhole(60));
    table.set(OptionKey::FolderContextMenu, StoredValue::ofWhole(0));
    table.set(OptionKey::FolderContextMenuAccessKey, StoredValue::ofText(QStringLiteral("B")));
    return table;
}

void Options::BuildOptions(Registry &registry)
{
    m_table = defaults();
    const QString olderKey = Registry::programKey() + QStringLiteral("\\Options");
    if (registry.registryKeyExists(RegistryRoot::CurrentUser, olderKey, false)) {
        for (const RegistryNamedValue &named : registry.registryValues(RegistryRoot::CurrentUser, olderKey))
            m_table.set(named.name, named.value);
    }
    const pugi::xml_node options = object(QStringLiteral("Options"));
    for (pugi::xml_node param = options.child(kParam); param; param = param.next_sibling(kParam)) {
        const QString key = XmlTools::ReadAttribute(param, kName, QString(), true);
        const QString text = XmlTools::ReadAttribute(param, kValue, QString(), true);
        m_table.set(key, StoredValue::fromText(text));
    }
    const OptionsTable defaultTable = defaults();
    for (const QString &key : {OptionKey::FontSize, OptionKey::ReportHoldingDays, OptionKey::FolderContextMenu}) {
        if (!m_table.get(key)->isNumeric())
            m_table.set(key, *defaultTable.get(key));
    }
}

void Options::StoreOptions()
{
    const pugi::xml_node options = object(QStringLiteral("Options"));
    XmlTools::removeAllChildren(options);
    for (const OptionsTable::Entry &entry : m_table.entries()) {
        const pugi::xml_node param = XmlTools::appendChild(options, kParam);
        XmlTools::setAttribute(param, kName, entry.key);
        XmlTools::setAttribute(param, kValue, entry.value.toText());
    }
}

Result<void> Options::WriteFolderMenuValues(Registry &registry, const FileManagerMenus &menus) const
{
    return FolderMenu::writeValues(m_table, registry, menus);
}

static std::optional<int> wholeNumber(const QString &text)
{
    const std::optional<double> number = parseNumber(text);
    if (!number || std::trunc(*number) != *number || *number > 2147483647.0 || *number < -2147483648.0)
        return std::nullopt;
    return static_cast<int>(*number);
}

int Options::readPosition(const QString &objectName, const QString &paramName, int defaultValue)
{
    const pugi::xml_node param = XmlTools::keyedChild(object(objectName), kParam, kName, paramName, false);
    if (!param) {
        writePosition(objectName, paramName, defaultValue);
        return defaultValue;
    }
    return wholeNumber(XmlTools::ReadAttribute(param, kValue, QString(), false)).value_or(defaultValue);
}

void Options::writePosition(const QString &objectName, const QString &paramName, int value)
{
    const pugi::xml_node param = XmlTools::keyedChild(object(objectName), kParam, kName, paramName, true);
    XmlTools::setAttribute(param, kValue, QString::number(value));
}

Result<void> Options::save()
{
    ensureRootAndDeclaration();
    return XmlTools::saveToPath(m_doc, m_optionsFile);
}

} // namespace quillbay
