#include "workspace/transits_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

#include "common/date_text.h"
#include "common/date_time.h"
#include "common/safe_file.h"
#include "document/layout.h"
#include "document/text_painting.h"
#include "document/workspace_page.h"
#include "export/rtf_export.h"
#include "manager/zone_choices.h"
#include "session/zone_offer.h"
#include "timing/ephemeris.h"
#include "workspace/print_window.h"
#include "zones/atlas.h"
#include "zones/zone_history.h"

namespace cel::workspace {

namespace {

using timing::EventKind;
using timing::Real;
using timing::TimingEvent;

constexpr std::array<const char *, TransitsModel::kColumns> kHeadings = {"Fuente", "Cuerpo", "Suceso",
                                                                         "Entra",  "Exacto", "Sale"};
constexpr int kEnterColumn = 3, kExactColumn = 4, kLeaveColumn = 5;
// The program's date style, to the minute; the exact times of a retrograde pass one after another.
constexpr const char *kTimePattern = "mmm dd yyyy, hh:nn am/pm";
constexpr const char *kExactSeparator = "; ";
// The zone id and longitude (west) of the "Horas:" entries of a place.
constexpr int kZoneRole = Qt::UserRole, kLongitudeRole = Qt::UserRole + 1;
constexpr Real kLongestPeriod = 200 * 365.25L;

QDate DateOf(Real days) {
    int y = 0, m = 0, d = 0;
    CivilFromDays(static_cast<std::int64_t>(std::floor(days)), y, m, d);
    return QDate(y, m, d);
}

Real DaysOf(const QDate &date) {
    return static_cast<Real>(DaysFromCivil(date.year(), date.month(), date.day()));
}

// Hard aspects red, soft ones blue, the conjunction brown; ingresses and stations grey.
QColor RowColour(const TimingEvent &e) {
    if (e.kind != EventKind::Aspect)
        return QColor(110, 110, 110);
    const int angle = (e.aspect - 1) * 15;
    if (angle == 0)
        return QColor(150, 100, 20);
    if (angle == 45 || angle == 90 || angle == 135 || angle == 180)
        return QColor(200, 40, 40);
    if (angle == 30 || angle == 60 || angle == 120 || angle == 150)
        return QColor(40, 90, 200);
    return QColor(30, 140, 60);
}

// The timeline's label of an event: source, body and what happens, without the times nor whether the
// aspect applies at one moment.
graphics::TimelineRow TimelineRowOf(const TimingEvent &e) {
    graphics::TimelineRow r;
    const timing::ListingRow row = timing::EventRow(
        e, [](Real) { return std::string(); }, "");
    std::string what = row.what;
    for (const char *state : {" (aplicativo)", " (separativo)"})
        if (what.ends_with(state))
            what.resize(what.size() - std::char_traits<char>::length(state));
    const std::string source = e.source == timing::Source::Transit ? "" : row.source + " ";
    r.label = QString::fromStdString(source + row.body + " " + what);
    r.hasEnter = e.enter.has_value();
    r.hasLeave = e.leave.has_value();
    r.enter = static_cast<double>(e.enter.value_or(0));
    r.leave = static_cast<double>(e.leave.value_or(0));
    for (Real x : e.exact)
        r.exact.push_back(static_cast<double>(x));
    if (e.kind != EventKind::Aspect)
        r.exact = {static_cast<double>(e.Time())};
    r.colour = RowColour(e);
    return r;
}

QCheckBox *Check(const QString &name, const QString &text, QWidget *parent) {
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

// ---- The model.

int TransitsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TransitsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kColumns;
}

const timing::ListingRow &TransitsModel::Row(std::size_t i) const {
    std::optional<timing::ListingRow> &row = rows_[i];
    if (!row)
        row = timing::EventRow(
            events_[i], [this](Real t) { return TimeText(t); }, kExactSeparator);
    return *row;
}

std::string TransitsModel::TimeText(Real days) const {
    const double offset = offsetAt_ ? offsetAt_(days) : 0.0;
    // Rounded to the minute in the civil time shown.
    const Real local = std::round((days + static_cast<Real>(offset) / 24) * 1440) / 1440;
    std::string text = FormatDateTimeText(timing::DateTimeFromContinuous(local), kTimePattern, format_);
    if (offsetAt_)
        text += " " + zones::OffsetText(offset);
    return text;
}

QVariant TransitsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(events_.size()))
        return {};
    const auto i = static_cast<std::size_t>(index.row());
    const TimingEvent &e = events_[i];
    const auto text = [this, i](int column) -> const std::string & {
        const timing::ListingRow &r = Row(i);
        const std::array<const std::string *, kColumns> texts = {&r.source, &r.body,  &r.what,
                                                                 &r.enter,  &r.exact, &r.leave};
        return *texts[static_cast<std::size_t>(column)];
    };
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(text(index.column()));
    case kSortRole:
        switch (index.column()) {
        case kEnterColumn:
            return static_cast<double>(e.enter.value_or(e.Time()));
        case kExactColumn:
            return static_cast<double>(e.Time());
        case kLeaveColumn:
            return static_cast<double>(e.leave.value_or(e.Time()));
        default:
            return QString::fromStdString(text(index.column()));
        }
    case kEventRole:
        return index.row();
    case Qt::ToolTipRole:
        // Every exact time of a retrograde pass, one a line.
        if (index.column() == kExactColumn && e.exact.size() > 1) {
            QString tip = QStringLiteral("%1 pasos exactos:").arg(e.exact.size());
            for (Real x : e.exact)
                tip += "\n" + QString::fromStdString(TimeText(x));
            return tip;
        }
        return {};
    default:
        return {};
    }
}

