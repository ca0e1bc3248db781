#include "services/Registry.h"

#include <QFileInfo>

namespace quillbay {

namespace {

struct FullPath {
    bool currentUser = false;
    QString key;
    QString valueName;
    bool namesKey = false; // the path ended in "\"
};

std::optional<FullPath> splitFullPath(const QString &fullPath)
{
    const qsizetype slash = fullPath.indexOf(u'\\');
    if (slash <= 0)
        return std::nullopt;
    const QString root = fullPath.left(slash);
    FullPath parts;
    if (root.compare(QLatin1String("HKCU"), Qt::CaseInsensitive) == 0
        || root.compare(QLatin1String("HKEY_CURRENT_USER"), Qt::CaseInsensitive) == 0) {
        parts.currentUser = true;
    } else if (root.compare(QLatin1String("HKLM"), Qt::CaseInsensitive) != 0
               && root.compare(QLatin1String("HKEY_LOCAL_MACHINE"), Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    const QString rest = fullPath.mid(slash + 1);
    if (rest.endsWith(u'\\')) {
        parts.namesKey = true;
        parts.key = rest;
    } else {
        const qsizetype last = rest.lastIndexOf(u'\\');
        parts.key = last < 0 ? QString() : rest.left(last);
        parts.valueName = rest.mid(last + 1);
    }
    return parts;
}

qsizetype indexOfValue(const RegistryKey &key, const QString &name)
{
    for (qsizetype i = 0; i < key.values.size(); ++i) {
        if (key.values[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

Registry::Registry(RegistryStore store) : m_store(std::move(store)) {}

bool Registry::writeValue(const QString &key, const QString &name, const StoredValue &value)
{
    return m_store
        .update([&](RegistryContent &content) {
            RegistryKey &k = content.key(key);
            const qsizetype i = indexOfValue(k, name);
            if (i >= 0)
                k.values[i] = RegistryNamedValue{k.values[i].name, value};
            else
                k.values.append(RegistryNamedValue{name, value});
            return true;
        })
        .ok();
}

bool Registry::writeRegistryText(const QString &subkey, const QString &name, const QString &text)
{
    return writeValue(programKey() + u'\\' + subkey, name, StoredValue::ofText(text));
}

bool Registry::writeRegistryNumber(const QString &subkey, const QString &name, quint32 number)
{
    return writeValue(programKey() + u'\\' + subkey, name, StoredValue::ofWhole(number));
}

bool Registry::registryKeyExists(RegistryRoot root, const QString &path, bool forWriting)
{
    if (root != RegistryRoot::CurrentUser)
        return false;
    const Result<RegistryContent> content = m_store.read();
    if (!content || !content.value().keyExists(path))
        return false;
    if (!forWriting)
        return true;
    const QFileInfo file(m_store.filePath());
    return file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
}

QList<RegistryNamedValue> Registry::registryValues(RegistryRoot root, const QString &path)
{
    if (root != RegistryRoot::CurrentUser)
        return {};
    const Result<RegistryContent> content = m_store.read();
    if (!content)
        return {};
    const RegistryKey *key = content.value().findKey(path);
    return key ? key->values : QList<RegistryNamedValue>();
}

bool Registry::deleteRegistryKey(const QString &fullPath)
{
    const auto parts = splitFullPath(fullPath);
    if (!parts || !parts->currentUser)
        return false;
    bool deleted = false;
    const Result<void> updated = m_store.update([&](RegistryContent &content) {
        if (parts->namesKey) {
            // As on the desktop platform, a key that still has subkeys stays.
            if (content.hasSubkeys(parts->key))
                return false;
            for (qsizetype i = 0; i < content.keys.size(); ++i) {
                if (RegistryContent::samePath(content.keys[i].path, parts->key)) {
                    content.keys.removeAt(i);
                    return deleted = true;
                }
            }
            return false;
        }
        RegistryKey *key = content.findKey(parts->key);
        const qsizetype i = key ? indexOfValue(*key, parts->valueName) : -1;
        if (i < 0)
            return false;
        key->values.removeAt(i);
        return deleted = true;
    });
    return updated && deleted;
}

std::optional<StoredValue> Registry::readRegistry(const QString &fullPath)
{
    const auto parts = splitFullPath(fullPath);
    if (!parts || !parts->currentUser)
        return std::nullopt;
    const Result<RegistryContent> content = m_store.read();
    if (!content)
        return std::nullopt;
    const RegistryKey *key = content.value().findKey(parts->key);
    if (!key)
        return std::nullopt;
    const qsizetype i = indexOfValue(*key, parts->valueName);
    if (i < 0)
        return std::nullopt;
    return key->values[i].value;
}

} // namespace quillbay
