#include "core/display/picture.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "core/display/fitting.h"

std::int32_t himetricToPixels(std::int32_t himetric, std::int32_t dotsPerInch)
{
    const std::int64_t product = std::int64_t(himetric) * dotsPerInch;
    const std::int64_t half = product < 0 ? -1270 : 1270;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>((product + half) / 2540, -MAX_WINDOW_EXTENT,
                                                              MAX_WINDOW_EXTENT));
}

std::int32_t pixelsToHimetric(std::int32_t pixels, std::int32_t dotsPerInch)
{
    if (dotsPerInch <= 0) return 0;
    const std::int64_t product = std::int64_t(pixels) * 2540;
    const std::int64_t magnitude = (std::llabs(product) * 2 + dotsPerInch) / (2 * std::int64_t(dotsPerInch));
    using Limits = std::numeric_limits<std::int32_t>;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(product < 0 ? -magnitude : magnitude, Limits::min(), Limits::max()));
}

namespace {
// Rounded to single precision, then truncated toward zero, within the window extents.
std::int32_t truncated(long double v)
{
    const float f = static_cast<float>(v);
    return static_cast<std::int32_t>(std::clamp<float>(f, 0.0f, static_cast<float>(MAX_WINDOW_EXTENT)));
}
}  // namespace

PixelSize scalePictureToBox(PixelSize natural, std::int64_t boxWidth, std::int64_t boxHeight)
{
    if (natural.width <= 0 || natural.height <= 0) return PixelSize{};
    boxWidth = clampExtent(boxWidth);
    boxHeight = clampExtent(boxHeight);
    const long double ratio = static_cast<long double>(natural.width) / natural.height;
    std::int64_t w = natural.width, h = natural.height;
    if (h > boxHeight) {
        h = boxHeight;
        w = truncated(ratio * h);
    }
    if (w > boxWidth) {
        w = boxWidth;
        h = truncated(w / ratio);
    }
    return PixelSize{static_cast<std::int32_t>(w), static_cast<std::int32_t>(h)};
}

PixelSize graphicClientSize(PixelSize natural, std::int64_t workWidth, std::int64_t workHeight,
                            std::int64_t frameWidth, std::int64_t frameHeight)
{
    return scalePictureToBox(natural, workWidth - frameWidth, workHeight - frameHeight);
}

PictureViews pictureViews(PixelSize pixels, PixelSize screen)
{
    PictureViews views;
    views.whole = scalePictureToBox(pixels, screen.width, screen.height);
    if (views.whole.width == pixels.width && views.whole.height == pixels.height) return views;
    // A sliver shrunk to nothing keeps a pixel: its tiles still show.
    views.whole = {std::max(views.whole.width, 1), std::max(views.whole.height, 1)};
    views.corner = {std::clamp(pixels.width, 0, std::max(screen.width, 0)),
                    std::clamp(pixels.height, 0, std::max(screen.height, 0))};
    return views;
}

std::size_t iconFrameToUse(const std::vector<std::int32_t>& widths, std::int32_t iconWidth)
{
    const auto found = std::find(widths.begin(), widths.end(), iconWidth);
    return found == widths.end() ? 0 : static_cast<std::size_t>(found - widths.begin());
}

BoxShrinker::BoxShrinker(PixelSize source, PixelSize size, std::uint32_t* out)
    : sourceWidth_(std::max(source.width, 0)), sourceHeight_(std::max(source.height, 0)),
      width_(std::clamp(size.width, 0, sourceWidth_)), height_(std::clamp(size.height, 0, sourceHeight_)), out_(out)
{
    if (width_ == 0 || height_ == 0) {
        width_ = height_ = 0;
        sourceRow_ = sourceHeight_;   // nothing to make: every row is ignored
        return;
    }
    column_.resize(static_cast<std::size_t>(sourceWidth_));
    columnCount_.assign(static_cast<std::size_t>(width_), 0);
    for (std::int32_t x = 0; x < sourceWidth_; ++x) {
        column_[std::size_t(x)] = static_cast<std::int32_t>(std::int64_t(x) * width_ / sourceWidth_);
        ++columnCount_[std::size_t(column_[std::size_t(x)])];
    }
    sums_.assign(std::size_t(width_) * 4, 0);
}

void BoxShrinker::addRow(const std::uint32_t* row)
{
    if (sourceRow_ >= sourceHeight_) return;
    const auto target = static_cast<std::int32_t>(std::int64_t(sourceRow_) * height_ / sourceHeight_);
    if (target != row_) {
        finishRow();
        row_ = target;
    }
    for (std::int32_t x = 0; x < sourceWidth_; ++x) {
        std::uint64_t* sum = &sums_[std::size_t(column_[std::size_t(x)]) * 4];
        const std::uint32_t pixel = row[x];
        for (int channel = 0; channel < 4; ++channel) sum[channel] += (pixel >> (8 * channel)) & 0xFF;
    }
    ++rowsIn_;
    if (++sourceRow_ == sourceHeight_) finishRow();
}

void BoxShrinker::finishRow()
{
    std::uint32_t* out = out_ + std::size_t(row_) * std::size_t(width_);
    for (std::int32_t x = 0; x < width_; ++x) {
        const std::uint64_t count = std::uint64_t(columnCount_[std::size_t(x)]) * rowsIn_;
        std::uint64_t* sum = &sums_[std::size_t(x) * 4];
        std::uint32_t pixel = 0;
        for (int channel = 0; channel < 4; ++channel) {
            pixel |= static_cast<std::uint32_t>((sum[channel] + count / 2) / count) << (8 * channel);
            sum[channel] = 0;
        }
        out[x] = pixel;
    }
    rowsIn_ = 0;
}
