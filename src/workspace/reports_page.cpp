#include "workspace/reports_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "analysis/grid_layouts.h"
#include "analysis/points.h"
#include "analysis/tables.h"
#include "document/page_content.h"
#include "graphics/diagrams.h"
#include "workspace/grid_models.h"
#include "workspace/points_dialog.h"

namespace cel::workspace {

namespace {

constexpr int kProgRows = 25;
constexpr int kProgColumns = chart::kItemCount + 1;
constexpr int kDiagramSide = 640;
constexpr int kDiagramWidth = kDiagramSide + 80;

QComboBox *ItemSelector(const char *name, int chosen) {
    auto *c = new QComboBox;
    c->setObjectName(name);
    for (int i = 1; i <= 9; ++i)
        c->addItem(QString::fromUtf8(chart::kItemNames[static_cast<std::size_t>(i)]));
    c->setCurrentIndex(chosen - 1);
    return c;
}

} // namespace

DiagramView::DiagramView(QWidget *parent) : QWidget(parent) {
    setObjectName("PaintBoxGrafico");
    setMinimumSize(kDiagramWidth, kDiagramSide);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DiagramView::SetPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void DiagramView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!picture_.isNull())
        painter.drawImage(QPoint(0, 0), picture_);
}

ReportsPage::ReportsPage(session::Workspace &workspace, QWidget *parent) : QWidget(parent), ws_(workspace) {
    setObjectName("PageReportes");
    // The docks and the wheel decide the window's narrowest width; the page's grids scroll instead.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    MakeContext();
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    tabs_ = new QTabWidget;
    tabs_->setObjectName("PCReportes");
    BuildProgressionsPage(tabs_);
    BuildSpeculumPage(tabs_);
    BuildSummaryPage(tabs_);
    BuildDiagramPage(tabs_);
    sbPuntos_ = new QPushButton("puntos");
    sbPuntos_->setObjectName("SBPuntos");
    sbPuntos_->setCheckable(true);
    sbPuntos_->setToolTip("Puntos Items");
    sbPuntos_->setVisible(false);
    tabs_->setCornerWidget(sbPuntos_, Qt::TopRightCorner);
    connect(sbPuntos_, &QPushButton::toggled, this, [this](bool on) { TogglePoints(on); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) { sbPuntos_->setVisible(page >= 2); });
    column->addWidget(tabs_);
}

ReportsPage::~ReportsPage() {
    if (points_)
        points_->close();
}

// The points dialog lives while "puntos" is down; closing it releases the button.
void ReportsPage::TogglePoints(bool on) {
    if (on && !points_) {
        points_ = new TFormPto(
            ws_.settings.points, ws_.format, [this] { RebuildPoints(); }, window());
        connect(points_, &QDialog::finished, this, [this] {
            points_ = nullptr;
            sbPuntos_->setChecked(false);
        });
        points_->show();
    } else if (!on && points_) {
        points_->close();
    }
}

const analysis::TextGrid &ReportsPage::Progressions() const {
    return progModel_->Grid();
}
const analysis::TextGrid &ReportsPage::Speculum() const {
    return speculumModel_->Grid();
}
const analysis::TextGrid &ReportsPage::Summary1() const {
    return summary1Model_->Grid();
}
const analysis::TextGrid &ReportsPage::Summary2() const {
    return summary2Model_->Grid();
}
const QImage &ReportsPage::DiagramPicture() const {
    return diagram_->Picture();
}

void ReportsPage::MakeContext() {
    context_ = std::make_unique<graphics::CellContext>(
        graphics::CellContext{ws_.progressions,
                              ws_.view,
                              ws_.aspects,
                              ws_.settings.dignity,
                              graphics::GlyphSet::Normal(),
                              graphics::TextStyle{QStringLiteral("Arial"), 8},
                              {},
                              {},
                              ws_.format,
                              96});
    graphics::SetRelationColours(*context_, ws_.settings);
}