QVariant TransitsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumns)
        return QString::fromUtf8(kHeadings[static_cast<std::size_t>(section)]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void TransitsModel::Clear() {
    beginResetModel();
    events_.clear();
    rows_.clear();
    timeline_.clear();
    mostExact_ = 0;
    endResetModel();
}

void TransitsModel::Append(std::vector<TimingEvent> events, std::vector<graphics::TimelineRow> timeline) {
    if (events.empty())
        return;
    timeline_.insert(timeline_.end(), std::make_move_iterator(timeline.begin()),
                     std::make_move_iterator(timeline.end()));
    const int first = static_cast<int>(events_.size());
    beginInsertRows({}, first, first + static_cast<int>(events.size()) - 1);
    for (TimingEvent &e : events) {
        mostExact_ = std::max(mostExact_, static_cast<int>(std::max<std::size_t>(1, e.exact.size())));
        events_.push_back(std::move(e));
    }
    rows_.resize(events_.size());
    endInsertRows();
}

void TransitsModel::SetOffsetAt(timing::OffsetAt offsetAt) {
    beginResetModel();
    offsetAt_ = std::move(offsetAt);
    std::fill(rows_.begin(), rows_.end(), std::nullopt);
    endResetModel();
}

// ---- The timeline beside the list.

TimelineView::TimelineView(QWidget *parent) : QWidget(parent) {
    setObjectName("Timeline");
    setMinimumWidth(220);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TimelineView::SetRows(const std::vector<graphics::TimelineRow> *all, std::vector<int> order, double from,
                           double to) {
    all_ = all;
    order_ = std::move(order);
    from_ = from;
    to_ = to;
    update();
}

std::vector<graphics::TimelineRow> TimelineView::Rows() const {
    std::vector<graphics::TimelineRow> rows;
    rows.reserve(order_.size());
    for (int i : order_)
        if (all_ != nullptr && i >= 0 && i < static_cast<int>(all_->size()))
            rows.push_back((*all_)[static_cast<std::size_t>(i)]);
    return rows;
}

void TimelineView::SetFirst(int first) {
    if (first != first_) {
        first_ = std::max(0, first);
        update();
    }
}

void TimelineView::SetLayout(graphics::TimelineLayout layout) {
    layout_ = layout;
    update();
}

void TimelineView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const int count = std::max(0, (height() - layout_.axisHeight) / std::max(1, layout_.rowHeight) + 1);
    // The labels as wide as they need, leaving the bars at least half of a narrow view.
    graphics::TimelineLayout layout = layout_;
    layout.labelWidth = std::min(layout.labelWidth, std::max(60, width() / 2));
    // Only the rows in sight are drawn.
    std::vector<graphics::TimelineRow> shown;
    for (int r = first_; r < std::min(static_cast<int>(order_.size()), first_ + count); ++r) {
        const int i = order_[static_cast<std::size_t>(r)];
        if (all_ != nullptr && i >= 0 && i < static_cast<int>(all_->size()))
            shown.push_back((*all_)[static_cast<std::size_t>(i)]);
    }
    graphics::DrawTimeline(painter, rect(), shown, from_, to_, 0, static_cast<int>(shown.size()), layout);
}

void TimelineView::wheelEvent(QWheelEvent *event) {
    if (onWheel)
        onWheel(-event->angleDelta().y() / 40);
    event->accept();
}

// ---- The window.

TransitsPage::TransitsPage(Notifier &notifier, session::Workspace &workspace, QWidget *parent)
    : QWidget(parent), notifier_(notifier), ws_(workspace) {
    setObjectName("TransitsPage");
    model_ = new TransitsModel(ws_.format);
    model_->setParent(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(TransitsModel::kSortRole);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy_->setDynamicSortFilter(true);
    BuildControls();
    TakeSelection();
}

TransitsPage::~TransitsPage() {
    if (stop_)
        *stop_ = true;
    JoinWorker();
}

void TransitsPage::BuildControls() {
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);

    // The choices, in a column that scrolls when the window is low.
    auto *choices = new QWidget;
    auto *column = new QVBoxLayout(choices);
    column->setContentsMargins(0, 0, 0, 0);
    auto *period = new QGroupBox("Periodo");
    auto *periodGrid = new QGridLayout(period);
    deDesde_ = new QDateEdit;
    deDesde_->setObjectName("DEDesde");
    deHasta_ = new QDateEdit;
    deHasta_->setObjectName("DEHasta");
    for (QDateEdit *edit : {deDesde_, deHasta_}) {
        edit->setDisplayFormat("dd/MM/yyyy");
        edit->setCalendarPopup(true);
        edit->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    }
    periodGrid->addWidget(new QLabel("Desde:"), 0, 0);
    periodGrid->addWidget(deDesde_, 0, 1);
    periodGrid->addWidget(new QLabel("Hasta:"), 1, 0);
    periodGrid->addWidget(deHasta_, 1, 1);
    column->addWidget(period);

    auto *kinds = new QGroupBox("Listar");
    auto *kindsGrid = new QGridLayout(kinds);
    cbTransitos_ = Check("CBTransitos", "Tránsitos", kinds);
    cbIngresos_ = Check("CBIngresos", "Ingresos", kinds);
    cbEstaciones_ = Check("CBEstaciones", "Estaciones", kinds);
    cbProgresiones_ = Check("CBProgresiones", "Progresiones", kinds);
    cbDirecciones_ = Check("CBDirecciones", "Direcciones", kinds);
    cbProgresiones_->setToolTip("Progresiones secundarias: aspectos, ingresos y fases de la Luna progresada");
    cbDirecciones_->setToolTip("Arco solar y direcciones primarias directas y conversas");
    for (QCheckBox *box : {cbTransitos_, cbIngresos_, cbEstaciones_})
        box->setChecked(true);
    kindsGrid->addWidget(cbTransitos_, 0, 0);
    kindsGrid->addWidget(cbIngresos_, 0, 1);
    kindsGrid->addWidget(cbEstaciones_, 1, 0);
    kindsGrid->addWidget(cbProgresiones_, 1, 1);
    kindsGrid->addWidget(cbDirecciones_, 2, 0);
    column->addWidget(kinds);

    auto *moving = new QGroupBox("Cuerpos en tránsito");
    auto *movingGrid = new QGridLayout(moving);
    movingGrid->setSpacing(2);
    for (int n = timing::kFirstMovingBody; n <= timing::kLastMovingBody; ++n) {
        cbMoving_[n] = Check(QStringLiteral("CBMovil%1").arg(n), chart::kBodyNames[n], moving);
        movingGrid->addWidget(cbMoving_[n], (n - 1) / 4, (n - 1) % 4);
    }
    column->addWidget(moving);

    auto *points = new QGroupBox("Puntos natales");
    auto *pointsGrid = new QGridLayout(points);
    pointsGrid->setSpacing(2);
    for (int n = 1; n <= 14; ++n) {
        const QString text = n <= 12 ? QString(chart::kBodyNames[n]) : n == 13 ? "Asc" : "MC";
        cbPoints_[n] = Check(QStringLiteral("CBPunto%1").arg(n), text, points);
        pointsGrid->addWidget(cbPoints_[n], (n - 1) / 4, (n - 1) % 4);
    }
    cbCuspides_ = Check("CBCuspides", "Cúspides", points);
    cbCuspides_->setToolTip("Añadir las cúspides de la selección de casas");
    pointsGrid->addWidget(cbCuspides_, 3, 2, 1, 2);
    column->addWidget(points);

    auto *aspects = new QGroupBox("Aspectos");
    auto *aspectsGrid = new QGridLayout(aspects);
    aspectsGrid->setSpacing(2);
    for (int k = 1; k <= 13; ++k) {
        cbAspects_[k] =
            Check(QStringLiteral("CBAspecto%1").arg(k), QStringLiteral("%1°").arg((k - 1) * 15), aspects);
        aspectsGrid->addWidget(cbAspects_[k], (k - 1) / 4, (k - 1) % 4);
    }
    column->addWidget(aspects);

    auto *selection = new QToolButton;
    selection->setObjectName("SBSeleccion");
    selection->setText("Tomar la selección actual");
    selection->setToolTip("Cuerpos, puntos y aspectos de la selección de la ventana principal");
    connect(selection, &QToolButton::clicked, this, [this] { TakeSelection(); });
    column->addWidget(selection);

    // The times in Greenwich time or in the civil time of the natal or the event's place, with the
    // offset its zone's history gives at each instant.
    auto *hourRow = new QHBoxLayout;
    hourRow->addWidget(new QLabel("Horas:"));
    cbHora_ = new QComboBox;
    cbHora_->setObjectName("CBHora");
    cbHora_->addItem("GMT");
    cbHora_->addItem("Lugar natal");
    cbHora_->addItem("Lugar del evento");
    cbHora_->setToolTip(
        "Horas en GMT o en la hora civil del lugar, con el desfase que regía en cada instante");
    cbHora_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbHora_->setMinimumContentsLength(12);
    connect(cbHora_, &QComboBox::currentIndexChanged, this, [this] { ApplyTimes(); });
    hourRow->addWidget(cbHora_, 1);
    column->addLayout(hourRow);
    column->addStretch(1);

    auto *scroll = new QScrollArea;
    scroll->setWidget(choices);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedWidth(choices->sizeHint().width() + 18);
    outer->addWidget(scroll);

    // The list and its timeline.
    auto *right = new QVBoxLayout;
    auto *bar = new QHBoxLayout;
    sbCalcular_ = new QToolButton;
    sbCalcular_->setObjectName("SBCalcular");
    sbCalcular_->setText("Calcular");
    sbCalcular_->setToolTip("Buscar tránsitos, progresiones y direcciones del periodo");
    connect(sbCalcular_, &QToolButton::clicked, this, [this] { Start(); });
    sbDetener_ = new QToolButton;
    sbDetener_->setObjectName("SBDetener");
    sbDetener_->setText("Detener");
    sbDetener_->setToolTip("Detener la búsqueda");
    sbDetener_->setEnabled(false);
    connect(sbDetener_, &QToolButton::clicked, this, [this] { Stop(); });
    progress_ = new QProgressBar;
    progress_->setObjectName("PBTransitos");
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setMaximumWidth(160);
    labelCount_ = new QLabel;
    labelCount_->setObjectName("LabelSucesos");
    leFiltro_ = new QLineEdit;
    leFiltro_->setObjectName("LEFiltro");
    leFiltro_->setPlaceholderText("texto de cualquier columna");
    leFiltro_->setClearButtonEnabled(true);
    connect(leFiltro_, &QLineEdit::textChanged, this, [this](const QString &text) {
        proxy_->setFilterFixedString(text);
        ShowCount();
        ScheduleTimeline();
    });
    bar->addWidget(sbCalcular_);
    bar->addWidget(sbDetener_);
    bar->addWidget(progress_);
    bar->addWidget(labelCount_);
    bar->addSpacing(12);
    bar->addWidget(new QLabel("Filtrar:"));
    bar->addWidget(leFiltro_, 1);
    right->addLayout(bar);

    list_ = new QTableView;
    list_->setObjectName("TVTransitos");
    list_->setModel(proxy_);
    list_->setSortingEnabled(true);
    list_->sortByColumn(kExactColumn, Qt::AscendingOrder);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setAlternatingRowColors(true);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    list_->setToolTip("Doble clic o Intro: ver el instante en la rueda (fecha del evento)");
    // Room for the texts they hold; the time columns are sized by FitColumns.
    const QFontMetrics metrics = list_->fontMetrics();
    list_->setColumnWidth(0, metrics.horizontalAdvance("DP Conv.") + 12);
    list_->setColumnWidth(1, metrics.horizontalAdvance("Cuerpo") + 12);
    list_->setColumnWidth(2, metrics.horizontalAdvance("165° Sol (aplicativo)") + 12);
    // The exact times last: a retrograde pass's three times run on without pushing "Sale" out of sight.
    list_->horizontalHeader()->setSectionsMovable(true);
    list_->horizontalHeader()->moveSection(kExactColumn, kLeaveColumn);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(list_, &QTableView::activated, this, [this](const QModelIndex &index) { ChooseRow(index); });

    timeline_ = new TimelineView;
    timeline_->onWheel = [this](int steps) {
        list_->verticalScrollBar()->setValue(list_->verticalScrollBar()->value() + steps);
    };
    connect(list_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { timeline_->SetFirst(std::max(0, list_->rowAt(0))); });
    connect(proxy_, &QSortFilterProxyModel::layoutChanged, this, [this] { ScheduleTimeline(); });
    connect(proxy_, &QSortFilterProxyModel::modelReset, this, [this] { ScheduleTimeline(); });
    connect(proxy_, &QSortFilterProxyModel::rowsInserted, this, [this] { ScheduleTimeline(); });
    connect(proxy_, &QSortFilterProxyModel::rowsRemoved, this, [this] { ScheduleTimeline(); });

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName("SplitterTransitos");
    splitter->addWidget(list_);
    splitter->addWidget(timeline_);
    splitter->setStretchFactor(0, 5);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({700, 300});
    right->addWidget(splitter, 1);

    auto *output = new QHBoxLayout;
    const struct {
        const char *name, *text;
        std::function<void()> run;
    } buttons[] = {{"SBPreliminar", "Impresión preliminar", [this] { Print(0); }},
                   {"SBImprimirLista", "Imprimir", [this] { Print(1); }},
                   {"SBExportarRtf", "Exportar a archivo RTF", [this] { Print(2); }},
                   {"SBExportarCsv", "Exportar a archivo CSV", [this] { AskCsv(); }}};
    output->addStretch(1);
    for (const auto &b : buttons) {
        auto *button = new QToolButton;
        button->setObjectName(b.name);
        button->setText(b.text);
        connect(button, &QToolButton::clicked, this, b.run);
        output->addWidget(button);
    }
    right->addLayout(output);
    outer->addLayout(right, 1);
    FitColumns();
    ShowCount();
}

void TransitsPage::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    RefreshZones();
}

