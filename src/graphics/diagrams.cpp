#include "graphics/diagrams.h"

#include <cmath>
#include <vector>

#include "analysis/dignities.h"

namespace cel::graphics {

DiagramMatrices ComputeDiagramMatrices(const chart::RecDataProg &item,
                                       const analysis::PointsSettings &points) {
    std::array<float, kListSize> perSign{};
    for (std::size_t i = 1; i <= 12; ++i) {
        if (points.viewPtosPla[i]) {
            const int sign = item.bodies[i].sign;
            if (sign >= 1 && sign <= 12)
                perSign[static_cast<std::size_t>(sign)] += points.ptosPla[i];
        }
        if (points.viewPtosCas[i]) {
            const int sign = item.cusps[i].sign;
            if (sign >= 1 && sign <= 12)
                perSign[static_cast<std::size_t>(sign)] += points.ptosCas[i];
        }
    }
    DiagramMatrices m;
    for (int s = 1; s <= 12; ++s) {
        const float v = perSign[static_cast<std::size_t>(s)];
        const auto e = static_cast<std::size_t>(analysis::ElementOf(s)),
                   t = static_cast<std::size_t>(analysis::ThirdOf(s));
        const auto q = static_cast<std::size_t>(analysis::QualityOf(s)),
                   g = static_cast<std::size_t>(analysis::QuarterOf(s));
        m.elementThird[e][t] += v;
        m.qualityQuarter[q][g] += v;
        m.elements[e] += v;
        m.thirds[t] += v;
        m.qualities[q] += v;
        m.quarters[g] += v;
    }
    return m;
}

namespace {

struct GroupStyle {
    Qt::BrushStyle pattern;
    QColor colour;
};

GroupStyle StyleOf(int i, bool colour) {
    static const GroupStyle styles[] = {{Qt::BDiagPattern, QColor(255, 0, 0)},
                                        {Qt::HorPattern, QColor(128, 0, 0)},
                                        {Qt::FDiagPattern, QColor(0, 128, 0)},
                                        {Qt::VerPattern, QColor(0, 0, 255)}};
    GroupStyle s = styles[std::clamp(i, 1, 4) - 1];
    if (!colour)
        s.colour = Qt::black;
    return s;
}

class DiagramPainter {
public:
    DiagramPainter(Canvas &canvas, int side, const GlyphSet &glyphs, bool colour, GraphKind kind,
                   const DiagramSettings &settings)
        : canvas_(canvas), s_(side), glyphs_(glyphs), colour_(colour), kind_(kind), settings_(settings),
          total_(analysis::PointsTotal(settings.points)), k_(side / kReferenceSide), g_(glyphs.Size() * k_) {
        font_.family = QStringLiteral("MS Sans Serif");
        font_.pointSize = 8;
        font_.scale = k_;
    }

    void DrawDiagramPanel(const DiagramItem &item, int x0) {
        const DiagramMatrices m = ComputeDiagramMatrices(item.item, settings_.points);
        const int p = RoundHalfEven(0.12L * s_);
        const int h = s_ / 2;
        const int b = RoundHalfEven(0.72L * h);
        const int e = RoundHalfEven(0.18L * s_);
        const int f = e / 2;
        const int g = RoundHalfEven(g_);

        TextStyle title = font_;
        title.underline = true;
        canvas_.Text(QPoint(h / 4 + x0, 0), item.title, title);

        const auto &n = settings_.names;
        int y = Legend(x0, g, f, h, m.elements, 4, n.strEle.data(), m.thirds, 3, n.strSoc1.data());
        y = Graph(x0 + 5, y + Px(4), p, b, m.elements, 4, m.thirds, 3);
        y = Matrix(x0, y + Px(4), b, e, m, true);
        // The body list stands right of the first block; the second block starts below both.
        const int listBottom = BodyList(item.item, x0 + b + Px(15), s_ / 4);
        y = Legend(x0, std::max(y, listBottom) + Px(4), f, h, m.qualities, 3, n.strComp.data(), m.quarters, 4,
                   n.strSoc2.data());
        y = Graph(x0 + 5, y + Px(4), p, b, m.qualities, 3, m.quarters, 4);
        Matrix(x0, y + Px(4), b, e, m, false);
    }

private:
    static constexpr long double kReferenceSide = 700; // the side the sizes below are drawn at

    int Px(int pixels) const { return RoundHalfEven(pixels * k_); }
    QSizeF GlyphBox() const { return QSizeF(g_, g_); }
    void DrawGlyph(int picture, QPoint topLeft) {
        canvas_.Glyph(glyphs_, picture, QRectF(topLeft, GlyphBox()), Qt::black);
    }

    QString Number(float v) const {
        return QString::fromStdString(analysis::PointsText(v, settings_.format));
    }
    QString Percent(float v) const { return Number(total_ == 0 ? 0.0f : 100.0f * v / total_) + "%"; }