void ReportsPage::BuildProgressionsPage(QTabWidget *tabs) {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    labelProg_ = new QLabel;
    labelProg_->setObjectName("LabelProg");
    labelProg_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(labelProg_);
    auto *boxes = new QGridLayout; // two rows, so that the page fits a 1366-pixel screen
    for (int c = 1; c < kProgColumns; ++c) {
        auto *box = new QCheckBox(QString::fromUtf8(chart::kItemColumns[static_cast<std::size_t>(c)]));
        box->setObjectName(QString("CBProg%1").arg(c));
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this, [this, c](bool on) { progView_->setColumnHidden(c, !on); });
        cbColumns_[static_cast<std::size_t>(c)] = box;
        boxes->addWidget(box, (c - 1) / 6, (c - 1) % 6);
    }
    boxes->setColumnStretch(6, 1);
    column->addLayout(boxes);
    progModel_ = new GridModel(this);
    progDelegate_ = new PainterDelegate(this);
    progDelegate_->SetPainter(
        [this](graphics::Canvas &canvas, const QRect &rect, int c, int r, const std::string &text) {
            PaintProgressionCell(canvas, rect, c, r, text);
        });
    progView_ = MakeGridView("SGProg", progModel_, progDelegate_);
    column->addWidget(progView_, 1);
    connect(progView_, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.row() < 1 || index.column() < 1)
            return;
        auto &mark = ws_.progressions.items[static_cast<std::size_t>(index.column())]
                         .marks[static_cast<std::size_t>(index.row() - 1)];
        mark = mark ? 0 : 1;
        progView_->viewport()->update();
    });
    tabs->addTab(page, "Progresiones");
}

void ReportsPage::BuildSpeculumPage(QTabWidget *tabs) {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    auto *choice = new QHBoxLayout;
    rbFechaNatal_ = new QRadioButton("Fecha Natal");
    rbFechaNatal_->setObjectName("RBFechaNatal");
    rbFechaNatal_->setChecked(true);
    rbFechaEvento_ = new QRadioButton("Fecha Evento");
    rbFechaEvento_->setObjectName("RBFechaEvento");
    choice->addWidget(rbFechaNatal_);
    choice->addWidget(rbFechaEvento_);
    choice->addStretch(1);
    connect(rbFechaNatal_, &QRadioButton::toggled, this, [this] { FillSpeculum(); });
    column->addLayout(choice);
    speculumModel_ = new GridModel(this);
    speculumDelegate_ = new PainterDelegate(this);
    speculumDelegate_->SetPainter(
        [this](graphics::Canvas &canvas, const QRect &rect, int c, int r, const std::string &text) {
            graphics::PaintPlainCell(canvas, rect, c, r, text, context_->gridFont);
        });
    speculumView_ = MakeGridView("SGSpeculum", speculumModel_, speculumDelegate_);
    column->addWidget(speculumView_, 1);
    tabs->addTab(page, "Speculum");
}

void ReportsPage::BuildSummaryPage(QTabWidget *tabs) {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    cbSummaryItem_ = ItemSelector("CBItemResumen", chart::kNatalEcliptic);
    connect(cbSummaryItem_, &QComboBox::currentIndexChanged, this, [this] { FillSummaries(); });
    auto *row = new QHBoxLayout;
    row->addWidget(cbSummaryItem_);
    row->addStretch(1);
    column->addLayout(row);
    summary1Model_ = new GridModel(this);
    summary2Model_ = new GridModel(this);
    summary1Delegate_ = new PainterDelegate(this);
    summary2Delegate_ = new PainterDelegate(this);
    summary1Delegate_->SetPainter(
        [this](graphics::Canvas &canvas, const QRect &rect, int c, int r, const std::string &text) {
            graphics::PaintSummaryCell(canvas, rect, 1, c, r, text, *context_);
        });
    summary2Delegate_->SetPainter(
        [this](graphics::Canvas &canvas, const QRect &rect, int c, int r, const std::string &text) {
            graphics::PaintSummaryCell(canvas, rect, 2, c, r, text, *context_);
        });
    summary1View_ = MakeGridView("SGResumen1", summary1Model_, summary1Delegate_);
    summary2View_ = MakeGridView("SGResumen2", summary2Model_, summary2Delegate_);
    column->addWidget(summary1View_, 13);
    column->addWidget(summary2View_, 15);
    tabs->addTab(page, "Resumen");
}

