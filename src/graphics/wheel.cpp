#include "graphics/wheel.h"

#include <cmath>
#include <cstdlib>

#include "astronomy/angle_text.h"
#include "astronomy/angles.h"

namespace cel::graphics {

using astronomy::Norm360;
using settings::RecVistaCarta;

WheelColours WheelColoursFrom(const settings::Settings &settings) {
    WheelColours colours;
    for (int i = 1; i <= 12; ++i)
        colours.bodies[static_cast<std::size_t>(i)] =
            StoredColour(settings.rueda.colPla[static_cast<std::size_t>(i)]);
    for (int i = 1; i <= 11; ++i)
        colours.wheel[static_cast<std::size_t>(i)] =
            StoredColour(settings.rueda.colEle[static_cast<std::size_t>(i)]);
    return colours;
}

WheelColours DefaultWheelColours() {
    return WheelColoursFrom(settings::Settings{});
}

QPoint WheelGeometry::At(Real fraction, Real angle) const {
    const Real theta = angle * astronomy::kDegToRad;
    return origin + QPoint(RoundHalfEven(cx + std::cos(theta) * R * fraction),
                           RoundHalfEven(cy - std::sin(theta) * R * fraction));
}

int WheelGeometry::Radius(Real fraction) const {
    return RoundHalfEven(R * fraction);
}

WheelGeometry ComputeWheelGeometry(const QRect &rect) {
    WheelGeometry g;
    g.origin = rect.topLeft();
    const Real w = rect.width(), h = rect.height();
    g.R = RoundHalfEven(std::min(w - 3, h - 3) / 2);
    g.cx = RoundHalfEven((w - 3) / 2);
    g.cy = RoundHalfEven((h - 3) / 2);
    return g;
}

namespace {

bool Flag(const RecVistaCarta &view, settings::WheelFlag flag) {
    return view.wheelFlags[static_cast<std::size_t>(flag)];
}

Real HouseRing(const RecVistaCarta &view, Real r, Real B, Real g1) {
    Real t = B - 0.04L - g1;
    const Real c = view.fontSize / 150.0L;
    if (Flag(view, settings::kFlagPlanetasTexto)) {
        t -= 2 * c;
        if (Flag(view, settings::kFlagPlanetasSeg))
            t -= c;
    }
    if (Flag(view, settings::kFlagPlanetasSigno))
        t = t - 0.08L - g1;
    return (t - c) * r;
}

} // namespace

RingFractions ComputeRingFractions(const RecVistaCarta &view, Real r, int glyphSize, int R, bool signRing,
                                   bool degreeRing) {
    RingFractions f;
    const Real g1 = R > 0 ? static_cast<Real>(glyphSize - 11) / R : 0;
    const bool houseTexts = Flag(view, settings::kFlagCasas) &&
                            (Flag(view, settings::kFlagCasasSigno) || Flag(view, settings::kFlagCasasTexto) ||
                             Flag(view, settings::kFlagCasasSeg));
    if (signRing) {
        f.A = (houseTexts ? 0.865L : 0.925L) - g1;
        f.B = (houseTexts ? 0.82L : 0.88L) - g1;
    } else if (houseTexts) {
        f.A = 0.905L - g1;
        f.B = 0.86L - g1;
    } else {
        f.A = 1;
        f.B = 0.955L - g1;
    }
    if (!degreeRing)
        f.B = f.A;
    f.E = view.radiusFractions[1];
    f.h = HouseRing(view, r, f.B, g1);
    return f;
}

namespace {

constexpr Real kAngleGap = 4; // D: degrees between the pieces of a cusp position

class WheelPainter {
public:
    WheelPainter(Canvas &canvas, const QRect &rect, const GlyphSet &glyphs, const WheelInput &input)
        : canvas_(canvas), glyphs_(glyphs), in_(input), view_(input.view), geo_(ComputeWheelGeometry(rect)) {}

