#include "workspace/aspect_table_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "analysis/grid_layouts.h"
#include "analysis/tables.h"
#include "workspace/grid_models.h"

namespace cel::workspace {

namespace {

constexpr int kItems = 24; // rows and columns 1..24 of the table: bodies, then cusps

QCheckBox *Check(const char *name, const QString &text, bool on) {
    auto *c = new QCheckBox(text);
    c->setObjectName(name);
    c->setChecked(on);
    return c;
}

QRadioButton *Radio(const char *name, const QString &text) {
    auto *r = new QRadioButton(text);
    r->setObjectName(name);
    return r;
}

} // namespace

AspectTablePage::AspectTablePage(session::Workspace &workspace, std::function<void()> refreshView,
                                 QWidget *parent)
    : QWidget(parent), ws_(workspace), refreshView_(std::move(refreshView)) {
    setObjectName("PageTabla");
    // The docks and the wheel decide the window's narrowest width; the page's grids scroll instead.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    tableModel_ = new GridModel(this);
    detailModel_ = new GridModel(this);
    tableDelegate_ = new PainterDelegate(this);
    detailDelegate_ = new PainterDelegate(this);
    tableDelegate_->SetPainter(
        [this](graphics::Canvas &canvas, const QRect &rect, int column, int row, const std::string &text) {
            PaintTableCell(canvas, rect, column, row, text);
        });
    detailDelegate_->SetPainter([this](graphics::Canvas &canvas, const QRect &rect, int, int,
                                       const std::string &text) { PaintDetailCell(canvas, rect, text); });
    BuildControls();
    MakeContext();
}

AspectTablePage::~AspectTablePage() = default;

const analysis::TextGrid &AspectTablePage::Table() const {
    return tableModel_->Grid();
}
const analysis::TextGrid &AspectTablePage::Detail() const {
    return detailModel_->Grid();
}

void AspectTablePage::BuildControls() {
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);