void ReportsPage::BuildDiagramPage(QTabWidget *tabs) {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    auto *row = new QHBoxLayout;
    cbGraphA_ = ItemSelector("CBGraficoA", chart::kNatalEcliptic);
    cbGraphB_ = ItemSelector("CBGraficoB", chart::kNatalAscensional);
    rbHistograma_ = new QRadioButton("Histograma");
    rbHistograma_->setObjectName("RBHistograma");
    rbHistograma_->setChecked(true);
    rbPastel_ = new QRadioButton("Pastel");
    rbPastel_->setObjectName("RBPastel");
    for (QWidget *w : std::initializer_list<QWidget *>{cbGraphA_, cbGraphB_, rbHistograma_, rbPastel_})
        row->addWidget(w);
    row->addStretch(1);
    connect(cbGraphA_, &QComboBox::currentIndexChanged, this, [this] { DrawDiagrams(); });
    connect(cbGraphB_, &QComboBox::currentIndexChanged, this, [this] { DrawDiagrams(); });
    connect(rbHistograma_, &QRadioButton::toggled, this, [this] { DrawDiagrams(); });
    column->addLayout(row);
    diagram_ = new DiagramView;
    auto *scroll = new QScrollArea;
    scroll->setWidget(diagram_);
    scroll->setWidgetResizable(false);
    column->addWidget(scroll, 1);
    tabs->addTab(page, "Diagramas");
}

void ReportsPage::FillProgressions() {
    document::Grid grid;
    document::ProgGridMarks marks;
    document::FillProgressionsGrid(grid, marks, ws_.progressions, ws_.settings.rueda.retro, ws_.format);
    analysis::TextGrid text(kProgRows, kProgColumns);
    for (int r = 0; r < kProgRows; ++r)
        for (int c = 0; c < kProgColumns; ++c)
            text.At(r, c) = grid.Cell(c, r);
    progSigns_ = marks.sign;
    progRetro_ = marks.retro;
    progModel_->SetGrid(text);
    const std::array<std::string, 4> lines =
        document::ProgressionLines(ws_.natal, ws_.event, ws_.progressions, ws_.format);
    labelProg_->setText(
        QString::fromStdString(lines[0] + "\n" + lines[1] + "\n" + lines[2] + "\n" + lines[3]));
    const QFontMetrics metrics(graphics::MakeFont(context_->gridFont));
    const int g = context_->glyphs.Size();
    // Columns as wide as their longest text, with room for the sign glyph in the item columns.
    SetCellSizes(progView_, 60, std::max(metrics.height(), g) + 4);
    for (int c = 0; c < kProgColumns; ++c) {
        int width = 0;
        for (int r = 0; r < kProgRows; ++r)
            width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(text.Text(r, c))));
        progView_->setColumnWidth(c, width + (c >= 1 && c <= 9 ? g + 12 : 12) + (c == 0 ? g : 0));
    }
}

void ReportsPage::PaintProgressionCell(graphics::Canvas &canvas, const QRect &rect, int column, int row,
                                       const std::string &text) {
    const auto r = static_cast<std::size_t>(row);
    const auto c = static_cast<std::size_t>(column);
    if (row == 0 || column == 0) {
        canvas.FillRect(rect, QColor(0xF0, 0xF0, 0xF0));
        if (column == 0 && row >= 1 && row <= 12)
            canvas.TintedGlyph(context_->glyphs, 11 + row, rect.topLeft() + QPoint(4, 2), Qt::black);
        else
            canvas.Text(rect.topLeft() + QPoint(2, 2), QString::fromStdString(text), context_->gridFont);
        return;
    }
    const bool marked = ws_.progressions.items[c].marks[r - 1] != 0;
    canvas.FillRect(rect, marked ? QColor(255, 255, 0) : Qt::white);
    graphics::TextStyle style = context_->gridFont;
    style.underline = ws_.settings.rueda.retro && r < progRetro_.size() && progRetro_[r][c];
    canvas.Text(rect.topLeft() + QPoint(2, 2), QString::fromStdString(text), style);
    const int sign = r < progSigns_.size() ? progSigns_[r][c] : 0;
    if (sign >= 1 && sign <= 12)
        canvas.TintedGlyph(context_->glyphs, sign - 1,
                           QPoint(rect.right() - context_->glyphs.Size() - 1, rect.top() + 2), Qt::black);
}