    int Draw(const QRect &rect) {
        canvas_.FillRect(rect, Qt::white);
        if (geo_.R < kMinimumRadius)
            return 0; // too small for a wheel
        const RecVistaCarta &v = view_;
        const auto &inner = Item(v.innerItem);
        const auto &outer = Item(v.outerItem);
        rotation_ = inner.rotation;
        const Real porArea = v.radiusFractions[0];
        if (v.wheelMode != settings::kDoubleWheel) {
            DrawChartRing(porArea, inner, v.innerItem, 1, false, Flag(v, settings::kFlagGrados), true);
        } else if (v.innerWheelOnly) {
            const Real last = DrawOuterBodies(porArea, outer);
            DrawChartRing(last, inner, v.innerItem, 1, false, Flag(v, settings::kFlagGrados), true);
        } else {
            if (!v.equaliseBySigns)
                rotation_ = outer.rotation;
            const RingFractions outerRing =
                DrawChartRing(porArea, outer, v.outerItem, 2, true, Flag(v, settings::kFlagGrados), true);
            projectedOuter_ = porArea * outerRing.A;
            rotation_ = inner.rotation;
            DrawChartRing(outerRing.h, inner, v.innerItem, 1, true, false, false);
        }
        return count_;
    }

private:
    static constexpr int kMinimumRadius = 20;

    const chart::RecDataProg &Item(int n) const {
        const int i = std::clamp(n, 1, chart::kItemCount);
        return in_.progressions.items[static_cast<std::size_t>(i)];
    }

    bool Color() const { return Flag(view_, settings::kFlagColor); }
    // A colour when "Color" is on, black otherwise.
    QColor Paint(const QColor &c) const { return Color() ? c : QColor(Qt::black); }
    QColor WheelColour(int n) const { return Paint(in_.colours.wheel[static_cast<std::size_t>(n)]); }
    QColor BodyColour(int body) const {
        return Color() && Flag(view_, settings::kFlagColorPla)
                   ? in_.colours.bodies[static_cast<std::size_t>(body)]
                   : QColor(Qt::black);
    }
    int HalfGlyph() const { return glyphs_.Size() / 2; }

    TextStyle WheelFont(const QColor &colour, bool fixed) const {
        TextStyle s;
        s.family = QString::fromStdString(view_.fontName);
        s.pointSize = view_.fontSize;
        s.colour = colour;
        s.fixedPitch = fixed;
        return s;
    }

    // Draws a glyph centred on a point.
    void CentredGlyph(int picture, QPoint p, const QColor &colour) {
        canvas_.TintedGlyph(glyphs_, picture, p - QPoint(HalfGlyph(), HalfGlyph()), colour);
    }
    // A text centred on a point by half the size of "30º".
    void CentredPiece(const QString &text, QPoint p, const TextStyle &style) {
        const QSize s = canvas_.TextSize(QStringLiteral("30º"), style);
        canvas_.Text(p - QPoint(s.width() / 2, s.height() / 2), text, style);
    }

    static QString PositionText(Real positionInSign, bool seconds) {
        return QString::fromStdString(astronomy::FormatSignPosition(
            0,
            seconds ? astronomy::AngleLayout::DegreesMinutesSeconds : astronomy::AngleLayout::DegreesMinutes,
            positionInSign));
    }

    void RetrogradeMark(int body, QPoint glyphPoint) {
        TextStyle s;
        s.family = QStringLiteral("Small Fonts");
        s.pointSize = 6;
        s.colour = BodyColour(body);
        canvas_.Text(QPoint(glyphPoint.x() + glyphs_.Size() / 2 - 2, glyphPoint.y()), QStringLiteral("R"), s);
    }

