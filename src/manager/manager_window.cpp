#include "manager/manager_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
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

#include "common/clock.h"
#include "common/install_paths.h"
#include "manager/colour_suite.h"
#include "manager/file_chooser.h"
#include "manager/item_editor.h"
#include "manager/place_import_window.h"
#include "manager/record_table_model.h"
#include "manager/small_dialogs.h"
#include "manager/zone_review_window.h"
#include "session/manager_files.h"
#include "session/person_details.h"

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

CivilDateTime Today() {
    const CivilDateTime now = LocalNow();
    return {now.year, now.month, now.day};
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
    : QWidget(parent, Qt::Window), store_(store), mode_(mode), list_(store.Db()) {
    setObjectName("TFormMainTarjaro");
    setWindowTitle("Tarjaro");
    SetCurrentSuite(CurrentSuite());
    ApplySuite(this);
    list_.Filters().birthdayMonth = LocalNow().month;

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
        w->setVisible(w != summaryPanel_ || showDetails_);
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
    ResetFilters(true);
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
    auto *reviewZones =
        button("SBRevisarHusos", QString::fromUtf8("Revisar &husos…"),
               "Revisar husos horarios: personas en hora local cuyo huso guardado no es el que "
               "regía en su fecha");
    fileButtons_ = {copyButton_, backup, append, csv, importButton_, importAaf, exportAaf, reviewZones};
    connect(reviewZones, &QToolButton::clicked, this, &TFormMainTarjaro::ReviewZones);
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
    const std::pair<QRadioButton *, session::UsedChoice> usedChoices[] = {
        {usedYes_, session::UsedChoice::Yes},
        {usedNo_, session::UsedChoice::No},
        {usedBoth_, session::UsedChoice::Both}};
    for (const auto &[r, used] : usedChoices) {
        usedRow->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this, used](bool on) {
            if (on)
                ChangeFilter([used](session::ListFilters &f) { f.used = used; });
        });
    }
    row->addWidget(usedBox_);
    row->addStretch(1);
    addGroupButton_ = button("SBAgregarGrupo", "AG", "Agregar grupo a la lista");
    removeGroupButton_ = button("SBBorrarGrupo", "BG", "Borrar grupo de la lista");
    internetButton_ = button("SBInternet", "Internet", QString::fromUtf8("Acceso vía Internet"));
    internetMenu_ = new QMenu(internetButton_);
    const auto &linkNames = session::kLinkEntries;
    for (std::size_t i = 0; i < linkNames.size(); ++i) {
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
        ResetFilters(true);
        Rebuild();
    });
    connect(onlyTicked_, &QCheckBox::toggled, this,
            [this](bool on) { ChangeFilter([on](session::ListFilters &f) { f.onlyTicked = on; }); });
    connect(addGroupButton_, &QToolButton::clicked, this, [this] { AssignGroup(true); });
    connect(removeGroupButton_, &QToolButton::clicked, this, [this] { AssignGroup(false); });
    connect(detailsButton_, &QToolButton::toggled, this, [this](bool on) {
        showDetails_ = on;
        SetListKind(list_.Kind());
    });
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
    connect(prev, &QToolButton::clicked, this, [this] { GoToPage(list_.Page().page - 1); });
    connect(next, &QToolButton::clicked, this, [this] { GoToPage(list_.Page().page + 1); });
    connect(allOnOnePage_, &QCheckBox::toggled, this, [this](bool all) {
        list_.SetAllOnOnePage(all);
        GoToPage(1);
    });
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
        connect(summaryBoxes_[i], &QCheckBox::toggled, this, [this, i](bool on) {
            bool session::SummaryOptions::*const blocks[] = {
                &session::SummaryOptions::genero,     &session::SummaryOptions::nacimiento,
                &session::SummaryOptions::residencia, &session::SummaryOptions::trabajo,
                &session::SummaryOptions::grupos,     &session::SummaryOptions::observaciones};
            settings_.summary.*blocks[i] = on;
            UpdateSummary();
        });
    }
    layout->addWidget(see);
    return summaryPanel_;
}

// ---- settings, caption, hints ----

void TFormMainTarjaro::UseSettings(const ManagerSettings &settings, const std::string &settingsPath) {
    settings_ = settings;
    settingsPath_ = settingsPath;
    const session::SummaryOptions chosen = settings.summary;
    SetCurrentSuite(settings.color);
    ApplySuite(this);
    const bool boxes[6] = {chosen.genero,  chosen.nacimiento, chosen.residencia,
                           chosen.trabajo, chosen.grupos,     chosen.observaciones};
    for (int i = 0; i < 6; ++i)
        summaryBoxes_[i]->setChecked(boxes[i]);
    settings_.summary = chosen;
    ApplyHints();
}