    void StyledSquare(const QRect &r, int group) {
        const GroupStyle style = StyleOf(group, colour_);
        canvas_.Rect(r, Qt::black, QBrush(style.colour, style.pattern));
    }

    // Two columns of legend rows; returns the y below them.
    template <std::size_t N1, std::size_t N2>
    int Legend(int x0, int top, int f, int h, const std::array<float, N1> &values1, int count1,
               const std::string *names1, const std::array<float, N2> &values2, int count2,
               const std::string *names2) {
        const int rowStep = f / 4 + Px(2);
        const int side = std::max(1, f / 4 - Px(3));
        int bottom = top;
        auto column = [&](int x, const auto &values, int count, const std::string *names) {
            for (int i = 1; i <= count; ++i) {
                const int y = top + i * rowStep;
                canvas_.Text(QPoint(x + 2, y), Percent(values[static_cast<std::size_t>(i)]), font_);
                StyledSquare(QRect(x + Px(47), y, side, side), i);
                canvas_.Text(QPoint(x + Px(47) + side + Px(4), y), QString::fromStdString(names[i]), font_);
                bottom = std::max(bottom, y + rowStep);
            }
        };
        column(x0, values1, count1, names1);
        column(x0 + h / 2, values2, count2, names2);
        return bottom;
    }

    template <std::size_t N1, std::size_t N2>
    int Graph(int x, int y, int p, int b, const std::array<float, N1> &first, int count1,
              const std::array<float, N2> &second, int count2) {
        if (kind_ == GraphKind::Histogram) {
            int room = 0;
            auto bars = [&](int left, const auto &values, int count, long double scale) {
                for (int i = 1; i <= count; ++i) {
                    const int length =
                        total_ == 0 ? 0 : RoundHalfEven(values[static_cast<std::size_t>(i)] * scale / total_);
                    const int top = y + Px(20) * (i - 1);
                    if (length > 0)
                        StyledSquare(QRect(left, top, length, Px(15)), i);
                    // The bar's value at its end, kept inside the group's own column.
                    const QString text = Percent(values[static_cast<std::size_t>(i)]);
                    const QSize size = canvas_.TextSize(text, font_);
                    const int at = std::min(left + length + Px(3), left + room - size.width() - Px(2));
                    const QPoint corner(std::max(left, at), top + (Px(15) - size.height()) / 2);
                    canvas_.FillRect(QRect(corner, size), Qt::white);
                    canvas_.Text(corner, text, font_);
                }
            };
            room = b / 2;
            bars(x, first, count1, b / 2.0L);
            room = std::max(p + Px(45), b / 2);
            bars(x + b / 2, second, count2, static_cast<long double>(p));
            return y + std::max(p, Px(20) * std::max(count1, count2));
        }
        // Each slice's share on a white ground inside it, once every slice is drawn; slivers too thin
        // to hold a number are left without.
        struct Label {
            int left, middle, span;
            float value;
        };
        std::vector<Label> labels;
        auto pie = [&](int left, const auto &values, int count) {
            if (total_ == 0)
                return;
            int start = 0;
            for (int i = 1; i <= count; ++i) {
                const float v = values[static_cast<std::size_t>(i)];
                if (v <= 0)
                    continue;
                const int span = RoundHalfEven(5760.0L * v / total_);
                const GroupStyle style = StyleOf(i, colour_);
                canvas_.Pie(QRect(left, y, p, p), start, span, Qt::black,
                            QBrush(style.colour, style.pattern));
                labels.push_back({left, start + span / 2, span, v});
                start += span;
            }
        };
        pie(x, first, count1);
        pie(x + b / 2, second, count2);
        TextStyle small = font_;
        small.pointSize = 7;
        for (const Label &label : labels) {
            if (label.span < 5760 / 30)
                continue;
            const long double angle = label.middle / 16.0L * 3.14159265358979323846L / 180;
            const long double r = p / 2.0L;
            const QString text =
                QString::number(qRound(total_ == 0 ? 0.0f : 100.0f * label.value / total_)) + "%";
            const QSize size = canvas_.TextSize(text, small);
            const QPoint centre(RoundHalfEven(label.left + r + std::cos(angle) * r * 0.6L),
                                RoundHalfEven(y + r - std::sin(angle) * r * 0.6L));
            const QRect box(centre - QPoint(size.width() / 2, size.height() / 2), size);
            canvas_.FillRect(box, Qt::white);
            canvas_.Text(box.topLeft(), text, small);
        }
        return y + p;
    }