    RingFractions DrawChartRing(Real r, const chart::RecDataProg &item, int itemNumber, int wheel,
                                bool outerCall, bool degreeRing, bool signRingOn) {
        const RecVistaCarta &v = view_;
        const bool signRing = signRingOn && Flag(v, settings::kFlagSignos);
        const RingFractions f = ComputeRingFractions(v, r, glyphs_.Size(), geo_.R, signRing, degreeRing);
        const Real g1 = static_cast<Real>(glyphs_.Size() - 11) / geo_.R;
        const Real rE = r * f.E, rA = r * f.A, rB = r * f.B;
        const QPoint centre = geo_.Centre();
        const bool ringsShown = wheel == 1 || (v.wheelMode == settings::kDoubleWheel && wheel == 2);

        // 1. Outer circle and inner edge of the sign ring.
        canvas_.Circle(centre, geo_.Radius(rE), Qt::black);
        canvas_.Circle(centre, geo_.Radius(rA), Qt::black);

        // 2. Sign sectors, filled with the colours of their elements.
        for (int i = 0; i < 12; ++i)
            canvas_.Line(geo_.At(rE, rotation_ + 30 * i), geo_.At(rB - 0.01L, rotation_ + 30 * i),
                         WheelColour(9));
        const bool fillSectors = Flag(v, settings::kFlagCasas) || signRing;
        if (fillSectors && Color() && Flag(v, settings::kFlagColorEle) && rA < rE - 0.02L) {
            for (int i = 0; i < 12; ++i)
                canvas_.FloodFill(geo_.At(rE - 0.02L, rotation_ + 15 + 30 * i),
                                  in_.colours.wheel[static_cast<std::size_t>(i % 4 + 1)]);
        }

        // 3. Sign glyphs.
        if (signRing && ringsShown) {
            for (int i = 0; i < 12; ++i)
                CentredGlyph(i, geo_.At(rE - 0.04L, rotation_ + 15 + 30 * i), WheelColour(11));
        }

        // 4. Degree ring.
        if (degreeRing && ringsShown) {
            canvas_.Circle(centre, geo_.Radius(rB), Qt::black);
            for (int i = 0; i < 12; ++i)
                for (int j = 1; j <= 3; ++j)
                    canvas_.Line(geo_.At(rB, rotation_ + 30 * i + 10 * j),
                                 geo_.At(rA, rotation_ + 30 * i + 10 * j), WheelColour(9));
            for (int n = 0; n <= 360; ++n) {
                const Real outerEnd = rB + (rA - rB) / (n % 5 == 0 ? 1.5L : 2.5L);
                canvas_.Line(geo_.At(rB, rotation_ + n), geo_.At(outerEnd, rotation_ + n), WheelColour(9));
            }
        }

        // 5, 6. Houses.
        const Real h = f.h;
        if (Flag(v, settings::kFlagCasas)) {
            canvas_.Circle(centre, geo_.Radius(r * h), Qt::black);
            if (wheel == 1)
                DrawHouses(item, r, r * h, v.projectInnerHouses ? projectedOuter_ : rA, 1);
            else if (!outerCall || !v.projectInnerHouses)
                DrawHouses(item, r, r * h, rA, 2);
            if (Flag(v, settings::kFlagCasasLin))
                canvas_.Circle(centre, geo_.Radius((h + 0.05L) * r), Qt::black);
        }

        // 7. Bodies.
        if (Flag(v, settings::kFlagPlanetas))
            DrawBodies(item, rB, r * (f.B - 0.04L - g1));

        // 8, 9. Centre and aspect lines.
        if (!outerCall) {
            if (Color())
                canvas_.FloodFill(centre, in_.colours.wheel[5]);
            DrawAspectLines(item, itemNumber, r * h);
        }
        return f;
    }