void TFormMainTarjaro::ApplyHints() {
    const bool on = mode_ != ManagerMode::Standalone || settings_.hint;
    for (auto &[widget, hint] : hints_)
        widget->setToolTip(on ? hint : QString());
}

void TFormMainTarjaro::UpdateCaption() {
    if (FileIsOpen())
        setWindowTitle(QString("Tarjaro  [") + Q(session::FileNameOf(store_.Db().Path)) + "]");
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
    list_.SetKind(kind, Today());
    const int k = static_cast<int>(kind);
    if (k < 4) {
        kindCombo_->setCurrentIndex(k);
        if (QAbstractButton *b = kindButtons_->button(k))
            b->setChecked(true);
    }
    WriteFilterControls();
    const bool persons = kind == Kind::Person;
    kindFilters_->setCurrentIndex(kind == Kind::Place ? 1 : persons ? 2 : kind == Kind::Business ? 3 : 0);
    usedBox_->setVisible(!persons && kind != Kind::Business);
    importButton_->setVisible(kind == Kind::Place && FileIsOpen());
    for (QWidget *w : std::initializer_list<QWidget *>{detailsButton_, addGroupButton_, removeGroupButton_,
                                                       internetButton_})
        w->setVisible(persons);
    const bool panel = persons && showDetails_;
    summaryPanel_->setVisible(panel);
    FillPage();
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
    list_.Rebuild(Today());
    FillPage();
}

void TFormMainTarjaro::GoToPage(int page) {
    list_.GoToPage(page);
    FillPage();
}

void TFormMainTarjaro::FillPage() {
    const int rows =
        session::RowsPerPage(grid_->viewport()->height() + grid_->horizontalHeader()->height(), kRowHeight);
    list_.SetRowsPerPage(rows);
    list_.GoToPage(list_.Page().page);
    const session::Paging &paging = list_.Page();
    model_->SetPage(list_.Kind(), &list_.Rows(), paging.first, paging.count);
    itemsLabel_->setText(Q(list_.ItemsText()));
    UpdateCounters();
    prevPage_->setEnabled(paging.page > 1);
    nextPage_->setEnabled(!list_.AllOnOnePage() && paging.page < paging.pageCount);
    const int row = model_->RowOfId(list_.SelectedId());
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
    foundLabel_->setText(Q(list_.FoundText()));
}

void TFormMainTarjaro::UpdateButtons() {
    const bool open = FileIsOpen();
    const bool row = model_->RowOfId(list_.SelectedId()) >= 0;
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
    importButton_->setVisible(list_.Kind() == Kind::Place && open);
}

void TFormMainTarjaro::CurrentRowChanged() {
    const TData *r = model_->RecordAt(grid_->currentIndex().row());
    list_.Select(r ? r->Id : -1);
    model_->SetSelectedId(list_.SelectedId());
    UpdateSummary();
    UpdateInternetMenu();
    UpdateButtons();
}

void TFormMainTarjaro::SelectId(std::int32_t id) {
    list_.Select(id);
    FillPage();
}

void TFormMainTarjaro::DataChanged() {
    list_.DataChanged();
}

void TFormMainTarjaro::ToggleTick(int row) {
    TData *r = model_->RecordAt(row);
    if (!r)
        return;
    session::ManagerList::ToggleTick(*r);
    model_->TicksChanged();
}

void TFormMainTarjaro::SetTicksOnPage(bool on) {
    const session::Paging &page = list_.Page();
    for (int i = page.first; i < page.first + page.count; ++i)
        list_.Rows()[static_cast<std::size_t>(i)]->Marca = on ? 1 : 0;
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
    if (list_.Kind() == Kind::Person) {
        QMenu *internet = menu.addMenu("Internet");
        for (QAction *a : links_)
            if (a->isVisible())
                internet->addAction(a);
        internet->setEnabled(!internet->isEmpty());
        QAction *details = menu.addAction("Detalles persona");
        details->setCheckable(true);
        details->setChecked(showDetails_);
        connect(details, &QAction::toggled, detailsButton_, &QAbstractButton::setChecked);
        menu.addAction(QString::fromUtf8("Revisar &husos horarios…"), this, &TFormMainTarjaro::ReviewZones);
    }
    if (list_.Kind() == Kind::Place)
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
            ToggleTick(model_->RowOfId(list_.SelectedId()));
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
    TFormItem editor(store_, list_.Kind(), id, EditorMode::NamesOnly, this);
    if (list_.Kind() == Kind::Person && id >= 0) {
        editor.SetNeighbours(
            [this](std::int32_t current, int step) { return list_.Neighbour(current, step); });
        connect(&editor, &TFormItem::stored, this, [this](std::int32_t storedId) {
            DataChanged();
            list_.Select(storedId);
            Rebuild();
        });
    }
    const bool stored = editor.exec() == QDialog::Accepted;
    // Even a cancelled editor may have saved a country, a place or events on the way.
    DataChanged();
    if (stored)
        list_.Select(editor.EditedId());
    FillCombos();
    Rebuild();
}