void ReportsPage::Rebuild() {
    MakeContext();
    FillSpeculum();
    FillSummaries();
    DrawDiagrams();
    progView_->viewport()->update();
}

void ReportsPage::RebuildPoints() {
    FillSummaries();
    DrawDiagrams();
}

void ReportsPage::FillSpeculum() {
    analysis::TextGrid grid;
    analysis::SetUpSpeculum(grid);
    analysis::FillChartData(grid, rbFechaEvento_->isChecked() ? ws_.event : ws_.natal, ws_.format);
    speculumModel_->SetGrid(grid);
    const QFontMetrics metrics(graphics::MakeFont(context_->gridFont));
    SetCellSizes(speculumView_, 60, metrics.height() + 6);
    FitColumns(speculumView_, grid, graphics::MakeFont(context_->gridFont), 12, 40);
}

void ReportsPage::FillSummaries() {
    const auto &item = ws_.progressions.items[static_cast<std::size_t>(cbSummaryItem_->currentIndex() + 1)];
    analysis::TextGrid first, second;
    analysis::SetUpBodySummary(first);
    analysis::FillBodySummary(first, item, ws_.settings.dignity);
    analysis::SetUpDistribution(second, ws_.settings.txt);
    analysis::FillDistributionGrid(second, item, ws_.settings.points, ws_.format);
    summary1Model_->SetGrid(first);
    summary2Model_->SetGrid(second);
    const QFontMetrics metrics(graphics::MakeFont(context_->gridFont));
    const int height = std::max(metrics.height(), context_->glyphs.Size()) + 5;
    SetCellSizes(summary1View_, 36, height);
    SetCellSizes(summary2View_, 40, height);
    FitColumns(summary1View_, first, graphics::MakeFont(context_->gridFont), 10,
               context_->glyphs.Size() + 14);
    FitColumns(summary2View_, second, graphics::MakeFont(context_->gridFont), 10,
               context_->glyphs.Size() + 14);
}

void ReportsPage::DrawDiagrams() {
    const int a = cbGraphA_->currentIndex() + 1;
    const int b = cbGraphB_->currentIndex() + 1;
    const qreal ratio = devicePixelRatioF();
    // The second panel's body list runs a little past the square: the picture is wider than it.
    QImage picture(qRound(kDiagramWidth * ratio), qRound(kDiagramSide * ratio), QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        graphics::Canvas canvas(painter, QSize(kDiagramWidth, kDiagramSide));
        const graphics::DiagramSettings settings{ws_.settings.txt, ws_.settings.points, ws_.settings.dignity,
                                                 ws_.format};
        const graphics::DiagramItem itemA{ws_.progressions.items[static_cast<std::size_t>(a)],
                                          QString::fromUtf8(chart::kItemNames[static_cast<std::size_t>(a)])};
        const graphics::DiagramItem itemB{ws_.progressions.items[static_cast<std::size_t>(b)],
                                          QString::fromUtf8(chart::kItemNames[static_cast<std::size_t>(b)])};
        graphics::DrawDiagrams(canvas, kDiagramSide, graphics::GlyphSet::Normal(), ws_.settings.rueda.color,
                               rbPastel_->isChecked() ? graphics::GraphKind::Pie
                                                      : graphics::GraphKind::Histogram,
                               itemA, itemB, settings);
    }
    diagram_->SetPicture(std::move(picture));
}

document::PageKind ReportsPage::PrintKind() const {
    constexpr std::array kinds{document::PageKind::Progresiones, document::PageKind::Speculum,
                               document::PageKind::Resumen, document::PageKind::Diagramas};
    return kinds[static_cast<std::size_t>(std::clamp(tabs_->currentIndex(), 0, 3))];
}

void ReportsPage::AddPrintChoices(document::PageChoices &choices) const {
    choices.summaryItem = cbSummaryItem_->currentIndex() + 1;
    choices.graphItemA = cbGraphA_->currentIndex() + 1;
    choices.graphItemB = cbGraphB_->currentIndex() + 1;
    choices.graphKind = rbPastel_->isChecked() ? graphics::GraphKind::Pie : graphics::GraphKind::Histogram;
}

} // namespace cel::workspace
