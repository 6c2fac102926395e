#include "manager_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "colour_suite.h"
#include "common/install_paths.h"
#include "database/csv_export.h"
#include "database/data_file.h"
#include "database/person_summary.h"
#include "database/place_import.h"
#include "database/safe_file.h"
#include "file_chooser.h"
#include "item_editor.h"
#include "place_import_window.h"
#include "record_table_model.h"
#include "small_dialogs.h"

namespace cel::manager {

using namespace cel::database;

namespace {

constexpr int kRowHeight = 18;

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

std::function<void(const std::string &)> &LinkOpener() {
    static std::function<void(const std::string &)> opener = [](const std::string &link) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(link)));
    };
    return opener;
}

const char *ListName(Kind kind) {
    static const char *const names[] = {"Países",         "Lugares Geográficos", "Grupo Personas",
                                        "Lista Personas", "Grupo Empresas",      "Lista Empresas"};
    return names[static_cast<int>(kind)];
}

const char *UsageHeader(Kind kind) {
    switch (kind) {
    case Kind::Country:
        return "Lugares con este País";
    case Kind::Place:
        return "P>L";
    case Kind::PersonGroup:
        return "Personas con este Grupo";
    default:
        return "Empresas con este Grupo";
    }
}

CivilDateTime Today() {
    const QDate d = QDate::currentDate();
    CivilDateTime t;
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    return t;
}

// Removes the records in `gone` from a list.
template <class T> void RemoveRecords(RecordList<T> &list, const std::unordered_set<const TData *> &gone) {
    std::erase_if(list, [&gone](const auto &r) { return gone.contains(r.get()); });
}

bool Renumbered(Kind kind) {
    return kind == Kind::Country || kind == Kind::Place || kind == Kind::PersonGroup || kind == Kind::Person;
}

QColor FromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace

ManagerMode ManagerModeFor(const std::string &executablePath) {
    return QString::fromStdString(executablePath).contains("tarjaro", Qt::CaseInsensitive)
               ? ManagerMode::Standalone
               : ManagerMode::InChartProgram;
}

// ---- construction ----

TFormMainTarjaro::TFormMainTarjaro(DataStore &store, ManagerMode mode, QWidget *parent)
    : QWidget(parent, Qt::Window), store_(store), mode_(mode), builder_(store.Db()) {
    setObjectName("TFormMainTarjaro");
    setWindowTitle("Tarjaro");
    SetCurrentSuite(CurrentSuite());
    ApplySuite(this);
    filters_.birthdayMonth = QDate::currentDate().month();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(BuildFileBar());
    auto *body = new QHBoxLayout;
    body->addWidget(BuildFilterPanel());
    auto *centre = new QVBoxLayout;
    auto *gridRow = new QHBoxLayout;
    model_ = new RecordTableModel(store_.Db(), this);
    grid_ = new QTableView(this);
    grid_->setObjectName("SGLista");
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->horizontalHeader()->setStyleSheet("QHeaderView::section { background: rgb(235, 235, 235); }");
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->setWordWrap(false);
    grid_->installEventFilter(this);
    // The current row is painted yellow with black text, as the row colours of the grid say.
    QPalette gridPalette = grid_->palette();
    gridPalette.setColor(QPalette::Highlight, QColor(255, 255, 0));
    gridPalette.setColor(QPalette::HighlightedText, Qt::black);
    grid_->setPalette(gridPalette);
    gridRow->addWidget(grid_, 1);
    gridRow->addWidget(BuildSummaryPanel());
    centre->addLayout(gridRow, 1);
    centre->addWidget(BuildPagingBar());
    centre->addWidget(BuildItemBar());
    body->addLayout(centre, 1);
    layout->addLayout(body, 1);

    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFormMainTarjaro::CurrentRowChanged);
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.column() != RecordTableModel::kTickColumn)
            EditItem();
    });
    connect(grid_, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.column() == RecordTableModel::kTickColumn)
            ToggleTick(index.row());
    });
    connect(grid_, &QTableView::customContextMenuRequested, this, &TFormMainTarjaro::ShowContextMenu);

    // After the file was read again (another program let it go), everything shown is refreshed.
    store_.reloaded = [this] {
        DataChanged();
        FillCombos();
        UpdateCaption();
        Rebuild();
    };

    // As wide as the widest list kind (the persons' buttons and summary panel shown), so that
    // switching kinds never resizes the window under the user's hand.
    const std::initializer_list<QWidget *> personOnly{detailsButton_, addGroupButton_, removeGroupButton_,
                                                      internetButton_, summaryPanel_};
    std::vector<bool> hidden;
    for (QWidget *w : personOnly) {
        hidden.push_back(w->isHidden());
        w->setVisible(w != summaryPanel_ || detailsButton_->isChecked());
    }
    const int width = std::max(1100, sizeHint().width());
    std::size_t i = 0;
    for (QWidget *w : personOnly)
        w->setHidden(hidden[i++]);
    resize(width, 640);
    if (mode_ == ManagerMode::Standalone) {
        settingsButton_->setToolTip("Configurar Tarjaro");
    } else {
        settingsButton_->hide();
    }
    FillCombos();
    UpdateCaption();
    filtering_ = false;
    ResetFilterControls(true);
    filtering_ = true;
    SetListKind(Kind::Person);
}

