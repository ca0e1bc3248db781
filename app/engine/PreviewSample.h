#pragma once
// The sample of a preview: what the selected setting does to the first names
// of its first "Look in" folder. The window shows it while the user edits a
// setting; it is made by the preview's own code, so each name shown is the
// one the whole preview will give, with the same check mark.

#include <QList>
#include <QString>
#include <memory>

namespace quillbay {

struct SampleLimits {
    int entries = 8;     // changed names shown, of folders and of files each
    int examined = 200;  // files the rules are tried on before the sample stops
    int visited = 10000; // names looked at (criteria included) before it stops
};

struct SampleEntry {
    enum Refusal { Accepted, InvalidName, NameTaken };
    QString name;
    QString newName;
    Refusal refusal = Accepted; // why the preview clears its check mark
};

struct PreviewSample {
    enum Status { Shown, NoFolder, FolderMissing, FolderUnreadable };
    Status status = Shown;
    QString folder;             // the folder the names come from
    int errorNumber = 0;        // FolderUnreadable: why
    QList<SampleEntry> folders; // child folders renamed by the folder rules
    QList<SampleEntry> files;
    int examinedFiles = 0; // files the rules were applied to
    int ruleFailures = 0;  // names left out because a rule could not be applied
    QString firstRuleError;
    bool cancelled = false;
};

// The first folder's listing, kept from one sample to the next. While a
// setting is edited only its rules and criteria change, and listing and
// sorting a folder of a hundred thousand names again for every keystroke
// would cost far more than the rules do. The listing is taken again when the
// folder's entries change (its modification time, or which folder it is) and
// after a few seconds in any case. One run at a time uses it.
class SampleListingCache
{
public:
    SampleListingCache();
    ~SampleListingCache();
    SampleListingCache(const SampleListingCache &) = delete;
    SampleListingCache &operator=(const SampleListingCache &) = delete;

private:
    friend class PreviewRun;
    struct Kept;
    std::unique_ptr<Kept> m_kept;
};

} // namespace quillbay
