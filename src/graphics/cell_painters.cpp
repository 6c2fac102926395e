#include "graphics/cell_painters.h"

#include <QFontMetrics>

#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

#include "analysis/points.h"
#include "astronomy/angle_text.h"

namespace cel::graphics {

namespace {

const QColor kYellow(255, 255, 0);

std::optional<int> ToInt(std::string_view text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::vector<std::string> Split(const std::string &text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

// Aspect glyphs in cells: the kind's colour, except the conjunction, which stays black.
QColor KindTint(int k) {
    return k == 1 ? QColor(Qt::black) : AspectKindColour(k);
}

bool ColourOn(const CellContext &c) {
    return c.view.wheelFlags[settings::kFlagColor];
}

const chart::RecDataProg &Item(const CellContext &c, int n) {
    return c.progressions.items[static_cast<std::size_t>(std::clamp(n, 1, chart::kItemCount))];
}

// Text with its top-left corner at a point, in the grid's font.
void GridText(Canvas &canvas, QPoint p, const QString &text, const TextStyle &style) {
    canvas.Text(p, text, style);
}

// An aspect-table cell text "k:s" or "k:sd".
struct AspectCellText {
    int kind = 0;
    std::string strength;
    bool dispositor = false;
};
std::optional<AspectCellText> ReadAspectCell(const std::string &text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const auto k = ToInt(std::string_view(text).substr(0, colon));
    if (!k || *k < 1 || *k > analysis::kAspectKindCount)
        return std::nullopt;
    AspectCellText cell;
    cell.kind = *k;
    std::string rest = text.substr(colon + 1);
    if (!rest.empty() && rest.back() == 'd') {
        cell.dispositor = true;
        rest.pop_back();
    }
    if (rest.empty() || !ToInt(rest))
        return std::nullopt;
    cell.strength = rest;
    return cell;
}

bool RuledHousesContain(const std::string &ruled, int house) {
    for (const std::string &part : Split(ruled, ','))
        if (ToInt(part) == house)
            return true;
    return false;
}

} // namespace

void SetRelationColours(CellContext &context, const settings::Settings &settings) {
    for (std::size_t i = 1; i <= 6; ++i) {
        context.relationColours[i] = StoredColour(settings.tabla.colRel[i]);
        context.relationSwitches[i] = settings.tabla.viewColRel[i];
    }
}

DetailOptions DetailOptionsFrom(const settings::Settings &settings) {
    return settings.aspecto;
}

int CellRelation(int a, int b, const CellContext &context) {
    if (a == b)
        return kRelationSelf;
    // The natal key of the pair, as the detail grid builds it.
    std::string key;
    int digit = 1;
    if (a <= 12 && b <= 12) {
        key = analysis::MakePairKey('p', std::min(a, b), 'p', std::max(a, b));
    } else if (a > 12 && b > 12) {
        key = analysis::MakePairKey('c', std::min(a, b) - 12, 'c', std::max(a, b) - 12);
        digit = 4;
    } else {
        const int body = std::min(a, b), cusp = std::max(a, b) - 12;
        key = analysis::MakePairKey('p', body, 'c', cusp);
        digit = 2;
    }
    const analysis::AspectLists &l = context.aspects;
    const analysis::AspectList &ecl = digit == 1   ? l.eclipticBodies
                                      : digit == 2 ? l.eclipticBodyCusp
                                                   : l.eclipticCusps;
    const analysis::AspectList &asc = digit == 1   ? l.ascensionalBodies
                                      : digit == 2 ? l.ascensionalBodyCusp
                                                   : l.ascensionalCusps;
    if (analysis::HasPair(ecl, key, false) || analysis::HasPair(asc, key, false))
        return kRelationAspect;
    const chart::RecDataProg &inner = Item(context, context.view.innerItem);
    if (digit == 2) {
        const int body = std::min(a, b), cusp = std::max(a, b) - 12;
        const auto &rec = inner.bodies[static_cast<std::size_t>(body)];
        if (RuledHousesContain(rec.ruledHouses, cusp))
            return kRelationRuledHouse;
        if (rec.house == cusp)
            return kRelationOccupied;
        return kRelationNone;
    }
    if (digit == 1) {
        const int p = std::min(a, b), q = std::max(a, b);
        const int sign = inner.bodies[static_cast<std::size_t>(p)].sign;
        for (int r = analysis::NextRuler(1, sign, context.dignity); r != -1;
             r = analysis::NextRuler(r + 1, sign, context.dignity))
            if (r == q)
                return kRelationDispositor;
    }
    return kRelationNone;
}

void PaintAspectCell(Canvas &canvas, const QRect &rect, int column, int row, const std::string &text,
                     bool highlight, bool percent, const CellContext &context) {
    canvas.FillRect(rect, highlight ? kYellow : QColor(Qt::white));
    const TextStyle &font = context.gridFont;
    const GlyphSet &glyphs = context.glyphs;
    const QPoint topLeft = rect.topLeft();
    if (row == 0) {
        if (column >= 1 && column <= 12)
            canvas.TintedGlyph(glyphs, kBodyPictureBase + column, topLeft + QPoint(2, 0), Qt::black);
        else if (column >= 13 && column <= 24)
            GridText(canvas, topLeft + QPoint(2, 0), QString::number(column - 12), font);
        else if (column == 26 || column == 27)
            GridText(canvas, topLeft + QPoint(2, 0), QString::fromStdString(text), font);
        return;
    }
    if (column == 0 || column == 25) {
        if (row >= 1 && row <= 12)
            canvas.TintedGlyph(glyphs, kBodyPictureBase + row, topLeft + QPoint(2, 0), Qt::black);
        else if (row >= 13 && row <= 24)
            GridText(canvas, topLeft + QPoint(2, 0), QString::number(row - 12), font);
        return;
    }
    if (column == 26 || column == 27) {
        PaintPositionCell(canvas, rect, column, row, context);
        return;
    }
    const auto cell = ReadAspectCell(text);
    if (!cell)
        return;
    const bool colour = ColourOn(context);
    if (context.view.wheelMode == settings::kDoubleWheel && colour) {
        const int r = CellRelation(column, row, context);
        if (r > 0 && context.relationSwitches[static_cast<std::size_t>(r)])
            canvas.FillRect(rect, highlight ? kYellow : context.relationColours[static_cast<std::size_t>(r)]);
        if (r > 0 && context.relationSwitches[kRelationFrame])
            canvas.Rect(rect.adjusted(0, 0, -1, -1), context.relationColours[kRelationFrame], Qt::NoBrush);
    }
    canvas.TintedGlyph(glyphs, kAspectPictureBase + cell->kind, topLeft + QPoint(2, 1),
                       colour ? KindTint(cell->kind) : QColor(Qt::black));
    if (cell->dispositor) {
        TextStyle bold = font;
        bold.bold = true;
        GridText(canvas, topLeft + QPoint(glyphs.Size() + 3, 0), QStringLiteral(":"), bold);
    }
    if (percent)
        GridText(canvas, topLeft + QPoint(1, glyphs.Size()), QString::fromStdString(cell->strength) + "%",
                 font);
}

void PaintPositionCell(Canvas &canvas, const QRect &rect, int column, int row, const CellContext &context) {
    const settings::RecVistaCarta &v = context.view;
    const bool doubleWheel = v.wheelMode == settings::kDoubleWheel;
    const int itemNumber = doubleWheel && column == 26 ? v.outerItem : v.innerItem;
    const chart::RecDataProg &item = Item(context, itemNumber);
    const auto &marks =
        doubleWheel && column == 27 ? context.progressions.marks2 : context.progressions.marks1;
    const bool marked = row >= 1 && row <= 24 && marks[static_cast<std::size_t>(row - 1)] != 0;
    canvas.FillRect(rect, marked ? kYellow : QColor(Qt::white));
    if (row < 1 || row > 24)
        return;
    long double position = 0;
    int sign = 1;
    bool retrograde = false;
    if (row <= 12) {
        const auto &body = item.bodies[static_cast<std::size_t>(row)];
        position = body.position;
        sign = body.sign;
        retrograde = body.retrograde != 0;
    } else {
        const auto &cusp = item.cusps[static_cast<std::size_t>(row - 12)];
        position = cusp.cusp;
        sign = cusp.sign;
    }
    TextStyle font = context.gridFont;
    font.underline = v.retrogradeMark && retrograde;
    const QString text = QString::fromStdString(astronomy::FormatSignPosition(
        0, astronomy::AngleLayout::DegreesMinutesSeconds, position - (sign - 1) * 30.0L, context.format));
    canvas.Text(rect.topLeft() + QPoint(1, 1), text, font);
    canvas.TintedGlyph(context.glyphs, sign - 1,
                       QPoint(rect.right() + 1 - context.glyphs.Size(), rect.top() + 1), Qt::black);
}

namespace {

int Scaled(int value, const CellContext &c) {
    return c.screenPpi >= 120 ? RoundHalfEven(value * 1.25L) : value;
}

TextStyle DetailFont(const PanelLayout &layout, const CellContext &c) {
    TextStyle s = c.gridFont;
    s.pointSize = layout.fontSize;
    s.colour = Qt::black;
    return s;
}

struct Member {
    char kind = 'p';
    int number = 0;
};
std::optional<Member> ReadMember(const std::string &text) {
    if (text.size() != 3 || (text[0] != 'p' && text[0] != 'c'))
        return std::nullopt;
    const auto n = ToInt(std::string_view(text).substr(1));
    if (!n || *n < 1 || *n > 12)
        return std::nullopt;
    return Member{text[0], *n};
}

// Draws a text horizontally centred in a panel at height y and returns the next y.
int CentredText(Canvas &canvas, const QRect &panel, int y, const QString &text, const TextStyle &style) {
    const QSize s = canvas.TextSize(text, style);
    canvas.Text(QPoint(panel.left() + (panel.width() - s.width()) / 2, y), text, style);
    return y + s.height();
}

int CentredGlyph(Canvas &canvas, const GlyphSet &glyphs, const QRect &panel, int y, int picture) {
    canvas.TintedGlyph(glyphs, picture, QPoint(panel.left() + (panel.width() - glyphs.Size()) / 2, y),
                       Qt::black);
    return y + glyphs.Size() + 1;
}

void DrawMemberPanel(Canvas &canvas, const QRect &panel, const chart::RecDataProg &item, const Member &member,
                     const std::optional<Member> &other, const chart::RecDataProg &otherItem,
                     const DetailOptions &options, const PanelLayout &layout, const CellContext &c) {
    const TextStyle font = DetailFont(layout, c);
    const GlyphSet &glyphs = c.glyphs;
    int y = panel.top() + Scaled(1, c);
    if (member.kind == 'p') {
        const auto &body = item.bodies[static_cast<std::size_t>(member.number)];
        if (options.reg)
            y = CentredText(canvas, panel, y, QString::fromStdString(body.ruledHouses), font);
        y = CentredGlyph(canvas, glyphs, panel, y, kBodyPictureBase + member.number);
        if (options.sig)
            y = CentredGlyph(canvas, glyphs, panel, y, body.sign - 1);
        if (options.dig)
            y = CentredGlyph(canvas, glyphs, panel, y,
                             kDignityPictureBase + c.dignity.At(member.number, body.sign));
        if (options.ocu)
            CentredText(canvas, panel, y + Scaled(1, c), QString::number(body.house), font);
        return;
    }
    const auto &cusp = item.cusps[static_cast<std::size_t>(member.number)];
    const QString number = QString::number(member.number);
    const QSize s = canvas.TextSize(number, font);
    const int x = panel.left() + (panel.width() - s.width()) / 2 + (member.number < 10 ? 3 : 0);
    canvas.Text(QPoint(x, y), number, font);
    y += s.height();
    if (options.sig)
        y = CentredGlyph(canvas, glyphs, panel, y, cusp.sign - 1);
    if (options.dig) {
        int code = 0;
        if (other && other->kind == 'p')
            code = c.dignity.At(other->number, cusp.sign);
        (void)otherItem;
        CentredGlyph(canvas, glyphs, panel, y, kDignityPictureBase + code);
    }
}

void DrawAspectPanel(Canvas &canvas, const QRect &panel, const analysis::TDetallesAspecto &record,
                     const DetailOptions &options, const PanelLayout &layout, const CellContext &c) {
    const TextStyle font = DetailFont(layout, c);
    const GlyphSet &glyphs = c.glyphs;
    const int k = std::clamp<int>(record.kind, 1, analysis::kAspectKindCount);
    std::vector<QString> lines;
    if (options.fue)
        lines.push_back(QString::fromStdString(analysis::PointsText(record.strength, c.format)) + "%");
    const long double arc = std::fabs(static_cast<long double>(record.arc));
    if (options.ang)
        lines.push_back(QString::fromStdString(
            astronomy::FormatAngle(30, 0, astronomy::AngleSuffix::None,
                                   astronomy::AngleLayout::DegreesMinutesSeconds, arc, c.format)));
    if (options.orb) {
        const long double angle = (k - 1) * 15.0L;
        const long double orb = arc - angle;
        lines.push_back(QString(arc > angle ? "-" : "") +
                        QString::fromStdString(astronomy::FormatAngle(
                            30, 0, astronomy::AngleSuffix::None,
                            astronomy::AngleLayout::DegreesMinutesSeconds, std::fabs(orb), c.format)));
    }
    const int step = RoundHalfEven(Scaled(layout.fontSize, c) * 1.5L);
    const int textHeight = canvas.TextSize(QStringLiteral("0"), font).height();
    const int height = glyphs.Size() + 2 + static_cast<int>(lines.size()) * step;
    int y = panel.top() + std::max(0, (panel.height() - height) / 2);
    canvas.TintedGlyph(glyphs, kAspectPictureBase + k,
                       QPoint(panel.left() + (panel.width() - glyphs.Size()) / 2, y), Qt::black);
    y += glyphs.Size() + 2 + (step - textHeight) / 2;
    for (const QString &line : lines) {
        CentredText(canvas, panel, y, line, font);
        y += step;
    }
}

const analysis::TDetallesAspecto *FindRecord(const CellContext &c, const std::string &source,
                                             const std::string &list, int index, const std::string &m1,
                                             const std::string &m2) {
    const analysis::AspectLists &l = c.aspects;
    const analysis::AspectList *aspects = nullptr;
    const analysis::DispositorList *dispositors = nullptr;
    if (source == "E" || source == "A") {
        const bool e = source == "E";
        if (list == "L1")
            aspects = e ? &l.eclipticBodies : &l.ascensionalBodies;
        else if (list == "L2")
            aspects = e ? &l.eclipticBodyCusp : &l.ascensionalBodyCusp;
        else if (list == "L4")
            aspects = e ? &l.eclipticCusps : &l.ascensionalCusps;
        else if (!e && list == "D1")
            dispositors = &l.dispositorBodies;
        else if (!e && list == "D2")
            dispositors = &l.dispositorBodyCusp;
    } else if (source == "P") {
        if (list == "P1")
            aspects = &l.pairBodies;
        else if (list == "P2")
            aspects = &l.pairBodyCusp;
        else if (list == "P3")
            aspects = &l.pairCuspBody;
        else if (list == "P4")
            aspects = &l.pairCusps;
    }
    const std::string forward = m1 + m2, backward = m2 + m1;
    auto matches = [&](const std::string &key) { return key == forward || key == backward; };
    if (aspects && index >= 0 && index < static_cast<int>(aspects->size())) {
        const analysis::TAspReg &r = (*aspects)[static_cast<std::size_t>(index)];
        return matches(r.key) ? &r : nullptr;
    }
    if (dispositors && index >= 0 && index < static_cast<int>(dispositors->size())) {
        const analysis::TDispReg &r = (*dispositors)[static_cast<std::size_t>(index)];
        return matches(r.dispositorKey) ? &r : nullptr;
    }
    return nullptr;
}

} // namespace

QImage RenderCode(const std::string &code, QSize size, const DetailOptions &options,
                  const PanelLayout &layout, const CellContext &c) {
    QImage picture(std::max(1, size.width()), std::max(1, size.height()), QImage::Format_RGB32);
    picture.fill(Qt::white);
    Canvas canvas(picture);
    PaintCode(canvas, code, size, options, layout, c);
    return canvas.Image();
}

void PaintCode(Canvas &canvas, const std::string &code, QSize size, const DetailOptions &options,
               const PanelLayout &layout, const CellContext &c) {
    TextStyle italic = DetailFont(layout, c);
    italic.italic = true;
    const std::vector<std::string> f = Split(code, ':');
    if (!code.empty() && code[0] == '-') {
        const int mid = size.height() / 2;
        canvas.Line(QPoint(size.width() / 4, mid), QPoint(size.width() * 3 / 4, mid), Qt::black, Qt::DotLine);
        const int number = f.size() > 1 ? ToInt(f[1]).value_or(0) : 0;
        if (number > 0)
            canvas.Text(QPoint(1, 0), QString::number(number) + ")", italic);
        return;
    }
    if (f.size() < 6)
        return;
    int x = 1;
    if (const int number = ToInt(f[0]).value_or(0); number > 0) {
        const QString label = QString::number(number) + ")";
        canvas.Text(QPoint(x, 0), label, italic);
        x += canvas.TextSize(label, italic).width() + 1;
    }
    if (!f[2].empty() && f[2][0] == 'D') {
        TextStyle d = DetailFont(layout, c);
        d.pointSize = std::max(1, d.pointSize - 1);
        d.underline = true;
        canvas.Text(QPoint(x, 0), QStringLiteral("D"), d);
    }
    const auto m1 = ReadMember(f[3]), m2 = ReadMember(f[5]);
    const auto index = ToInt(f[4]);
    if (!m1 || !m2 || !index)
        return;
    const analysis::TDetallesAspecto *record = FindRecord(c, f[1], f[2], *index, f[3], f[5]);
    if (record == nullptr)
        return;
    int item1 = 1, item2 = 1;
    if (f[1] == "A") {
        item1 = item2 = 2;
    } else if (f[1] == "P" && c.view.wheelMode == settings::kDoubleWheel) {
        // A double wheel pairs the outer item with the inner one; each member carries its own item's
        // sign, house and rulers. Only the cusp-body list names the inner member first.
        item1 = f[2] == "P3" ? c.view.innerItem : c.view.outerItem;
        item2 = f[2] == "P3" ? c.view.outerItem : c.view.innerItem;
    } else if (f[1] == "P") {
        item2 = c.view.innerItem;
        using settings::ProgressionReference;
        item1 = c.view.progressionReference == ProgressionReference::Ecliptic ? int{chart::kNatalEcliptic}
                : c.view.progressionReference == ProgressionReference::Ascensional
                    ? int{chart::kNatalAscensional}
                    : int{c.view.outerItem};
    }
    const chart::RecDataProg &i1 = Item(c, item1), &i2 = Item(c, item2);
    DrawMemberPanel(canvas, layout.member1, i1, *m1, m2, i2, options, layout, c);
    DrawAspectPanel(canvas, layout.aspect, *record, options, layout, c);
    DrawMemberPanel(canvas, layout.member2, i2, *m2, m1, i1, options, layout, c);
}

PanelLayout DefaultPanelLayout(const DetailOptions &options, const GlyphSet &glyphs, bool small,
                               int screenPpi) {
    PanelLayout layout;
    layout.fontSize = small ? 7 : 9;
    const QFontMetrics metrics(MakeFont(TextStyle{QStringLiteral("MS Sans Serif"), layout.fontSize}));
    const long double scale = screenPpi >= 120 ? 1.25L : 1.0L;
    const int line = metrics.height();
    const int g = glyphs.Size() + 1;
    int memberHeight = 2 + g;
    if (options.reg)
        memberHeight += line;
    if (options.sig)
        memberHeight += g;
    if (options.dig)
        memberHeight += g;
    if (options.ocu)
        memberHeight += line + 1;
    const int lines = (options.fue ? 1 : 0) + (options.ang ? 1 : 0) + (options.orb ? 1 : 0);
    const int aspectHeight = g + 2 + RoundHalfEven(lines * layout.fontSize * scale * 1.5L);
    const int height = RoundHalfEven(std::max(memberHeight, aspectHeight) * scale) + 2;
    const int memberWidth =
        RoundHalfEven(std::max(glyphs.Size() + 6, metrics.horizontalAdvance("10,12") + 4) * scale);
    const int aspectWidth = RoundHalfEven((metrics.horizontalAdvance("-00° 00' 00\"") + 6) * scale);
    const int top = RoundHalfEven(line * scale); // room for the number and the dispositor mark
    layout.member1 = QRect(0, top, memberWidth, height);
    layout.aspect = QRect(memberWidth, top, aspectWidth, height);
    layout.member2 = QRect(memberWidth + aspectWidth, top, memberWidth, height);
    return layout;
}

QSize PanelHalfSize(const PanelLayout &layout) {
    const QRect all = layout.member1.united(layout.aspect).united(layout.member2);
    return QSize(all.right() + 2, all.bottom() + 2);
}

void PaintCodeCell(Canvas &canvas, const QRect &rect, const std::string &text, bool ambos,
                   const DetailOptions &options, const PanelLayout &layout, const CellContext &context) {
    canvas.FillRect(rect, Qt::white);
    if (text.empty())
        return;
    if (text[0] == ' ') {
        canvas.Text(rect.topLeft() + QPoint(2, 0), QString::fromStdString(text), context.gridFont);
        return;
    }
    const std::size_t slash = text.find('/');
    if (slash != std::string::npos && ambos) {
        const int half = (rect.width() - 1) / 2;
        const QSize size(half, rect.height());
        canvas.Picture(rect.topLeft(), RenderCode(text.substr(0, slash), size, options, layout, context));
        canvas.Picture(rect.topLeft() + QPoint(rect.width() - half, 0),
                       RenderCode(text.substr(slash + 1), size, options, layout, context));
        return;
    }
    canvas.Picture(rect.topLeft(), RenderCode(text.substr(0, slash), rect.size(), options, layout, context));
}

void PaintSummaryCell(Canvas &canvas, const QRect &rect, int grid, int column, int row,
                      const std::string &text, const CellContext &context) {
    canvas.FillRect(rect, Qt::white);
    TextStyle font = context.gridFont;
    font.pointSize = 8;
    const GlyphSet &glyphs = GlyphSet::Normal();
    const int g = glyphs.Size();
    const QPoint glyphAt(rect.left() + (rect.width() / 4 + g / 4), rect.top() + 2);
    const QString qtext = QString::fromStdString(text);
    const auto value = ToInt(text);
    auto signGlyph = [&](std::optional<int> sign) {
        if (sign && *sign >= 1 && *sign <= 12)
            canvas.TintedGlyph(glyphs, *sign - 1, glyphAt, Qt::black);
    };
    if (grid == 1) {
        if (row >= 1 && row <= 13) {
            switch (column) {
            case 1:
            case 5:
            case 10:
            case 11:
            case 12:
                signGlyph(value);
                return;
            case 2:
                if (value && *value >= 0 && *value <= 4)
                    canvas.TintedGlyph(glyphs, kDignityPictureBase2 + *value, glyphAt, Qt::black);
                return;
            case 6:
            case 7:
            case 13:
            case 14:
                if (value && *value >= 1 && *value <= 12)
                    canvas.TintedGlyph(glyphs, kBodyPictureBase + *value, glyphAt, Qt::black);
                return;
            case 3:
                canvas.Text(rect.topLeft() + QPoint(2, 2), qtext, font);
                return;
            case 4:
            case 8:
            case 9:
                canvas.Text(QPoint(glyphAt.x(), rect.top() + 2), qtext, font);
                return;
            default:
                break;
            }
        } else if (row == 14) {
            signGlyph(value);
            return;
        }
        canvas.Text(rect.topLeft() + QPoint(2, 0), qtext, font);
        return;
    }
    // The second summary grid: the sign labels of the first row and of the group blocks are glyphs.
    const bool signLabel = (row == 0 && column >= 1 && column <= 12) ||
                           (row >= 9 && row <= 11 && column >= 1 && column <= 4) ||
                           (row >= 9 && row <= 12 && column >= 9 && column <= 11);
    if (signLabel) {
        if (row == 0)
            signGlyph(column);
        else if (value)
            signGlyph(value);
        else
            canvas.Text(rect.topLeft() + QPoint(2, 0), qtext, font);
        return;
    }
    canvas.Text(rect.topLeft() + QPoint(2, 0), qtext, font);
}

void PaintPlainCell(Canvas &canvas, const QRect &rect, int column, int row, const std::string &text,
                    const TextStyle &font) {
    canvas.FillRect(rect, Qt::white);
    const QString qtext = QString::fromStdString(text);
    const QSize size = canvas.TextSize(qtext, font);
    if (column == 0)
        canvas.Text(rect.topLeft() + QPoint(3, 0), qtext, font);
    else if (row >= 1)
        canvas.Text(QPoint(rect.right() + 1 - 3 - size.width(), rect.top()), qtext, font);
    else
        canvas.Text(QPoint(rect.left() + rect.width() / 2 - size.width() / 4, rect.top()), qtext, font);
}

} // namespace cel::graphics