TFormMainTarjaro::~TFormMainTarjaro() {
    store_.reloaded = nullptr;
    // The grid's selection changes while it is torn down; nothing here may react to them any more.
    disconnect(grid_->selectionModel(), nullptr, this, nullptr);
}

QWidget *TFormMainTarjaro::BuildFileBar() {
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const auto button = [this, bar, row](const char *name, const QString &text, const QString &hint) {
        auto *b = new QToolButton(bar);
        b->setObjectName(name);
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        hints_.push_back({b, hint});
        row->addWidget(b);
        return b;
    };
    auto *open = button("SBAbrir", "Abrir", "Abrir archivo de datos");
    copyButton_ = button("SBCopia", "Copia", "Crear copia del archivo actual");
    auto *create = button("SBNuevoArchivo", "Nuevo archivo", "Crear nuevo archivo de datos");
    auto *backup = button("SBRespaldo", "Respaldo", "Crear copia de respaldo del archivo actual");
    auto *append = button("SBAnexar", "Anexar", "Anexar datos de otro archivo al archivo actual");
    auto *csv = button("SBExportar", "CSV", "Exportar a formato CSV");
    importButton_ = button("SBImportar", "Importar lugares", "Importar lugares geograficos");
    auto *importAaf = button("SBImportarAAF", "Importar AAF", "Importar personas de un archivo AAF");
    auto *exportAaf = button("SBExportarAAF", "Exportar AAF", "Exportar personas a un archivo AAF");
    fileButtons_ = {copyButton_, backup, append, csv, importButton_, importAaf, exportAaf};
    connect(importAaf, &QToolButton::clicked, this, &TFormMainTarjaro::ImportAafFile);
    connect(exportAaf, &QToolButton::clicked, this, &TFormMainTarjaro::ExportAafFile);
    connect(open, &QToolButton::clicked, this, &TFormMainTarjaro::ChooseAndOpen);
    connect(copyButton_, &QToolButton::clicked, this, &TFormMainTarjaro::CopyFile);
    connect(create, &QToolButton::clicked, this, &TFormMainTarjaro::NewFile);
    connect(backup, &QToolButton::clicked, this, &TFormMainTarjaro::BackupFile);
    connect(append, &QToolButton::clicked, this, &TFormMainTarjaro::AppendFile);
    connect(csv, &QToolButton::clicked, this, &TFormMainTarjaro::ExportCsv);
    connect(importButton_, &QToolButton::clicked, this, &TFormMainTarjaro::ImportPlaces);

    row->addSpacing(16);
    kindCombo_ = new QComboBox(bar);
    kindCombo_->setObjectName("CBTipoLista");
    kindCombo_->addItems({"Paises", "Lug. geog.", "Grupos", "Personas"});
    kindCombo_->installEventFilter(this);
    row->addWidget(kindCombo_);
    kindButtons_ = new QButtonGroup(this);
    const char *names[] = {"SBPaises", "SBLugares", "SBGrupos", "SBPersonas"};
    const char *texts[] = {"P", "L", "G", "Ps"};
    const char *tips[] = {"País", "Lugar geográfico", "Grupos", "Personas"};
    for (int i = 0; i < 4; ++i) {
        auto *b = button(names[i], texts[i], QString::fromUtf8(tips[i]));
        b->setCheckable(true);
        kindButtons_->addButton(b, i);
    }
    connect(kindCombo_, &QComboBox::activated, this, [this](int i) { SetListKind(static_cast<Kind>(i)); });
    connect(kindButtons_, &QButtonGroup::idClicked, this,
            [this](int i) { SetListKind(static_cast<Kind>(i)); });

    row->addStretch(1);
    settingsButton_ = button("SBConfigurar", "Configurar", "Configurar Tarjaro");
    settingsButton_->setCheckable(true);
    connect(settingsButton_, &QToolButton::toggled, this, &TFormMainTarjaro::ShowSettings);
    auto *help = button("SBAyuda", "Ayuda", "Ayuda Tarjaro");
    auto *close = button("SBCerrar", "Cerrar", "Cerrar Tarjaro");
    connect(help, &QToolButton::clicked, this, [this] {
        const std::filesystem::path page = HelpDirectory() / "index.html";
        std::error_code error;
        if (!std::filesystem::is_regular_file(page, error)) {
            store_.Notices().Notice(NoticeKind::Warning, false, true,
                                    "No se encontró la ayuda del programa:\r\r" + page.string());
            return;
        }
        LinkOpener()(QUrl::fromLocalFile(QString::fromStdString(page.string())).toString().toStdString());
    });
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    return bar;
}

