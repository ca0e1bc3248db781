#pragma once
// Window positions are kept in twips (1/1440 inch) so that a stored position
// means the same place on screens of another resolution; the screen's logical
// resolution converts them.

#include <cmath>

namespace quillbay {

constexpr int kTwipsPerInch = 1440;

inline int twipsToPixels(int twips, double logicalDpi)
{
    return int(std::lround(double(twips) * logicalDpi / kTwipsPerInch));
}

inline int pixelsToTwips(int pixels, double logicalDpi)
{
    return logicalDpi > 0 ? int(std::lround(double(pixels) * kTwipsPerInch / logicalDpi)) : 0;
}

} // namespace quillbay
