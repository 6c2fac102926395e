#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "graphics/diagrams.h"
#include "graphics/picture_file.h"
#include "graphics/wheel.h"
#include "graphics_fixture.h"

namespace cel::graphics {
namespace {

using namespace testing;

class DiagramTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        s.InstallFirstRunValues();
    }

    QImage Draw(GraphKind kind, bool colour, int side = 700) {
        QImage image(side, side, QImage::Format_RGB32);
        Canvas canvas(image);
        const DiagramSettings ds{s.txt, s.points, s.dignity, TextFormat{}};
        DrawDiagrams(canvas, side, GlyphSet::Normal(), colour, kind, DiagramItem{prog.items[1], "Natal"},
                     DiagramItem{prog.items[3], "Tránsitos"}, ds);
        return canvas.Image();
    }

    static int Count(const QImage &image, QRgb colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    }

    settings::Settings s;
    chart::TDataProg prog = SyntheticProgressions();
};

TEST_F(DiagramTest, MatricesCountEachCuspOnlyInItsOwnSign) {
    chart::RecDataProg &item = prog.items[1];
    item.cusps[1] = {28.0f, 1, 2}; // 28 Ari: the following sign Tau is not counted here
    const DiagramMatrices m = ComputeDiagramMatrices(item, s.points);
    // Sol 138 (Leo), Lun 163 (Vir), Mer 188 (Lib) weigh 2, the others 1; house 1 weighs 2 in Ari.
    EXPECT_FLOAT_EQ(m.elementThird[1][1], 4.0f); // Ari: Plu (3), Nod (28) and house 1
    EXPECT_FLOAT_EQ(m.elementThird[2][1], 1.0f); // Tau: Rue (53) only, not house 1
    EXPECT_FLOAT_EQ(m.elementThird[1][2], 2.0f); // Leo
    float sum = 0;
    for (int e = 1; e <= 4; ++e)
        sum += m.elements[static_cast<std::size_t>(e)];
    EXPECT_FLOAT_EQ(sum, analysis::PointsTotal(s.points));
    float quarters = 0;
    for (int g = 1; g <= 4; ++g)
        quarters += m.quarters[static_cast<std::size_t>(g)];
    EXPECT_FLOAT_EQ(quarters, sum);
}

TEST_F(DiagramTest, HistogramAndPieInColourAndInBlack) {
    const QImage histogram = Draw(GraphKind::Histogram, true);
    const QImage pie = Draw(GraphKind::Pie, true);
    Shot(histogram, "diagrams_histogram");
    Shot(pie, "diagrams_pie");
    for (const QImage *image : {&histogram, &pie}) {
        EXPECT_GT(Count(*image, qRgb(255, 0, 0)), 50);
        EXPECT_GT(Count(*image, qRgb(0, 0, 255)), 50);
    }
    const QImage black = Draw(GraphKind::Pie, false);
    Shot(black, "diagrams_pie_colour_off");
    EXPECT_EQ(Count(black, qRgb(255, 0, 0)), 0);
    EXPECT_EQ(Count(black, qRgb(0, 0, 255)), 0);
    EXPECT_EQ(Count(black, qRgb(0, 128, 0)), 0);
}

TEST_F(DiagramTest, NoPointsDrawNoSlices) {
    s.points.viewPtosPla.fill(false);
    s.points.viewPtosCas.fill(false);
    for (GraphKind kind : {GraphKind::Pie, GraphKind::Histogram}) {
        const QImage image = Draw(kind, true);
        // Only the legend and matrix squares carry hatches: nothing as large as a slice or a bar.
        const QImage full = [&] {
            s.points.viewPtosPla.fill(true);
            QImage i = Draw(kind, true);
            s.points.viewPtosPla.fill(false);
            return i;
        }();
        EXPECT_LT(Count(image, qRgb(255, 0, 0)), Count(full, qRgb(255, 0, 0)));
    }
}

TEST_F(DiagramTest, WheelAndDiagramsAsSvgAndPdf) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    settings::RecVistaCarta view = ShowAllView();
    view.largeImagesWheel = false;
    for (const char *name : {"wheel.svg", "wheel.pdf", "wheel.png", "WHEEL.PDF"}) {
        const QString path = dir.filePath(name);
        const auto format = PictureFormatOf(path);
        ASSERT_TRUE(format.has_value()) << name;
        QString error;
        ASSERT_TRUE(WritePicture(
            path, *format, QSize(500, 500),
            [&](Canvas &c) {
                DrawWheel(c, QRect(0, 0, 500, 500), GlyphSet::Normal(), WheelInput{prog, view});
            },
            &error))
            << error.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(200);
        if (*format == PictureFormat::Svg)
            EXPECT_TRUE(head.contains("<svg") || file.readAll().contains("<svg"));
        else if (*format == PictureFormat::Pdf)
            EXPECT_TRUE(head.startsWith("%PDF"));
        else
            EXPECT_TRUE(head.startsWith("\x89PNG"));
    }
    EXPECT_FALSE(PictureFormatOf("wheel.gif").has_value());
    QString error;
    EXPECT_FALSE(WritePicture(
        dir.filePath("missing/wheel.png"), PictureFormat::Png, QSize(50, 50), [](Canvas &) {}, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace cel::graphics
