#include "shell/display/picture_win.h"

#include <commdlg.h>

#include "shell/app/files_win.h"
#include "shell/display/fitting_win.h"

bool loadPicture(App& app, const wchar_t* path)
{
    app.picture.reset();
    wchar_t copy[PATH_BUFFER] = {};
    copyToBuffer(copy, PATH_BUFFER, path ? path : L"");
    if (!copy[0]) return false;
    const HRESULT hr = OleLoadPicturePath(copy, nullptr, 0, 0, IID_IPicture, app.picture.put());
    if (FAILED(hr)) {
        app.picture.reset();
        return false;
    }
    // A picture with no size would be drawn nowhere and would divide by zero when scaled.
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    if (!app.picture || FAILED(app.picture->get_Width(&w)) || FAILED(app.picture->get_Height(&h)) || w <= 0 ||
        h <= 0) {
        app.picture.reset();
        return false;
    }
    return true;
}

bool pictureShown(const App& app) { return app.picture && app.showBackground && !app.transparent; }

namespace {

struct HimetricSize {
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
};

HimetricSize himetricSize(App& app)
{
    HimetricSize s;
    if (!app.picture || FAILED(app.picture->get_Width(&s.width)) || FAILED(app.picture->get_Height(&s.height)))
        return HimetricSize{};
    return s;
}

void render(App& app, HDC dc, const HimetricSize& s, int x, int y, int w, int h)
{
    // Source from the bottom edge with a negative height: the picture stands upright.
    app.picture->Render(dc, x, y, w, h, 0, s.height, s.width, -s.height, nullptr);
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
    const HimetricSize s = himetricSize(app);
    RECT client = {};
    GetClientRect(app.window, &client);
    if (app.fitGraphic) {
        const RECT box = {client.left, 0, client.right, client.bottom};
        const PixelSize size = scalePictureToBox(app, dc, box);
        if (size.width <= 0 || size.height <= 0) return;
        const int x = (client.right - client.left - size.width) / 2;
        const int y = (client.bottom - size.height) / 2;
        render(app, dc, s, x, y, size.width, size.height);
        return;
    }
    const PixelSize size = pictureSizePixels(app, dc);
    forEachTile(size.width, size.height, client.right, client.bottom,
                [&](int x, int y) { render(app, dc, s, x, y, size.width, size.height); });
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