    void DrawHouses(const chart::RecDataProg &item, Real r, Real f, Real o, int wheel) {
        const RecVistaCarta &v = view_;
        const QColor ringColour = WheelColour(wheel == 1 ? 7 : 8);
        auto cusp = [&](int n) -> Real {
            return item.cusps[static_cast<std::size_t>((n - 1) % 12 + 1)].cusp;
        };
        for (int n = 1; n <= 12; ++n) {
            const Real theta = Norm360(rotation_ + cusp(n));
            canvas_.Line(geo_.At(o, theta), geo_.At(f - 0.007L, theta), ringColour);
            if (Color())
                canvas_.FloodFill(geo_.At(f + 0.02L, theta + 2), in_.colours.wheel[6]);
        }
        const TextStyle numberStyle = WheelFont(ringColour, true);
        const TextStyle textStyle = WheelFont(WheelColour(10), true);
        const Real q = o + r * (v.fontSize / 200.0L);
        const bool texto = Flag(v, settings::kFlagCasasTexto), seg = Flag(v, settings::kFlagCasasSeg);
        for (int n = 1; n <= 12; ++n) {
            const Real theta = Norm360(rotation_ + cusp(n));
            Real d = std::fabs(cusp(n + 1) - cusp(n));
            if (d > 180)
                d = 360 - d;
            d /= 2;
            const QString number = QString::number(n);
            const QSize ns = canvas_.TextSize(number, numberStyle);
            canvas_.Text(geo_.At(f + 0.025L, theta + d) - QPoint(ns.width() / 2, ns.height() / 2), number,
                         numberStyle);
            const auto &entry = item.cusps[static_cast<std::size_t>(n)];
            if (texto) {
                const QString text = PositionText(cusp(n) - (entry.sign - 1) * 30.0L, seg);
                const Real degreesAt = theta >= 180 ? theta - kAngleGap : theta + kAngleGap;
                const Real secondsAt = theta >= 180 ? theta + kAngleGap : theta - kAngleGap;
                CentredPiece(text.mid(0, 3), geo_.At(q, degreesAt), textStyle);
                CentredPiece(text.mid(4, 3), geo_.At(q, theta), textStyle);
                if (seg)
                    CentredPiece(text.mid(8, 3), geo_.At(q, secondsAt), textStyle);
            }
            if (Flag(v, settings::kFlagCasasSigno)) {
                Real offset = 0;
                if (texto)
                    offset = (theta >= 180 ? 1 : -1) * kAngleGap * (seg ? 2 : 1);
                CentredGlyph(entry.sign - 1, geo_.At(q, theta + offset), WheelColour(10));
            }
        }
    }

    void DrawBodies(const chart::RecDataProg &item, Real a, Real b) {
        const RecVistaCarta &v = view_;
        const Real c = v.fontSize / 150.0L;
        const int e = HalfGlyph();
        const TextStyle textStyle = WheelFont(WheelColour(10), true);
        for (int i = 1; i <= 12; ++i) {
            const auto &body = item.bodies[static_cast<std::size_t>(i)];
            const Real wheelAngle = rotation_ + body.wheelPosition;
            canvas_.Line(geo_.At(a, Norm360(rotation_ + body.position)),
                         geo_.At(a - 0.015L, Norm360(wheelAngle)), Qt::black);
            const QPoint glyphPoint = geo_.At(b, wheelAngle);
            canvas_.TintedGlyph(glyphs_, kBodyPictureBase + i, glyphPoint - QPoint(e, e), BodyColour(i));
            if (v.retrogradeMark && body.retrograde)
                RetrogradeMark(i, glyphPoint);
            Real radius = b - 0.06L;
            if (Flag(v, settings::kFlagPlanetasTexto)) {
                const bool seg = Flag(v, settings::kFlagPlanetasSeg);
                const QString text = PositionText(body.position - (body.sign - 1) * 30.0L, seg);
                canvas_.Text(geo_.At(radius, wheelAngle) - QPoint(e, e), text.mid(0, 3), textStyle);
                radius -= c;
                canvas_.Text(geo_.At(radius, wheelAngle) - QPoint(e, e), text.mid(4, 3), textStyle);
                radius -= c;
                if (seg) {
                    canvas_.Text(geo_.At(radius, wheelAngle) - QPoint(e, e), text.mid(8, 3), textStyle);
                    radius -= c;
                }
            }
            if (Flag(v, settings::kFlagPlanetasSigno))
                canvas_.TintedGlyph(glyphs_, body.sign - 1, geo_.At(radius, wheelAngle) - QPoint(e, e),
                                    BodyColour(i));
        }
    }