QWidget *TFormMainTarjaro::BuildItemBar() {
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const auto button = [this, bar, row](const char *name, const QString &text, const QString &hint) {
        auto *b = new QToolButton(bar);
        b->setObjectName(name);
        b->setText(text);
        hints_.push_back({b, hint});
        row->addWidget(b);
        return b;
    };
    newButton_ = button("SBNuevo", "Nuevo", "Nuevo");
    editButton_ = button("SBEditar", "Editar", "Editar");
    deleteButton_ = button("SBBorrar", "Borrar", "Borrar");
    deleteTickedButton_ = button("SBBorrarSel", "Borrar sel.", "Borrar seleccionado(s)");
    auto *all = button("SBTodos", "T", "Seleccionar todos");
    auto *none = button("SBNinguno", "N", "Seleccionar ninguno");
    auto *reset = button("SBVerTodos", "[*]", "Ver todos los Items");
    onlyTicked_ = new QCheckBox("seleccionados", bar);
    onlyTicked_->setObjectName("CBSeleccionados");
    row->addWidget(onlyTicked_);
    usedBox_ = new QGroupBox("items usados:", bar);
    usedBox_->setObjectName("GBUsados");
    auto *usedRow = new QHBoxLayout(usedBox_);
    usedRow->setContentsMargins(4, 0, 4, 0);
    usedYes_ = new QRadioButton(QString::fromUtf8("sí"), usedBox_);
    usedYes_->setObjectName("RBUsadosSi");
    usedNo_ = new QRadioButton("no", usedBox_);
    usedNo_->setObjectName("RBUsadosNo");
    usedBoth_ = new QRadioButton("ambos", usedBox_);
    usedBoth_->setObjectName("RBUsadosAmbos");
    for (QRadioButton *r : {usedYes_, usedNo_, usedBoth_}) {
        usedRow->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                Rebuild();
        });
    }
    row->addWidget(usedBox_);
    row->addStretch(1);
    addGroupButton_ = button("SBAgregarGrupo", "AG", "Agregar grupo a la lista");
    removeGroupButton_ = button("SBBorrarGrupo", "BG", "Borrar grupo de la lista");
    internetButton_ = button("SBInternet", "Internet", QString::fromUtf8("Acceso vía Internet"));
    internetMenu_ = new QMenu(internetButton_);
    const char *linkNames[] = {"WebHome", "WebWork", "MailHome", "MailWork"};
    for (int i = 0; i < 4; ++i) {
        links_[i] = internetMenu_->addAction(QString());
        links_[i]->setObjectName(linkNames[i]);
        const std::string entry = linkNames[i];
        connect(links_[i], &QAction::triggered, this, [this, entry] { OpenLink(entry); });
    }
    internetButton_->setMenu(internetMenu_);
    internetButton_->setPopupMode(QToolButton::InstantPopup);
    detailsButton_ = button("SBDetalles", "Detalles", "Detalles persona");
    detailsButton_->setCheckable(true);
    detailsButton_->setChecked(true);

    connect(newButton_, &QToolButton::clicked, this, &TFormMainTarjaro::AddItem);
    connect(editButton_, &QToolButton::clicked, this, &TFormMainTarjaro::EditItem);
    connect(deleteButton_, &QToolButton::clicked, this, &TFormMainTarjaro::DeleteItem);
    connect(deleteTickedButton_, &QToolButton::clicked, this, &TFormMainTarjaro::DeleteTicked);
    connect(all, &QToolButton::clicked, this, [this] { SetTicksOnPage(true); });
    connect(none, &QToolButton::clicked, this, [this] { SetTicksOnPage(false); });
    connect(reset, &QToolButton::clicked, this, [this] {
        ResetFilterControls(true);
        Rebuild();
    });
    connect(onlyTicked_, &QCheckBox::toggled, this, &TFormMainTarjaro::Rebuild);
    connect(addGroupButton_, &QToolButton::clicked, this, [this] { AssignGroup(true); });
    connect(removeGroupButton_, &QToolButton::clicked, this, [this] { AssignGroup(false); });
    connect(detailsButton_, &QToolButton::toggled, this, [this] { SetListKind(kind_); });
    return bar;
}