void TransitsPage::RefreshZones() {
    const struct {
        int item;
        const chart::TDato &record;
        const char *name;
    } places[] = {{1, ws_.natalRecord, "Lugar natal"}, {2, ws_.eventRecord, "Lugar del evento"}};
    auto *items = qobject_cast<QStandardItemModel *>(cbHora_->model());
    bool changed = false;
    for (const auto &place : places) {
        const std::optional<session::ZoneOffer> offer =
            session::OfferZoneForPlace(ws_.db, place.record.placeId, place.record.localDateTime,
                                       zones::SharedAtlas(), &manager::ZoneChoices());
        const QString zone = offer ? QString::fromStdString(offer->zoneId) : QString();
        const double longitude = static_cast<double>(place.record.longitude);
        QStandardItem *item = items->item(place.item);
        changed = changed || (place.item == cbHora_->currentIndex() &&
                              (item->data(kZoneRole).toString() != zone ||
                               item->data(kLongitudeRole).toDouble() != longitude));
        item->setData(zone, kZoneRole);
        item->setData(longitude, kLongitudeRole);
        item->setText(QString::fromUtf8(place.name) + (zone.isEmpty() ? " (sin zona)" : ": " + zone));
        item->setEnabled(!zone.isEmpty());
    }
    if (!items->item(cbHora_->currentIndex())->isEnabled())
        cbHora_->setCurrentIndex(0);
    else if (changed)
        ApplyTimes();
}