void TFormMainTarjaro::AddItem() {
    OpenEditor(-1);
}

void TFormMainTarjaro::EditItem() {
    if (model_->RowOfId(list_.SelectedId()) >= 0)
        OpenEditor(list_.SelectedId());
}

void TFormMainTarjaro::DeleteItem() {
    const int row = model_->RowOfId(list_.SelectedId());
    TData *r = model_->RecordAt(row);
    if (!r || !FileIsOpen() || store_.ReadOnly())
        return;
    if (!list_.DeleteOne(*r, store_.Notices()))
        return;
    ShowRemoval();
    if (model_->rowCount() > 0)
        grid_->selectionModel()->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), 3),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
}

void TFormMainTarjaro::DeleteTicked() {
    if (!FileIsOpen() || store_.ReadOnly())
        return;
    if (list_.DeleteTicked(store_.Notices(), Today()))
        ShowRemoval();
    else
        FillPage(); // ticks of records in use may have been taken off
}

// After records were removed from the list's kind: shows and saves the result.
void TFormMainTarjaro::ShowRemoval() {
    Rebuild();
    FillCombos();
    store_.Save();
}

void TFormMainTarjaro::AssignGroup(bool add) {
    if (list_.Kind() != Kind::Person || !FileIsOpen() || store_.ReadOnly())
        return;
    TFormAddGrupo chooser(store_.Db(), add ? "Agregar grupo" : "Borrar grupo", store_, this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    list_.AssignGroup(chooser.ChosenId(), add);
    const std::int32_t keep = list_.SelectedId();
    store_.Save();
    DataChanged();
    list_.Select(keep);
    Rebuild();
}

void TFormMainTarjaro::ReviewZones() {
    if (!FileIsOpen() || store_.ReadOnly())
        return;
    const std::int32_t keep = list_.SelectedId();
    TFormRevisarZonas review(store_, this);
    review.exec();
    if (review.Corrected() == 0) // a file read again meanwhile was shown by its own refresh
        return;
    DataChanged();
    list_.Select(keep);
    Rebuild();
}

// ---- summary and links ----

void TFormMainTarjaro::UpdateSummary() {
    summary_->clear();
    if (list_.Kind() != Kind::Person || !summaryPanel_->isVisible())
        return;
    const auto lines =
        session::SummaryOfPerson(store_.Db(), list_.SelectedId(), settings_.summary, store_.Format());
    if (lines.empty())
        return;
    // The two tab stops of the panel, in points: values after one tab, group names after two.
    const double point = summary_->logicalDpiX() / 72.0;
    QTextBlockFormat block;
    block.setTabPositions({QTextOption::Tab(session::kSummaryTabStops[0] * point, QTextOption::LeftTab),
                           QTextOption::Tab(session::kSummaryTabStops[1] * point, QTextOption::LeftTab)});
    QTextCursor cursor(summary_->document());
    cursor.setBlockFormat(block);
    bool first = true;
    for (const session::SummaryLine &line : lines) {
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

std::string TFormMainTarjaro::LinkFor(const database::TPersona &p, const std::string &entry) {
    return session::PersonLink(p, entry);
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
    const std::array<std::string, 4> captions = list_.Kind() == Kind::Person
                                                    ? session::LinkCaptions(store_.Db(), list_.SelectedId())
                                                    : std::array<std::string, 4>{};
    bool any = false;
    for (std::size_t k = 0; k < captions.size(); ++k) {
        const bool visible = !captions[k].empty();
        links_[k]->setVisible(visible);
        if (visible)
            links_[k]->setText(Q(captions[k]));
        any = any || visible;
    }
    internetButton_->setEnabled(any);
}

void TFormMainTarjaro::OpenLink(const std::string &entry) {
    if (const std::string link = session::LinkOfPerson(store_.Db(), list_.SelectedId(), entry); !link.empty())
        LinkOpener()(link);
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
    if (!list_.AllOnOnePage())
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
