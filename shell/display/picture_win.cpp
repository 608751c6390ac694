#include "shell/display/picture_win.h"

#include <commdlg.h>

#include "shell/app/files_win.h"
#include "shell/display/fitting_win.h"
#include "shell/display/picture_decode_win.h"

namespace {

// Formats the imaging component does not read (metafiles) come through the system's picture
// loader, on this thread, as they always have.
void loadSystemPicture(App& app, const wchar_t* path)
{
    UniqueComRef<IPicture>& picture = app.picture.system;
    if (FAILED(OleLoadPicturePath(const_cast<wchar_t*>(path), nullptr, 0, 0, IID_IPicture, picture.put()))) {
        picture.reset();
        return;
    }
    // A picture with no size would be drawn nowhere and would divide by zero when scaled.
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    if (!picture || FAILED(picture->get_Width(&w)) || FAILED(picture->get_Height(&h)) || w <= 0 || h <= 0) {
        picture.reset();
        return;
    }
    app.picture.himetricWidth = w;
    app.picture.himetricHeight = h;
}

// What the decode needs to know of this screen.
DecodeRequest decodeRequest()
{
    DecodeRequest request;
    request.screen = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};   // the largest window
    const WindowDC screen(nullptr);
    request.dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
    request.dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
    request.iconWidth = GetSystemMetrics(SM_CXICON);
    return request;
}

}  // namespace

void loadPicture(App& app, const wchar_t* path)
{
    releasePicture(app);
    wchar_t copy[PATH_BUFFER] = {};
    copyToBuffer(copy, PATH_BUFFER, path ? path : L"");
    if (!copy[0]) return;
    app.pendingPicture.handOver = std::make_shared<PictureHandOver>(copy);
    startPictureDecode(app.pendingPicture.handOver, decodeRequest(), app.window, MSG_PICTURE_READY);
}

void onPictureReady(App& app)
{
    PendingPicture& pending = app.pendingPicture;
    if (!pending.handOver) return;
    // A message of an earlier load finds nothing here, or the present load's result before its own.
    const std::unique_ptr<DecodeResult> result(pending.handOver->result.exchange(nullptr));
    if (!result) return;
    const std::wstring path = pending.handOver->path;
    const bool fit = pending.fitOnArrival;
    pending.abandon();
    if (result->outcome == DecodeOutcome::Decoded)
        app.picture = std::move(result->picture);
    else if (result->outcome == DecodeOutcome::NotForDecoder)
        loadSystemPicture(app, path.c_str());
    if (!app.picture) return;
    if (fit && app.fitGraphic) fitToGraphic(app);
    InvalidateRect(app.window, nullptr, TRUE);
}

bool pictureLoading(const App& app) { return app.pendingPicture.handOver != nullptr; }

void releasePicture(App& app)
{
    app.pendingPicture.abandon();
    app.picture = BackgroundPicture{};
}

bool pictureShown(const App& app) { return app.picture && app.showBackground && !app.transparent; }

namespace {

struct HimetricSize {
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
};

HimetricSize himetricSize(const App& app)
{
    if (!app.picture) return HimetricSize{};
    return HimetricSize{app.picture.himetricWidth, app.picture.himetricHeight};
}

// Draws the picture at x, y, w by h, again and again (tiles) from one source.
class PicturePainter {
public:
    // `tile`: the top-left part kept for tiles serves, where there is one.
    PicturePainter(const BackgroundPicture& picture, HDC dc, bool tile)
        : picture_(picture), dc_(dc), view_(tile && picture.corner.bitmap ? picture.corner : picture.whole),
          full_(&view_ == &picture.corner ? picture.pixels : picture.whole.size), source_(dc),
          selected_(source_.get(), view_.bitmap.get())
    {
        if (!picture_.system && !picture_.seeThrough) {
            oldMode_ = SetStretchBltMode(dc_, HALFTONE);
            SetBrushOrgEx(dc_, 0, 0, &oldOrigin_);
        }
    }
    ~PicturePainter()
    {
        if (oldMode_) {
            SetStretchBltMode(dc_, oldMode_);
            SetBrushOrgEx(dc_, oldOrigin_.x, oldOrigin_.y, nullptr);
        }
    }
    PicturePainter(const PicturePainter&) = delete;
    PicturePainter& operator=(const PicturePainter&) = delete;