void TransitsPage::ApplyTimes() {
    const int i = cbHora_->currentIndex();
    const QString zone = cbHora_->itemData(i, kZoneRole).toString();
    timing::OffsetAt offsetAt;
    timesTitle_ = "horas GMT";
    if (i > 0 && !zone.isEmpty()) {
        const double longitude = cbHora_->itemData(i, kLongitudeRole).toDouble();
        offsetAt = [id = zone.toStdString(), longitude](Real days) {
            const std::optional<zones::ZoneReading> reading =
                zones::ReadUniversal(id, timing::DateTimeFromContinuous(days), longitude);
            return reading ? reading->offsetHours : 0.0;
        };
        timesTitle_ =
            "hora civil de " + zone.toStdString() + (i == 1 ? " (lugar natal)" : " (lugar del evento)");
    }
    model_->SetOffsetAt(std::move(offsetAt));
    exactShown_ = 0;
    FitColumns();
    ScheduleTimeline();
}

void TransitsPage::FitColumns() {
    // A wide time of the style shown (with the widest offset text when a zone's).
    const QFontMetrics metrics = list_->fontMetrics();
    const QString sample = QStringLiteral("sep 30 2024, 10:59 pm") + (model_->OffsetAt() ? " UTC-10:30" : "");
    const int time = metrics.horizontalAdvance(sample) + 14;
    const int exact = std::max(1, model_->MostExactTimes());
    if (exact == exactShown_)
        return;
    const bool first = exactShown_ == 0;
    exactShown_ = exact;
    if (first) {
        list_->setColumnWidth(kEnterColumn, time);
        list_->setColumnWidth(kLeaveColumn, time);
    }
    list_->setColumnWidth(kExactColumn, exact * (time - 14) +
                                            (exact - 1) * metrics.horizontalAdvance(kExactSeparator) + 14);
}

