#include "export/wmf_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace cel::exporting {
namespace {

std::uint16_t Word(const std::string &b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t Dword(const std::string &b, std::size_t at) {
    return Word(b, at) | static_cast<std::uint32_t>(Word(b, at + 2)) << 16;
}

struct Record {
    std::size_t offset;
    std::uint32_t words;
    std::uint16_t function;
};

// Walks the records after the header; fails the test when a record runs past the end.
std::vector<Record> Records(const std::string &b) {
    std::vector<Record> out;
    std::size_t at = 18;
    while (at + 6 <= b.size()) {
        const Record r{at, Dword(b, at), Word(b, at + 4)};
        out.push_back(r);
        EXPECT_GE(r.words, 3u);
        if (r.words < 3)
            break;
        at += r.words * 2;
        if (r.function == 0)
            break;
    }
    EXPECT_EQ(at, b.size());
    return out;
}

TEST(BitmapMetafile, SizeFieldsAgreeWithTheBytesAndRecordsAreInOrder) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixelColor(0, 0, QColor(10, 20, 30));   // top-left
    image.setPixelColor(2, 1, QColor(200, 100, 50)); // bottom-right
    const std::string b = BitmapMetafile(image);

    ASSERT_EQ(b.size() % 2, 0u);
    EXPECT_EQ(Word(b, 0), 1);      // memory metafile
    EXPECT_EQ(Word(b, 2), 9);      // header words
    EXPECT_EQ(Word(b, 4), 0x0300); // version
    EXPECT_EQ(Dword(b, 6) * 2, b.size());

    const std::vector<Record> records = Records(b);
    ASSERT_EQ(records.size(), 5u);
    std::uint32_t largest = 0;
    for (const Record &r : records)
        largest = std::max(largest, r.words);
    EXPECT_EQ(Dword(b, 12), largest);

    EXPECT_EQ(records[0].function, 0x0103);
    EXPECT_EQ(Word(b, records[0].offset + 6), 8); // anisotropic
    EXPECT_EQ(records[1].function, 0x020B);
    EXPECT_EQ(Word(b, records[1].offset + 6), 0);
    EXPECT_EQ(Word(b, records[1].offset + 8), 0);
    EXPECT_EQ(records[2].function, 0x020C);
    EXPECT_EQ(Word(b, records[2].offset + 6), 2); // height first
    EXPECT_EQ(Word(b, records[2].offset + 8), 3);
    EXPECT_EQ(records[4].function, 0x0000);
    EXPECT_EQ(records[4].words, 3u);

    const std::size_t s = records[3].offset;
    EXPECT_EQ(records[3].function, 0x0F43);
    EXPECT_EQ(Dword(b, s + 6), 0x00CC0020u); // SRCCOPY
    EXPECT_EQ(Word(b, s + 10), 0);           // RGB colours
    const std::vector<int> sizes{2, 3, 0, 0, 2, 3, 0, 0};
    for (std::size_t i = 0; i < sizes.size(); ++i)
        EXPECT_EQ(Word(b, s + 12 + 2 * i), sizes[i]) << i;
    const std::size_t dib = s + 28;
    EXPECT_EQ(Dword(b, dib), 40u);
    EXPECT_EQ(Dword(b, dib + 4), 3u);
    EXPECT_EQ(Dword(b, dib + 8), 2u); // positive: bottom-up
    EXPECT_EQ(Word(b, dib + 14), 24);
    EXPECT_EQ(Dword(b, dib + 20), 24u); // two rows of 9 bytes padded to 12

    // First stored row is the bottom one; pixels are blue, green, red.
    const std::size_t pixels = dib + 40;
    EXPECT_EQ(static_cast<unsigned char>(b[pixels + 6]), 50);
    EXPECT_EQ(static_cast<unsigned char>(b[pixels + 7]), 100);
    EXPECT_EQ(static_cast<unsigned char>(b[pixels + 8]), 200);
    EXPECT_EQ(static_cast<unsigned char>(b[pixels + 12]), 30);
    EXPECT_EQ(static_cast<unsigned char>(b[pixels + 13]), 20);
    EXPECT_EQ(static_cast<unsigned char>(b[pixels + 14]), 10);
}

TEST(BitmapMetafile, PlainRgbBufferGivesTheSameBytesAsTheImage) {
    QImage image(5, 4, QImage::Format_RGB32);
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const QColor c(x * 40, y * 60, (x + y) * 20);
            image.setPixelColor(x, y, c);
            rgb.insert(rgb.end(), {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                                   static_cast<std::uint8_t>(c.blue())});
        }
    EXPECT_EQ(BitmapMetafile(rgb.data(), 5, 4), BitmapMetafile(image));
}

TEST(BitmapMetafile, RefusesSizesTheRecordsCannotHold) {
    EXPECT_THROW(BitmapMetafile(QImage()), std::invalid_argument);
    const std::uint8_t pixel[3] = {0, 0, 0};
    EXPECT_THROW(BitmapMetafile(pixel, 40000, 1), std::invalid_argument);
    EXPECT_THROW(BitmapMetafile(pixel, 1, 0), std::invalid_argument);
}

} // namespace
} // namespace cel::exporting
