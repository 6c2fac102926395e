#include "manager/place_import_window.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "common/safe_file.h"
#include "database/coordinate_text.h"
#include "database/data_file.h"
#include "database/spanish_order.h"
#include "manager/colour_suite.h"
#include "manager/file_chooser.h"

namespace cel::manager {

using namespace cel::database;

namespace {

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

enum Column { ColId, ColNo, ColTick, ColNombre, ColDst, ColTz, ColLon, ColLat, ColCount };

} // namespace

TFormImportLugar::TFormImportLugar(DataStore &store, PlaceFile &file, const std::string &path,
                                   QWidget *parent)
    : QDialog(parent), store_(store), file_(file) {
    setObjectName("TFormImportLugar");
    setWindowTitle(QString::fromUtf8("Importar Lugar Geográfico"));
    ApplySuite(this);
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(
        QString("Archivo: [%1] - País: %2").arg(Q(FileNameOf(path)), Q(file.country.Nombre)), this);
    heading->setObjectName("LAArchivo");
    layout->addWidget(heading);

    auto *filters = new QHBoxLayout;
    filters->addWidget(new QLabel("por nombre:", this));
    filter_ = new QLineEdit(this);
    filter_->setObjectName("EDFiltro");
    filters->addWidget(filter_, 1);
    onlyTicked_ = new QCheckBox("Seleccionado", this);
    onlyTicked_->setObjectName("CBSeleccionado");
    filters->addWidget(onlyTicked_);
    layout->addLayout(filters);

    grid_ = new QTableWidget(0, ColCount, this);
    grid_->setObjectName("SGLugares");
    grid_->setHorizontalHeaderLabels({"Id", "No", "", "Nombre", "DST", "TZ", "Lon", "Lat"});
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(20);
    // Base widths, a quarter wider at 120 or more pixels per inch and wider with a wide font.
    const bool large = screen() && screen()->logicalDotsPerInch() >= 120;
    const double font = std::max(1.0, grid_->fontMetrics().averageCharWidth() / 5.5);
    const int widths[ColCount] = {0, 35, 18, 155, 30, 40, 80, 80};
    for (int c = 0; c < ColCount; ++c)
        grid_->setColumnWidth(c, static_cast<int>(widths[c] * (large ? 1.25 : 1.0) * font));
    grid_->setColumnHidden(ColId, true);
    grid_->installEventFilter(this);
    layout->addWidget(grid_, 1);

    auto *counters = new QHBoxLayout;
    counters->addWidget(new QLabel("Seleccionados:", this));
    selected_ = new QLabel(this);
    selected_->setObjectName("LASeleccionados");
    counters->addWidget(selected_);
    counters->addSpacing(20);
    counters->addWidget(new QLabel("Filtrados:", this));
    filtered_ = new QLabel(this);
    filtered_->setObjectName("LAFiltrados");
    counters->addWidget(filtered_);
    counters->addStretch(1);
    auto *all = new QPushButton("todos", this);
    all->setObjectName("BTTodos");
    auto *none = new QPushButton("ninguno", this);
    none->setObjectName("BTNinguno");
    counters->addWidget(all);
    counters->addWidget(none);
    layout->addLayout(counters);

    auto *strip = new QHBoxLayout;
    strip->addStretch(1);
    auto *ok = new QPushButton("Agregar Lugares Seleccionados a archivo de datos", this);
    ok->setObjectName("BTAcuerdo");
    auto *cancel = new QPushButton("Cancelar", this);
    cancel->setObjectName("BTCancelar");
    for (QPushButton *b : {all, none, ok, cancel})
        b->setAutoDefault(false);
    strip->addWidget(ok);
    strip->addWidget(cancel);
    layout->addLayout(strip);

    connect(filter_, &QLineEdit::textChanged, this, &TFormImportLugar::Refilter);
    connect(onlyTicked_, &QCheckBox::toggled, this, &TFormImportLugar::Refilter);
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == ColTick)
            ToggleRow(row);
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ToggleRow(row); });
    connect(all, &QPushButton::clicked, this, [this] {
        for (TLugar_Geo *p : shown_)
            p->Marca = 1;
        ticked_ = static_cast<int>(shown_.size());
        Refilter();
    });
    connect(none, &QPushButton::clicked, this, [this] {
        for (TLugar_Geo *p : shown_)
            p->Marca = 0;
        ticked_ = 0;
        Refilter();
    });
    connect(ok, &QPushButton::clicked, this, &TFormImportLugar::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(680, 480);
    Refilter();
}

