#include "shell/display/picture_decode_win.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Rows are read a band of about this many bytes at a time: a photo never has to be whole in memory
// on its way to the screen (the system's decoder may still keep it so while it decodes).
constexpr std::size_t BAND_BYTES = std::size_t(4) << 20;

// COM on this thread, in the multithreaded apartment; undone at the end when it was done here.
class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComApartment() { if (SUCCEEDED(hr_)) CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT hr_;
};

struct FreeBlock {
    void operator()(void* p) const { std::free(p); }
};

// A top-down 32-bit DIB section of `size`, and where its pixels are.
PictureView makeView(PixelSize size, std::uint32_t*& bits)
{
    PictureView view;
    if (size.width <= 0 || size.height <= 0) return view;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = -size.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    view.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0));
    if (view.bitmap) {
        view.size = size;
        bits = static_cast<std::uint32_t*>(p);
    }
    return view;
}

bool anySeeThrough(const std::uint32_t* bits, PixelSize size)
{
    const std::size_t count = std::size_t(size.width) * std::size_t(size.height);
    for (std::size_t i = 0; i < count; ++i)
        if ((bits[i] >> 24) != 0xFF) return true;
    return false;
}

// The image of the file to show: the first, or of an icon file the one the system's icons match.
UniqueComRef<IWICBitmapFrameDecode> chooseFrame(IWICBitmapDecoder* decoder, std::int32_t iconWidth)
{
    UniqueComRef<IWICBitmapFrameDecode> frame;
    GUID container = {};
    UINT count = 0;
    std::size_t index = 0;
    if (SUCCEEDED(decoder->GetContainerFormat(&container)) && container == GUID_ContainerFormatIco &&
        SUCCEEDED(decoder->GetFrameCount(&count)) && count > 1) {
        std::vector<std::int32_t> widths;
        for (UINT i = 0; i < count; ++i) {
            UINT w = 0, h = 0;
            if (FAILED(decoder->GetFrame(i, frame.putTyped())) ||
                FAILED(frame->GetSize(&w, &h)))
                w = 0;
            widths.push_back(static_cast<std::int32_t>(w));
        }
        index = iconFrameToUse(widths, iconWidth);
    }
    if (FAILED(decoder->GetFrame(static_cast<UINT>(index), frame.putTyped())))
        frame.reset();
    return frame;
}

// Reads the picture band by band into its views: `whole` shrunk (or copied, at full size) and the
// top-left `corner` copied.
bool readViews(IWICBitmapSource* source, BackgroundPicture& picture, const PictureViews& views,
               const std::atomic<bool>& abandoned)
{
    const PixelSize full = picture.pixels;
    std::uint32_t* wholeBits = nullptr;
    std::uint32_t* cornerBits = nullptr;
    picture.whole = makeView(views.whole, wholeBits);
    picture.corner = makeView(views.corner, cornerBits);
    if (!picture.whole.bitmap || (views.corner.width > 0 && !picture.corner.bitmap)) return false;
    const bool shrink = views.corner.width > 0;
    BoxShrinker shrinker(full, views.whole, wholeBits);

    const UINT stride = static_cast<UINT>(full.width) * 4;
    const UINT bandRows = static_cast<UINT>(std::clamp<std::size_t>(BAND_BYTES / stride, 1, UINT(full.height)));
    const std::unique_ptr<std::uint32_t[], FreeBlock> band(
        static_cast<std::uint32_t*>(std::malloc(std::size_t(stride) * bandRows)));
    if (!band) return false;
    for (UINT top = 0; top < UINT(full.height); top += bandRows) {
        if (abandoned) return false;
        const UINT rows = std::min(bandRows, UINT(full.height) - top);
        const WICRect rect = {0, INT(top), full.width, INT(rows)};
        if (FAILED(source->CopyPixels(&rect, stride, stride * rows, reinterpret_cast<BYTE*>(band.get())))) return false;
        for (UINT i = 0; i < rows; ++i) {
            const std::uint32_t* row = band.get() + std::size_t(i) * UINT(full.width);
            const std::size_t y = top + i;
            if (shrink)
                shrinker.addRow(row);
            else
                std::memcpy(wholeBits + y * std::size_t(full.width), row, stride);
            if (y < std::size_t(views.corner.height))
                std::memcpy(cornerBits + y * std::size_t(views.corner.width), row, std::size_t(views.corner.width) * 4);
        }
    }
    picture.seeThrough =
        anySeeThrough(wholeBits, views.whole) || (cornerBits && anySeeThrough(cornerBits, views.corner));
    return true;
}

struct DecodeJob {
    std::shared_ptr<PictureHandOver> handOver;
    DecodeRequest request;
    HWND window;
    UINT message;
};

void runJob(const DecodeJob& job)
{
    PictureHandOver& handOver = *job.handOver;
    auto result =
        std::make_unique<DecodeResult>(decodePicture(handOver.path.c_str(), job.request, handOver.abandoned));
    delete handOver.result.exchange(result.release());
    if (!handOver.abandoned) PostMessageW(job.window, job.message, 0, 0);
}

DWORD WINAPI decodeThread(void* parameter) noexcept
{
    const std::unique_ptr<DecodeJob> job(static_cast<DecodeJob*>(parameter));
    runJob(*job);
    return 0;
}

}  // namespace

DecodeResult decodePicture(const wchar_t* path, const DecodeRequest& request, const std::atomic<bool>& abandoned)
{
    DecodeResult result;
    const ComApartment com;
    UniqueComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.put()))) {
        result.outcome = DecodeOutcome::NotForDecoder;
        return result;
    }
    UniqueComRef<IWICBitmapDecoder> decoder;
    const HRESULT opened =
        factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.putTyped());
    if (opened == WINCODEC_ERR_COMPONENTNOTFOUND) result.outcome = DecodeOutcome::NotForDecoder;
    if (FAILED(opened)) return result;

    const UniqueComRef<IWICBitmapFrameDecode> frame = chooseFrame(decoder.get(), request.iconWidth);
    UniqueComRef<IWICFormatConverter> converter;
    UINT w = 0, h = 0;
    if (!frame || FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0 || w > (1u << 24) || h > (1u << 24) ||
        FAILED(factory->CreateFormatConverter(converter.putTyped())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)))
        return result;
    BackgroundPicture& picture = result.picture;
    picture.pixels = {static_cast<std::int32_t>(w), static_cast<std::int32_t>(h)};
    picture.himetricWidth = pixelsToHimetric(picture.pixels.width, request.dpiX);
    picture.himetricHeight = pixelsToHimetric(picture.pixels.height, request.dpiY);
    if (!readViews(converter.get(), picture, pictureViews(picture.pixels, request.screen), abandoned)) {
        result.picture = BackgroundPicture{};
        return result;
    }
    result.outcome = DecodeOutcome::Decoded;
    return result;
}

void startPictureDecode(const std::shared_ptr<PictureHandOver>& handOver, const DecodeRequest& request, HWND window,
                        UINT message)
{
    auto job = std::make_unique<DecodeJob>(DecodeJob{handOver, request, window, message});
    if (const unique_handle thread{CreateThread(nullptr, 0, decodeThread, job.get(), 0, nullptr)}) {
        job.release();   // the thread owns it now
        return;
    }
    runJob(*job);
}
