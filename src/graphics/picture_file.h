// Writing a drawn picture to a file: PNG as an anti-aliased picture, SVG and PDF drawn straight onto
// the vector device, so that they stay sharp at any size.
#pragma once

#include <QSize>
#include <QString>

#include <functional>
#include <optional>

#include "graphics/canvas.h"

namespace cel::graphics {

enum class PictureFormat { Png, Svg, Pdf };

// The format named by a file's extension (".png", ".svg", ".pdf", any case).
std::optional<PictureFormat> PictureFormatOf(const QString &path);

// Draws a picture of the given size with `draw` and saves it safely (a new file renamed over the old
// one). Returns false with the reason in `error` when the file cannot be written.
bool WritePicture(const QString &path, PictureFormat format, QSize size,
                  const std::function<void(Canvas &)> &draw, QString *error = nullptr);

// Saves the bytes of a made file safely; false with the platform's reason in `error` when it fails.
bool SaveFileBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace cel::graphics
