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

#include "manager/colour_suite.h"
#include "manager/file_chooser.h"
#include "session/manager_files.h"

namespace cel::manager {

namespace {

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

enum Column { ColId, ColNo, ColTick, ColNombre, ColDst, ColTz, ColLon, ColLat, ColCount };

} // namespace

TFormImportLugar::TFormImportLugar(DataStore &store, session::PlaceFile &file, const std::string &path,
                                   QWidget *parent)
    : QDialog(parent), store_(store), list_(file) {
    setObjectName("TFormImportLugar");
    setWindowTitle(QString::fromUtf8("Importar Lugar Geográfico"));
    ApplySuite(this);
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(
        QString("Archivo: [%1] - País: %2").arg(Q(session::FileNameOf(path)), Q(file.country.Nombre)), this);
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
        list_.TickShown(true);
        ShowRows();
    });
    connect(none, &QPushButton::clicked, this, [this] {
        list_.TickShown(false);
        ShowRows();
    });
    connect(ok, &QPushButton::clicked, this, &TFormImportLugar::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(680, 480);
    Refilter();
}

void TFormImportLugar::Refilter() {
    list_.SetFilter(filter_->text().toStdString(), onlyTicked_->isChecked());
    ShowRows();
}

void TFormImportLugar::ShowRows() {
    const int rows = static_cast<int>(list_.Shown().size());
    grid_->setRowCount(rows);
    const QColor yellow(255, 255, 0), odd(251, 253, 219);
    for (int r = 0; r < rows; ++r) {
        const auto texts = list_.RowTexts(r);
        const bool ticked = list_.RowTicked(r);
        for (int c = 0; c < ColCount; ++c) {
            auto *item = new QTableWidgetItem(Q(texts[static_cast<std::size_t>(c)]));
            if (c == ColTick)
                item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
            const Qt::Alignment align = c == ColTz || c == ColTick   ? Qt::AlignCenter
                                        : c == ColLon || c == ColLat ? Qt::AlignRight | Qt::AlignVCenter
                                                                     : Qt::AlignLeft | Qt::AlignVCenter;
            item->setTextAlignment(align);
            item->setBackground(ticked ? yellow : r % 2 == 1 ? odd : QColor(Qt::white));
            grid_->setItem(r, c, item);
        }
    }
    UpdateCounters();
}

void TFormImportLugar::UpdateCounters() {
    selected_->setText(Q(list_.TickedText()));
    filtered_->setText(Q(list_.ShownText()));
}

void TFormImportLugar::ToggleRow(int row) {
    if (row < 0 || row >= static_cast<int>(list_.Shown().size()))
        return;
    list_.Toggle(row);
    ShowRows();
    if (row < grid_->rowCount())
        grid_->setCurrentCell(row, ColNombre);
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
    if (!list_.MayAdd(store_.Notices()))
        return;
    QDialog::accept();
}

bool ImportPlacesFrom(QWidget *parent, DataStore &store, const std::string &path, bool clearMarks) {
    std::optional<session::PlaceFile> file = session::ReadPlaceFile(store, path);
    if (!file)
        return false;
    TFormImportLugar window(store, *file, path, parent);
    if (window.exec() != QDialog::Accepted)
        return false;
    return session::AddTickedPlaces(store, *file, clearMarks);
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