QWidget *TFormMainTarjaro::BuildPagingBar() {
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *prev = new QToolButton(bar);
    prev->setObjectName("SBPaginaAnterior");
    prev->setText("<");
    auto *next = new QToolButton(bar);
    next->setObjectName("SBPaginaSiguiente");
    next->setText(">");
    prevPage_ = prev;
    nextPage_ = next;
    allOnOnePage_ = new QCheckBox("Todos", bar);
    allOnOnePage_->setObjectName("CBTodos");
    allOnOnePage_->setToolTip(QString::fromUtf8("Ver todos los items en una sola página"));
    allOnOnePage_->setChecked(true);
    row->addWidget(prev);
    row->addWidget(next);
    row->addWidget(allOnOnePage_);
    row->addSpacing(12);
    row->addWidget(new QLabel("Items: ", bar));
    itemsLabel_ = new QLabel(bar);
    itemsLabel_->setObjectName("LAItems");
    row->addWidget(itemsLabel_);
    row->addSpacing(12);
    row->addWidget(new QLabel("items encontrados:  ", bar));
    foundLabel_ = new QLabel(bar);
    foundLabel_->setObjectName("LAEncontrados");
    row->addWidget(foundLabel_);
    row->addStretch(1);
    connect(prev, &QToolButton::clicked, this, [this] { GoToPage(page_ - 1); });
    connect(next, &QToolButton::clicked, this, [this] { GoToPage(page_ + 1); });
    connect(allOnOnePage_, &QCheckBox::toggled, this, [this] { GoToPage(1); });
    return bar;
}

QWidget *TFormMainTarjaro::BuildSummaryPanel() {
    summaryPanel_ = new QWidget(this);
    summaryPanel_->setObjectName("PNDetalles");
    auto *layout = new QVBoxLayout(summaryPanel_);
    layout->setContentsMargins(0, 0, 0, 0);
    summary_ = new QTextEdit(summaryPanel_);
    summary_->setObjectName("REResumen");
    summary_->setReadOnly(true);
    layout->addWidget(summary_, 1);
    auto *see = new QGroupBox("Ver:", summaryPanel_);
    auto *grid = new QGridLayout(see);
    const char *names[] = {"CBVerGenero",  "CBVerNacimiento", "CBVerResidencia",
                           "CBVerTrabajo", "CBVerOtros",      "CBVerObservaciones"};
    const char *texts[] = {"Genero",  "Nacimiento",          "Residencia",
                           "Trabajo", "Grupos, no. eventos", "Observaciones"};
    for (int i = 0; i < 6; ++i) {
        summaryBoxes_[i] = new QCheckBox(texts[i], see);
        summaryBoxes_[i]->setObjectName(names[i]);
        summaryBoxes_[i]->setChecked(true);
        grid->addWidget(summaryBoxes_[i], i / 2, i % 2);
        connect(summaryBoxes_[i], &QCheckBox::toggled, this, &TFormMainTarjaro::UpdateSummary);
    }
    layout->addWidget(see);
    return summaryPanel_;
}

// ---- settings, caption, hints ----

void TFormMainTarjaro::UseSettings(const ManagerSettings &settings, const std::string &settingsPath) {
    settings_ = settings;
    settingsPath_ = settingsPath;
    SetCurrentSuite(settings.color);
    ApplySuite(this);
    const bool boxes[6] = {settings.summary.genero,     settings.summary.nacimiento,
                           settings.summary.residencia, settings.summary.trabajo,
                           settings.summary.grupos,     settings.summary.observaciones};
    for (int i = 0; i < 6; ++i)
        summaryBoxes_[i]->setChecked(boxes[i]);
    ApplyHints();
}

void TFormMainTarjaro::ApplyHints() {
    const bool on = mode_ != ManagerMode::Standalone || settings_.hint;
    for (auto &[widget, hint] : hints_)
        widget->setToolTip(on ? hint : QString());
}

void TFormMainTarjaro::UpdateCaption() {
    if (FileIsOpen())
        setWindowTitle(QString("Tarjaro  [") + Q(FileNameOf(store_.Db().Path)) + "]");
    else
        setWindowTitle("Tarjaro");
}

void TFormMainTarjaro::ShowSettings(bool on) {
    if (!on) {
        if (settingsWindow_)
            settingsWindow_->close();
        return;
    }
    if (settingsWindow_)
        return;
    settingsWindow_ = new TFormSetUpAgenda(settings_.hint, settings_.color, this);
    connect(settingsWindow_, &TFormSetUpAgenda::hintsChanged, this, [this](bool hint) {
        settings_.hint = hint;
        ApplyHints();
    });
    connect(settingsWindow_, &TFormSetUpAgenda::suiteChanged, this, [this](int suite) {
        settings_.color = suite;
        ApplySuite(this);
    });
    connect(settingsWindow_, &TFormSetUpAgenda::closed, this, [this] {
        settingsWindow_ = nullptr;
        settingsButton_->setChecked(false);
    });
    settingsWindow_->show();
}