    auto *bar = new QHBoxLayout;
    labelAsp_ = new QLabel("Asp: 0");
    labelAsp_->setObjectName("LabelAsp");
    labelAsp_->setMinimumWidth(70);
    bar->addWidget(labelAsp_);
    rbTabla_ = Radio("RBTabla", "Tabla");
    rbListado_ = Radio("RBListado", "Listado");
    rbNatal_ = Radio("RBNatal", "Natal");
    rbTabla_->setChecked(true);
    auto *types = new QButtonGroup(this);
    types->addButton(rbTabla_, kTabla);
    types->addButton(rbListado_, kListado);
    types->addButton(rbNatal_, kNatal);
    for (QRadioButton *r : {rbTabla_, rbListado_, rbNatal_})
        bar->addWidget(r);
    connect(types, &QButtonGroup::idClicked, this, [this](int id) {
        type_ = id;
        Rebuild();
    });
    bar->addSpacing(8);
    cbPercent_ = Check("CBPorcentaje", "%", false);
    cbPercent_->setToolTip("Ver la fuerza de cada aspecto");
    cbPos_ = Check("CBPos", "pos", false);
    cbPos_->setToolTip("Posiciones de los items");
    for (QCheckBox *c : {cbPercent_, cbPos_}) {
        bar->addWidget(c);
        connect(c, &QCheckBox::toggled, this, [this] { Rebuild(); });
    }
    bar->addSpacing(8);
    const char *refNames[] = {"RBEclip", "RBAsc", "RBProg"};
    const char *refTexts[] = {"eclip.", "asc.", "prog."};
    auto *references = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        rbReference_[static_cast<std::size_t>(i)] = Radio(refNames[i], refTexts[i]);
        rbReference_[static_cast<std::size_t>(i)]->setToolTip("Ver item en progresión según el tema natal");
        references->addButton(rbReference_[static_cast<std::size_t>(i)], i);
        bar->addWidget(rbReference_[static_cast<std::size_t>(i)]);
    }
    rbReference_[static_cast<std::size_t>(ws_.choices.progressionReference)]->setChecked(true);
    connect(references, &QButtonGroup::idClicked, this, [this](int id) {
        ws_.choices.progressionReference = static_cast<settings::ProgressionReference>(id);
        if (refreshView_)
            refreshView_();
        Rebuild();
    });
    bar->addSpacing(8);
    natalChoices_ = new QWidget;
    auto *natalRow = new QHBoxLayout(natalChoices_);
    natalRow->setContentsMargins(0, 0, 0, 0);
    rbREcl_ = Radio("RBREcl", "R. Ecl.");
    rbRAsc_ = Radio("RBRAsc", "R. Asc.");
    rbREcl_->setChecked(true);
    cbAmbos_ = Check("CBAmbos", "ambos", false);
    for (QWidget *w : std::initializer_list<QWidget *>{rbREcl_, rbRAsc_, cbAmbos_})
        natalRow->addWidget(w);
    natalRow->addStretch(1);
    connect(rbREcl_, &QRadioButton::toggled, this, [this] { Rebuild(); });
    connect(cbAmbos_, &QCheckBox::toggled, this, [this] { Rebuild(); });
    bar->addStretch(1);
    column->addLayout(bar);
    // The natal list's choices get a row of their own: the options' row is full on a small screen.
    column->addWidget(natalChoices_);

    // The seven detail options, "peq." and "T"/"N".
    auto *details = new QHBoxLayout;
    const auto &a = ws_.settings.aspecto;
    const char *names[] = {"CBSigno", "CBReg", "CBOcup", "CBDig", "CBAng", "CBFuerza", "CBOrbe"};
    const char *texts[] = {"Signo", "Reg.", "Ocup.", "Dig.", "Ang.", "Fuerza", "Orbe"};
    const bool values[] = {a.sig, a.reg, a.ocu, a.dig, a.ang, a.fue, a.orb};
    for (int i = 0; i < 7; ++i) {
        cbDetail_[static_cast<std::size_t>(i)] = Check(names[i], texts[i], values[i]);
        details->addWidget(cbDetail_[static_cast<std::size_t>(i)]);
    }
    cbPeq_ = Check("CBPeq", "peq.", a.peq);
    details->addWidget(cbPeq_);
    auto copyDetails = [this] {
        if (building_)
            return;
        auto &s = ws_.settings.aspecto;
        s.sig = cbDetail_[0]->isChecked();
        s.reg = cbDetail_[1]->isChecked();
        s.ocu = cbDetail_[2]->isChecked();
        s.dig = cbDetail_[3]->isChecked();
        s.ang = cbDetail_[4]->isChecked();
        s.fue = cbDetail_[5]->isChecked();
        s.orb = cbDetail_[6]->isChecked();
        s.peq = cbPeq_->isChecked();
        Rebuild();
    };
    for (QCheckBox *c : cbDetail_)
        connect(c, &QCheckBox::toggled, this, copyDetails);
    connect(cbPeq_, &QCheckBox::toggled, this, copyDetails);
    for (bool on : {true, false}) {
        auto *b = new QToolButton;
        b->setObjectName(on ? "SBDetalleT" : "SBDetalleN");
        b->setText(on ? "T" : "N");
        connect(b, &QToolButton::clicked, this, [this, on, copyDetails] {
            building_ = true;
            for (QCheckBox *c : cbDetail_)
                c->setChecked(on);
            building_ = false;
            copyDetails();
        });
        details->addWidget(b);
    }
    details->addStretch(1);
    column->addLayout(details);

    // The table above its detail grid; the lists take the whole width (and so their column count).
    table_ = MakeGridView("SGTabAsp", tableModel_, tableDelegate_);
    detail_ = MakeGridView("SGDetalle", detailModel_, detailDelegate_);
    column->addWidget(table_, 1);
    column->addWidget(detail_);
    connect(table_, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.row() == 0 || index.column() == 0 || index.column() == 25)
            HeaderClicked(index.column(), index.row());
        else
            SelectCell(index.column(), index.row());
    });
}

void AspectTablePage::MakeContext() {
    const bool large = ws_.view.largeImagesTable;
    context_ = std::make_unique<graphics::CellContext>(
        graphics::CellContext{ws_.progressions,
                              ws_.view,
                              ws_.aspects,
                              ws_.settings.dignity,
                              graphics::GlyphSet::Choose(large),
                              graphics::TextStyle{QStringLiteral("MS Sans Serif"), large ? 9 : 8},
                              {},
                              {},
                              ws_.format,
                              96});
    graphics::SetRelationColours(*context_, ws_.settings);
    context_->screenPpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    detailOptions_ = graphics::DetailOptionsFrom(ws_.settings);
    const bool small = ws_.settings.aspecto.peq;
    panel_ = graphics::DefaultPanelLayout(detailOptions_, graphics::GlyphSet::Choose(!small), small,
                                          context_->screenPpi);
}

