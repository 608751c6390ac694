#pragma once
#include "core/display/picture.h"
#include "state/app_win.h"

// Releases any picture, then starts loading `path`. Bitmaps and photos are decoded on a worker
// thread and arrive with MSG_PICTURE_READY; a file that is missing or no picture leaves none,
// without a message; an empty path only releases the picture.
void loadPicture(App& app, const wchar_t* path);
// MSG_PICTURE_READY: takes the decoded picture (a format the imaging component does not know, such
// as a metafile, is loaded here by the system's picture loader), sizes the window to it when Fit To
// Graphic was given meanwhile, and repaints.
void onPictureReady(App& app);
// A picture is on its way.
bool pictureLoading(const App& app);
void releasePicture(App& app);
// A picture is loaded, the background is on and the window is not transparent.
bool pictureShown(const App& app);
// The picture's natural size in pixels on `dc` (0 by 0 without a picture).
PixelSize pictureSizePixels(App& app, HDC dc);
// The natural size shrunk to fit the box; without a picture, 0 by 0.
PixelSize scalePictureToBox(App& app, HDC dc, const RECT& box);
// When the picture is shown, paints the whole client area: the picture tiled, or in Fit To Graphic
// drawn once, centred and shrunk, with the background brush around it and wherever the picture
// lets the background through.
void paintBackground(App& app, HDC dc);
// The Background Image... chooser.
void chooseBackgroundImage(App& app);
// The Background Image switch.
void toggleBackground(App& app);