// ---- list ----

void TFormMainTarjaro::SetListKind(Kind kind) {
    if (kind != kind_)
        selectedId_ = -1;
    kind_ = kind;
    const int k = static_cast<int>(kind);
    if (k < 4) {
        kindCombo_->setCurrentIndex(k);
        if (QAbstractButton *b = kindButtons_->button(k))
            b->setChecked(true);
    }
    filtering_ = false;
    ResetFilterControls(false);
    filtering_ = true;
    const bool persons = kind == Kind::Person;
    kindFilters_->setCurrentIndex(kind == Kind::Place ? 1 : persons ? 2 : kind == Kind::Business ? 3 : 0);
    usedBox_->setVisible(!persons && kind != Kind::Business);
    importButton_->setVisible(kind == Kind::Place && FileIsOpen());
    for (QWidget *w : std::initializer_list<QWidget *>{detailsButton_, addGroupButton_, removeGroupButton_,
                                                       internetButton_})
        w->setVisible(persons);
    const bool panel = persons && detailsButton_->isChecked();
    summaryPanel_->setVisible(panel);
    Rebuild();
    // Column widths, scaled a quarter up on screens of 120 or more pixels per inch, and with the
    // font when it is wider than the small font the widths were chosen for.
    const bool large = screen() && screen()->logicalDotsPerInch() >= 120;
    const double font = std::max(1.0, grid_->fontMetrics().averageCharWidth() / 5.5);
    int width14 = 0;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int chosen =
            static_cast<int>(RecordTableModel::ColumnWidth(kind, c) * (large ? 1.25 : 1.0) * font);
        // A column widens to its longest text on the page (names are often longer than the width
        // chosen), up to twice the chosen width; what is still cut shows whole in its tooltip.
        grid_->resizeColumnToContents(c);
        const int w = c == RecordTableModel::kTickColumn
                          ? chosen
                          : std::clamp(grid_->columnWidth(c), chosen, 2 * chosen);
        grid_->setColumnWidth(c, w);
        if (c >= 1 && c <= 4)
            width14 += w;
    }
    grid_->setColumnHidden(0, true);
    if (panel)
        grid_->setFixedWidth(width14 + 26);
    else {
        grid_->setMinimumWidth(0);
        grid_->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

void TFormMainTarjaro::Rebuild() {
    if (!filtering_)
        return;
    ReadFilterControls();
    display_ = builder_.Build(kind_, filters_, Today());
    page_ = 1;
    FillPage();
}

void TFormMainTarjaro::GoToPage(int page) {
    page_ = page;
    FillPage();
}

void TFormMainTarjaro::FillPage() {
    const int rows =
        RowsPerPage(grid_->viewport()->height() + grid_->horizontalHeader()->height(), kRowHeight);
    const Paging paging =
        ComputePaging(static_cast<int>(display_.size()), rows, allOnOnePage_->isChecked(), page_);
    page_ = paging.page;
    pageCount_ = paging.pageCount;
    model_->SetPage(kind_, &display_, paging.first, paging.count);
    itemsLabel_->setText(Q(ItemsText(paging, static_cast<int>(display_.size()), allOnOnePage_->isChecked())));
    UpdateCounters();
    prevPage_->setEnabled(page_ > 1);
    nextPage_->setEnabled(!allOnOnePage_->isChecked() && page_ < pageCount_);
    const int row = model_->RowOfId(selectedId_);
    if (row >= 0) {
        grid_->selectionModel()->setCurrentIndex(model_->index(row, 3), QItemSelectionModel::ClearAndSelect |
                                                                            QItemSelectionModel::Rows);
    } else if (model_->rowCount() > 0) {
        grid_->selectionModel()->setCurrentIndex(model_->index(0, 3), QItemSelectionModel::ClearAndSelect |
                                                                          QItemSelectionModel::Rows);
    } else {
        CurrentRowChanged();
    }
    UpdateButtons();
}

void TFormMainTarjaro::UpdateCounters() {
    foundLabel_->setText(Q(FoundText(static_cast<int>(display_.size()), builder_.KindCount(kind_))));
}

void TFormMainTarjaro::UpdateButtons() {
    const bool open = FileIsOpen();
    const bool row = model_->RecordAt(grid_->currentIndex().row()) != nullptr;
    for (QAbstractButton *b : fileButtons_)
        b->setEnabled(open);
    newButton_->setEnabled(open);
    editButton_->setEnabled(open && row);
    deleteButton_->setEnabled(open && row);
    deleteTickedButton_->setEnabled(open);
    kindCombo_->setEnabled(open);
    for (QAbstractButton *b : kindButtons_->buttons())
        b->setEnabled(open);
    filterPanel_->setEnabled(open);
    importButton_->setVisible(kind_ == Kind::Place && open);
}

void TFormMainTarjaro::CurrentRowChanged() {
    const TData *r = model_->RecordAt(grid_->currentIndex().row());
    selectedId_ = r ? r->Id : -1;
    model_->SetSelectedId(selectedId_);
    UpdateSummary();
    UpdateInternetMenu();
    UpdateButtons();
}

void TFormMainTarjaro::SelectId(std::int32_t id) {
    selectedId_ = id;
    FillPage();
}

void TFormMainTarjaro::DataChanged() {
    builder_.DataChanged();
}

void TFormMainTarjaro::ToggleTick(int row) {
    TData *r = model_->RecordAt(row);
    if (!r)
        return;
    r->Marca = r->Marca ? 0 : 1;
    model_->TicksChanged();
}

void TFormMainTarjaro::SetTicksOnPage(bool on) {
    for (int row = 0; row < model_->rowCount(); ++row)
        model_->RecordAt(row)->Marca = on ? 1 : 0;
    model_->TicksChanged();
}

void TFormMainTarjaro::ShowContextMenu(const QPoint &pos) {
    const QModelIndex index = grid_->indexAt(pos);
    if (!index.isValid())
        return;
    grid_->selectionModel()->setCurrentIndex(index,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QMenu menu(this);
    menu.addAction("Agregar", this, &TFormMainTarjaro::AddItem);
    menu.addAction("Editar", this, &TFormMainTarjaro::EditItem);
    menu.addAction("Borrar", this, &TFormMainTarjaro::DeleteItem);
    menu.addAction("Borrar seleccionados", this, &TFormMainTarjaro::DeleteTicked);
    if (kind_ == Kind::Person) {
        QMenu *internet = menu.addMenu("Internet");
        for (QAction *a : links_)
            if (a->isVisible())
                internet->addAction(a);
        internet->setEnabled(!internet->isEmpty());
        QAction *details = menu.addAction("Detalles persona");
        details->setCheckable(true);
        details->setChecked(detailsButton_->isChecked());
        connect(details, &QAction::toggled, detailsButton_, &QAbstractButton::setChecked);
    }
    if (kind_ == Kind::Place)
        menu.addAction(QString::fromUtf8("Importar lugar geográfico"), this, &TFormMainTarjaro::ImportPlaces);
    menu.exec(grid_->viewport()->mapToGlobal(pos));
}

bool TFormMainTarjaro::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (watched == grid_) {
        switch (key) {
        case Qt::Key_Space:
            ToggleTick(grid_->currentIndex().row());
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            EditItem();
            return true;
        case Qt::Key_Insert:
            AddItem();
            return true;
        case Qt::Key_Delete:
            DeleteItem();
            return true;
        case Qt::Key_F5:
            kindCombo_->setFocus();
            kindCombo_->showPopup();
            return true;
        default:
            break;
        }
    } else if (watched == kindCombo_ && key == Qt::Key_Escape) {
        grid_->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- items ----

void TFormMainTarjaro::OpenEditor(std::int32_t id) {
    if (!FileIsOpen() || store_.ReadOnly())
        return;
    TFormItem editor(store_, kind_, id, EditorMode::NamesOnly, this);
    if (kind_ == Kind::Person && id >= 0) {
        editor.SetNeighbours([this](std::int32_t current, int step) {
            const auto it = std::find_if(display_.begin(), display_.end(),
                                         [current](const TData *r) { return r->Id == current; });
            if (it == display_.end())
                return -1;
            const auto at = (it - display_.begin()) + step;
            return at >= 0 && at < static_cast<std::ptrdiff_t>(display_.size())
                       ? display_[static_cast<std::size_t>(at)]->Id
                       : -1;
        });
        connect(&editor, &TFormItem::stored, this, [this](std::int32_t storedId) {
            DataChanged();
            selectedId_ = storedId;
            Rebuild();
        });
    }
    const bool stored = editor.exec() == QDialog::Accepted;
    // Even a cancelled editor may have saved a country, a place or events on the way.
    DataChanged();
    if (stored)
        selectedId_ = editor.EditedId();
    FillCombos();
    Rebuild();
}

void TFormMainTarjaro::AddItem() {
    OpenEditor(-1);
}

void TFormMainTarjaro::EditItem() {
    if (model_->RecordAt(grid_->currentIndex().row()))
        OpenEditor(selectedId_);
}

void TFormMainTarjaro::DeleteItem() {
    TData *r = model_->RecordAt(grid_->currentIndex().row());
    if (!r || !FileIsOpen() || store_.ReadOnly())
        return;
    Notifier &n = store_.Notices();
    if (r->Usos != 0 && kind_ != Kind::Person && kind_ != Kind::Business) {
        n.Notice(NoticeKind::Warning, false, true,
                 std::string("NO se puede eliminar el item") + " \"" + r->Nombre + "\"" + " de la lista de " +
                     ListName(kind_) + ", ya que esta siendo usado en" + " \"" + UsageHeader(kind_) + "\"");
        return;
    }
    // A person is named in full; "No" is the default answer, so Enter keeps the record.
    const std::string name =
        kind_ == Kind::Person ? r->Nombre + " " + static_cast<const TPersona *>(r)->Apellidos : r->Nombre;
    if (n.Ask(std::string("Desea eliminar el item") + " \"" + name + "\"" + " de la lista de " +
                  ListName(kind_),
              QuestionStyle{true, false}) != Answer::Yes)
        return;
    const int row = grid_->currentIndex().row();
    RemoveFromList({r});
    if (model_->rowCount() > 0)
        grid_->selectionModel()->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), 3),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
}

void TFormMainTarjaro::DeleteTicked() {
    if (!FileIsOpen() || store_.ReadOnly())
        return;
    std::unordered_set<const TData *> gone;
    bool untick = false;
    for (TData *r : display_) {
        if (!r->Marca)
            continue;
        if (r->Usos != 0 && kind_ != Kind::Person && kind_ != Kind::Business) {
            r->Marca = 0;
            untick = true;
        } else {
            gone.insert(r);
        }
    }
    if (untick)
        Rebuild();
    if (gone.empty())
        return;
    Notifier &n = store_.Notices();
    const std::string count = std::to_string(gone.size());
    const QuestionStyle deletes{true, false};
    if (n.Ask("Desea eliminar " + count + " items(s) seleccionado(s)", deletes) != Answer::Yes ||
        n.Ask("Confirme su deseo de eliminar " + count + " registro(s) seleccionado(s)", deletes) !=
            Answer::Yes)
        return;
    RemoveFromList(gone);
}

// Removes the records from the list of the shown kind, renumbers where the kind's ids are positions,
// and shows and saves the result.
void TFormMainTarjaro::RemoveFromList(const std::unordered_set<const TData *> &gone) {
    Database &db = store_.Db();
    db.VisitList(kind_, [&gone](auto &list) { RemoveRecords(list, gone); });
    if (Renumbered(kind_))
        db.Renumber(kind_);
    DataChanged();
    selectedId_ = -1;
    Rebuild();
    FillCombos();
    store_.Save();
}

void TFormMainTarjaro::AssignGroup(bool add) {
    if (kind_ != Kind::Person || !FileIsOpen() || store_.ReadOnly())
        return;
    TFormAddGrupo chooser(store_.Db(), add ? "Agregar grupo" : "Borrar grupo", store_, this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    const std::int32_t group = chooser.ChosenId();
    for (TData *r : display_) {
        auto &groups = static_cast<TPersona *>(r)->Grupos;
        const bool has =
            std::any_of(groups.begin(), groups.end(), [group](const TId &g) { return g.Id == group; });
        if (add && !has) {
            TId ref;
            ref.Id = group;
            groups.push_back(ref);
        } else if (!add && has) {
            std::erase_if(groups, [group](const TId &g) { return g.Id == group; });
        }
    }
    const std::int32_t keep = selectedId_;
    store_.Save();
    DataChanged();
    selectedId_ = keep;
    Rebuild();
}

// ---- summary and links ----

void TFormMainTarjaro::UpdateSummary() {
    summary_->clear();
    if (kind_ != Kind::Person || !summaryPanel_->isVisible())
        return;
    const Database &db = store_.Db();
    const int i = IndexOfId(db.Persons, selectedId_);
    if (i < 0)
        return;
    SummaryOptions options;
    options.genero = summaryBoxes_[0]->isChecked();
    options.nacimiento = summaryBoxes_[1]->isChecked();
    options.residencia = summaryBoxes_[2]->isChecked();
    options.trabajo = summaryBoxes_[3]->isChecked();
    options.grupos = summaryBoxes_[4]->isChecked();
    options.observaciones = summaryBoxes_[5]->isChecked();
    settings_.summary = options;
    const auto lines =
        PersonSummary(db, db.Persons[static_cast<std::size_t>(i)].get(), options, store_.Format());
    // The two tab stops of the panel, in points: values after one tab, group names after two.
    const double point = summary_->logicalDpiX() / 72.0;
    QTextBlockFormat block;
    block.setTabPositions({QTextOption::Tab(kSummaryTabStops[0] * point, QTextOption::LeftTab),
                           QTextOption::Tab(kSummaryTabStops[1] * point, QTextOption::LeftTab)});
    QTextCursor cursor(summary_->document());
    cursor.setBlockFormat(block);
    bool first = true;
    for (const SummaryLine &line : lines) {
        if (!first)
            cursor.insertBlock(block);
        first = false;
        QTextCharFormat format;
        format.setFontWeight(line.bold ? QFont::Bold : QFont::Normal);
        format.setFontUnderline(line.underline);
        format.setForeground(FromBgr(line.colour));
        QString text = QString(line.tabs, QChar('\t')) + Q(line.text);
        cursor.insertText(text, format);
    }
    summary_->moveCursor(QTextCursor::Start);
}

std::string TFormMainTarjaro::LinkFor(const TPersona &p, const std::string &entry) {
    const auto web = [](const std::string &address) {
        // A text that already names its scheme is opened as it is.
        return address.find("://") != std::string::npos ? address : "http://" + address;
    };
    if (entry == "WebHome")
        return web(p.Residencia.Web);
    if (entry == "WebWork")
        return web(p.Trabajo.Web);
    const std::string &mail = entry == "MailHome" ? p.Residencia.Email : p.Trabajo.Email;
    return "mailto:\"" + p.Nombre + " " + p.Apellidos + "\"<" + mail + ">";
}

void TFormMainTarjaro::SetLinkOpener(std::function<void(const std::string &)> opener) {
    if (opener)
        LinkOpener() = std::move(opener);
    else
        LinkOpener() = [](const std::string &link) {
            QDesktopServices::openUrl(QUrl(QString::fromStdString(link)));
        };
}

void TFormMainTarjaro::UpdateInternetMenu() {
    const Database &db = store_.Db();
    const int i = kind_ == Kind::Person ? IndexOfId(db.Persons, selectedId_) : -1;
    const TPersona *p = i >= 0 ? db.Persons[static_cast<std::size_t>(i)].get() : nullptr;
    const std::string *fields[4] = {};
    if (p) {
        fields[0] = &p->Residencia.Web;
        fields[1] = &p->Trabajo.Web;
        fields[2] = &p->Residencia.Email;
        fields[3] = &p->Trabajo.Email;
    }
    bool any = false;
    for (int k = 0; k < 4; ++k) {
        const bool visible = p && !fields[k]->empty();
        links_[k]->setVisible(visible);
        if (visible)
            links_[k]->setText(Q((k < 2 ? "Ir al sitio Web : " : "Enviar mail a: ") + *fields[k]));
        any = any || visible;
    }
    internetButton_->setEnabled(any);
}

void TFormMainTarjaro::OpenLink(const std::string &entry) {
    const Database &db = store_.Db();
    const int i = IndexOfId(db.Persons, selectedId_);
    if (i >= 0)
        LinkOpener()(LinkFor(*db.Persons[static_cast<std::size_t>(i)], entry));
}

// ---- window life ----

void TFormMainTarjaro::FirstActivation() {
    // A window closed before its first activation ran must not touch a database that its owner
    // may already have read anew.
    if (activated_ || closed_)
        return;
    activated_ = true;
    SetListKind(Kind::Person);
    store_.ReadOnly();
}

void TFormMainTarjaro::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!activated_)
        QTimer::singleShot(0, this, &TFormMainTarjaro::FirstActivation);
}