void TransitsPage::TakeSelection() {
    const settings::RecVistaCarta &view = ws_.choices;
    bool anyBody = false, anyPoint = false, anyAspect = false;
    for (int n = timing::kFirstMovingBody; n <= timing::kLastMovingBody; ++n) {
        // The Moon transits only when asked: it would fill the list with its monthly aspects.
        const bool on = n != 2 && view.pointSelection[static_cast<std::size_t>(n)];
        cbMoving_[n]->setChecked(on);
        anyBody = anyBody || on;
    }
    if (!anyBody)
        for (int n : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11})
            cbMoving_[n]->setChecked(true);
    for (int n = 1; n <= 12; ++n) {
        cbPoints_[n]->setChecked(view.pointSelection[static_cast<std::size_t>(n)]);
        anyPoint = anyPoint || view.pointSelection[static_cast<std::size_t>(n)];
    }
    cbPoints_[13]->setChecked(view.cuspSelection[1] || !anyPoint);
    cbPoints_[14]->setChecked(view.cuspSelection[10] || !anyPoint);
    if (!anyPoint)
        for (int n = 1; n <= 12; ++n)
            cbPoints_[n]->setChecked(true);
    for (int k = 1; k <= 13; ++k) {
        cbAspects_[k]->setChecked(view.angleSelection[static_cast<std::size_t>(k)]);
        anyAspect = anyAspect || view.angleSelection[static_cast<std::size_t>(k)];
    }
    if (!anyAspect)
        for (int k : {1, 5, 7, 9, 13})
            cbAspects_[k]->setChecked(true);
    if (!running_ && model_->rowCount() == 0) {
        // A year from the event's date.
        const Real event = timing::ContinuousFromDateTime(ws_.eventRecord.gmtDateTime);
        const QDate day = DateOf(event);
        deDesde_->setDate(QDate(day.year(), 1, 1));
        deHasta_->setDate(QDate(day.year(), 12, 31));
    }
}

