#include "graphics/picture_file.h"

#include "common/safe_file.h"
#include "common/system_error_text.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cstring>

namespace cel::graphics {

std::optional<PictureFormat> PictureFormatOf(const QString &path) {
    const QString lower = path.toLower();
    if (lower.endsWith(QStringLiteral(".png")))
        return PictureFormat::Png;
    if (lower.endsWith(QStringLiteral(".svg")))
        return PictureFormat::Svg;
    if (lower.endsWith(QStringLiteral(".pdf")))
        return PictureFormat::Pdf;
    return std::nullopt;
}

bool WritePicture(const QString &path, PictureFormat format, QSize size,
                  const std::function<void(Canvas &)> &draw, QString *error) {
    // The picture is made in memory and then replaces the file through the programs' safe save.
    QByteArray bytes;
    QBuffer file(&bytes);
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    switch (format) {
    case PictureFormat::Png: {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        Canvas canvas(image);
        draw(canvas);
        if (!canvas.Image().save(&file, "PNG"))
            return fail(QStringLiteral("no se pudo escribir la imagen PNG"));
        break;
    }
    case PictureFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        svg.setTitle(QStringLiteral("Celestigrafo"));
        QPainter painter(&svg);
        {
            Canvas canvas(painter, size);
            draw(canvas);
        }
        painter.end();
        break;
    }
    case PictureFormat::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setCreator(QStringLiteral("Celestigrafo"));
        pdf.setResolution(96);
        pdf.setPageSize(
            QPageSize(QSizeF(size.width() * 72.0 / 96.0, size.height() * 72.0 / 96.0), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        if (!painter.isActive())
            return fail(QStringLiteral("no se pudo crear el documento PDF"));
        {
            Canvas canvas(painter, size);
            draw(canvas);
        }
        painter.end();
        break;
    }
    }
    file.close();
    return SaveFileBytes(path, bytes, error);
}

bool SaveFileBytes(const QString &path, const QByteArray &bytes, QString *error) {
    try {
        WriteFileSafely(path.toStdString(),
                        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const FileError &e) {
        if (error != nullptr)
            *error = QString::fromStdString(SystemErrorText(e.code()));
        return false;
    }
    return true;
}

} // namespace cel::graphics
