#include "graphics/wheel.h"

#include <QLineF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>

#include "astronomy/angle_text.h"
#include "astronomy/angles.h"
#include "chart/pipeline.h"
#include "graphics/label_layout.h"

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

QPointF WheelGeometry::AtF(Real fraction, Real angle) const {
    const Real theta = angle * astronomy::kDegToRad;
    return QPointF(static_cast<qreal>(origin.x() + cx + 0.5L + std::cos(theta) * R * fraction),
                   static_cast<qreal>(origin.y() + cy + 0.5L - std::sin(theta) * R * fraction));
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
constexpr Real kDeg = astronomy::kDegToRad;

// One row of a body's label column: what is drawn at one radius.
struct LabelRow {
    Real radius = 0;  // fraction of R
    qreal width = 0;  // pixels
    qreal height = 0; // pixels
    qreal dx = 0;     // the box's centre beside the point at radius and angle (pixels, screen axes)
    qreal dy = 0;
};
// A body's label column, outermost row first (at most a glyph, three texts and a sign).
struct LabelColumn {
    std::array<LabelRow, 6> rows{};
    int count = 0;
    void push_back(const LabelRow &row) { rows[static_cast<std::size_t>(count++)] = row; }
    const LabelRow &back() const { return rows[static_cast<std::size_t>(count - 1)]; }
    const LabelRow &operator[](int i) const { return rows[static_cast<std::size_t>(i)]; }
    const LabelRow *begin() const { return rows.data(); }
    const LabelRow *end() const { return rows.data() + count; }
};

// Label columns by wheel angle, in half degrees, for each glyph radius and label scale: a column's shape
// is taken at the nearest half degree, so placing, checking and drawing all see the same column.
class ColumnCache {
public:
    static constexpr int kSteps = 720;
    static int Index(Real angle) {
        return static_cast<int>(std::lround(astronomy::Norm360(angle) * 2)) % kSteps;
    }
    static Real AngleOf(int index) { return index / 2.0L; }
    // The column at `index` for this key, computed by `make` (given the index's angle) the first time.
    template <typename Make>
    const LabelColumn &Get(Real radius, qreal scale, int detail, int index, const Make &make) {
        Slot *slot =
            last_ != nullptr && last_->radius == radius && last_->scale == scale && last_->detail == detail
                ? last_
                : nullptr;
        for (auto s = slots_.begin(); slot == nullptr && s != slots_.end(); ++s)
            if (s->radius == radius && s->scale == scale && s->detail == detail)
                slot = &*s;
        if (slot == nullptr) {
            slot = &slots_.emplace_back();
            slot->radius = radius;
            slot->scale = scale;
            slot->detail = detail;
            slot->where.fill(-1);
        }
        last_ = slot;
        std::int16_t &where = slot->where[static_cast<std::size_t>(index)];
        if (where < 0) {
            where = static_cast<std::int16_t>(slot->columns.size());
            slot->columns.push_back(make(AngleOf(index)));
        }
        return slot->columns[static_cast<std::size_t>(where)];
    }

    std::size_t SlotCount() const { return slots_.size(); }

private:
    struct Slot {
        Real radius = 0;
        qreal scale = 0;
        int detail = 0;
        // Only the columns asked for are made and kept: a wheel asks for few of the angles of most keys.
        std::array<std::int16_t, kSteps> where{}; // the index in `columns` of each angle's, or -1
        std::deque<LabelColumn> columns;
    };
    std::deque<Slot> slots_; // a deque keeps the slots in place as more are added
    Slot *last_ = nullptr;   // the slot asked for last: most questions come in runs on one key
};

// Where an item's body glyphs stand: zodiac degrees and rows (0 the outermost).
struct Placement {
    std::array<Real, 13> placed{};
    std::array<int, 13> row{};
    int rowsUsed = 1;
    Real largestShift = 0;
};
// A placement with what it was made for.
struct Fitted {
    bool valid = false;
    Real b = 0;
    qreal scale = 0;
    Real rotation = 0;
    Real inner = 0;
    int detail = 0;
    Placement placement;
};
// How far in the label columns of glyphs at radius b reach, at a label scale and detail.
struct InnerEdge {
    Real b;
    qreal scale;
    int detail;
    Real edge;
};

// What the label layout found for one chart: the label size and detail chosen, and the placements.
struct ChartLayout {
    std::vector<Real> key; // the rotations and body positions of the wheel's items
    bool chosen = false;
    qreal scale = 1;
    int innerDetail = 0;
    int outerDetail = 0;
    std::map<int, Fitted> fitted;
    Fitted ringPlaced;
};

// What the label layout found for one view, picture radius and glyph set, kept between drawings: the
// label columns and their reach, and the layouts of the charts drawn lately. The main window redraws
// the same chart at every change of its view; a redraw then measures and places nothing again.
struct LayoutMemory {
    RecVistaCarta view; // the view with its aspect choices left out: they move no label
    int R = 0;
    const GlyphSet *glyphs = nullptr;
    ColumnCache bodyColumns, ringColumns;
    std::vector<InnerEdge> innerEdges;
    std::vector<Real> compactRadii;
    std::deque<ChartLayout> charts; // the latest first

    // The layouts of a chart, made empty the first time.
    ChartLayout &Chart(const std::vector<Real> &key) {
        for (auto it = charts.begin(); it != charts.end(); ++it)
            if (it->key == key) {
                if (it != charts.begin()) {
                    ChartLayout found = std::move(*it);
                    charts.erase(it);
                    charts.push_front(std::move(found));
                }
                return charts.front();
            }
        if (charts.size() >= kCharts)
            charts.pop_back();
        charts.emplace_front().key = key;
        return charts.front();
    }

    // A painter holds its memory alone while it draws and gives it back when done; painters drawing
    // the same view at once on other threads each start afresh.
    using Lease = std::unique_ptr<LayoutMemory, void (*)(LayoutMemory *)>;
    static Lease Take(const RecVistaCarta &view, int R, const GlyphSet *glyphs) {
        RecVistaCarta layoutView = view;
        LeaveOutAspectChoices(layoutView);
        {
            const std::lock_guard<std::mutex> lock(StoreMutex());
            auto &store = Store();
            for (auto it = store.begin(); it != store.end(); ++it)
                if ((*it)->R == R && (*it)->glyphs == glyphs && (*it)->view == layoutView) {
                    LayoutMemory *found = it->release();
                    store.erase(it);
                    // A memory that grew large (many charts at many label sizes) starts again.
                    if (found->bodyColumns.SlotCount() + found->ringColumns.SlotCount() < kMaxSlots)
                        return Lease(found, &GiveBack);
                    delete found;
                    break;
                }
        }
        auto *fresh = new LayoutMemory;
        fresh->view = layoutView;
        fresh->R = R;
        fresh->glyphs = glyphs;
        return Lease(fresh, &GiveBack);
    }

private:
    static constexpr std::size_t kCharts = 8;   // charts remembered per view and size
    static constexpr std::size_t kMemories = 6; // views and sizes remembered
    static constexpr std::size_t kMaxSlots = 400;
    static void LeaveOutAspectChoices(RecVistaCarta &view) {
        const RecVistaCarta none;
        view.aspectGlyphs = none.aspectGlyphs;
        view.aspectFamilies = none.aspectFamilies;
        view.autoSources = none.autoSources;
        view.aspectMode = none.aspectMode;
        view.dispositorFilter = none.dispositorFilter;
        view.computeDispositors = none.computeDispositors;
        view.strengthFilter = none.strengthFilter;
        view.pointSelection = none.pointSelection;
        view.cuspSelection = none.cuspSelection;
        view.angleSelection = none.angleSelection;
        view.progressionReference = none.progressionReference;
        view.largeImagesTable = none.largeImagesTable;
    }
    static std::mutex &StoreMutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::vector<std::unique_ptr<LayoutMemory>> &Store() {
        static std::vector<std::unique_ptr<LayoutMemory>> store; // the latest last
        return store;
    }
    static void GiveBack(LayoutMemory *memory) {
        const std::lock_guard<std::mutex> lock(StoreMutex());
        auto &store = Store();
        store.emplace_back(memory);
        if (store.size() > kMemories)
            store.erase(store.begin());
    }
};

class WheelPainter {
public:
    WheelPainter(Canvas &canvas, const QRect &rect, const GlyphSet &glyphs, const WheelInput &input)
        : canvas_(canvas), glyphs_(glyphs), in_(input), view_(input.view), geo_(ComputeWheelGeometry(rect)),
          k_(geo_.Scale()), glyphSide_(glyphs.Size() * k_), line_(std::max<qreal>(1, k_)),
          memory_(LayoutMemory::Take(input.view, geo_.R, &glyphs)), chart_(memory_->Chart(ChartKey(input))),
          bodyColumns_(memory_->bodyColumns), ringColumns_(memory_->ringColumns),
          innerEdges_(memory_->innerEdges), compactRadii_(memory_->compactRadii), fitted_(chart_.fitted),
          ringPlaced_(chart_.ringPlaced) {
        pieceSize_ = PieceSize(WheelFont(Qt::black, true));
        cuspPieceSize_ = pieceSize_;
        retroSize_ = canvas_.TextSizeF(QStringLiteral("R"), RetroFont(1));
        ringPieceSize_ = PieceSize(WheelFont(Qt::black, false));
    }

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
            if (Flag(v, settings::kFlagPlanetas)) {
                const RingFractions f =
                    ComputeRingFractions(v, porArea, glyphs_.Size(), kReferenceRadius,
                                         Flag(v, settings::kFlagSignos), Flag(v, settings::kFlagGrados));
                ChooseLabels([&] {
                    return BodyLabelsFit(inner, GlyphRadius(porArea, f, 1, false), kSingleInnermost)
                               ? Crowded::None
                               : Crowded::Inner;
                });
            }
            detail_ = innerDetail_;
            DrawChartRing(porArea, inner, v.innerItem, 1, false, Flag(v, settings::kFlagGrados), true);
        } else if (v.innerWheelOnly) {
            // The ring's and the wheel's labels clear of one another, the aspect circle with room to be read.
            if (Flag(v, settings::kFlagPlanetas))
                ChooseLabels([&] {
                    detail_ = outerDetail_;
                    const Placement &ring = RingPlacement(porArea, outer);
                    if (!PlacementClear(ring, RingColumnsAt(porArea)))
                        return Crowded::Outer;
                    const Real last = RingInnerEdge(RingRowStart(porArea, ring.rowsUsed - 1));
                    const RingFractions f =
                        ComputeRingFractions(v, last, glyphs_.Size(), kReferenceRadius,
                                             Flag(v, settings::kFlagSignos), Flag(v, settings::kFlagGrados));
                    detail_ = innerDetail_;
                    return BodyLabelsFit(inner, GlyphRadius(last, f, 1, false),
                                         kReadableAspectCircle + 0.015L)
                               ? Crowded::None
                               : Crowded::Inner;
                });
            detail_ = outerDetail_;
            const Real last = DrawOuterBodies(porArea, outer);
            detail_ = innerDetail_;
            DrawChartRing(last, inner, v.innerItem, 1, false, Flag(v, settings::kFlagGrados), true);
        } else {
            // The labels of both wheels as large as they can be while they stand clear of one another.
            // Projected natal houses only make sense over transit signs in their zodiac places.
            const Real outerRotation =
                !v.equaliseBySigns && !v.projectInnerHouses ? outer.rotation : inner.rotation;
            // Turned apart, each wheel reads on its own zodiac: the inner one gets a sign ring of its own.
            const Real apart = Norm360(outerRotation - inner.rotation);
            const bool innerZodiac = std::min(apart, 360 - apart) > 0.01L;
            if (Flag(v, settings::kFlagPlanetas)) {
                const RingFractions outerRing =
                    ComputeRingFractions(v, porArea, glyphs_.Size(), kReferenceRadius,
                                         Flag(v, settings::kFlagSignos), Flag(v, settings::kFlagGrados));
                ChooseLabels([&] {
                    rotation_ = outerRotation;
                    detail_ = outerDetail_;
                    const Real outerGlyphs = GlyphRadius(porArea, outerRing, 2, true);
                    const Placement &outerPlaced = BodyPlacement(outer, outerGlyphs, kOuterInnermost);
                    if (!PlacementClear(outerPlaced, BodyColumnsAt(outerGlyphs)))
                        return Crowded::Outer;
                    const Real innerScale = OuterWheelHouseRadius(
                        porArea, outerRing, PlacementInnerEdge(outerGlyphs, outerPlaced.rowsUsed));
                    rotation_ = inner.rotation;
                    detail_ = innerDetail_;
                    const RingFractions innerRing =
                        ComputeRingFractions(v, innerScale, glyphs_.Size(), kReferenceRadius,
                                             innerZodiac && Flag(v, settings::kFlagSignos), false);
                    return BodyLabelsFit(inner, GlyphRadius(innerScale, innerRing, 1, true), kInnermostLabel)
                               ? Crowded::None
                               : Crowded::Inner;
                });
            }
            rotation_ = outerRotation;
            detail_ = outerDetail_;
            const RingFractions outerRing =
                DrawChartRing(porArea, outer, v.outerItem, 2, true, Flag(v, settings::kFlagGrados), true);
            projectedOuter_ = porArea * outerRing.A;
            rotation_ = inner.rotation;
            detail_ = innerDetail_;
            // The aspects between the two charts are drawn inside the inner wheel.
            crossAspects_ = true;
            DrawChartRing(innerScale_, inner, v.innerItem, 1, true, false, innerZodiac);
            crossAspects_ = false;
        }
        return count_;
    }