bool TransitsPage::MakeRequest(timing::ListingRequest &request, QString &problem) const {
    timing::TimingOptions &o = request.options;
    o.from = DaysOf(deDesde_->date());
    o.to = DaysOf(deHasta_->date()) + 1;
    if (o.to <= o.from) {
        problem = "La fecha «Hasta» es anterior a la fecha «Desde».";
        return false;
    }
    if (o.to - o.from > kLongestPeriod) {
        problem = "El periodo no puede pasar de 200 años.";
        return false;
    }
    request.transits = cbTransitos_->isChecked();
    request.ingresses = cbIngresos_->isChecked();
    request.stations = cbEstaciones_->isChecked();
    request.progressions = cbProgresiones_->isChecked();
    request.directions = cbDirecciones_->isChecked();
    if (!request.transits && !request.ingresses && !request.stations && !request.progressions &&
        !request.directions) {
        problem = "Elija qué listar: tránsitos, ingresos, estaciones, progresiones o direcciones.";
        return false;
    }
    o.bodies.clear();
    for (int n = timing::kFirstMovingBody; n <= timing::kLastMovingBody; ++n)
        if (cbMoving_[n]->isChecked())
            o.bodies.push_back(n);
    const bool transitKinds = request.transits || request.ingresses || request.stations;
    if (o.bodies.empty() && transitKinds) {
        problem = "Elija al menos un cuerpo en tránsito.";
        return false;
    }
    o.points.clear();
    for (int n = 1; n <= 12; ++n)
        if (cbPoints_[n]->isChecked())
            o.points.push_back({timing::NatalPoint::Type::Body, n});
    if (cbPoints_[13]->isChecked())
        o.points.push_back({timing::NatalPoint::Type::Ascendant, 1});
    if (cbPoints_[14]->isChecked())
        o.points.push_back({timing::NatalPoint::Type::Midheaven, 10});
    if (cbCuspides_->isChecked())
        for (int c = 1; c <= 12; ++c)
            if (ws_.choices.cuspSelection[static_cast<std::size_t>(c)] && c != 1 && c != 10)
                o.points.push_back({timing::NatalPoint::Type::Cusp, c});
    o.aspects.clear();
    for (int k = 1; k <= 13; ++k)
        if (cbAspects_[k]->isChecked())
            o.aspects.push_back(k);
    const bool aspectKinds = request.transits || request.progressions || request.directions;
    if (aspectKinds && (o.points.empty() || o.aspects.empty())) {
        problem = "Elija al menos un punto natal y un aspecto.";
        return false;
    }
    o.orbs = ws_.settings.orbs;
    o.useDeltaT = ws_.eventRecord.deltaTFlag == 1;
    // Applying or separating at the event's instant.
    o.moment = timing::ContinuousFromDateTime(ws_.eventRecord.gmtDateTime);
    return true;
}