    Real DrawOuterBodies(Real r, const chart::RecDataProg &item) {
        const RecVistaCarta &v = view_;
        const Real c = v.fontSize / 150.0L;
        const TextStyle textStyle = WheelFont(WheelColour(10), false);
        Real radius = r - 0.75L * c;
        for (int i = 1; i <= 12; ++i) {
            const auto &body = item.bodies[static_cast<std::size_t>(i)];
            const Real phi = Norm360(rotation_ + body.wheelPosition);
            radius = r - 0.75L * c;
            if (Flag(v, settings::kFlagPlanetasSigno)) {
                CentredGlyph(body.sign - 1, geo_.At(radius, phi), BodyColour(i));
                radius -= 0.25L * c;
            }
            if (Flag(v, settings::kFlagPlanetasTexto)) {
                const bool seg = Flag(v, settings::kFlagPlanetasSeg);
                const QString text = PositionText(body.position - (body.sign - 1) * 30.0L, seg);
                if (seg) {
                    radius -= c;
                    CentredPiece(text.mid(8, 3), geo_.At(radius, phi), textStyle);
                }
                radius -= c;
                CentredPiece(text.mid(4, 3), geo_.At(radius, phi), textStyle);
                radius -= c;
                CentredPiece(text.mid(0, 3), geo_.At(radius, phi), textStyle);
            }
            radius -= c;
            const QPoint glyphPoint = geo_.At(radius, phi);
            CentredGlyph(kBodyPictureBase + i, glyphPoint, BodyColour(i));
            if (v.retrogradeMark && body.retrograde)
                RetrogradeMark(i, glyphPoint);
            radius -= 0.95L * c;
            const QPoint end = geo_.At(radius, Norm360(rotation_ + body.position));
            canvas_.Line(geo_.At(radius + 0.25L * c, phi), end, Qt::black);
            canvas_.Circle(end, 1, Qt::black);
        }
        if (v.noProjectedHouses) {
            const QColor colour = WheelColour(8);
            const TextStyle style = WheelFont(colour, false);
            for (int n = 1; n <= 12; ++n) {
                const Real theta = Norm360(rotation_ + item.cusps[static_cast<std::size_t>(n)].cusp);
                canvas_.Line(geo_.At(radius, theta), geo_.At(radius + 0.1L, theta), colour);
                const QString number = QString::number(n);
                const QSize s = canvas_.TextSize(number, style);
                canvas_.Text(geo_.At(radius + 0.12L, theta) - QPoint(s.width() / 2, s.height() / 2), number,
                             style);
            }
            DrawCuspLegend(item, style, colour);
        }
        return radius;
    }

    // The outer item's cusps in the top-left corner: number, sign and, for the first six, the position.
    void DrawCuspLegend(const chart::RecDataProg &item, const TextStyle &style, const QColor &colour) {
        const RecVistaCarta &v = view_;
        const int lineHeight = canvas_.TextSize(QStringLiteral("30º"), style).height() + 2;
        const int numberWidth = canvas_.TextSize(QStringLiteral("30"), style).width();
        const QPoint origin = geo_.origin;
        int x = 2, y = 2, columnEnd = 0;
        for (int n = 1; n <= 12; ++n) {
            if (n == 7) {
                x = columnEnd + 5;
                y = 2;
            }
            const auto &entry = item.cusps[static_cast<std::size_t>(n)];
            canvas_.Text(origin + QPoint(x, y), QString::number(n), style);
            const int pictureX = x + numberWidth;
            canvas_.TintedGlyph(glyphs_, entry.sign - 1, origin + QPoint(pictureX, y), colour);
            int end = pictureX + glyphs_.Size();
            if (n <= 6 && Flag(v, settings::kFlagCasasTexto)) {
                const QString text =
                    QStringLiteral("[") +
                    PositionText(entry.cusp - (entry.sign - 1) * 30.0L, Flag(v, settings::kFlagCasasSeg)) +
                    QStringLiteral("]");
                canvas_.Text(origin + QPoint(end + 2, y), text, style);
                end += 2 + canvas_.TextSize(text, style).width();
            }
            columnEnd = std::max(columnEnd, end);
            y += lineHeight;
        }
    }

