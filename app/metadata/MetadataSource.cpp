#include "metadata/MetadataSource.h"

namespace quillbay {
namespace {
// Answers "no data" for every file until the real readers are wired in.
class NoMetadata final : public MetadataSource
{
public:
    std::optional<ExifFacts> readExif(const QString &) override { return std::nullopt; }
    std::optional<Mp3Facts> readMp3(const QString &) override { return std::nullopt; }
    std::optional<OfficeFacts> readOffice(const QString &) override { return std::nullopt; }
};
} // namespace

std::unique_ptr<MetadataSource> makeFileMetadataSource()
{
    return std::make_unique<NoMetadata>();
}

} // namespace quillbay