int AspectTablePage::ListColumns() const {
    const int available = detail_->viewport()->width() > 100 ? detail_->viewport()->width() : 1300;
    return std::max(1, available / std::max(1, detail_->horizontalHeader()->defaultSectionSize()));
}

void AspectTablePage::Rebuild() {
    MakeContext();
    const settings::RecVistaCarta &view = ws_.view;
    const analysis::AspectLists &lists = ws_.aspects;
    const bool doubleWheel = view.wheelMode == 2;
    natalChoices_->setVisible(type_ == kNatal);
    // "%" and "pos" lay out the table alone.
    cbPercent_->setVisible(type_ == kTabla);
    cbPos_->setVisible(type_ == kTabla);
    table_->setVisible(type_ == kTabla);
    Layout();

    analysis::TextGrid table, detail;
    const analysis::TableLists t = analysis::SelectTableLists(view, lists);
    if (type_ == kTabla) {
        analysis::SetUpAspectTable(table, view, cbPos_->isChecked());
        count_ =
            analysis::FillAspectTable(table, doubleWheel, *t.bodies, *t.bodyCusp, t.cuspBody, *t.cusps, view);
        analysis::SetUpAspectDetail(detail, view);
        analysis::FillAspectDetail(detail, doubleWheel, selColumn_, selRow_, lists, view);
        tableModel_->SetGrid(table);
    } else {
        analysis::SetUpList(detail, ListColumns());
        if (type_ == kListado) {
            count_ = analysis::FillAspectList(detail, t.source, *t.bodies, *t.bodyCusp, t.cuspBody, *t.cusps,
                                              view);
        } else {
            const bool ascensional = rbRAsc_->isChecked();
            const analysis::NatalModel model =
                ascensional ? analysis::NatalModel::Ascensional : analysis::NatalModel::Ecliptic;
            if (view.aspectMode == settings::AspectMode::ByHouse)
                count_ = analysis::FillNatalByHouse(detail, ws_.progressions.items[ascensional ? 2 : 1],
                                                    model, cbAmbos_->isChecked(), ws_.currentHouse, lists,
                                                    view, ws_.settings.dignity);
            else
                count_ = analysis::FillNatalManual(detail, cbAmbos_->isChecked(), model, lists, view);
        }
    }
    detailModel_->SetGrid(detail);
    labelAsp_->setText(QString("Asp: %1").arg(count_));
    Layout();
    // A heading of the natal list ("Lista", a house) stands alone in a row one text line high.
    if (type_ != kTabla) {
        const int line = QFontMetrics(graphics::MakeFont(context_->gridFont)).height() + 4;
        for (int r = 0; r < detail.RowCount(); ++r) {
            const std::string first = detail.Text(r, 0);
            bool alone = !first.empty() && first.find(':') == std::string::npos;
            for (int c = 1; alone && c < detail.ColumnCount(); ++c)
                alone = detail.Text(r, c).empty();
            if (alone)
                detail_->setRowHeight(r, line);
        }
    }
    table_->viewport()->update();
    detail_->viewport()->update();
}