bool TransitsPage::Start() {
    timing::ListingRequest request;
    QString problem;
    if (!MakeRequest(request, problem)) {
        notifier_.Notice(NoticeKind::Warning, false, true, problem.toStdString());
        return false;
    }
    if (stop_)
        *stop_ = true;
    JoinWorker();
    RefreshZones();
    model_->Clear();
    exactShown_ = 0;
    labelWidth_ = 0;
    from_ = request.options.from;
    to_ = request.options.to;
    ++generation_;
    running_ = true;
    sbDetener_->setEnabled(true);
    progress_->setValue(0);
    ShowCount();
    auto stop = std::make_shared<std::atomic<bool>>(false);
    stop_ = stop;
    const int generation = generation_;
    worker_ = std::thread([this, stop, generation, natal = ws_.natal, request = std::move(request)] {
        // The search yields to the window's thread when both want the processor (Linux gives each thread
        // a niceness of its own).
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 5);
        timing::ChunkedListing listing(natal, request);
        while (!listing.Done() && !*stop) {
            std::vector<TimingEvent> events = listing.Next([stop] { return stop->load(); });
            const double share = listing.Share();
            // The timeline's rows are made here too, so the window only adds them.
            std::vector<graphics::TimelineRow> timeline;
            timeline.reserve(events.size());
            for (const TimingEvent &e : events)
                timeline.push_back(TimelineRowOf(e));
            QMetaObject::invokeMethod(
                this,
                [this, generation, events = std::move(events), timeline = std::move(timeline),
                 share]() mutable { Receive(generation, std::move(events), std::move(timeline), share); },
                Qt::QueuedConnection);
        }
        const bool stopped = *stop;
        QMetaObject::invokeMethod(
            this, [this, generation, stopped] { Finish(generation, stopped); }, Qt::QueuedConnection);
    });
    return true;
}

void TransitsPage::Stop() {
    if (stop_)
        *stop_ = true;
    sbDetener_->setEnabled(false);
}

void TransitsPage::JoinWorker() {
    if (worker_.joinable())
        worker_.join();
}

void TransitsPage::Receive(int generation, std::vector<TimingEvent> events,
                           std::vector<graphics::TimelineRow> timeline, double share) {
    if (generation != generation_)
        return;
    graphics::TimelineLayout layout;
    layout.rowHeight = list_->verticalHeader()->defaultSectionSize();
    labelWidth_ =
        std::max(labelWidth_, graphics::FitLabels(layout, timeline, timeline_->font(), 400).labelWidth);
    model_->Append(std::move(events), std::move(timeline));
    FitColumns();
    progress_->setValue(static_cast<int>(share * 1000));
    ShowCount();
    if (onProgress)
        onProgress(share);
}

void TransitsPage::Finish(int generation, bool stopped) {
    if (generation != generation_)
        return;
    JoinWorker();
    running_ = false;
    sbDetener_->setEnabled(false);
    if (!stopped)
        progress_->setValue(progress_->maximum());
    ShowCount();
    if (stopped)
        labelCount_->setText(labelCount_->text() + " (detenido)");
    RefreshTimeline();
    if (onFinished)
        onFinished(stopped);
}

void TransitsPage::ShowCount() {
    const int shown = proxy_->rowCount(), all = model_->rowCount();
    labelCount_->setText(shown == all ? QStringLiteral("%1 sucesos").arg(all)
                                      : QStringLiteral("%1 de %2 sucesos").arg(shown).arg(all));
}

void TransitsPage::ScheduleTimeline() {
    if (timelinePending_)
        return;
    timelinePending_ = true;
    QTimer::singleShot(120, this, [this] { RefreshTimeline(); });
}

void TransitsPage::RefreshTimeline() {
    timelinePending_ = false;
    const int n = proxy_->rowCount();
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int r = 0; r < n; ++r)
        order[static_cast<std::size_t>(r)] = proxy_->mapToSource(proxy_->index(r, 0)).row();
    graphics::TimelineLayout layout;
    layout.rowHeight = list_->verticalHeader()->defaultSectionSize();
    layout.axisHeight = list_->horizontalHeader()->height() + list_->frameWidth();
    if (labelWidth_ > 0)
        layout.labelWidth = labelWidth_;
    timeline_->SetLayout(layout);
    timeline_->SetRows(&model_->TimelineRows(), std::move(order), static_cast<double>(from_),
                       static_cast<double>(to_));
    timeline_->SetFirst(std::max(0, list_->rowAt(0)));
}

