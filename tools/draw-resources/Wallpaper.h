#pragma once

#include <QImage>

// The wallpaper of the form pages, "PDBackground.jpg": one page of 240 x 290 drawn at twice that
// size, pale enough that captions and field windows stay easy to read over it.
QImage WallpaperPicture();
