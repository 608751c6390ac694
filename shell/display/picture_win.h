#pragma once
#include "core/display/picture.h"
#include "state/app_win.h"

// Releases any picture, then loads `path` through the system's picture loader. A file that is
// missing or no picture leaves none, without a message. False when nothing was loaded.
bool loadPicture(App& app, const wchar_t* path);
// A picture is loaded, the background is on and the window is not transparent.
bool pictureShown(const App& app);
// The picture's natural size in pixels on `dc` (0 by 0 without a picture).
PixelSize pictureSizePixels(App& app, HDC dc);
// The natural size shrunk to fit the box; without a picture, 0 by 0.
PixelSize scalePictureToBox(App& app, HDC dc, const RECT& box);
// Tiles the picture (or, in Fit To Graphic, draws it once, centred and shrunk) when it is shown.
void paintBackground(App& app, HDC dc);
// The Background Image... chooser.
void chooseBackgroundImage(App& app);
// The Background Image switch.
void toggleBackground(App& app);
