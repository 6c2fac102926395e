#include "document/renderer.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include "common/version.h"
#include "document/text_painting.h"
#include "graphics/picture_file.h"

namespace cel::document {

namespace {

constexpr double kPixelsPerMm = 96.0 / 25.4;

QPointF Px(QPointF mm) {
    return mm * kPixelsPerMm;
}

QRectF Px(const QRectF &mm) {
    return {mm.topLeft() * kPixelsPerMm, mm.size() * kPixelsPerMm};
}

void DrawText(QPainter &painter, const QRectF &rectMm, int flags, const std::string &text,
              const TextFont &font) {
    if (text.empty())
        return;
    painter.setFont(MakeFont(font));
    painter.setPen(TextColour(font));
    painter.drawText(Px(rectMm), flags, QString::fromStdString(text));
}

} // namespace

void PaintPage(QPainter &painter, const Page &page, bool marginGuides) {
    const QSizeF size = page.SizeMm();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QMarginsF &m = page.margins;
    if (marginGuides) {
        QPen pen(QColor(192, 192, 192));
        pen.setStyle(Qt::DotLine);
        pen.setWidthF(1);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(Px(QRectF(m.left(), m.top(), size.width() - m.left() - m.right(),
                                   size.height() - m.top() - m.bottom())));
    }
    for (const PageDrawing &drawing : page.drawings) {
        if (!drawing.paint)
            continue;
        painter.save();
        painter.translate(Px(drawing.rect.topLeft()));
        drawing.paint(painter);
        painter.restore();
    }
    // The white grounds first, then every text: a ground never cuts into the line above it.
    for (const PageText &text : page.texts)
        if (text.opaque) {
            const QFontMetricsF metrics(MakeFont(text.font));
            const qreal width = metrics.horizontalAdvance(QString::fromStdString(text.text));
            painter.fillRect(QRectF(Px(text.at), QSizeF(width, metrics.height())), Qt::white);
        }
    for (const PageText &text : page.texts) {
        const QFontMetricsF metrics(MakeFont(text.font));
        const QRectF line(text.at, QSizeF(size.width() - text.at.x(), metrics.height() / kPixelsPerMm));
        DrawText(painter, line, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text.text, text.font);
    }
    const double inner = size.width() - m.left() - m.right();
    DrawText(painter, QRectF(m.left(), m.top(), inner, kHeaderCaptionHeight), Qt::AlignHCenter | Qt::AlignTop,
             page.headerCaption, page.headerFont);
    const QRectF footer(m.left(), size.height() - m.bottom() + 1, inner, 6);
    DrawText(painter, footer, Qt::AlignLeft | Qt::AlignTop, page.footerLeft, page.footerLeftFont);
    DrawText(painter, footer, Qt::AlignHCenter | Qt::AlignTop, page.footerCentre, page.footerFont);
    DrawText(painter, footer, Qt::AlignRight | Qt::AlignTop, page.footerRight, page.footerFont);
    painter.restore();
}

QImage RenderPageImage(const Page &page, double ppi, bool marginGuides) {
    const QSizeF size = page.SizeMm() * (ppi / 25.4);
    QImage image(std::max(1, qRound(size.width())), std::max(1, qRound(size.height())), QImage::Format_RGB32);
    // Fonts are sized for 96 per inch; the painter's scale makes up the rest.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(ppi / 96.0, ppi / 96.0);
    PaintPage(painter, page, marginGuides);
    return image;
}

bool PaintDocument(QPagedPaintDevice &device, const Document &document, int first, int last) {
    const int count = static_cast<int>(document.pages.size());
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last)
        return false;
    device.setPageLayout(document.pages[static_cast<std::size_t>(first)].Layout());
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int i = first; i <= last; ++i) {
        const Page &page = document.pages[static_cast<std::size_t>(i)];
        if (i > first) {
            device.setPageLayout(page.Layout());
            device.newPage();
        }
        painter.save();
        const double scale = device.logicalDpiX() / 96.0;
        painter.scale(scale, scale);
        PaintPage(painter, page, false);
        painter.restore();
    }
    return painter.end();
}

bool WritePdf(const Document &document, const QString &path, QString *error) {
    const auto fail = [error](const QString &why) {
        if (error != nullptr)
            *error = why;
        return false;
    };
    if (document.pages.empty())
        return fail(QStringLiteral("el documento no tiene páginas"));
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QString::fromUtf8(kChartProgramCaption));
        pdf.setTitle(QString::fromStdString(document.pages.front().headerCaption));
        // One unit a pixel of 96 per inch: the fonts of the pictures keep their point sizes.
        pdf.setResolution(96);
        if (!PaintDocument(pdf, document, 0, static_cast<int>(document.pages.size()) - 1))
            return fail(QStringLiteral("no se pudo crear el documento PDF"));
    }
    return graphics::SaveFileBytes(path, bytes, error);
}

} // namespace cel::document
