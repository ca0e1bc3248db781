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
        if (!m_exif.Load(path))
            return std::nullopt;
        ExifFacts facts;
        facts.hasDateTime = m_exif.DateKnown();
        facts.dateTime = m_exif.DateValue();
        facts.width = m_exif.Width();
        facts.height = m_exif.Height();
        facts.manufacturer = m_exif.Manufacturer();
        facts.model = m_exif.Model();
        facts.flash = m_exif.FlashText();
        facts.fNumber = m_exif.FNumberText();
        facts.exposureTime = m_exif.ExposureTimeText(0);
        facts.exposureTimeReciprocal = m_exif.ExposureTimeText(10);
        return facts;
    }

    std::optional<Mp3Facts> readMp3(const QString &path) override
    {
        Mp3Tag tag;
        if (!ReadMp3Tag(path, tag))
            return std::nullopt;
        return Mp3Facts{tag.title, tag.artist, tag.album, tag.year, tag.comment};
    }

    std::optional<OfficeFacts> readOffice(const QString &path) override
    {
        DocProperties document;
        if (!document.Open(path))
            return std::nullopt;
        OfficeFacts facts{document.Title(), document.Subject(), document.Author()};
        document.Close();
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