private:
    static constexpr int kMinimumRadius = 20;
    static constexpr Real kInnermostLabel = 0.1L;       // how near the centre (fraction of R) labels may come
    static constexpr Real kReadableAspectCircle = 0.2L; // the least aspect circle of "1 Rueda" (of R)
    static constexpr Real kSingleInnermost = 0.2L;      // the least aspect circle of a single wheel
    static constexpr Real kOuterInnermost = 0.45L;      // how far in an outer wheel's labels may come
    static constexpr Real kRingInnermost = 0.6L;        // how far in the "1 Rueda" ring's rows may come
    static constexpr Real kWantedShift = 4;             // a glyph moving further asks for another row
    static constexpr Real kLargestShift = 7.5L;         // no glyph stands further from its body

    // What the labels of a chart are placed by: the rotations and body positions of its wheel's items.
    static std::vector<Real> ChartKey(const WheelInput &input) {
        std::vector<Real> key;
        for (const int n : {input.view.innerItem, input.view.outerItem}) {
            const auto &item =
                input.progressions.items[static_cast<std::size_t>(std::clamp<int>(n, 1, chart::kItemCount))];
            key.push_back(item.rotation);
            for (int i = 1; i <= 12; ++i) {
                key.push_back(item.bodies[static_cast<std::size_t>(i)].position);
                key.push_back(item.bodies[static_cast<std::size_t>(i)].wheelPosition);
            }
        }
        return key;
    }
    // The number of an item of the progression set.
    int ItemNumber(const chart::RecDataProg &item) const {
        return static_cast<int>(&item - in_.progressions.items.data());
    }

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
    // The colour of the sign sector at a wheel angle (white when the sectors are not coloured).
    QColor SectorColour(Real theta) const {
        if (!sectorsFilled_)
            return Qt::white;
        const int i = static_cast<int>(Norm360(theta - rotation_) / 30) % 12;
        return in_.colours.wheel[static_cast<std::size_t>(i % 4 + 1)];
    }

    // The wheel font, at the labels' scale or, with `full`, at the picture's.
    TextStyle WheelFont(const QColor &colour, bool fixed, bool full = false) const {
        TextStyle s;
        s.family = QString::fromStdString(view_.fontName);
        s.pointSize = view_.fontSize;
        s.colour = colour;
        s.fixedPitch = fixed;
        s.scale = full ? k_ : k_ * labelScale_;
        return s;
    }
    TextStyle RetroFont(int body) const {
        TextStyle s;
        s.family = QStringLiteral("Small Fonts");
        s.pointSize = 6;
        s.bold = true;
        s.colour = BodyColour(body);
        s.scale = k_ * labelScale_;
        return s;
    }

    qreal FullGlyph() const { return glyphs_.Size() * k_; }
    qreal Px(Real fraction) const { return static_cast<qreal>(geo_.R * fraction); }

    QRectF CentredBox(QPointF p, QSizeF size) const {
        return QRectF(p.x() - size.width() / 2, p.y() - size.height() / 2, size.width(), size.height());
    }
    // The room of one piece of a position text: the widest of degrees, minutes and seconds.
    QSizeF PieceSize(const TextStyle &style) const {
        QSizeF size;
        for (const QString &text : {QStringLiteral("00°"), QStringLiteral("00'"), QStringLiteral("00\"")})
            size = size.expandedTo(canvas_.TextSizeF(text, style));
        return size;
    }
    // The labels of a crowded wheel are drawn smaller: glyphs, texts and their spacing by `scale`.
    void SetLabelScale(qreal scale) {
        labelScale_ = scale;
        glyphSide_ = glyphs_.Size() * k_ * scale;
        pieceSize_ = PieceSize(WheelFont(Qt::black, true));
        retroSize_ = canvas_.TextSizeF(QStringLiteral("R"), RetroFont(1));
        ringPieceSize_ = PieceSize(WheelFont(Qt::black, false));
    }
    // A glyph centred on a point, of the labels' size or of the given side.
    QRectF CentredGlyph(int picture, QPointF p, const QColor &colour, qreal side = 0) {
        if (side <= 0)
            side = glyphSide_;
        const QRectF box = CentredBox(p, QSizeF(side, side));
        canvas_.Glyph(glyphs_, picture, box, colour);
        return box;
    }
    // A text centred on a point, on a patch of the background it stands on, so lines stop short of it.
    QRectF CentredText(const QString &text, QPointF p, const TextStyle &style, const QColor &background) {
        const QSizeF s = canvas_.TextSizeF(text, style);
        const QRectF box = CentredBox(p, s);
        canvas_.FillRectF(box.adjusted(-0.5 * k_, 0, 0.5 * k_, 0), background);
        canvas_.TextF(box.topLeft(), text, style);
        return box;
    }

    static QString PositionText(Real positionInSign, bool seconds) {
        return QString::fromStdString(astronomy::FormatSignPosition(
            0,
            seconds ? astronomy::AngleLayout::DegreesMinutesSeconds : astronomy::AngleLayout::DegreesMinutes,
            positionInSign));
    }

    void Record(int wheel, int body, const QRectF &box, WheelLabelKind kind) {
        boxes_.push_back(box);
        if (in_.labels)
            in_.labels->push_back(WheelLabel{wheel, body, box, kind});
    }

    // The retrograde "R" beside a glyph's lower right corner, in the glyph's colour, its box within the
    // glyph's height, so the room kept for the glyph's row holds it.
    QRectF RetrogradeMark(int body, QPointF glyphCentre) {
        const TextStyle style = RetroFont(body);
        const QSizeF s = canvas_.TextSizeF(QStringLiteral("R"), style);
        const QPointF topLeft(glyphCentre.x() + glyphSide_ / 2,
                              glyphCentre.y() + glyphSide_ / 2 - std::min(s.height(), glyphSide_));
        canvas_.TextF(topLeft, QStringLiteral("R"), style);
        return QRectF(topLeft, s);
    }
    // Whether a box keeps clear of every text and glyph placed so far.
    bool Free(const QRectF &box) const {
        return std::none_of(boxes_.begin(), boxes_.end(), [&](const QRectF &placed) {
            const QRectF overlap = placed.intersected(box);
            return overlap.width() > 0.01 && overlap.height() > 0.01;
        });
    }
    void RecordBody(int wheel, int body, Real longitude, Real drawn, const QRectF &box, int row) {
        if (in_.bodies)
            in_.bodies->push_back(WheelBodyPlace{wheel, body, Norm360(longitude), Norm360(drawn), box, row});
    }
    QSizeF RetroSize() const { return canvas_.TextSizeF(QStringLiteral("R"), RetroFont(1)); }

    // The label column of a body on a row at a wheel angle.
    using ColumnAt = std::function<LabelColumn(int row, Real angle)>;
    // The glyphs of an item placed on up to `rows` rows: each pair of neighbours on a row as far apart as
    // their label columns need where they meet, and never less than the chart's own spreading asks for;
    // a glyph steps onto a further row before it moves far from its body.
    Placement PlaceLabels(const chart::RecDataProg &item, const ColumnAt &columnAt, int rows) {
        const Real minimum = view_.largeImagesWheel ? chart::kLargeGlyphSeparation : chart::kGlyphSeparation;
        const qreal gap = 4 * k_ * labelScale_; // room enough to tell one label from the next
        // The least angle that keeps them clear, to a quarter of a degree: a few whole degrees tried
        // first (most neighbours need little), then the interval halved (labels only move apart as the
        // angle between them grows).
        auto separationAt = [&](int row, Real position) {
            auto rowsAt = [&](Real angle) { return columnAt(row, angle); };
            auto clearAt = [&](Real theta, Real delta) { return NeighboursClear(rowsAt, theta, delta, gap); };
            const Real theta = rotation_ + position;
            Real blocked = minimum - 1, clear = 30;
            for (Real delta = minimum; delta < minimum + 4; delta += 1) {
                if (clearAt(theta, delta)) {
                    clear = delta;
                    break;
                }
                blocked = delta;
            }
            if (clear == 30 && !clearAt(theta, clear))
                return clear;
            blocked = std::max(blocked, minimum - 0.25L);
            while (clear - blocked > 0.25L) {
                const Real middle = std::max(minimum, (blocked + clear) / 2);
                (clearAt(theta, middle) ? clear : blocked) = middle;
            }
            return clear;
        };
        // The layout asks again for the same neighbours as it tries further rows: each answer is kept.
        std::map<std::pair<int, Real>, Real> known;
        auto remembered = [&](int row, Real position) {
            const auto [at, added] = known.try_emplace({row, position}, 0);
            if (added)
                at->second = separationAt(row, position);
            return at->second;
        };
        RowLayoutRequest request;
        for (int i = 1; i <= 12; ++i)
            request.angles[static_cast<std::size_t>(i - 1)] =
                item.bodies[static_cast<std::size_t>(i)].position;
        request.rows = rows;
        request.separation = remembered;
        request.wantedShift = kWantedShift;
        const RowLayout layout = LayoutInRows(request);
        Placement placement;
        for (int i = 1; i <= 12; ++i) {
            const auto k = static_cast<std::size_t>(i);
            placement.placed[k] =
                std::isfinite(layout.angles[k - 1]) ? layout.angles[k - 1] : item.bodies[k].wheelPosition;
            placement.row[k] = layout.rows[k - 1];
        }
        placement.rowsUsed = layout.rowsUsed;
        placement.largestShift = layout.largestShift;
        placed_[&item] = placement.placed;
        return placement;
    }

    // Two label columns at wheel angles a1 and a2 are clear when no row of one comes within `gap` pixels
    // of any row of the other.
    bool ColumnsClear(const LabelColumn &rows1, Real a1, const LabelColumn &rows2, Real a2, qreal gap) const {
        const Direction d1(a1), d2(a2);
        const double c1 = d1.c, s1 = d1.s, c2 = d2.c, s2 = d2.s;
        for (const LabelRow &p : rows1)
            for (const LabelRow &q : rows2) {
                const double pr = static_cast<double>(p.radius), qr = static_cast<double>(q.radius);
                const double dx = std::fabs(geo_.R * (pr * c1 - qr * c2) + p.dx - q.dx);
                const double dy = std::fabs(geo_.R * (qr * s2 - pr * s1) + p.dy - q.dy);
                if (dx < (p.width + q.width) / 2 + gap && dy < (p.height + q.height) / 2 + gap)
                    return false;
            }
        return true;
    }
    // Two neighbours' label columns, delta degrees apart about a wheel angle.
    bool NeighboursClear(const std::function<LabelColumn(Real angle)> &rowsAt, Real theta, Real delta,
                         qreal gap) const {
        const Real a1 = theta - delta / 2, a2 = theta + delta / 2;
        return ColumnsClear(rowsAt(a1), a1, rowsAt(a2), a2, gap);
    }

    // Whether the label columns of a placement stand clear of one another and near their bodies.
    bool PlacementClear(const Placement &placement, const ColumnAt &columnAt) const {
        if (placement.largestShift > kLargestShift)
            return false;
        std::array<Real, 12> angles{};
        std::array<LabelColumn, 12> columns{};
        for (int i = 1; i <= 12; ++i) {
            const auto k = static_cast<std::size_t>(i);
            angles[k - 1] = Norm360(rotation_ + placement.placed[k]);
            columns[k - 1] = columnAt(placement.row[k], angles[k - 1]);
        }
        // Every pair: near the centre the columns of bodies further apart can meet too.
        for (std::size_t i = 0; i < angles.size(); ++i)
            for (std::size_t j = i + 1; j < angles.size(); ++j)
                if (!ColumnsClear(columns[i], angles[i], columns[j], angles[j], 0.5 * k_ * labelScale_))
                    return false;
        return true;
    }

    // The distance (fraction of R) from the centre to the nearest point of a row's box at a wheel angle.
    Real RowInnerReach(const LabelRow &row, Real angle) const {
        const Direction d(angle);
        return RowInnerReach(row, d);
    }
    // The cosine and sine of a wheel angle, in double precision (label layout needs no more).
    struct Direction {
        Direction() = default;
        explicit Direction(Real angle) {
            const double a = static_cast<double>(Norm360(angle)) * (M_PI / 180);
            c = std::cos(a);
            s = std::sin(a);
        }
        double c = 1, s = 0;
    };
    Real RowInnerReach(const LabelRow &row, const Direction &d) const {
        const double x = std::fabs(d.c * static_cast<double>(row.radius) * geo_.R + row.dx);
        const double y = std::fabs(-d.s * static_cast<double>(row.radius) * geo_.R + row.dy);
        const double ex = std::max(0.0, x - row.width / 2), ey = std::max(0.0, y - row.height / 2);
        return std::sqrt(ex * ex + ey * ey) / geo_.R;
    }
    // Where a row's box is centred.
    QPointF RowCentre(const LabelRow &row, Real angle) const {
        return geo_.AtF(row.radius, angle) + QPointF(row.dx, row.dy);
    }

    // One label of a column: its size, the least step (fraction of R) from the label before it, whether
    // it keeps a row of its own, and its box's offset beside its point (pixels).
    struct Piece {
        QSizeF size;
        Real step = 0;
        bool alone = false;
        qreal dx = 0;
    };
    // Lays the pieces of a column inward from `start` at a wheel angle, the first `pieces[0].step` in,
    // each next one its step further in or as much more as keeps its box `gap` pixels clear of the one
    // before. With `paired`, two neighbouring pieces that need not stand alone share a row, one above
    // the other: near the horizontal, where the boxes lie side by side, that shortens the column.
    LabelColumn StackColumn(Real start, Real angle, const std::array<Piece, 6> &pieces, int n,
                            bool paired) const {
        const Direction direction(angle);
        const Real cx = direction.c, cy = -direction.s; // screen axes
        const qreal gap = 2 * k_ * labelScale_;
        LabelColumn rows;
        Real radius = start;
        LabelRow previous;
        for (int i = 0; i < n;) {
            const Piece &p = pieces[static_cast<std::size_t>(i)];
            const bool pair =
                paired && !p.alone && i + 1 < n && !pieces[static_cast<std::size_t>(i + 1)].alone;
            const QSizeF second = pair ? pieces[static_cast<std::size_t>(i + 1)].size : QSizeF(0, 0);
            const qreal between = pair ? k_ * labelScale_ : 0;
            LabelRow box{0, std::max(p.size.width(), second.width()),
                         p.size.height() + second.height() + between, pair ? 0 : p.dx, 0};
            Real step = p.step * geo_.R; // pixels
            if (rows.count > 0) {
                // The least step that takes this box clear of the one before along one of the axes.
                auto clearFrom = [step](Real offset, Real along, Real half) -> Real {
                    if (std::fabs(offset + along * step) >= half)
                        return step;
                    if (std::fabs(along) < 1e-9)
                        return 1e9;
                    return ((along > 0 ? half : -half) - offset) / along;
                };
                // Moving inward by d moves a box by -d along the radial direction.
                const Real byX = clearFrom(box.dx - previous.dx, -cx, (previous.width + box.width) / 2 + gap);
                const Real byY =
                    clearFrom(box.dy - previous.dy, -cy, (previous.height + box.height) / 2 + gap);
                step = std::max(step, std::min(byX, byY));
            }
            radius -= step / geo_.R;
            box.radius = radius;
            if (pair) {
                rows.push_back(
                    {radius, p.size.width(), p.size.height(), 0, -(box.height - p.size.height()) / 2});
                rows.push_back(
                    {radius, second.width(), second.height(), 0, (box.height - second.height()) / 2});
            } else {
                rows.push_back(box);
            }
            previous = box;
            i += pair ? 2 : 1;
        }
        return rows;
    }
    // The shorter of a column laid out in single rows and in pairs (where pairs are allowed).
    LabelColumn ShorterColumn(Real start, Real angle, const std::array<Piece, 6> &pieces, int n,
                              bool pairsAllowed) const {
        const LabelColumn single = StackColumn(start, angle, pieces, n, false);
        if (!pairsAllowed)
            return single;
        const Direction direction(angle);
        const LabelColumn paired = StackColumn(start, angle, pieces, n, true);
        auto reach = [&](const LabelColumn &column) {
            Real inner = start;
            for (const LabelRow &row : column)
                inner = std::min(inner, RowInnerReach(row, direction));
            return inner;
        };
        return reach(paired) > reach(single) ? paired : single;
    }

    // Draws what `draw` draws within `reach` pixels of the centre. On a picture it is drawn once onto a
    // transparent layer kept for its key and then copied, on the same pixel grid, so the copy is the
    // drawing; a vector device (SVG, PDF, printer) gets the shapes themselves.
    void DrawLayer(const std::vector<double> &key, qreal reach, const std::function<void(Canvas &)> &draw) {
        const QPointF centre = geo_.CentreF();
        const QPoint origin(static_cast<int>(std::floor(centre.x() - reach)) - 2,
                            static_cast<int>(std::floor(centre.y() - reach)) - 2);
        const int side = static_cast<int>(std::ceil(2 * reach)) + 5;
        if (!canvas_.IsPicture() || side > kLargestLayer) {
            draw(canvas_);
            return;
        }
        static std::mutex mutex;
        static std::deque<std::pair<std::vector<double>, QImage>> layers; // the latest first
        QImage layer;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            for (const auto &[known, picture] : layers)
                if (known == key) {
                    layer = picture;
                    break;
                }
        }
        if (layer.isNull()) {
            layer = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
            layer.fill(Qt::transparent);
            {
                Canvas target(layer);
                target.Painter().translate(-origin);
                draw(target);
            }
            const std::lock_guard<std::mutex> lock(mutex);
            layers.emplace_front(key, layer);
            if (layers.size() > kLayers)
                layers.pop_back();
        }
        canvas_.Picture(origin, layer);
    }
    static constexpr int kLargestLayer = 1300; // larger pictures are drawn each time: a layer costs memory
    static constexpr std::size_t kLayers = 8;

    RingFractions DrawChartRing(Real r, const chart::RecDataProg &item, int itemNumber, int wheel,
                                bool outerCall, bool degreeRing, bool signRingOn) {
        const RecVistaCarta &v = view_;
        const bool signRing = signRingOn && Flag(v, settings::kFlagSignos);
        // Glyph sizes grow with the picture, so their correction is that of the reference picture.
        const RingFractions f =
            ComputeRingFractions(v, r, glyphs_.Size(), kReferenceRadius, signRing, degreeRing);
        const Real rE = r * f.E, rA = r * f.A, rB = r * f.B;
        const QPointF centre = geo_.CentreF();
        const bool ringsShown = wheel == 1 || (v.wheelMode == settings::kDoubleWheel && wheel == 2);
        const bool degreeDrawn = degreeRing && ringsShown;
        const Real h = f.h;
        // A wheel drawn inside another keeps its labels at their size (the label scale chosen for the
        // picture): its house and aspect circle moves out to just inside them, so it keeps room for its
        // lines.
        Real houseRadius = r * h;
        const Real glyphRadius = GlyphRadius(r, f, wheel, outerCall);
        const bool bodies = Flag(v, settings::kFlagPlanetas);
        Placement placement;
        Real labelsEdge = glyphRadius;
        if (bodies) {
            placement = BodyPlacement(item, glyphRadius, InnermostLabel(wheel, outerCall, r));
            labelsEdge = PlacementInnerEdge(glyphRadius, placement.rowsUsed);
        }
        if (r < 0.999L && bodies)
            houseRadius = std::max(houseRadius, labelsEdge - 0.015L);
        // Further rows of glyphs take room from the house ring, which keeps its numbers' room inside them.
        // Where rows stand, the house ring gives way just inside the columns actually drawn.
        if (bodies && placement.rowsUsed > 1 && r >= 0.999L) {
            Real drawnEdge = glyphRadius;
            for (int i = 1; i <= 12; ++i) {
                const auto k = static_cast<std::size_t>(i);
                const Real angle = Norm360(rotation_ + placement.placed[k]);
                for (const LabelRow &row : BodyColumn(BodyRowRadius(glyphRadius, placement.row[k]), angle))
                    drawnEdge = std::min(drawnEdge, RowInnerReach(row, angle));
            }
            houseRadius = std::min(
                houseRadius, drawnEdge - std::max(LabelsInnerEdge(glyphRadius) - r * h, HouseNumberRoom()));
        }
        // The outer wheel of a double wheel leaves the inner one all the room inside its labels' reach.
        if (wheel == 2 && outerCall) {
            houseRadius = OuterWheelHouseRadius(r, f, labelsEdge);
            innerScale_ = houseRadius;
        }
        const bool houses = Flag(v, settings::kFlagCasas);
        const bool housesDrawn = houses && (wheel == 1 || !outerCall || !v.projectInnerHouses);

        // Areas first: the house ring and the centre, as the shapes they are.
        const bool fillSectors = houses || signRing;
        sectorsFilled_ = fillSectors && Color() && Flag(v, settings::kFlagColorEle) && rA < rE - 0.02L;
        const Real houseEdge = degreeDrawn ? rB : rA; // the first circle outside the house circle
        if (housesDrawn && Color())
            canvas_.RingSector(centre, Px(houseRadius), Px(houseEdge), 0, 360, in_.colours.wheel[6]);
        const bool centreFilled = (!outerCall || crossAspects_) && Color();
        if (centreFilled)
            canvas_.Disc(centre, Px(houses ? houseRadius : houseEdge), in_.colours.wheel[5]);
        labelBackground_ = housesDrawn && Color()    ? in_.colours.wheel[6]
                           : centreFilled && !houses ? in_.colours.wheel[5]
                                                     : QColor(Qt::white);

        // The zodiac ring: its element sectors, outer circle and inner edge, the sign boundaries and the
        // degree ring. It is the same for every chart at this size and rotation.
        const bool sectors = sectorsFilled_;
        auto zodiacRing = [&, sectors](Canvas &target) {
            if (sectors)
                for (int i = 0; i < 12; ++i)
                    target.RingSector(centre, Px(rA), Px(rE), static_cast<qreal>(rotation_ + 30 * i), 30,
                                      in_.colours.wheel[static_cast<std::size_t>(i % 4 + 1)]);
            target.CircleF(centre, Px(rE), Qt::black, line_);
            target.CircleF(centre, Px(rA), Qt::black, line_);
            // Sign boundaries.
            QList<QLineF> lines;
            for (int i = 0; i < 12; ++i)
                lines.append(
                    QLineF(geo_.AtF(rE, rotation_ + 30 * i), geo_.AtF(rB - 0.01L, rotation_ + 30 * i)));
            target.LinesF(lines, WheelColour(9), line_);
            // Degree ring.
            if (degreeDrawn) {
                target.CircleF(centre, Px(rB), Qt::black, line_);
                lines.clear();
                for (int i = 0; i < 12; ++i)
                    for (int j = 1; j <= 3; ++j)
                        lines.append(QLineF(geo_.AtF(rB, rotation_ + 30 * i + 10 * j),
                                            geo_.AtF(rA, rotation_ + 30 * i + 10 * j)));
                for (int n = 0; n < 360; ++n) {
                    const Real outerEnd = rB + (rA - rB) / (n % 5 == 0 ? 1.5L : 2.5L);
                    lines.append(QLineF(geo_.AtF(rB, rotation_ + n), geo_.AtF(outerEnd, rotation_ + n)));
                }
                target.LinesF(lines, WheelColour(9), std::max<qreal>(0.8, 0.8 * k_));
            }
        };
        std::vector<double> ringKey{static_cast<double>(rE),
                                    static_cast<double>(rA),
                                    static_cast<double>(rB),
                                    static_cast<double>(rotation_),
                                    double(sectors),
                                    double(degreeDrawn),
                                    line_,
                                    k_,
                                    double(geo_.R),
                                    double(geo_.origin.x()),
                                    double(geo_.origin.y()),
                                    double(geo_.cx),
                                    double(geo_.cy),
                                    double(WheelColour(9).rgba())};
        for (int i = 1; i <= 4; ++i)
            ringKey.push_back(double(in_.colours.wheel[static_cast<std::size_t>(i)].rgba()));
        DrawLayer(ringKey, Px(rE) + line_, zodiacRing);

        // 5, 6. Houses.
        if (houses) {
            canvas_.CircleF(centre, Px(houseRadius), Qt::black, line_);
            if (wheel == 1)
                DrawHouses(item, r, houseRadius, v.projectInnerHouses ? projectedOuter_ : rA, 1);
            else if (housesDrawn)
                DrawHouses(item, r, houseRadius, rA, 2);
            if (Flag(v, settings::kFlagCasasLin))
                canvas_.CircleF(centre, Px(houseRadius + 0.05L * r), Qt::black, line_);
        }

        // 3. Sign glyphs, each moved within its sign where a cusp text stands at its middle.
        if (signRing && ringsShown) {
            for (int i = 0; i < 12; ++i) {
                const QSizeF side(FullGlyph(), FullGlyph());
                Real at = rotation_ + 15 + 30 * i;
                bool free = false;
                for (const Real beside : {0.0L, 4.0L, -4.0L, 8.0L, -8.0L, 11.0L, -11.0L}) {
                    if (Free(CentredBox(geo_.AtF(rE - 0.04L, rotation_ + 15 + beside + 30 * i), side))) {
                        at = rotation_ + 15 + beside + 30 * i;
                        free = true;
                        break;
                    }
                }
                // A wheel inside another is read by its coloured signs and the labels' sign glyphs: a
                // sign glyph with no room beside the cusp texts is left out there.
                if (!free && r < 0.999L)
                    continue;
                Record(wheel, 0, CentredGlyph(i, geo_.AtF(rE - 0.04L, at), WheelColour(11), FullGlyph()),
                       WheelLabelKind::Sign);
            }
        }

        // 7. Bodies, then the house numbers where the labels leave them room.
        if (bodies)
            DrawBodies(item, wheel, rB, glyphRadius, placement);
        // The outer wheel's numbers wait for the inner wheel's cusp texts, which stand beside them.
        if (!(wheel == 2 && outerCall))
            DrawHouseNumbers();

        // 8, 9. Aspect lines.
        rotationOf_[&item] = rotation_;
        if (!outerCall || crossAspects_)
            DrawAspectLines(item, itemNumber, houseRadius);
        return f;
    }

    // A house number waiting for the body labels: it takes the first place clear of them just outside
    // the house circle, or inside it, and is left out where there is none.
    struct HouseNumber {
        int wheel;
        int n;
        Real circle;
        Real angle;
        TextStyle style;
        QColor background;
    };
    void DrawHouseNumbers() {
        for (const HouseNumber &h : houseNumbers_) {
            const QString text = QString::number(h.n);
            const QSizeF size = canvas_.TextSizeF(text, h.style);
            for (const Real out : {0.025L, 0.045L, 0.065L, -0.03L}) {
                const QPointF at = geo_.AtF(h.circle + out, h.angle);
                if (Free(CentredBox(at, size))) {
                    const QColor centre = Color() ? in_.colours.wheel[5] : QColor(Qt::white);
                    Record(h.wheel, 0, CentredText(text, at, h.style, out > 0 ? h.background : centre),
                           WheelLabelKind::HouseNumber);
                    break;
                }
            }
        }
        houseNumbers_.clear();
    }

    // A cusp's text piece or sign, left out where a closer cusp's pieces already stand (a crowded ring).
    void CuspPiece(int wheel, const QString &text, QPointF at, const TextStyle &style,
                   const QColor &background) {
        if (Free(CentredBox(at, canvas_.TextSizeF(text, style))))
            Record(wheel, 0, CentredText(text, at, style, background), WheelLabelKind::CuspText);
    }
    void CuspSign(int wheel, int sign, QPointF at) {
        if (Free(CentredBox(at, QSizeF(FullGlyph(), FullGlyph()))))
            Record(wheel, 0, CentredGlyph(sign, at, WheelColour(10), FullGlyph()), WheelLabelKind::CuspSign);
    }

    void DrawHouses(const chart::RecDataProg &item, Real r, Real f, Real o, int wheel) {
        const RecVistaCarta &v = view_;
        const QColor ringColour = WheelColour(wheel == 1 ? 7 : 8);
        auto cusp = [&](int n) -> Real {
            return item.cusps[static_cast<std::size_t>((n - 1) % 12 + 1)].cusp;
        };
        QList<QLineF> lines;
        for (int n = 1; n <= 12; ++n) {
            const Real theta = Norm360(rotation_ + cusp(n));
            lines.append(QLineF(geo_.AtF(o, theta), geo_.AtF(f - 0.007L, theta)));
        }
        canvas_.LinesF(lines, ringColour, line_);
        // The house numbers and cusp texts keep their full size in their ring, whatever the labels'.
        const TextStyle numberStyle = WheelFont(ringColour, true, true);
        const TextStyle textStyle = WheelFont(WheelColour(10), true, true);
        const QColor houseArea = Color() ? in_.colours.wheel[6] : QColor(Qt::white);
        const Real q = CuspTextRadius(r, o);
        const bool texto = Flag(v, settings::kFlagCasasTexto), seg = Flag(v, settings::kFlagCasasSeg);
        // The pieces of a position stand D degrees apart, more where a small ring would make them touch.
        // Boxes side by side along the ring at an angle stand clear when they part along either axis.
        const QSizeF piece =
            canvas_.TextSizeF(QStringLiteral("00°"), textStyle).expandedTo(QSizeF(FullGlyph(), FullGlyph())) +
            QSizeF(3 * k_, 2 * k_);
        auto gapAt = [&](Real theta) {
            const Real sx = std::fabs(std::sin(theta * kDeg)), cy = std::fabs(std::cos(theta * kDeg));
            const Real chord =
                std::min(sx > 1e-6L ? piece.width() / sx : 1e9L, cy > 1e-6L ? piece.height() / cy : 1e9L);
            return std::max(kAngleGap,
                            2 * std::asin(std::min<Real>(1, chord / (2 * std::max<Real>(1, Px(q))))) / kDeg);
        };
        Real widestGap = kAngleGap;
        for (int a = 0; a < 90; a += 3)
            widestGap = std::max(widestGap, gapAt(a));
        // Each cusp's pieces stand from `low` to `high` degrees about its line (degrees before the cusp's
        // line on the left half); close cusps, as at polar latitudes, have their groups moved apart along
        // the ring so that they never interleave.
        const bool signo = Flag(v, settings::kFlagCasasSigno);
        const int after = texto ? (seg || signo ? 1 : 0) + (seg && signo ? 1 : 0) : 0; // gaps after the line
        const int before = texto ? 1 : 0;                                              // and before it
        std::array<Real, 13> textAngle{};
        {
            RowLayoutRequest request;
            auto middle = [&](int n) {
                const Real theta = Norm360(rotation_ + cusp(n));
                return theta + (theta >= 180 ? 1 : -1) * (after - before) * gapAt(theta) / 2;
            };
            for (int n = 1; n <= 12; ++n)
                request.angles[static_cast<std::size_t>(n - 1)] = middle(n);
            const Real width = (before + after + 1) * widestGap + 1;
            request.separation = [width](int, Real) { return width; };
            request.wantedShift = 360;
            const RowLayout spread = LayoutInRows(request);
            for (int n = 1; n <= 12; ++n) {
                const Real theta = Norm360(rotation_ + cusp(n));
                textAngle[static_cast<std::size_t>(n)] =
                    theta + (spread.angles[static_cast<std::size_t>(n - 1)] - Norm360(middle(n)));
            }
        }
        for (int n = 1; n <= 12; ++n) {
            const Real line = Norm360(rotation_ + cusp(n));
            Real d = std::fabs(cusp(n + 1) - cusp(n));
            if (d > 180)
                d = 360 - d;
            d /= 2;
            houseNumbers_.push_back({wheel, n, f, line + d, numberStyle, houseArea});
            const auto &entry = item.cusps[static_cast<std::size_t>(n)];
            // The side the pieces read from is the line's, wherever they were moved.
            const bool left = line >= 180;
            const Real theta = textAngle[static_cast<std::size_t>(n)];
            // Wide gaps (a small ring) turn the pieces' direction too: the gap holds where they stand.
            Real gapAngle = gapAt(theta);
            for (int pass = 0; pass < 2; ++pass)
                gapAngle = std::max({gapAngle, gapAt(theta + gapAngle), gapAt(theta - gapAngle),
                                     gapAt(theta + gapAngle / 2), gapAt(theta - gapAngle / 2)});
            if (texto) {
                const QString text = PositionText(cusp(n) - (entry.sign - 1) * 30.0L, seg);
                const Real degreesAt = left ? theta - gapAngle : theta + gapAngle;
                const Real secondsAt = left ? theta + gapAngle : theta - gapAngle;
                CuspPiece(wheel, text.mid(0, 3), geo_.AtF(q, degreesAt), textStyle, SectorColour(degreesAt));
                CuspPiece(wheel, text.mid(4, 3), geo_.AtF(q, theta), textStyle, SectorColour(theta));
                if (seg)
                    CuspPiece(wheel, text.mid(8, 3), geo_.AtF(q, secondsAt), textStyle,
                              SectorColour(secondsAt));
            }
            if (signo) {
                Real offset = 0;
                if (texto)
                    offset = (left ? 1 : -1) * gapAngle * (seg ? 2 : 1);
                CuspSign(wheel, entry.sign - 1, geo_.AtF(q, theta + offset));
            }
        }
    }

    // The radius of the body glyphs of a wheel of scale r with these ring fractions.
    Real GlyphRadius(Real r, const RingFractions &f, int wheel, bool outerCall) const {
        const Real g1 = static_cast<Real>(glyphs_.Size() - 11) / kReferenceRadius;
        Real glyphRadius = r * (f.B - 0.04L - g1);
        // Two wheels share the picture: the glyphs stand just inside the connectors' ring.
        if (view_.wheelMode == settings::kDoubleWheel)
            glyphRadius = r * f.B - 0.015L - (glyphSide_ / 2 + 2 * k_) / geo_.R;
        // The glyphs of a wheel inside another stand clear of its cusp texts.
        if (wheel == 1 && outerCall && !view_.projectInnerHouses)
            glyphRadius = std::min(glyphRadius, CuspTextRadius(r, r * f.A) - CuspClearance());
        return glyphRadius;
    }

    // The house circle of the outer wheel of a double wheel, which is the inner wheel's scale: all the
    // room inside the outer labels' reach.
    Real OuterWheelHouseRadius(Real r, const RingFractions &f, Real edge) const {
        Real houseRadius = r * f.h;
        if (!Flag(view_, settings::kFlagPlanetas))
            return houseRadius;
        houseRadius = std::max(houseRadius, edge - 0.01L);
        // The inner wheel's cusp texts stand just inside its outer circle, their corners reaching out a
        // little: they too stay clear of these labels.
        const RingFractions innerRing =
            ComputeRingFractions(view_, 1, glyphs_.Size(), kReferenceRadius, false, false);
        const qreal reach = std::hypot(std::max(cuspPieceSize_.width(), FullGlyph()) / 2,
                                       std::max(cuspPieceSize_.height(), FullGlyph()) / 2);
        return std::min(houseRadius, (edge - (reach + 2 * k_) / geo_.R) / CuspTextRadius(1, innerRing.A));
    }

    // Which wheel's labels found no room: none, the outer wheel's (or the "1 Rueda" ring's), the inner's.
    enum class Crowded { None, Outer, Inner };
    // The labels as large and as full as they can be while they stand clear and near their bodies: the
    // scales from the largest, and where none serves, the crowded wheel gives up its lesser items
    // (seconds, then position texts, then sign glyphs) and the scales are tried again. With nothing
    // left to give up the smallest readable scale stands.
    void ChooseLabels(const std::function<Crowded()> &fits) {
        if (chart_.chosen) {
            SetLabelScale(chart_.scale);
            innerDetail_ = chart_.innerDetail;
            outerDetail_ = chart_.outerDetail;
            return;
        }
        SearchLabels(fits);
        chart_.chosen = true;
        chart_.scale = labelScale_;
        chart_.innerDetail = innerDetail_;
        chart_.outerDetail = outerDetail_;
    }
    void SearchLabels(const std::function<Crowded()> &fits) {
        for (;;) {
            Crowded crowded = Crowded::None;
            for (const qreal scale : kLabelScales) {
                if (!ScaleReadable(scale))
                    break;
                SetLabelScale(scale);
                crowded = fits();
                if (crowded == Crowded::None)
                    return;
            }
            int &detail = crowded == Crowded::Outer ? outerDetail_ : innerDetail_;
            const int next = NextDetail(detail);
            if (next == detail)
                return;
            detail = next;
        }
    }
    // The levels of a body label's detail: 0 all the view asks for, 1 without seconds, 2 without the
    // position text, 3 the glyph alone.
    static constexpr int kLeastDetail = 3;
    // The next level that leaves out something the view shows; the same level when nothing is left.
    int NextDetail(int detail) const {
        const bool texto = Flag(view_, settings::kFlagPlanetasTexto);
        const bool leavesOut[] = {false, texto && Flag(view_, settings::kFlagPlanetasSeg), texto,
                                  Flag(view_, settings::kFlagPlanetasSigno)};
        for (int next = detail + 1; next <= kLeastDetail; ++next)
            if (leavesOut[next])
                return next;
        return detail;
    }
    bool ShowTexts() const { return Flag(view_, settings::kFlagPlanetasTexto) && detail_ < 2; }
    bool ShowSeconds() const { return ShowTexts() && Flag(view_, settings::kFlagPlanetasSeg) && detail_ < 1; }
    bool ShowSign() const { return Flag(view_, settings::kFlagPlanetasSigno) && detail_ < 3; }

    // The scales tried for the labels of a crowded wheel, largest first.
    static constexpr std::array<qreal, 10> kLabelScales{1,    0.92, 0.85, 0.78, 0.72,
                                                        0.66, 0.6,  0.54, 0.48, 0.43};
    // Whether the labels may be drawn at a scale: below 0.6 only while a glyph keeps 8 pixels.
    bool ScaleReadable(qreal scale) const { return scale >= 0.6 || glyphs_.Size() * k_ * scale >= 8; }

    // Whether an item's labels with glyphs first at radius b can be placed clear of one another and
    // near their bodies, reaching no further in than `inner`.
    bool BodyLabelsFit(const chart::RecDataProg &item, Real b, Real inner) {
        if (LabelsInnerEdge(b) < inner)
            return false;
        return PlacementClear(BodyPlacement(item, b, inner), BodyColumnsAt(b));
    }
    // The placement of an item's glyphs first at radius b on the rows that reach no further in than
    // `inner`, kept for the drawing while nothing changes.
    const Placement &BodyPlacement(const chart::RecDataProg &item, Real b, Real inner) {
        Fitted &known = fitted_[ItemNumber(item)];
        if (!known.valid || known.b != b || known.scale != labelScale_ || known.rotation != rotation_ ||
            known.inner != inner || known.detail != detail_) {
            known = {true,
                     b,
                     labelScale_,
                     rotation_,
                     inner,
                     detail_,
                     PlaceLabels(item, BodyColumnsAt(b), BodyRowsWithin(b, inner))};
        }
        placed_[&item] = known.placement.placed;
        return known.placement;
    }
    ColumnAt BodyColumnsAt(Real b) const {
        // Each row's radius worked out once: placing asks for columns thousands of times.
        std::array<Real, 4> radii;
        radii.fill(std::numeric_limits<Real>::quiet_NaN());
        return [this, b, radii](int row, Real angle) mutable {
            Real &radius = radii[static_cast<std::size_t>(std::clamp(row, 0, 3))];
            if (std::isnan(radius))
                radius = BodyRowRadius(b, row);
            return BodyColumn(radius, angle);
        };
    }
    // The glyph radius of row `row` of body columns whose first row stands at b: each row just inside the
    // reach of the one before.
    Real BodyRowRadius(Real b, int row) const {
        Real radius = b;
        for (int k = 0; k < row; ++k) {
            radius = LabelsInnerEdge(radius) - RowGap();
            if (std::find(compactRadii_.begin(), compactRadii_.end(), radius) == compactRadii_.end())
                compactRadii_.push_back(radius);
        }
        return radius;
    }
    // From the inner reach of a row to the next row's glyph centre: half the glyph with its "R", and a gap.
    Real RowGap() const {
        const qreal retro = view_.retrogradeMark ? retroSize_.width() : 0;
        return (std::hypot(glyphSide_ / 2 + retro, glyphSide_ / 2) + 3 * k_ * labelScale_) / geo_.R;
    }
    // How far in the labels of `rowsUsed` rows with the first at b reach.
    Real PlacementInnerEdge(Real b, int rowsUsed) const {
        return LabelsInnerEdge(BodyRowRadius(b, rowsUsed - 1));
    }
    // How many rows (up to four) reach no further in than `inner`.
    int BodyRowsWithin(Real b, Real inner) const {
        int rows = 1;
        while (rows < 4 && LabelsInnerEdge(BodyRowRadius(b, rows)) >= inner)
            ++rows;
        return rows;
    }
    // The room between the house circle and the labels for the house numbers.
    Real HouseNumberRoom() const { return 0.025L + (cuspPieceSize_.height() / 2 + 2 * k_) / geo_.R; }
    // How near the centre the body labels of a wheel may come.
    Real InnermostLabel(int wheel, bool outerCall, Real r) const {
        if (wheel == 2)
            return kOuterInnermost;
        if (outerCall)
            return kInnermostLabel;
        return r < 0.999L ? kReadableAspectCircle + 0.015L : kSingleInnermost;
    }

    // The radius of the cusp texts of a wheel of scale r whose house lines end at o.
    Real CuspTextRadius(Real r, Real o) const { return o + r * (view_.fontSize / 200.0L); }
    // How far (fraction of R) a body glyph's centre keeps from the cusp texts' radius so that the glyph,
    // with its "R", and a cusp text or sign stay apart whatever the angle between them.
    Real CuspClearance() const {
        const qreal glyphWidth = glyphSide_ + 2 * (view_.retrogradeMark ? retroSize_.width() : 0);
        const qreal across = (glyphWidth + std::max(cuspPieceSize_.width(), FullGlyph())) / 2;
        const qreal down = (glyphSide_ + std::max(cuspPieceSize_.height(), FullGlyph())) / 2;
        return (std::hypot(across, down) + 2 * k_) / geo_.R;
    }

    // A body's label column at a wheel angle, its glyph at radius b: the glyph (with room for the "R"
    // on both sides), the texts, the sign, each row far enough inward from the one before that their
    // boxes stay apart at this angle.
    LabelColumn BodyColumn(Real b, Real angle) const {
        // Two wheels share the picture, or a further row of a crowded wheel: the rows stand as close as
        // their real sizes allow.
        const bool compact = view_.wheelMode == settings::kDoubleWheel ||
                             std::find(compactRadii_.begin(), compactRadii_.end(), b) != compactRadii_.end();
        return bodyColumns_.Get(b, labelScale_, detail_ | (compact ? kCompactKey : 0),
                                ColumnCache::Index(angle),
                                [this, b, compact](Real at) { return MakeBodyColumn(b, at, compact); });
    }
    static constexpr int kCompactKey = 1 << 8; // a compact column's key beside its detail
    LabelColumn MakeBodyColumn(Real b, Real angle, bool compact) const {
        const RecVistaCarta &v = view_;
        const Real c = v.fontSize / 150.0L;
        const bool texto = ShowTexts(), seg = ShowSeconds();
        const int pieces = texto ? (seg ? 3 : 2) : 0;
        std::array<Piece, 6> list{};
        int n = 0;
        const qreal retro = v.retrogradeMark ? retroSize_.width() : 0;
        list[static_cast<std::size_t>(n++)] = {QSizeF(glyphSide_ + retro, glyphSide_), 0, true, retro / 2};
        for (int j = 0; j < pieces; ++j)
            list[static_cast<std::size_t>(n++)] = {pieceSize_, compact ? 0 : j == 0 ? 0.06L : c, false, 0};
        if (ShowSign())
            list[static_cast<std::size_t>(n++)] = {QSizeF(glyphSide_, glyphSide_),
                                                   compact       ? 0
                                                   : pieces == 0 ? 0.06L
                                                                 : c,
                                                   false, 0};
        return ShorterColumn(b, angle, list, n, compact);
    }

    // How far in (fraction of R) the label columns of glyphs at radius b reach, at their longest.
    Real LabelsInnerEdge(Real b) const {
        for (const InnerEdge &known : innerEdges_)
            if (known.b == b && known.scale == labelScale_ && known.detail == detail_)
                return known.edge;
        Real inner = b;
        for (int angle = 0; angle < 360; angle += 5) {
            const LabelColumn column = BodyColumn(b, angle);
            const Direction &direction = EveryFiveDegrees()[static_cast<std::size_t>(angle / 5)];
            for (const LabelRow &row : column)
                inner = std::min(inner, RowInnerReach(row, direction));
        }
        innerEdges_.push_back({b, labelScale_, detail_, inner});
        return inner;
    }
    static const std::array<Direction, 72> &EveryFiveDegrees() {
        static const std::array<Direction, 72> table = [] {
            std::array<Direction, 72> t{};
            for (int i = 0; i < 72; ++i)
                t[static_cast<std::size_t>(i)] = Direction(5 * i);
            return t;
        }();
        return table;
    }

    void DrawBodies(const chart::RecDataProg &item, int wheel, Real a, Real b, const Placement &placement) {
        const RecVistaCarta &v = view_;
        const TextStyle textStyle = WheelFont(WheelColour(10), true);
        const bool texto = ShowTexts(), seg = ShowSeconds();
        const bool signo = ShowSign();
        const int pieces = texto ? (seg ? 3 : 2) : 0;
        const std::array<Real, 13> &placed = placement.placed;

        QList<QLineF> connectors;
        for (int i = 1; i <= 12; ++i) {
            const auto &body = item.bodies[static_cast<std::size_t>(i)];
            connectors.append(
                QLineF(geo_.AtF(a, Norm360(rotation_ + body.position)),
                       geo_.AtF(a - 0.015L, Norm360(rotation_ + placed[static_cast<std::size_t>(i)]))));
        }
        canvas_.LinesF(connectors, Qt::black, line_);
        for (int i = 1; i <= 12; ++i) {
            const auto &body = item.bodies[static_cast<std::size_t>(i)];
            const Real angle = rotation_ + placed[static_cast<std::size_t>(i)];
            const Real rowRadius = BodyRowRadius(b, placement.row[static_cast<std::size_t>(i)]);
            auto columnAt = [this, rowRadius](Real at) { return BodyColumn(rowRadius, at); };
            const QPointF glyphPoint = geo_.AtF(rowRadius, angle);
            const QRectF glyphBox = CentredBox(glyphPoint, QSizeF(glyphSide_, glyphSide_));
            canvas_.FillRectF(glyphBox, labelBackground_);
            canvas_.Glyph(glyphs_, kBodyPictureBase + i, glyphBox, BodyColour(i));
            Record(wheel, i, glyphBox, WheelLabelKind::Body);
            RecordBody(wheel, i, body.position, placed[static_cast<std::size_t>(i)], glyphBox,
                       placement.row[static_cast<std::size_t>(i)]);
            if (v.retrogradeMark && body.retrograde)
                Record(wheel, i, RetrogradeMark(i, glyphPoint), WheelLabelKind::Retrograde);
            const LabelColumn column = columnAt(angle);
            if (texto) {
                const QString text = PositionText(body.position - (body.sign - 1) * 30.0L, seg);
                for (int j = 0; j < pieces; ++j)
                    Record(wheel, i,
                           CentredText(text.mid(4 * j, 3), RowCentre(column[j + 1], angle), textStyle,
                                       labelBackground_),
                           WheelLabelKind::Position);
            }
            if (signo) {
                const QRectF box =
                    CentredBox(RowCentre(column.back(), angle), QSizeF(glyphSide_, glyphSide_));
                canvas_.FillRectF(box, labelBackground_);
                canvas_.Glyph(glyphs_, body.sign - 1, box, BodyColour(i));
                Record(wheel, i, box, WheelLabelKind::BodySign);
            }
        }
    }

    // The "1 Rueda" ring's label column at a wheel angle, from the outside in: the sign, the texts
    // (seconds, minutes, degrees) and the body glyph, each row a step of the ring's spacing inward from
    // the one before, or further where their boxes would touch at this angle.
    LabelColumn RingColumn(Real r, Real angle) const {
        return ringColumns_.Get(r, labelScale_, detail_, ColumnCache::Index(angle),
                                [this, r](Real at) { return MakeRingColumn(r, at); });
    }
    LabelColumn MakeRingColumn(Real r, Real angle) const {
        const RecVistaCarta &v = view_;
        const Real c = v.fontSize / 150.0L;
        const bool texto = ShowTexts(), seg = ShowSeconds();
        std::array<Piece, 6> list{};
        int n = 0;
        Real step = 0.75L * c + c; // the first row's distance in from r when it is not the sign
        // Texts left out for room: the glyph stands just inside the ring, so further rows fit.
        if (detail_ >= 2 && Flag(v, settings::kFlagPlanetasTexto))
            step = (glyphSide_ / 2 + 2 * k_ * labelScale_) / geo_.R;
        if (ShowSign()) {
            list[static_cast<std::size_t>(n++)] = {QSizeF(glyphSide_, glyphSide_), 0.75L * c, false, 0};
            step = 1.25L * c;
        }
        if (texto)
            for (int j = 0; j < (seg ? 3 : 2); ++j) {
                list[static_cast<std::size_t>(n++)] = {ringPieceSize_, step, false, 0};
                step = c;
            }
        const qreal retro = v.retrogradeMark ? retroSize_.width() : 0;
        list[static_cast<std::size_t>(n++)] = {QSizeF(glyphSide_ + retro, glyphSide_), step, true, retro / 2};
        LabelColumn column = ShorterColumn(r, angle, list, n, true);
        // Rows paired one above the other stick out near the top and bottom: the column moves in until
        // every box stays inside the ring's circle (and so inside the picture).
        const Direction d(angle);
        Real outer = 0;
        for (const LabelRow &row : column) {
            const double x =
                std::fabs(d.c * static_cast<double>(row.radius) * geo_.R + row.dx) + row.width / 2;
            const double y =
                std::fabs(-d.s * static_cast<double>(row.radius) * geo_.R + row.dy) + row.height / 2;
            outer = std::max<Real>(outer, std::sqrt(x * x + y * y) / geo_.R);
        }
        if (outer > r)
            for (LabelRow &row : column.rows)
                row.radius -= outer - r;
        return column;
    }
    // Where row `row` of the ring starts: just inside the glyphs of the row before.
    Real RingRowStart(Real r, int row) const {
        Real start = r;
        for (int k = 0; k < row; ++k)
            start = RingInnerEdge(start);
        return start;
    }
    ColumnAt RingColumnsAt(Real r) const {
        return [this, r](int row, Real angle) { return RingColumn(RingRowStart(r, row), angle); };
    }
    // The ring's placement on the rows that leave the inner wheel room enough, kept while nothing changes.
    const Placement &RingPlacement(Real r, const chart::RecDataProg &item) {
        if (!ringPlaced_.valid || ringPlaced_.b != r || ringPlaced_.scale != labelScale_ ||
            ringPlaced_.rotation != rotation_ || ringPlaced_.detail != detail_) {
            int rows = 1;
            while (rows < 4 && RingInnerEdge(RingRowStart(r, rows)) >= kRingInnermost)
                ++rows;
            ringPlaced_ = {
                true, r, labelScale_, rotation_, 0, detail_, PlaceLabels(item, RingColumnsAt(r), rows)};
        }
        placed_[&item] = ringPlaced_.placement.placed;
        return ringPlaced_.placement;
    }
    // How far (fraction of R) a row's box reaches from its centre along the radius at a wheel angle.
    static Real RadialHalf(const LabelRow &row, Real angle, int R) {
        const Real ux = std::fabs(std::cos(angle * kDeg)), uy = std::fabs(std::sin(angle * kDeg));
        return std::min(ux > 1e-9 ? row.width / 2 / ux : 1e9, uy > 1e-9 ? row.height / 2 / uy : 1e9) / R;
    }
    // The scale of the wheel inside the "1 Rueda" ring of scale r: just inside the ring's glyphs at
    // their deepest, with room for the connectors.
    Real RingInnerEdge(Real r) const {
        const Real c = view_.fontSize / 150.0L;
        Real inner = r;
        for (int angle = 0; angle < 360; angle += 5)
            inner = std::min(inner, RowInnerReach(RingColumn(r, angle).back(), angle));
        return inner - 0.3L * c;
    }

    Real DrawOuterBodies(Real r, const chart::RecDataProg &item) {
        const RecVistaCarta &v = view_;
        const TextStyle textStyle = WheelFont(WheelColour(10), false);
        const bool texto = ShowTexts(), seg = ShowSeconds();
        const bool signo = ShowSign();
        const Placement &placement = RingPlacement(r, item);
        const std::array<Real, 13> placed = placement.placed;
        const Real radius = RingInnerEdge(RingRowStart(r, placement.rowsUsed - 1));
        const QColor background = Qt::white;
        std::vector<QRectF> ringBoxes; // where the ring's labels stand, for the cusp numbers to avoid
        for (int i = 1; i <= 12; ++i) {
            const auto &body = item.bodies[static_cast<std::size_t>(i)];
            const Real phi = Norm360(rotation_ + placed[static_cast<std::size_t>(i)]);
            const LabelColumn column =
                RingColumn(RingRowStart(r, placement.row[static_cast<std::size_t>(i)]), phi);
            auto keep = [&](const QRectF &box, WheelLabelKind kind) {
                ringBoxes.push_back(box);
                Record(2, i, box, kind);
            };
            int row = 0;
            if (signo)
                keep(CentredGlyph(body.sign - 1, RowCentre(column[row++], phi), BodyColour(i)),
                     WheelLabelKind::BodySign);
            if (texto) {
                const QString text = PositionText(body.position - (body.sign - 1) * 30.0L, seg);
                for (int j = seg ? 2 : 1; j >= 0; --j)
                    keep(
                        CentredText(text.mid(4 * j, 3), RowCentre(column[row++], phi), textStyle, background),
                        WheelLabelKind::Position);
            }
            const LabelRow &glyphRow = column[row];
            const QPointF glyphPoint = geo_.AtF(glyphRow.radius, phi);
            const QRectF glyphBox = CentredGlyph(kBodyPictureBase + i, glyphPoint, BodyColour(i));
            keep(glyphBox, WheelLabelKind::Body);
            RecordBody(2, i, body.position, placed[static_cast<std::size_t>(i)], glyphBox,
                       placement.row[static_cast<std::size_t>(i)]);
            if (v.retrogradeMark && body.retrograde)
                keep(RetrogradeMark(i, glyphPoint), WheelLabelKind::Retrograde);
            const QPointF end = geo_.AtF(radius, Norm360(rotation_ + body.position));
            LabelRow around = glyphRow; // the glyph with its "R" on either side
            around.width += 2 * std::fabs(around.dx);
            const Real start = glyphRow.radius - RadialHalf(around, phi, geo_.R) - 2 * k_ / geo_.R;
            canvas_.LineF(geo_.AtF(start, phi), end, Qt::black, line_);
            canvas_.Disc(end, 1.5 * k_, Qt::black);
        }
        if (v.noProjectedHouses) {
            const QColor colour = WheelColour(8);
            const TextStyle style = WheelFont(colour, false, true);
            for (int n = 1; n <= 12; ++n) {
                const Real theta = Norm360(rotation_ + item.cusps[static_cast<std::size_t>(n)].cusp);
                canvas_.LineF(geo_.AtF(radius, theta), geo_.AtF(radius + 0.1L, theta), colour, line_);
                // Without a patch: the number stands among the ring's labels and must not blank them; it
                // moves along its line, in or out, to the nearest place clear of them.
                const QString number = QString::number(n);
                const QSizeF size = canvas_.TextSizeF(number, style);
                auto clearOfLabels = [&](const QRectF &b) { return Free(b); };
                QRectF box = CentredBox(geo_.AtF(radius + 0.12L, theta), size);
                // Along the line first, then a few degrees beside it where a column covers the line.
                for (const Real beside : {0.0L, 3.0L, -3.0L, 6.0L, -6.0L}) {
                    for (int step = 0; step <= 80 && !clearOfLabels(box); ++step) {
                        const Real at = radius + 0.12L + 0.005L * ((step + 1) / 2) * (step % 2 ? 1 : -1);
                        const QRectF moved = CentredBox(geo_.AtF(at, theta + beside), size);
                        if (at > radius + 0.03L && at < r && clearOfLabels(moved))
                            box = moved;
                    }
                }
                if (!clearOfLabels(box))
                    continue; // no room anywhere near its line: left out rather than drawn over a label
                Record(2, 0, box, WheelLabelKind::CuspNumber);
                canvas_.TextF(box.topLeft(), number, style);
            }
            DrawCuspLegend(item, style, colour);
        }
        return radius;
    }

    // The outer item's cusps in the top-left corner: number, sign and, for the first six, the position.
    // In the first corner of the picture (top left, top right, bottom left, bottom right) where it
    // stands clear of the ring's labels.
    void DrawCuspLegend(const chart::RecDataProg &item, const TextStyle &style, const QColor &colour) {
        const RecVistaCarta &v = view_;
        const qreal lineHeight = canvas_.TextSizeF(QStringLiteral("30º"), style).height() + 2 * k_;
        const qreal numberWidth = canvas_.TextSizeF(QStringLiteral("30"), style).width();
        struct Line {
            QPointF at; // the number's top-left corner, from the legend's corner
            qreal end;  // where the line ends, from the legend's corner
            QString text;
        };
        std::array<Line, 12> lines{};
        qreal x = 0, y = 0, columnEnd = 0;
        for (int n = 1; n <= 12; ++n) {
            if (n == 7) {
                x = columnEnd + 5 * k_;
                y = 0;
            }
            const auto &entry = item.cusps[static_cast<std::size_t>(n)];
            Line &line = lines[static_cast<std::size_t>(n - 1)];
            line.at = QPointF(x, y);
            line.end = x + numberWidth + glyphSide_;
            if (n <= 6 && Flag(v, settings::kFlagCasasTexto)) {
                line.text =
                    QStringLiteral("[") +
                    PositionText(entry.cusp - (entry.sign - 1) * 30.0L, Flag(v, settings::kFlagCasasSeg)) +
                    QStringLiteral("]");
                line.end += 2 * k_ + canvas_.TextSizeF(line.text, style).width();
            }
            columnEnd = std::max(columnEnd, line.end);
            y += lineHeight;
        }
        const QSizeF size(columnEnd, 6 * lineHeight - 2 * k_);
        const QPointF margin(2 * k_, 2 * k_);
        const QPointF far(2 * (geo_.cx + 1.5) - size.width() - 2 * k_,
                          2 * (geo_.cy + 1.5) - size.height() - 2 * k_);
        QPointF corner = geo_.origin + margin;
        for (const QPointF &c :
             {QPointF(margin), QPointF(far.x(), margin.y()), QPointF(margin.x(), far.y()), far}) {
            bool clear = true;
            for (const Line &line : lines)
                clear = clear && Free(QRectF(geo_.origin + c + line.at,
                                             QSizeF(line.end - line.at.x(), lineHeight - 2 * k_)));
            if (clear) {
                corner = geo_.origin + c;
                break;
            }
        }
        for (int n = 1; n <= 12; ++n) {
            const auto &entry = item.cusps[static_cast<std::size_t>(n)];
            const Line &line = lines[static_cast<std::size_t>(n - 1)];
            const QPointF at = corner + line.at;
            canvas_.TextF(at, QString::number(n), style);
            const qreal top = at.y() + (lineHeight - 2 * k_ - glyphSide_) / 2;
            canvas_.Glyph(glyphs_, entry.sign - 1,
                          QRectF(QPointF(at.x() + numberWidth, top), QSizeF(glyphSide_, glyphSide_)), colour);
            if (!line.text.isEmpty())
                canvas_.TextF(QPointF(at.x() + numberWidth + glyphSide_ + 2 * k_, at.y()), line.text, style);
            Record(2, 0, QRectF(at, QSizeF(line.end - line.at.x(), lineHeight - 2 * k_)),
                   WheelLabelKind::Legend);
        }
    }

    // Where a member of an aspect lies: a body where its glyph was drawn, a cusp at the cusp.
    QPointF MemberPoint(const chart::RecDataProg &item, char kind, int number, Real f) const {
        const auto turned = rotationOf_.find(&item);
        const Real rotation = turned != rotationOf_.end() ? turned->second : rotation_;
        const std::size_t n = static_cast<std::size_t>(std::clamp(number, 1, 12));
        Real position = item.bodies[n].wheelPosition;
        if (kind == 'c')
            position = static_cast<Real>(item.cusps[n].cusp);
        else if (const auto it = placed_.find(&item); it != placed_.end())
            position = it->second[n];
        return geo_.AtF(f, Norm360(rotation + position));
    }

    void DrawAspectLines(const chart::RecDataProg &item, int itemNumber, Real f) {
        if (in_.aspects == nullptr || !Flag(view_, settings::kFlagPlanetas))
            return;
        const analysis::AspectLists &lists = *in_.aspects;
        const analysis::AspectList *bodies, *bodyCusp, *cusps;
        // In "1 Rueda" and between the two wheels of a double wheel the first member of a pair aspect
        // belongs to the outer item.
        const chart::RecDataProg *firstItem = &item;
        if (crossAspects_) {
            bodies = &lists.pairBodies;
            bodyCusp = &lists.pairBodyCusp;
            cusps = &lists.pairCusps;
            firstItem = &Item(view_.outerItem);
            itemNumber = 0; // the natal chart's dispositor filter is not for aspects between two charts
        } else if (itemNumber == chart::kNatalEcliptic) {
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
        std::vector<std::pair<QPointF, int>> glyphsAt;
        DrawAspectList(*bodies, *firstItem, item, itemNumber, f, glyphsAt);
        if (Flag(view_, settings::kFlagCasas)) {
            DrawAspectList(*bodyCusp, *firstItem, item, itemNumber, f, glyphsAt);
            DrawAspectList(*cusps, *firstItem, item, itemNumber, f, glyphsAt);
        }
        // The glyphs over all the lines, each on a small patch of the centre so crossings stay clear.
        const QColor patch = Color() ? in_.colours.wheel[5] : QColor(Qt::white);
        // A glyph whose patch would cover another label or glyph is left out: the line still shows.
        for (const auto &[mid, kind] : glyphsAt) {
            const qreal reach = FullGlyph() * 0.62;
            if (!Free(CentredBox(mid, QSizeF(2 * reach, 2 * reach))))
                continue;
            canvas_.Disc(mid, reach, patch);
            Record(1, 0, CentredGlyph(kAspectPictureBase + kind, mid, Qt::black, FullGlyph()),
                   WheelLabelKind::Aspect);
        }
    }

    void DrawAspectList(const analysis::AspectList &list, const chart::RecDataProg &firstItem,
                        const chart::RecDataProg &item, int itemNumber, Real f,
                        std::vector<std::pair<QPointF, int>> &glyphsAt) {
        for (const analysis::TAspReg &record : list) {
            if (!analysis::AspectVisible(record, view_, itemNumber))
                continue;
            ++count_;
            const analysis::PairMembers m = analysis::ReadPairKey(record.key);
            const QPointF p1 = MemberPoint(firstItem, m.kind1, m.number1, f);
            const QPointF p2 = MemberPoint(item, m.kind2, m.number2, f);
            canvas_.LineF(p1, p2, Paint(AspectKindColour(record.kind)), line_);
            if (view_.aspectGlyphs)
                glyphsAt.emplace_back((p1 + p2) / 2, record.kind);
        }
    }

    Canvas &canvas_;
    const GlyphSet &glyphs_;
    const WheelInput &in_;
    const RecVistaCarta &view_;
    WheelGeometry geo_;
    qreal k_;                      // the picture's scale
    qreal labelScale_ = 1;         // the scale of the body labels of the wheel being drawn
    int detail_ = 0;               // the detail of the body labels of the wheel being placed or drawn
    int outerDetail_ = 0;          // that of the outer wheel (or the "1 Rueda" ring)
    int innerDetail_ = 0;          // that of the inner or single wheel
    qreal glyphSide_;              // G at this scale
    qreal line_;                   // line width
    QSizeF pieceSize_, retroSize_; // a position piece ("00°") and the retrograde mark
    QSizeF ringPieceSize_;         // a position piece of the "1 Rueda" ring (proportional font)
    QSizeF cuspPieceSize_;         // a cusp position piece, always at full size
    LayoutMemory::Lease memory_;   // what the layout of this view and size found, here and before
    ChartLayout &chart_;           // and of this chart
    ColumnCache &bodyColumns_, &ringColumns_;
    std::vector<InnerEdge> &innerEdges_;
    std::vector<Real> &compactRadii_; // the glyph radii of further rows, whose columns are compact
    std::map<int, Fitted> &fitted_;   // by item number
    Fitted &ringPlaced_;
    std::map<const chart::RecDataProg *, Real> rotationOf_; // the rotation each drawn item was drawn at
    std::vector<QRectF> boxes_;                             // every text and glyph placed so far
    std::vector<HouseNumber> houseNumbers_;                 // the house numbers waiting for the body labels
    bool crossAspects_ = false; // drawing the inner wheel of a double wheel, with the aspects between both
    Real rotation_ = 0;
    Real innerScale_ = 0;     // the scale of the inner wheel of a double wheel
    Real projectedOuter_ = 0; // C: the outer wheel's sign-ring edge, for the projected inner houses
    bool sectorsFilled_ = false;
    QColor labelBackground_ = Qt::white;
    std::map<const chart::RecDataProg *, std::array<Real, 13>> placed_;
    int count_ = 0;
};

} // namespace

const char *WheelLabelKindName(WheelLabelKind kind) {
    switch (kind) {
    case WheelLabelKind::Body:
        return "body";
    case WheelLabelKind::Retrograde:
        return "retrograde";
    case WheelLabelKind::Position:
        return "position";
    case WheelLabelKind::BodySign:
        return "body_sign";
    case WheelLabelKind::CuspText:
        return "cusp_text";
    case WheelLabelKind::CuspSign:
        return "cusp_sign";
    case WheelLabelKind::HouseNumber:
        return "house_number";
    case WheelLabelKind::CuspNumber:
        return "cusp_number";
    case WheelLabelKind::Sign:
        return "sign";
    case WheelLabelKind::Aspect:
        return "aspect";
    case WheelLabelKind::Legend:
        return "legend";
    case WheelLabelKind::Caption:
        return "caption";
    }
    return "";
}

int DrawWheel(Canvas &canvas, const QRect &rect, const GlyphSet &glyphs, const WheelInput &input) {
    WheelPainter painter(canvas, rect, glyphs, input);
    return painter.Draw(rect);
}

} // namespace cel::graphics
