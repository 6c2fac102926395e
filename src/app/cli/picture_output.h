// What the drawing commands share: the Qt application object that painting needs, and the checked
// picture file named by --out.
#pragma once

#include <functional>
#include <string>

#include "graphics/picture_file.h"

namespace cel::cli {

// Text, glyphs and pictures are painted with QtGui, which needs an application object; the command
// line has no display, so the offscreen platform is used unless another one is asked for.
void EnsureGuiApplication();

// The picture format of an --out name, or a usage error naming the expected extensions.
graphics::PictureFormat PictureFormatOption(const std::string &out);

// Draws a square picture of side `size` into the file; a file that cannot be written is a command error.
void WritePictureFile(const std::string &out, graphics::PictureFormat format, int size,
                      const std::function<void(graphics::Canvas &)> &draw);

} // namespace cel::cli
