#include "services/RegistryStore.h"

#include "services/DataFolders.h"
#include "base/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillbay {

RegistryStore::RegistryStore(const QString &filePath) : m_filePath(filePath) {}

QString RegistryStore::DefaultFilePath()
{
    const QString config = DataFolders::ConfigHome();
    if (config.isEmpty())
        return {};
    return QDir(config).filePath(QStringLiteral("Tolvane/Quillbay/registry.txt"));
}

bool RegistryStore::Read(RegistryContent &content, QString *errorText) const
{
    content = {};
    if (m_filePath.isEmpty()) {
        if (errorText)
            *errorText = QStringLiteral("no configuration folder");
        return false;
    }
    QFile file(m_filePath);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    content = RegistryContent::parse(bytes);
    return true;
}

bool RegistryStore::Update(const std::function<bool(RegistryContent &)> &change, QString *errorText)
{
    RegistryContent content;
    if (!Read(content, errorText))
        return false;
    if (!change(content))
        return false;
    if (!QDir().mkpath(QFileInfo(m_filePath).absolutePath())) {
        if (errorText)
            *errorText = QStringLiteral("cannot create %1").arg(QFileInfo(m_filePath).absolutePath());
        return false;
    }
    const SaveResult saved = writeFileAtomically(m_filePath, content.serialize());
    if (!saved && errorText)
        *errorText = saved.errorText;
    return saved.ok;
}

} // namespace quillbay
