#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <map>

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

TEST_F(DiagramTest, BodyListNeverOverprintsTheSecondLegend) {
    // Long names in the second legend reach across into the column of the body list; at every size the
    // legend starts below the list, so beside the list's glyphs (five of them per row) nothing is drawn.
    for (std::string &name : s.txt.strSoc2)
        name = "WWWWWWWWWWWWWWWWWWWWWWWWWW";
    for (int side : {500, 700, 1000}) {
        const QImage image = Draw(GraphKind::Pie, true, side);
        const double k = side / 700.0;
        const int b = RoundHalfEven(0.72L * (side / 2));
        const int g = RoundHalfEven(11 * k);
        const int listX = b + RoundHalfEven(15 * k), listTop = side / 4;
        const int listBottom = listTop + 12 * (g + RoundHalfEven(5 * k)) + g;
        const int listRight = listX + 5 * (g + RoundHalfEven(3 * k)) + RoundHalfEven(8 * k);
        int dark = 0;
        for (int y = listTop; y < listBottom; ++y)
            for (int x = listRight; x < side / 2; ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        EXPECT_EQ(dark, 0) << side;
        // The whole panel still fits in the picture: its last row of the matrix is drawn.
        int lowest = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side / 2; ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    lowest = y;
        EXPECT_LT(lowest, side) << side;
        EXPECT_GT(lowest, side * 4 / 5) << side; // and uses the height
    }
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

// The picture a vector file shows, rendered back at its own size: SVG by Qt's renderer, PDF by poppler.
QImage RenderBack(const QString &path, PictureFormat format, QSize size) {
    if (format == PictureFormat::Svg) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QSvgRenderer renderer(path);
        {
            QPainter painter(&image);
            renderer.render(&painter);
        }
        return image;
    }
    const QString base = path + ".render";
    QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "96", "-png", "-singlefile", path, base});
    return QImage(base + ".png").convertToFormat(QImage::Format_RGB32);
}

int ColourDistance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// The darkest pixel around a point.
int DarkestNear(const QImage &image, QPointF p) {
    int darkest = 255;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            darkest = std::min(
                darkest, qGray(image.pixel(static_cast<int>(p.x()) + dx, static_cast<int>(p.y()) + dy)));
    return darkest;
}

TEST_F(DiagramTest, VectorFilesShowTheColoursAndRingsOfThePng) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Charts charts;
    settings::RecVistaCarta view = ShowAllView();
    charts.BuildAspects(view, false);
    const QSize size(600, 600);
    const WheelColours colours = WheelColoursFrom(charts.settings);
    auto draw = [&](Canvas &c) {
        DrawWheel(c, QRect(QPoint(0, 0), size), GlyphSet::Choose(view.largeImagesWheel),
                  WheelInput{charts.prog, view, &charts.aspects, colours});
    };
    std::map<PictureFormat, QImage> shown;
    for (const auto &[name, format] :
         {std::pair{"w.png", PictureFormat::Png}, std::pair{"w.svg", PictureFormat::Svg},
          std::pair{"w.pdf", PictureFormat::Pdf}}) {
        ASSERT_TRUE(WritePicture(dir.filePath(name), format, size, draw));
        shown[format] = format == PictureFormat::Png
                            ? QImage(dir.filePath(name)).convertToFormat(QImage::Format_RGB32)
                            : RenderBack(dir.filePath(name), format, size);
        ASSERT_EQ(shown[format].size(), size) << name;
    }
    const WheelGeometry g = ComputeWheelGeometry(QRect(QPoint(0, 0), size));
    const Real rotation = charts.prog.items[1].rotation;
    const RingFractions f =
        ComputeRingFractions(view, 1, GlyphSet::Choose(view.largeImagesWheel).Size(), kReferenceRadius, true,
                             view.wheelFlags[settings::kFlagGrados]);
    const Real r = view.radiusFractions[0];
    for (const auto &[format, image] : shown) {
        const char *name = format == PictureFormat::Png   ? "png"
                           : format == PictureFormat::Svg ? "svg"
                                                          : "pdf";
        // Each sign sector in its element's colour, beside its glyph.
        for (int i = 0; i < 12; ++i) {
            const QPoint p = g.At(r * (f.A + f.E) / 2, rotation + 30 * i + 4);
            EXPECT_LE(
                ColourDistance(image.pixel(p), colours.wheel[static_cast<std::size_t>(i % 4 + 1)].rgb()), 6)
                << name << " sign " << i;
        }
        // The centre in its colour, and the outlines of the rings dark.
        // Most of the centre (inside the aspect circle, between the lines) in its colour.
        int centre = 0, inCentre = 0;
        const int radius = static_cast<int>(g.R * r * f.h * 0.9L);
        for (int dy = -radius; dy <= radius; dy += 3)
            for (int dx = -radius; dx <= radius; dx += 3)
                if (dx * dx + dy * dy < radius * radius) {
                    ++inCentre;
                    centre +=
                        ColourDistance(image.pixel(g.Centre() + QPoint(dx, dy)), colours.wheel[5].rgb()) <= 6;
                }
        EXPECT_GT(centre, inCentre / 2) << name;
        for (Real fraction : {f.E, f.A, f.h})
            for (Real angle : {2.0L, 93.0L, 184.0L, 275.0L})
                EXPECT_LT(DarkestNear(image, g.AtF(r * fraction, rotation + angle)), 110)
                    << name << " ring " << static_cast<double>(fraction) << " at "
                    << static_cast<double>(angle);
    }
    // Anywhere, the vector pictures look like the PNG: few pixels differ much (text rasterisers differ).
    for (PictureFormat format : {PictureFormat::Svg, PictureFormat::Pdf}) {
        int different = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                different +=
                    ColourDistance(shown[format].pixel(x, y), shown[PictureFormat::Png].pixel(x, y)) > 120;
        EXPECT_LT(different, size.width() * size.height() / 50)
            << (format == PictureFormat::Svg ? "svg" : "pdf");
    }
}

