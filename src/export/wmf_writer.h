// Windows metafiles for document pictures: a bitmap wrapped in the published WMF records, the form in
// which word processors accept pictures inside RTF.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>

namespace cel::exporting {

// The metafile of a bitmap: header (memory metafile, version 0x0300), anisotropic mapping mode,
// window origin (0, 0) and extent (width, height), the bitmap stretched over that window as a
// 24-bit bottom-up device-independent bitmap, end record. Returns the metafile's bytes; the image
// must be between 1 and 32767 pixels in each direction (std::invalid_argument otherwise).
std::string BitmapMetafile(const QImage &image);

// Plain 24-bit pixels: rows top to bottom, each pixel red, green, blue, no row padding.
std::string BitmapMetafile(const std::uint8_t *rgb, int width, int height);

} // namespace cel::exporting