void TransitsPage::ChooseRow(const QModelIndex &index) {
    if (!index.isValid() || !onChooseInstant)
        return;
    const QModelIndex source = proxy_->mapToSource(index);
    const TimingEvent &e = model_->Events()[static_cast<std::size_t>(source.row())];
    Real t = e.Time();
    if (index.column() == kEnterColumn && e.enter)
        t = *e.enter;
    else if (index.column() == kLeaveColumn && e.leave)
        t = *e.leave;
    onChooseInstant(t, e.source);
}

document::PageContent TransitsPage::PrintContent() const {
    document::PageChoices choices;
    choices.ppi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    choices.previewPpi = choices.ppi;
    const document::HeadingNames names = document::NamesFromDatabase(ws_, {}, false);
    document::PageContent content = document::MakePageContent(
        document::PageKind::Transitos, document::StateOf(ws_), choices, document::MakeHeading(ws_, names));
    content.view.listingTitle = "Tránsitos del " + DateOf(from_).toString("dd/MM/yyyy").toStdString() +
                                " al " + DateOf(to_ - 1).toString("dd/MM/yyyy").toStdString() + ", " +
                                timesTitle_;
    document::Grid &grid = content.listing;
    grid.rowHeight = 16;
    grid.font = document::TextFont{"Arial", 8};
    // The columns in the window's order, each as wide as its widest text (the exact times take what the
    // landscape page has left).
    std::vector<int> columns;
    for (int v = 0; v < TransitsModel::kColumns; ++v)
        columns.push_back(list_->horizontalHeader()->logicalIndex(v));
    const QFontMetrics metrics(document::MakeFont(grid.font));
    std::vector<int> widths(columns.size(), 0);
    const auto add = [&](std::vector<std::string> cells) {
        for (std::size_t v = 0; v < cells.size(); ++v)
            widths[v] = std::max(widths[v], metrics.horizontalAdvance(QString::fromStdString(cells[v])) + 8);
        grid.cells.push_back(std::move(cells));
    };
    std::vector<std::string> heading;
    for (int c : columns)
        heading.emplace_back(kHeadings[static_cast<std::size_t>(c)]);
    add(std::move(heading));
    for (int r = 0; r < proxy_->rowCount(); ++r) {
        std::vector<std::string> cells;
        for (int c : columns)
            cells.push_back(proxy_->index(r, c).data().toString().toStdString());
        add(std::move(cells));
    }
    constexpr int kPageWidth = 960; // pixels across a landscape page inside its margins
    const auto exact =
        static_cast<std::size_t>(std::find(columns.begin(), columns.end(), kExactColumn) - columns.begin());
    int others = 0;
    for (std::size_t v = 0; v < widths.size(); ++v)
        others += v == exact ? 0 : widths[v];
    widths[exact] = std::max(std::min(widths[exact], kPageWidth - others), 60);
    grid.columnWidths = widths;
    content.timeline = timeline_->Rows();
    content.timelineFrom = static_cast<double>(from_);
    content.timelineTo = static_cast<double>(to_);
    return content;
}

void TransitsPage::Print(int how) {
    const document::LayoutOptions layout{false, ws_.settings.main.footer};
    RefreshTimeline();
    if (how == 0)
        TFormPrint::Preview(notifier_, PrintContent(), layout, ws_.settings.main.hint, this);
    else if (how == 1)
        TFormPrint::PrintDirect(notifier_, PrintContent(), layout, this);
    else
        TFormPrint::ExportRtfDirect(notifier_, PrintContent(), layout, this);
}

bool TransitsPage::ExportCsv(const std::string &path) {
    std::vector<TimingEvent> shown;
    for (int r = 0; r < proxy_->rowCount(); ++r)
        shown.push_back(
            model_->Events()[static_cast<std::size_t>(proxy_->mapToSource(proxy_->index(r, 0)).row())]);
    std::ostringstream out;
    timing::WriteCsv(out, shown, model_->OffsetAt());
    try {
        SafeFileWriter writer(path);
        writer.Write(out.str());
        writer.Commit();
    } catch (const FileError &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    return true;
}

void TransitsPage::AskCsv() {
    QFileDialog dialog(this, QStringLiteral("Exportar a archivo CSV"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Archivos CSV (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string path = dialog.selectedFiles().front().toStdString();
    if (ExportCsv(path) &&
        notifier_.Notice(NoticeKind::Question, true, true, exporting::CreatedQuestion(path)))
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

} // namespace cel::workspace