// Cell sizes: the table's from its glyph set and font ("%" makes room for the strength below the
// glyph); the detail and list cells hold one panel (two side by side with "ambos").
void AspectTablePage::Layout() {
    const int g = context_->glyphs.Size();
    const QFontMetrics metrics(graphics::MakeFont(context_->gridFont));
    const bool percent = cbPercent_->isChecked();
    int width = g + 10;
    int height = g + 4;
    if (percent) {
        width = std::max(width, metrics.horizontalAdvance("100%") + 4);
        height += metrics.height();
    }
    SetCellSizes(table_, width, height);
    table_->setColumnWidth(0, g + 8);
    table_->setColumnWidth(25, g + 8);
    // The position columns hold "29°59'" and a sign glyph, and the item names in row 0.
    int positionWidth = metrics.horizontalAdvance(QString::fromUtf8("29°59' ")) + g + 4;
    for (int c = 26; c < tableModel_->columnCount(); ++c)
        positionWidth =
            std::max(positionWidth,
                     metrics.horizontalAdvance(tableModel_->data(tableModel_->index(0, c)).toString()) + 6);
    for (int c = 26; c < tableModel_->columnCount(); ++c)
        table_->setColumnWidth(c, positionWidth);

    const QSize half = graphics::PanelHalfSize(panel_);
    const bool ambos = type_ == kNatal && cbAmbos_->isChecked();
    const int cellWidth = ambos ? static_cast<int>(half.width() * 2.2) : half.width();
    SetCellSizes(detail_, cellWidth, half.height());
    if (type_ == kTabla) {
        // Under the table the detail grid is as tall as its two rows (and a scroll bar when narrow).
        detail_->setRowHeight(0, metrics.height() + 4);
        detail_->setFixedHeight(metrics.height() + 4 + half.height() + 2 * detail_->frameWidth() +
                                detail_->horizontalScrollBar()->sizeHint().height());
    } else {
        detail_->setMinimumHeight(0);
        detail_->setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

void AspectTablePage::SelectCell(int column, int row) {
    if (column < 1 || column > kItems || row < 1 || row > kItems)
        return;
    const bool doubleWheel = ws_.view.wheelMode == 2;
    chart::TDataProg &p = ws_.progressions;
    p.marks1[static_cast<std::size_t>(selRow_ - 1)] = 0;
    (doubleWheel ? p.marks2 : p.marks1)[static_cast<std::size_t>(selColumn_ - 1)] = 0;
    selRow_ = row;
    selColumn_ = column;
    selected_ = true;
    p.marks1[static_cast<std::size_t>(row - 1)] = 1;
    (doubleWheel ? p.marks2 : p.marks1)[static_cast<std::size_t>(column - 1)] = 1;
    analysis::TextGrid detail;
    analysis::SetUpAspectDetail(detail, ws_.view);
    analysis::FillAspectDetail(detail, doubleWheel, column, row, ws_.aspects, ws_.view);
    detailModel_->SetGrid(detail);
    Layout();
    table_->setCurrentIndex(tableModel_->index(row, column));
    table_->viewport()->update();
    detail_->viewport()->update();
}

// A click on a heading toggles the mark of its item alone: row headings in the first highlight row,
// column headings in the column item's row.
void AspectTablePage::HeaderClicked(int column, int row) {
    const bool doubleWheel = ws_.view.wheelMode == 2;
    chart::TDataProg &p = ws_.progressions;
    if (row == 0 && column >= 1 && column <= kItems) {
        auto &mark = (doubleWheel ? p.marks2 : p.marks1)[static_cast<std::size_t>(column - 1)];
        mark = mark ? 0 : 1;
    } else if (row >= 1 && row <= kItems) {
        auto &mark = p.marks1[static_cast<std::size_t>(row - 1)];
        mark = mark ? 0 : 1;
    }
    table_->viewport()->update();
}

void AspectTablePage::PaintTableCell(graphics::Canvas &canvas, const QRect &rect, int column, int row,
                                     const std::string &text) {
    const bool headerOfSelection =
        (row == 0 && column == selColumn_) || ((column == 0 || column == 25) && row == selRow_);
    const bool highlight = selected_ && (headerOfSelection || (row == selRow_ && column == selColumn_));
    graphics::PaintAspectCell(canvas, rect, column, row, text, highlight, cbPercent_->isChecked(), *context_);
}

void AspectTablePage::PaintDetailCell(graphics::Canvas &canvas, const QRect &rect, const std::string &text) {
    const bool ambos = type_ == kNatal && cbAmbos_->isChecked();
    graphics::PaintCodeCell(canvas, rect, text, ambos, detailOptions_, panel_, *context_);
}

void AspectTablePage::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (type_ != kTabla && event->size().width() != event->oldSize().width())
        Rebuild();
}

document::PageKind AspectTablePage::PrintKind() const {
    switch (type_) {
    case kListado:
        return document::PageKind::Listado;
    case kNatal:
        return document::PageKind::Natal;
    default:
        return document::PageKind::Tabla;
    }
}

void AspectTablePage::AddPrintChoices(document::PageChoices &choices) const {
    choices.showStrength = cbPercent_->isChecked();
    choices.natalAscensional = rbRAsc_->isChecked();
    choices.ambos = cbAmbos_->isChecked();
    choices.house = ws_.currentHouse;
}

} // namespace cel::workspace
