// Pictures of the project's 8-bit bitmaps, decoded by the reader the OPT writer uses: the
// viewport, the renders and the panels show what goes into the game's file, and a bitmap
// that file cannot take shows as unreadable everywhere alike.
#pragma once

#include <QImage>
#include <filesystem>
#include <string>

#include "opt/bitmap.h"

namespace tamsel {

// The bitmap as an indexed picture with its palette, top row first.
QImage ImageOfBitmap(const Bitmap& bitmap);

// The bitmap file at `path`; a null picture when it cannot be read, and then, when given,
// `problem` says why.
QImage ReadBitmapImage(const std::filesystem::path& path, std::string* problem = nullptr);

}  // namespace tamsel