void TFormImportLugar::Refilter() {
    const std::string wanted = AsciiUpper(filter_->text().toStdString());
    shown_.clear();
    for (const auto &p : file_.places)
        if ((wanted.empty() || AsciiUpper(p->Nombre).find(wanted) != std::string::npos) &&
            (!onlyTicked_->isChecked() || p->Marca != 0))
            shown_.push_back(p.get());
    std::stable_sort(shown_.begin(), shown_.end(), [](const TLugar_Geo *a, const TLugar_Geo *b) {
        return SpanishLess(a->Nombre, b->Nombre);
    });
    grid_->setRowCount(static_cast<int>(shown_.size()));
    const QColor yellow(255, 255, 0), odd(251, 253, 219);
    for (int r = 0; r < static_cast<int>(shown_.size()); ++r) {
        const TLugar_Geo &p = *shown_[static_cast<std::size_t>(r)];
        const QString texts[ColCount] = {QString::number(p.Id),
                                         QString::number(r + 1),
                                         QString(),
                                         Q(p.Nombre),
                                         p.DST == 1 ? QString::fromUtf8("sí") : QString("no"),
                                         Q(TimeZoneText(p.TZ)),
                                         Q(AngleText(p.Lon, AngleKind::Longitude)),
                                         Q(AngleText(p.Lat, AngleKind::Latitude))};
        for (int c = 0; c < ColCount; ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            if (c == ColTick)
                item->setCheckState(p.Marca ? Qt::Checked : Qt::Unchecked);
            const Qt::Alignment align = c == ColTz || c == ColTick   ? Qt::AlignCenter
                                        : c == ColLon || c == ColLat ? Qt::AlignRight | Qt::AlignVCenter
                                                                     : Qt::AlignLeft | Qt::AlignVCenter;
            item->setTextAlignment(align);
            item->setBackground(p.Marca ? yellow : r % 2 == 1 ? odd : QColor(Qt::white));
            grid_->setItem(r, c, item);
        }
    }
    UpdateCounters();
}

void TFormImportLugar::UpdateCounters() {
    const int total = static_cast<int>(file_.places.size());
    selected_->setText(QString("%1 de %2").arg(ticked_).arg(total));
    filtered_->setText(QString("%1 de %2").arg(shown_.size()).arg(total));
}

void TFormImportLugar::ToggleRow(int row) {
    if (row < 0 || row >= static_cast<int>(shown_.size()))
        return;
    TLugar_Geo &p = *shown_[static_cast<std::size_t>(row)];
    p.Marca = p.Marca ? 0 : 1;
    ticked_ += p.Marca ? 1 : -1;
    const int current = row;
    Refilter();
    if (current < grid_->rowCount())
        grid_->setCurrentCell(current, ColNombre);
}

bool TFormImportLugar::eventFilter(QObject *watched, QEvent *event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            ToggleRow(grid_->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormImportLugar::accept() {
    if (ticked_ == 0) {
        store_.Notices().Notice(NoticeKind::Warning, false, true,
                                "Debe seleccionar al menos un(1) lugar geográfico\r\r(ENTER, Doble click o "
                                "barra espaciadora)");
        return;
    }
    QDialog::accept();
}

std::string ImportReportText(const AddPlacesResult &result, const std::string &countryName) {
    int added = 0, renamed = 0, there = 0, declined = 0, refused = 0;
    std::string declinedNames, refusedNames;
    for (const PlaceResolution &r : result.places) {
        switch (r.outcome) {
        case PlaceOutcome::Added:
        case PlaceOutcome::AddedRenamed:
            ++added;
            break;
        case PlaceOutcome::DataRenamed:
            ++renamed;
            break;
        case PlaceOutcome::AlreadyThere:
            ++there;
            break;
        case PlaceOutcome::NameDeclined:
        case PlaceOutcome::DataKept:
            ++declined;
            declinedNames += "\r" + r.name;
            break;
        case PlaceOutcome::Refused:
            ++refused;
            refusedNames += "\r" + r.name + ":";
            for (std::size_t i = 0; i < r.problems.size(); ++i)
                refusedNames += (i ? ", " : " ") + r.problems[i];
            break;
        }
    }
    std::string text = "Lugares geográficos agregados: " + std::to_string(added);
    if (result.countryAdded)
        text += "\rPaís agregado: " + countryName;
    text += "\rLugares renombrados: " + std::to_string(renamed);
    text += "\rYa estaban en el archivo: " + std::to_string(there);
    text += "\rNo agregados: " + std::to_string(declined) + declinedNames;
    if (refused > 0)
        text += "\rRechazados por valores imposibles: " + std::to_string(refused) + refusedNames;
    return text;
}

bool ImportPlacesFrom(QWidget *parent, DataStore &store, const std::string &path, bool clearMarks) {
    Notifier &n = store.Notices();
    std::optional<PlaceFile> file;
    try {
        file = OpenPlaceFile(path, n, store.Format());
    } catch (const FileError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    if (!file)
        return false;
    TFormImportLugar window(store, *file, path, parent);
    if (window.exec() != QDialog::Accepted)
        return false;
    Database &db = store.Db();
    if (clearMarks)
        for (auto &p : db.Places)
            p->Marca = 0;
    AddPlacesResult result;
    try {
        result = AddPlaces(db, file->country, file->places, n);
    } catch (const IdLimitError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    if (!store.Save("los lugares importados"))
        return true; // not saved, its notice shown: what is shown is refreshed
    n.Notice(NoticeKind::Information, false, false, ImportReportText(result, file->country.Nombre));
    return std::any_of(result.places.begin(), result.places.end(),
                       [](const PlaceResolution &r) {
                           return r.outcome == PlaceOutcome::Added ||
                                  r.outcome == PlaceOutcome::AddedRenamed ||
                                  r.outcome == PlaceOutcome::DataRenamed;
                       }) ||
           result.countryAdded;
}

bool ImportPlaceFile(QWidget *parent, DataStore &store, bool clearMarks) {
    const std::string folder =
        QFileInfo(QString::fromStdString(store.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().OpenFile(parent, "Importar lugar geografico", folder, "Archivos Lugares Geográficos (*.lug)");
    if (path.empty())
        return false;
    return ImportPlacesFrom(parent, store, path, clearMarks);
}

} // namespace cel::manager
