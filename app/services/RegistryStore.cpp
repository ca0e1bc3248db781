#include "services/RegistryStore.h"

#include "base/AtomicFile.h"
#include "services/DataFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillbay {

RegistryStore::RegistryStore(const QString &filePath) : m_filePath(filePath) {}

QString RegistryStore::defaultFilePath()
{
    const QString config = DataFolders::configHome();
    if (config.isEmpty())
        return {};
    return QDir(config).filePath(QStringLiteral("Tolvane/Quillbay/registry.txt"));
}

Result<RegistryContent> RegistryStore::read() const
{
    if (m_filePath.isEmpty())
        return Error::withMessage(QStringLiteral("no configuration folder"));
    QFile file(m_filePath);
    if (!file.exists())
        return RegistryContent();
    if (!file.open(QIODevice::ReadOnly))
        return Error::withMessage(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Error::withMessage(file.errorString());
    return RegistryContent::parse(bytes);
}

Result<void> RegistryStore::update(const std::function<bool(RegistryContent &)> &change)
{
    Result<RegistryContent> content = read();
    if (!content)
        return content.error();
    if (!change(content.value()))
        return {};
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (!QDir().mkpath(folder))
        return Error::withMessage(QStringLiteral("cannot create %1").arg(folder));
    return writeFileAtomically(m_filePath, content.value().serialize());
}

} // namespace quillbay