void TFormMainTarjaro::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (!allOnOnePage_->isChecked())
        FillPage();
}

void TFormMainTarjaro::closeEvent(QCloseEvent *event) {
    closed_ = true;
    if (settingsWindow_)
        settingsWindow_->close();
    if (mode_ == ManagerMode::Standalone) {
        store_.Release();
        if (!settingsPath_.empty()) {
            std::string error;
            if (!settings_.Save(settingsPath_, &error))
                store_.Notices().Notice(NoticeKind::Error, false, true,
                                        "No se pudo guardar la configuración en:\r" + settingsPath_ + "\r\r" +
                                            error);
        }
    }
    event->accept();
    emit closed();
}

TFormMainTarjaro *TFormMainTarjaro::OpenFromChartProgram(QWidget *mainWindow, DataStore &store,
                                                         std::function<void()> onClosed, bool splash) {
    auto *manager = new TFormMainTarjaro(store, ManagerMode::InChartProgram);
    manager->setAttribute(Qt::WA_DeleteOnClose);
    connect(manager, &TFormMainTarjaro::closed, mainWindow, [mainWindow, onClosed] {
        mainWindow->show();
        if (onClosed)
            onClosed();
    });
    if (mainWindow)
        mainWindow->hide();
    manager->show();
    if (splash) {
        auto *window = new TFormSplashTarjaro(1000);
        window->show();
        window->raise();
    }
    return manager;
}

} // namespace cel::manager
