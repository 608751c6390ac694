#pragma once
// Picture sizes and where the picture is drawn. Sizes arrive in HIMETRIC units (hundredths of a
// millimetre, 2540 an inch); every product is 64-bit and clamped, so no picture size overflows.
#include <cstddef>
#include <cstdint>
#include <vector>

struct PixelSize {
    std::int32_t width = 0, height = 0;
};

// HIMETRIC to pixels at `dotsPerInch`, rounded to the nearest pixel as MulDiv rounds.
std::int32_t himetricToPixels(std::int32_t himetric, std::int32_t dotsPerInch);
// Pixels to HIMETRIC at `dotsPerInch`, rounded as MulDiv rounds: the size the system's picture
// object gives a bitmap of that many pixels on a screen of that resolution. 0 for no resolution.
std::int32_t pixelsToHimetric(std::int32_t pixels, std::int32_t dotsPerInch);

// Shrinks a picture of `natural` size to fit a box of boxWidth by boxHeight, keeping its aspect
// ratio: the height is fitted first, then the width. Never enlarges. A picture with no area gives
// no area.
PixelSize scalePictureToBox(PixelSize natural, std::int64_t boxWidth, std::int64_t boxHeight);

// Fit To Graphic: the client area for a picture of `natural` pixels, shrunk until the whole window,
// with its frame and caption (`frameWidth` and `frameHeight` in all), fits a work area of
// workWidth by workHeight.
PixelSize graphicClientSize(PixelSize natural, std::int64_t workWidth, std::int64_t workHeight,
                            std::int64_t frameWidth, std::int64_t frameHeight);

// What of a decoded picture is kept, when no client area can be larger than `screen`: `whole`, the
// whole picture shrunk to fit the screen, for centred painting; and `corner`, the top-left part at
// full size that tiles can show. When the whole picture fits the screen it serves both, and there
// is no corner (0 by 0). The whole picture keeps at least a pixel each way.
struct PictureViews {
    PixelSize whole, corner;
};
PictureViews pictureViews(PixelSize pixels, PixelSize screen);

// The picture of an icon file: its first image as wide as the system's icons, else its first.
std::size_t iconFrameToUse(const std::vector<std::int32_t>& widths, std::int32_t iconWidth);

// Shrinks a picture that arrives row by row, top first, by averaging: each source pixel counts
// towards the pixel it falls on, (x * width / sourceWidth, y * height / sourceHeight), and each of
// its four 8-bit channels is averaged apart (premultiplied alpha averages rightly so). It never
// enlarges: a size larger than the source's is taken as the source's. `out` receives width by
// height pixels, a row after the other, once the last source row is in.
class BoxShrinker {
public:
    BoxShrinker(PixelSize source, PixelSize size, std::uint32_t* out);
    PixelSize size() const { return {width_, height_}; }
    // The next source row, source.width pixels; rows beyond the source's height are ignored.
    void addRow(const std::uint32_t* row);

private:
    void finishRow();
    std::int32_t sourceWidth_, sourceHeight_, width_, height_;
    std::uint32_t* out_;
    std::vector<std::int32_t> column_;         // the column each source column falls on
    std::vector<std::uint32_t> columnCount_;   // how many source columns fall on each column
    std::vector<std::uint64_t> sums_;          // the channels of the row being made, four a pixel
    std::int32_t sourceRow_ = 0, row_ = 0;
    std::uint32_t rowsIn_ = 0;                 // source rows added to the row being made
};

// Calls visit(x, y) for each tile of a w by h picture laid from the top-left corner over a client
// area `right` wide and `bottom` high; nothing when either is empty.
template <class Visit>
void forEachTile(std::int32_t w, std::int32_t h, std::int32_t right, std::int32_t bottom, Visit&& visit)
{
    if (w <= 0 || h <= 0) return;
    for (std::int64_t y = 0; y < bottom; y += h)
        for (std::int64_t x = 0; x < right; x += w) visit(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
}