    // Where a member of an aspect lies: a body at its wheel position, a cusp at the cusp.
    QPoint MemberPoint(const chart::RecDataProg &item, char kind, int number, Real f) const {
        const std::size_t n = static_cast<std::size_t>(std::clamp(number, 1, 12));
        const Real position =
            kind == 'c' ? static_cast<Real>(item.cusps[n].cusp) : item.bodies[n].wheelPosition;
        return geo_.At(f, Norm360(rotation_ + position));
    }

    void DrawAspectLines(const chart::RecDataProg &item, int itemNumber, Real f) {
        if (in_.aspects == nullptr || !Flag(view_, settings::kFlagPlanetas))
            return;
        const analysis::AspectLists &lists = *in_.aspects;
        const analysis::AspectList *bodies, *bodyCusp, *cusps;
        // In "1 Rueda" the first member of a pair aspect belongs to the outer item.
        const chart::RecDataProg *firstItem = &item;
        if (itemNumber == chart::kNatalEcliptic) {
            bodies = &lists.eclipticBodies;
            bodyCusp = &lists.eclipticBodyCusp;
            cusps = &lists.eclipticCusps;
        } else if (itemNumber == chart::kNatalAscensional) {
            bodies = &lists.ascensionalBodies;
            bodyCusp = &lists.ascensionalBodyCusp;
            cusps = &lists.ascensionalCusps;
        } else {
            bodies = &lists.pairBodies;
            bodyCusp = &lists.pairBodyCusp;
            cusps = &lists.pairCusps;
            if (view_.wheelMode == settings::kDoubleWheel && view_.innerWheelOnly)
                firstItem = &Item(view_.outerItem);
        }
        DrawAspectList(*bodies, *firstItem, item, itemNumber, f);
        if (Flag(view_, settings::kFlagCasas)) {
            DrawAspectList(*bodyCusp, *firstItem, item, itemNumber, f);
            DrawAspectList(*cusps, *firstItem, item, itemNumber, f);
        }
    }

    void DrawAspectList(const analysis::AspectList &list, const chart::RecDataProg &firstItem,
                        const chart::RecDataProg &item, int itemNumber, Real f) {
        for (const analysis::TAspReg &record : list) {
            if (!analysis::AspectVisible(record, view_, itemNumber))
                continue;
            ++count_;
            const analysis::PairMembers m = analysis::ReadPairKey(record.key);
            const QPoint p1 = MemberPoint(firstItem, m.kind1, m.number1, f);
            const QPoint p2 = MemberPoint(item, m.kind2, m.number2, f);
            canvas_.Line(p1, p2, Paint(AspectKindColour(record.kind)));
            if (view_.aspectGlyphs) {
                const QPoint mid(std::min(p1.x(), p2.x()) + std::abs(p1.x() - p2.x()) / 2,
                                 std::min(p1.y(), p2.y()) + std::abs(p1.y() - p2.y()) / 2);
                CentredGlyph(kAspectPictureBase + record.kind, mid, Qt::black);
            }
        }
    }

    Canvas &canvas_;
    const GlyphSet &glyphs_;
    const WheelInput &in_;
    const RecVistaCarta &view_;
    WheelGeometry geo_;
    Real rotation_ = 0;
    Real projectedOuter_ = 0; // C: the outer wheel's sign-ring edge, for the projected inner houses
    int count_ = 0;
};

} // namespace

int DrawWheel(Canvas &canvas, const QRect &rect, const GlyphSet &glyphs, const WheelInput &input) {
    WheelPainter painter(canvas, rect, glyphs, input);
    return painter.Draw(rect);
}

} // namespace cel::graphics