TEST_F(DiagramTest, VectorDiagramsKeepBothTitles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const DiagramSettings ds{s.txt, s.points, s.dignity, TextFormat{}};
    auto draw = [&](Canvas &c) {
        DrawDiagrams(c, 700, GlyphSet::Normal(), true, GraphKind::Pie,
                     DiagramItem{prog.items[1], "Natal Eclíptica"},
                     DiagramItem{prog.items[3], "Trán. Eclíptico"}, ds);
    };
    ASSERT_TRUE(WritePicture(dir.filePath("d.pdf"), PictureFormat::Pdf, QSize(700, 700), draw));
    ASSERT_TRUE(WritePicture(dir.filePath("d.svg"), PictureFormat::Svg, QSize(700, 700), draw));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {dir.filePath("d.pdf"), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString pdfText = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(pdfText.contains(QStringLiteral("Natal Eclíptica"))) << pdfText.toStdString();
    EXPECT_TRUE(pdfText.contains(QStringLiteral("Trán. Eclíptico"))) << pdfText.toStdString();
    QFile svg(dir.filePath("d.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QString svgText = QString::fromUtf8(svg.readAll());
    EXPECT_TRUE(svgText.contains(QStringLiteral("Natal Eclíptica")));
    EXPECT_TRUE(svgText.contains(QStringLiteral("Trán. Eclíptico")));
}

// Every bar carries its value beside it, and every slice its share: the histogram writes each element's
// percentage twice (legend and bar), the pie writes each sizeable slice's rounded share.
TEST_F(DiagramTest, BarsAndSlicesCarryTheirValues) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const DiagramSettings ds{s.txt, s.points, s.dignity, TextFormat{}};
    const auto svgText = [&](GraphKind kind) {
        const QString path = dir.filePath(kind == GraphKind::Pie ? "pie.svg" : "bars.svg");
        EXPECT_TRUE(WritePicture(path, PictureFormat::Svg, QSize(700, 700), [&](Canvas &c) {
            DrawDiagrams(c, 700, GlyphSet::Normal(), true, kind, DiagramItem{prog.items[1], "Natal"},
                         DiagramItem{prog.items[1], "Natal"}, ds);
        }));
        QFile svg(path);
        EXPECT_TRUE(svg.open(QIODevice::ReadOnly));
        return QString::fromUtf8(svg.readAll());
    };
    const DiagramMatrices m = ComputeDiagramMatrices(prog.items[1], s.points);
    const float total = analysis::PointsTotal(s.points);
    ASSERT_GT(total, 0);
    const QString bars = svgText(GraphKind::Histogram);
    const QString pie = svgText(GraphKind::Pie);
    for (int e = 1; e <= 4; ++e) {
        const float v = m.elements[static_cast<std::size_t>(e)];
        const QString percent =
            QString::fromStdString(analysis::PointsText(100.0f * v / total, TextFormat{})) + "%";
        // Both panels show the item: legend and bar in each.
        EXPECT_GE(bars.count(">" + percent + "<"), 4) << percent.toStdString();
        if (v / total >= 1.0f / 30) {
            EXPECT_GE(pie.count(">" + QString::number(qRound(100.0f * v / total)) + "%<"), 2)
                << percent.toStdString();
        }
    }
}

} // namespace
} // namespace cel::graphics