    void draw(int x, int y, int w, int h) const
    {
        if (picture_.system) {
            // Source from the bottom edge with a negative height: the picture stands upright.
            const LONG sw = picture_.himetricWidth, sh = picture_.himetricHeight;
            picture_.system->Render(dc_, x, y, w, h, 0, sh, sw, -sh, nullptr);
            return;
        }
        // The view holds the picture's part from its top-left corner: that part, to scale.
        const int vw = view_.size.width, vh = view_.size.height;
        const int dw = MulDiv(vw, w, full_.width), dh = MulDiv(vh, h, full_.height);
        if (picture_.seeThrough) {
            const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            GdiAlphaBlend(dc_, x, y, dw, dh, source_.get(), 0, 0, vw, vh, blend);
        } else if (dw == vw && dh == vh) {
            BitBlt(dc_, x, y, dw, dh, source_.get(), 0, 0, SRCCOPY);
        } else {
            StretchBlt(dc_, x, y, dw, dh, source_.get(), 0, 0, vw, vh, SRCCOPY);
        }
    }

private:
    const BackgroundPicture& picture_;
    HDC dc_;
    const PictureView& view_;
    PixelSize full_;
    MemoryDC source_;
    SelectedObject selected_;
    int oldMode_ = 0;
    POINT oldOrigin_ = {};
};

void fillOutside(HDC dc, const RECT& client, const RECT& inner, HBRUSH brush)
{
    const RECT bands[] = {{client.left, client.top, client.right, inner.top},
                          {client.left, inner.bottom, client.right, client.bottom},
                          {client.left, inner.top, inner.left, inner.bottom},
                          {inner.right, inner.top, client.right, inner.bottom}};
    for (const RECT& band : bands)
        if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, brush);
}

// The picture over the client area; with `fillAround`, the background brush where it is not.
void paintPicture(App& app, HDC dc, const RECT& client, bool fillAround)
{
    if (app.fitGraphic) {
        const RECT box = {client.left, 0, client.right, client.bottom};
        const PixelSize size = scalePictureToBox(app, dc, box);
        const int x = (client.right - client.left - size.width) / 2;
        const int y = (client.bottom - size.height) / 2;
        if (fillAround) fillOutside(dc, client, {x, y, x + size.width, y + size.height}, app.backgroundBrush.get());
        if (size.width <= 0 || size.height <= 0) return;
        PicturePainter(app.picture, dc, false).draw(x, y, size.width, size.height);
        return;
    }
    const PixelSize size = pictureSizePixels(app, dc);
    const PicturePainter painter(app.picture, dc, true);
    forEachTile(size.width, size.height, client.right, client.bottom,
                [&](int x, int y) { painter.draw(x, y, size.width, size.height); });
}

}  // namespace

PixelSize pictureSizePixels(App& app, HDC dc)
{
    const HimetricSize s = himetricSize(app);
    return PixelSize{himetricToPixels(s.width, GetDeviceCaps(dc, LOGPIXELSX)),
                     himetricToPixels(s.height, GetDeviceCaps(dc, LOGPIXELSY))};
}

PixelSize scalePictureToBox(App& app, HDC dc, const RECT& box)
{
    if (!app.picture) return PixelSize{};
    return scalePictureToBox(pictureSizePixels(app, dc), std::int64_t(box.right) - box.left,
                             std::int64_t(box.bottom) - box.top);
}

void paintBackground(App& app, HDC dc)
{
    if (!pictureShown(app) || !dc) return;
    RECT client = {};
    GetClientRect(app.window, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    if (!app.picture.system && !app.picture.seeThrough) {
        paintPicture(app, dc, client, true);
        return;
    }
    // Where the picture lets the background through, the background goes under it first: the last
    // entry's text must not show there. In a buffer, so that nothing flickers.
    const MemoryDC buffer(dc);
    const unique_hbitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (!buffer.get() || !bitmap) {
        FillRect(dc, &client, app.backgroundBrush.get());
        paintPicture(app, dc, client, false);
        return;
    }
    const SelectedObject selected(buffer.get(), bitmap.get());
    FillRect(buffer.get(), &client, app.backgroundBrush.get());
    paintPicture(app, buffer.get(), client, false);
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

void chooseBackgroundImage(App& app)
{
    wchar_t chosen[PATH_BUFFER] = {};
    copyToBuffer(chosen, PATH_BUFFER, app.bitmapPath);
    if (!askForFile(app.window, {L"Image Files\0*.bmp;*.emf;*.gif;*.ico;*.jpg\0", L"jpg"}, chosen)) return;
    copyToBuffer(app.bitmapPath, PATH_BUFFER, chosen);
    loadPicture(app, app.bitmapPath);
    if (app.fitGraphic) fitToGraphic(app);
    InvalidateRect(app.window, nullptr, TRUE);
}

void toggleBackground(App& app)
{
    app.showBackground = !app.showBackground;
    InvalidateRect(app.window, nullptr, TRUE);
}
