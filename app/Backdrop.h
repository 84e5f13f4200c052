#pragma once
// Pictures of the login window's size drawn in code, so the project needs no
// art of its own: the built-in picture the login window starts with, and
// the background picture file the build puts beside the program.
#include <QImage>

namespace zk {

inline constexpr int kPictureWidth = 640;
inline constexpr int kPictureHeight = 480;

// Shown until a background picture file loads: a quiet grey gradient.
QImage builtInLoginPicture();

// Written by the build as image/1.jpg: blue, with the product name.
QImage defaultBackgroundPicture();

} // namespace zk
