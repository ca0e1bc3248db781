#include "settings/SettingsStore.h"

#include "services/Registry.h"
#include "settings/Options.h"
#include "settings/SettingsDocument.h"
#include "settings/SettingsSchema.h"
#include "settings/SettingsVersion.h"
#include "text/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillbay {

SettingsStore::SettingsStore(SettingsDocument &settings, Options &options) : m_settings(settings), m_options(options) {}

void SettingsStore::ResolveDataFolders(const QString &programFolder)
{
    setFolders(DataFolders::resolve(programFolder), programFolder);
}

void SettingsStore::setFolders(const DataFolders &folders, const QString &programFolder)
{
    m_folders = folders;
    m_options.setLocation(folders.optionsFile, programFolder);
}

bool SettingsStore::CreateDataFolders()
{
    if (!m_folders.makerFolder.isEmpty())
        QDir().mkpath(m_folders.makerFolder);
    QDir().mkpath(m_folders.dataFolder);
    if (m_prepareReports)
        m_prepareReports();
    return true;
}

SettingsLoadOutcome SettingsStore::LoadSettings()
{
    SettingsLoadOutcome outcome;
    const QString path = m_folders.settingsFile;
    outcome.fileExisted = QFileInfo::exists(path);
    SettingsFormat format = SettingsFormat::Unusable;
    if (outcome.fileExisted) {
        if (const Result<void> loaded = m_settings.loadFile(path); loaded) {
            format = classifySettings(m_settings.document());
            if (format == SettingsFormat::Unusable)
                outcome.problem = QStringLiteral("not a settings file of a version this program can read");
        } else {
            outcome.problem = loaded.error().message;
        }
    }
    if (format == SettingsFormat::Unusable) {
        if (!m_settings.loadDefault()) {
            // Without the built-in document, an empty one of the current format.
            m_settings.document().reset();
            XmlTools::setAttribute(m_settings.SettingsRoot(), kVersion, QStringLiteral("2.0"));
        }
        outcome.source = SettingsLoadOutcome::Source::DefaultDocument;
        if (outcome.fileExisted)
            m_pendingCopy = PendingCopy::Unusable;
    } else if (format == SettingsFormat::Older) {
        upgrade(outcome);
    } else {
        outcome.source = SettingsLoadOutcome::Source::File;
    }
    XmlTools::ensureDeclaration(m_settings.document(), "UTF-16");
    m_settings.SelectedSetting();
    m_settings.RenumberIds();
    return outcome;
}

static Result<void> copyFile(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return Error::withMessage(source.errorString()).about(from);
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return Error::withMessage(source.errorString()).about(from);
    Result<void> written = writeFileAtomically(to, bytes);
    if (!written)
        return written.error().about(to);
    return written;
}

void SettingsStore::upgrade(SettingsLoadOutcome &outcome)
{
    outcome.source = SettingsLoadOutcome::Source::UpgradedFile;
    XmlTools::setAttribute(m_settings.SettingsRoot(), kVersion, QStringLiteral("2.0"));
    if (m_message)
        m_message(UiText::LoadText(952) + QStringLiteral("\r\n") + m_folders.backupFile, UiText::LoadText(11));
    const Result<void> copied = copyFile(m_folders.settingsFile, m_folders.backupFile);
    if (!copied) {
        // The old file is then copied before the first save replaces it.
        outcome.backupError = copied.error().message;
        m_pendingCopy = PendingCopy::Backup;
    }
}

QString SettingsStore::freeUnusableName() const
{
    const QDir folder(m_folders.dataFolder);
    for (int n = 1;; ++n) {
        const QString candidate = folder.filePath(QStringLiteral("Setting_Unusable%1.xml").arg(n));
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

Result<void> SettingsStore::makePendingCopy()
{
    if (m_pendingCopy == PendingCopy::None || !QFileInfo::exists(m_folders.settingsFile)) {
        m_pendingCopy = PendingCopy::None;
        return {};
    }
    const QString target = m_pendingCopy == PendingCopy::Backup ? m_folders.backupFile : freeUnusableName();
    Result<void> copied = copyFile(m_folders.settingsFile, target);
    if (copied)
        m_pendingCopy = PendingCopy::None;
    return copied;
}

Result<void> SettingsStore::SaveSettingsFile()
{
    if (Result<void> kept = makePendingCopy(); !kept)
        return kept;
    Result<void> saved = XmlTools::saveToPath(m_settings.document(), m_folders.settingsFile);
    if (!saved)
        return saved.error().about(m_folders.settingsFile);
    return saved;
}

Result<void> SettingsStore::SaveAll()
{
    m_options.ensureRootAndDeclaration();
    CreateDataFolders();
    if (Result<void> options = m_options.save(); !options)
        return options.error().about(m_options.optionsFile());
    return SaveSettingsFile();
}

bool SettingsStore::SaveSettingsWithRetry(const RetryQuestion &askRetry)
{
    m_options.StoreOptions();
    for (;;) {
        const Result<void> saved = SaveAll();
        if (saved)
            return true;
        if (!askRetry || !askRetry(UiText::LoadText(932), UiText::LoadText(400), saved.error().message))
            return false;
    }
}

void SettingsStore::CleanUpOlderVersion(Registry &registry)
{
    // The older version kept its window positions and options below the
    // generic key of its development system. A file it left in the common
    // program-files folder has no counterpart here.
    const QString older = QStringLiteral("Software\\VB and VBA Program Settings\\Quillbay");
    if (!registry.registryKeyExists(RegistryRoot::CurrentUser, older, false))
        return;
    const QString full = QStringLiteral("HKCU\\") + older + u'\\';
    for (const char *subkey : {"Main", "Options", "FormOptions", "FormSelectSetting", "MainForm"})
        registry.deleteRegistryKey(full + QLatin1String(subkey) + u'\\');
    registry.deleteRegistryKey(full);
}

} // namespace quillbay
