#include "manager/zone_review_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <vector>

#include "manager/colour_suite.h"
#include "manager/zone_choices.h"
#include "zones/atlas.h"

namespace cel::manager {

namespace {

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

enum Column { kTick, kPerson, kPlace, kLocal, kStored, kInForce, kUniversal, kNote, kColumns };

} // namespace

TFormRevisarZonas::TFormRevisarZonas(DataStore &store, QWidget *parent) : QDialog(parent), store_(store) {
    setObjectName("TFormRevisarZonas");
    setWindowTitle("Revisar husos horarios");
    ApplySuite(this);
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(
        "Personas cuyo nacimiento está guardado en hora local y cuyo lugar guarda un huso distinto del "
        "que regía allí en esa fecha, según la historia de zonas horarias. Marque las que desea corregir: "
        "se guardarán en tiempo universal (GMT) con el huso que regía. Las demás no cambian.",
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    summary_ = new QLabel(this);
    summary_->setObjectName("LAResumen");
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    table_ = new QTableWidget(0, kColumns, this);
    table_->setObjectName("SGRevision");
    table_->setHorizontalHeaderLabels({"", "Persona", "Lugar", "Nacimiento (hora local)", "Huso guardado",
                                       QString::fromUtf8("Regía"), "Quedaría en GMT", "Nota"});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    layout->addWidget(table_, 1);

    result_ = new QLabel(this);
    result_->setObjectName("LAResultado");
    result_->setWordWrap(true);
    layout->addWidget(result_);

    auto *row = new QHBoxLayout;
    all_ = new QPushButton("Marcar &todos", this);
    all_->setObjectName("BTMarcarTodos");
    none_ = new QPushButton("&Ninguno", this);
    none_->setObjectName("BTNinguno");
    correct_ = new QPushButton("&Corregir los marcados", this);
    correct_->setObjectName("BTCorregir");
    auto *close = new QPushButton("C&errar", this);
    close->setObjectName("BTCerrar");
    // Wide enough for the count the caption adds, so that ticking never squeezes it.
    correct_->setText("&Corregir los marcados (0000)");
    correct_->setMinimumWidth(correct_->sizeHint().width());
    for (QPushButton *b : {all_, none_, correct_, close})
        b->setAutoDefault(false);
    close->setDefault(true);
    row->addWidget(all_);
    row->addWidget(none_);
    row->addStretch(1);
    row->addWidget(correct_);
    row->addWidget(close);
    layout->addLayout(row);

    const auto tickAll = [this](bool on) {
        for (int r = 0; r < table_->rowCount(); ++r)
            table_->item(r, kTick)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    };
    connect(all_, &QPushButton::clicked, this, [tickAll] { tickAll(true); });
    connect(none_, &QPushButton::clicked, this, [tickAll] { tickAll(false); });
    connect(correct_, &QPushButton::clicked, this, &TFormRevisarZonas::CorrectTicked);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() == kTick)
            UpdateButtons();
    });
    // Enter or a double click on a row's texts ticks or unticks it (Space does on the tick itself).
    connect(table_, &QTableWidget::cellActivated, this, [this](int r, int c) {
        if (c == kTick)
            return;
        QTableWidgetItem *tick = table_->item(r, kTick);
        tick->setCheckState(tick->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });

    Fill();
    resize(1240, 480);
}

void TFormRevisarZonas::Fill() {
    review_ = session::ReviewZones(store_.Db(), zones::SharedAtlas(), &ZoneChoices(), store_.Format());
    summary_->setText(Q(session::ReviewSummary(review_)));
    const QSignalBlocker quiet(table_);
    table_->setRowCount(static_cast<int>(review_.rows.size()));
    int r = 0;
    for (const session::ZoneReviewRow &row : review_.rows) {
        auto *tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        tick->setCheckState(Qt::Unchecked);
        tick->setData(Qt::UserRole, row.personId);
        table_->setItem(r, kTick, tick);
        const std::string texts[] = {row.person,      row.place,         row.localText, row.storedText,
                                     row.inForceText, row.universalText, row.note};
        for (int c = kPerson; c < kColumns; ++c) {
            auto *item = new QTableWidgetItem(Q(texts[c - kPerson]));
            if (!row.note.empty())
                item->setToolTip(Q(row.note));
            table_->setItem(r, c, item);
        }
        ++r;
    }
    table_->resizeColumnsToContents();
    UpdateButtons();
}

int TFormRevisarZonas::Ticked() const {
    int n = 0;
    for (int r = 0; r < table_->rowCount(); ++r)
        n += table_->item(r, kTick)->checkState() == Qt::Checked ? 1 : 0;
    return n;
}

void TFormRevisarZonas::UpdateButtons() {
    const int ticked = Ticked();
    correct_->setEnabled(ticked > 0);
    correct_->setText(ticked > 0 ? QString("&Corregir los marcados (%1)").arg(ticked)
                                 : QString("&Corregir los marcados"));
    all_->setEnabled(table_->rowCount() > 0);
    none_->setEnabled(ticked > 0);
}

void TFormRevisarZonas::CorrectTicked() {
    std::vector<const session::ZoneReviewRow *> rows;
    for (int r = 0; r < table_->rowCount(); ++r)
        if (table_->item(r, kTick)->checkState() == Qt::Checked)
            rows.push_back(&review_.rows[static_cast<std::size_t>(r)]);
    if (rows.empty())
        return;
    const std::string count =
        std::to_string(rows.size()) + (rows.size() == 1 ? " persona marcada" : " personas marcadas");
    if (!store_.Notices().Notice(NoticeKind::Question, true, true,
                                 "El nacimiento de " + count +
                                     " se guardará en tiempo universal (GMT), con el huso que regía en su "
                                     "fecha.\r\r¿Desea corregirlas?"))
        return;
    if (store_.ReadOnly())
        return;
    const int reloads = store_.Reloads();
    const session::ZoneCorrection done =
        session::CorrectZonesAndSave(store_, rows, "la corrección del huso horario de " + count);
    if (!done.saved) {
        result_->setText(
            !done.attempted ? QString::fromUtf8("Ninguna persona marcada necesitaba corregirse: "
                                                "cambiaron desde la revisión.")
            : store_.Reloads() != reloads
                ? QString::fromUtf8("No se corrigió ninguna persona: el archivo se volvió a leer "
                                    "con los cambios de otro programa.")
                : QString::fromUtf8("No se corrigió ninguna persona: el archivo no se pudo guardar."));
        Fill();
        return;
    }
    const int changed = done.corrected;
    corrected_ += changed;
    result_->setText(Q(std::to_string(changed) +
                       (changed == 1 ? " persona corregida: su nacimiento se guarda"
                                     : " personas corregidas: su nacimiento se guarda") +
                       " ahora en tiempo universal (GMT) y el archivo se guardó."));
    Fill();
}

} // namespace cel::manager
