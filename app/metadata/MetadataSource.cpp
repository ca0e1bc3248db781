#include "metadata/MetadataSource.h"

#include "metadata/DocProperties.h"
#include "metadata/Exif.h"
#include "metadata/Mp3Tag.h"

namespace quillbay {
namespace {

// The readers of one preview run. The Exif reader is kept for the whole run
// (it clears itself on every load); tag and document readers live for one
// file each and close the file before the call returns.
class FileMetadata final : public MetadataSource
{
public:
    std::optional<ExifFacts> readExif(const QString &path) override
    {
        if (!m_exif.load(path))
            return std::nullopt;
        ExifFacts facts;
        facts.hasDateTime = m_exif.dateKnown();
        facts.dateTime = m_exif.dateValue();
        facts.width = m_exif.width();
        facts.height = m_exif.height();
        facts.manufacturer = m_exif.manufacturer();
        facts.model = m_exif.model();
        facts.flash = m_exif.flashText();
        facts.fNumber = m_exif.fNumberText();
        facts.exposureTime = m_exif.exposureTimeText(0);
        facts.exposureTimeReciprocal = m_exif.exposureTimeText(10);
        return facts;
    }

    std::optional<Mp3Facts> readMp3(const QString &path) override
    {
        Mp3Tag tag;
        if (!readMp3Tag(path, tag))
            return std::nullopt;
        return Mp3Facts{tag.title, tag.artist, tag.album, tag.year, tag.comment};
    }

    std::optional<OfficeFacts> readOffice(const QString &path) override
    {
        DocProperties document;
        if (!document.open(path))
            return std::nullopt;
        OfficeFacts facts{document.title(), document.subject(), document.author()};
        document.close();
        return facts;
    }

private:
    Exif m_exif;
};

} // namespace

std::unique_ptr<MetadataSource> makeFileMetadataSource()
{
    return std::make_unique<FileMetadata>();
}

} // namespace quillbay