    // The sign matrix: labels in column 0 and row 0, totals in the last column and row.
    int Matrix(int x0, int y, int b, int e, const DiagramMatrices &m, bool elements) {
        const int columns = elements ? 5 : 6, rows = elements ? 6 : 5;
        const int cw = b / columns, rh = std::max(e / rows, RoundHalfEven(g_) + Px(2));
        for (int c = 0; c <= columns; ++c)
            canvas_.Line(QPoint(x0 + c * cw, y), QPoint(x0 + c * cw, y + rows * rh), Qt::black);
        for (int r = 0; r <= rows; ++r)
            canvas_.Line(QPoint(x0, y + r * rh), QPoint(x0 + columns * cw, y + r * rh), Qt::black);
        const int groupsAcross = columns - 2, groupsDown = rows - 2;
        const int side = std::max(1, std::min(cw, rh) - Px(6));
        auto cell = [&](int c, int r) { return QPoint(x0 + c * cw, y + r * rh); };
        TextStyle small = font_;
        small.pointSize = 7;
        for (int c = 1; c <= groupsAcross; ++c) {
            StyledSquare(QRect(cell(c, 0) + QPoint(Px(3), Px(3)), QSize(side, side)), c);
            const float total =
                elements ? m.thirds[static_cast<std::size_t>(c)] : m.quarters[static_cast<std::size_t>(c)];
            canvas_.Text(cell(c, rows - 1) + QPoint(2, 1), Number(total), small);
        }
        for (int r = 1; r <= groupsDown; ++r) {
            StyledSquare(QRect(cell(0, r) + QPoint(Px(3), Px(3)), QSize(side, side)), r);
            const float total =
                elements ? m.elements[static_cast<std::size_t>(r)] : m.qualities[static_cast<std::size_t>(r)];
            canvas_.Text(cell(columns - 1, r) + QPoint(2, 1), Number(total), small);
            for (int c = 1; c <= groupsAcross; ++c) {
                const int sign = elements ? 4 * (c - 1) + r : 3 * (c - 1) + r;
                const float v =
                    elements ? m.elementThird[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]
                             : m.qualityQuarter[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
                DrawGlyph(sign - 1, cell(c, r) + QPoint(Px(2), (rh - RoundHalfEven(g_)) / 2));
                if (v > 0)
                    canvas_.Text(cell(c, r) + QPoint(RoundHalfEven(g_) + Px(3), 1), Number(v), small);
            }
        }
        return y + rows * rh;
    }

    // Returns the y below the list.
    int BodyList(const chart::RecDataProg &item, int x, int y) {
        const int g = RoundHalfEven(g_);
        const int step = g + Px(3);
        canvas_.Text(QPoint(x, y), QStringLiteral("Asc"), font_);
        const int asc = item.cusps[1].sign;
        DrawGlyph(asc - 1, QPoint(x + step + Px(4), y));
        int row = y;
        for (int i = 1; i <= 12; ++i) {
            row = y + i * (g + Px(5));
            const auto &body = item.bodies[static_cast<std::size_t>(i)];
            int cx = x;
            DrawGlyph(kBodyPictureBase + i, QPoint(cx, row));
            cx += step;
            DrawGlyph(body.sign - 1, QPoint(cx, row));
            cx += step;
            if (const int code = settings_.dignity.At(i, body.sign); code != 0)
                DrawGlyph(kDignityPictureBase2 + code, QPoint(cx, row));
            cx += step + Px(4);
            const int decanate = analysis::DecanateSign(body.sign, body.position);
            DrawGlyph(decanate - 1, QPoint(cx, row));
            cx += step;
            if (const int code = settings_.dignity.At(i, decanate); code != 0)
                DrawGlyph(kDignityPictureBase2 + code, QPoint(cx, row));
        }
        return row + g + Px(4);
    }

    Canvas &canvas_;
    int s_;
    const GlyphSet &glyphs_;
    bool colour_;
    GraphKind kind_;
    const DiagramSettings &settings_;
    float total_;
    qreal k_; // the picture's scale
    qreal g_; // the glyph side at this scale
    TextStyle font_;
};

} // namespace

void DrawDiagrams(Canvas &canvas, int side, const GlyphSet &glyphs, bool colour, GraphKind kind,
                  const DiagramItem &a, const DiagramItem &b, const DiagramSettings &settings) {
    canvas.FillRect(QRect(0, 0, side, side), Qt::white);
    DiagramPainter painter(canvas, side, glyphs, colour, kind, settings);
    painter.DrawDiagramPanel(a, 0);
    painter.DrawDiagramPanel(b, side / 2 + 10);
}

void DrawDiagramPanel(Canvas &canvas, int side, const GlyphSet &glyphs, bool colour, GraphKind kind,
                      const DiagramItem &item, int x0, const DiagramSettings &settings) {
    DiagramPainter painter(canvas, side, glyphs, colour, kind, settings);
    painter.DrawDiagramPanel(item, x0);
}

} // namespace cel::graphics
