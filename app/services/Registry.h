#pragma once
// Registry access as the rest of the program uses it, on the registry
// stand-in of RegistryStore. Every operation swallows the errors of the store:
// reads give nothing, writes and deletions give false.
//
// Only the current user's root has a counterpart here. Keys of the machine
// root ("HKLM\...") always read as absent, and writing or deleting there fails.

#include "services/RegistryStore.h"

#include <QList>
#include <QString>
#include <optional>

namespace quillbay {

enum class RegistryRoot { CurrentUser, LocalMachine };

class Registry
{
public:
    explicit Registry(RegistryStore store = RegistryStore());

    // The program's own key below the current user's root.
    static QString programKey() { return QStringLiteral("Software\\Tolvane\\Quillbay"); }

    // Values below the program's own key: programKey() + "\" + subkey.
    bool writeRegistryText(const QString &subkey, const QString &name, const QString &text);
    bool writeRegistryNumber(const QString &subkey, const QString &name, quint32 number);

    // Whether the key exists (and, for writing, whether the store can be written).
    bool registryKeyExists(RegistryRoot root, const QString &path, bool forWriting);
    // All values of a key in their order; nothing when the key is missing.
    QList<RegistryNamedValue> registryValues(RegistryRoot root, const QString &path);

    // By a full path that begins with the root: "HKCU\Software\...",
    // "HKEY_CURRENT_USER\Software\...". A path ending in "\" names a key (for
    // ReadRegistry: the key's unnamed value); otherwise the text after the
    // last "\" names a value of the key before it.
    bool deleteRegistryKey(const QString &fullPath);
    std::optional<StoredValue> readRegistry(const QString &fullPath);

    RegistryStore &store() { return m_store; }

private:
    bool writeValue(const QString &key, const QString &name, const StoredValue &value);

    RegistryStore m_store;
};

} // namespace quillbay
