#include "export/wmf_writer.h"

#include <stdexcept>

namespace cel::exporting {

namespace {

constexpr std::uint16_t kMetaSetMapMode = 0x0103;
constexpr std::uint16_t kMetaSetWindowOrg = 0x020B;
constexpr std::uint16_t kMetaSetWindowExt = 0x020C;
constexpr std::uint16_t kMetaStretchDib = 0x0F43;
constexpr std::uint16_t kMetaEof = 0x0000;
constexpr std::uint16_t kMapModeAnisotropic = 8;
constexpr std::uint32_t kSrcCopy = 0x00CC0020;
constexpr int kHeaderWords = 9;
constexpr int kBitmapInfoBytes = 40;

void PutWord(std::string &out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void PutDword(std::string &out, std::uint32_t v) {
    PutWord(out, static_cast<std::uint16_t>(v & 0xFFFF));
    PutWord(out, static_cast<std::uint16_t>(v >> 16));
}

void PutRecordStart(std::string &out, std::uint32_t words, std::uint16_t function) {
    PutDword(out, words);
    PutWord(out, function);
}

void CheckSize(int width, int height) {
    if (width < 1 || height < 1 || width > 32767 || height > 32767)
        throw std::invalid_argument("metafile picture size out of range");
}

// pixel(x, y) returns the pixel's red, green and blue; rows are written bottom-up, blue first.
template <typename PixelFn> std::string BuildMetafile(int width, int height, PixelFn pixel) {
    CheckSize(width, height);
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(height);
    const std::uint32_t dibBytes = kBitmapInfoBytes + imageBytes; // even: the stride is a multiple of 4
    const std::uint32_t stretchWords = 3 + 2 + 1 + 8 + dibBytes / 2;
    const std::uint32_t totalWords = kHeaderWords + 4 + 5 + 5 + stretchWords + 3;

    std::string out;
    out.reserve(totalWords * 2);
    // Header: memory metafile, header size, version, size, objects, largest record, unused.
    PutWord(out, 1);
    PutWord(out, kHeaderWords);
    PutWord(out, 0x0300);
    PutDword(out, totalWords);
    PutWord(out, 0);
    PutDword(out, stretchWords);
    PutWord(out, 0);

    PutRecordStart(out, 4, kMetaSetMapMode);
    PutWord(out, kMapModeAnisotropic);
    PutRecordStart(out, 5, kMetaSetWindowOrg); // y, then x
    PutWord(out, 0);
    PutWord(out, 0);
    PutRecordStart(out, 5, kMetaSetWindowExt); // height, then width
    PutWord(out, static_cast<std::uint16_t>(height));
    PutWord(out, static_cast<std::uint16_t>(width));

    PutRecordStart(out, stretchWords, kMetaStretchDib);
    PutDword(out, kSrcCopy);
    PutWord(out, 0);                                  // colours are RGB values
    PutWord(out, static_cast<std::uint16_t>(height)); // source height, width, y, x
    PutWord(out, static_cast<std::uint16_t>(width));
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, static_cast<std::uint16_t>(height)); // destination height, width, y, x
    PutWord(out, static_cast<std::uint16_t>(width));
    PutWord(out, 0);
    PutWord(out, 0);
    // BITMAPINFOHEADER: positive height means bottom-up rows.
    PutDword(out, kBitmapInfoBytes);
    PutDword(out, static_cast<std::uint32_t>(width));
    PutDword(out, static_cast<std::uint32_t>(height));
    PutWord(out, 1);
    PutWord(out, 24);
    PutDword(out, 0); // uncompressed
    PutDword(out, imageBytes);
    PutDword(out, 0);
    PutDword(out, 0);
    PutDword(out, 0);
    PutDword(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            std::uint8_t r, g, b;
            pixel(x, y, r, g, b);
            out += static_cast<char>(b);
            out += static_cast<char>(g);
            out += static_cast<char>(r);
        }
        out.append(stride - (out.size() - rowStart), '\0');
    }

    PutRecordStart(out, 3, kMetaEof);
    return out;
}

} // namespace

std::string BitmapMetafile(const QImage &image) {
    CheckSize(image.width(), image.height());
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return BuildMetafile(rgb.width(), rgb.height(), [&rgb](int x, int y, auto &r, auto &g, auto &b) {
        const uchar *p = rgb.constScanLine(y) + x * 3;
        r = p[0];
        g = p[1];
        b = p[2];
    });
}

std::string BitmapMetafile(const std::uint8_t *rgb, int width, int height) {
    return BuildMetafile(width, height, [rgb, width](int x, int y, auto &r, auto &g, auto &b) {
        const std::uint8_t *p = rgb + (static_cast<std::size_t>(y) * width + x) * 3;
        r = p[0];
        g = p[1];
        b = p[2];
    });
}

} // namespace cel::exporting
