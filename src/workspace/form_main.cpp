#include "workspace/form_main.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

#include "common/install_paths.h"
#include "database/data_file.h"
#include "database/data_file_session.h"
#include "database/record_checks.h"
#include "database/shared_use_guard.h"
#include "database/spanish_order.h"
#include "document/workspace_page.h"
#include "manager/data_store.h"
#include "manager/manager_window.h"
#include "settings/settings.h"
#include "workspace/aspect_table_page.h"
#include "workspace/dialog_palette.h"
#include "workspace/elided_label.h"
#include "workspace/form_retorno.h"
#include "workspace/print_window.h"
#include "workspace/reports_page.h"
#include "workspace/settings_dialog.h"
#include "workspace/wheel_view.h"

namespace cel::workspace {

namespace {

QToolButton *ToolButton(const QString &name, const QString &text, const QString &tip,
                        bool checkable = false) {
    auto *b = new QToolButton;
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setCheckable(checkable);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

} // namespace

TFormMain::TFormMain(Notifier &notifier, MainWindowOptions options, QWidget *parent)
    : QMainWindow(parent), notifier_(notifier), options_(std::move(options)) {
    setObjectName("FormMain");
    updating_ = true;
    ws_.format.decimalSeparator = QLocale().decimalPoint().at(0).toLatin1();
    const settings::Settings::LoadResult loaded =
        ws_.settings.Load(options_.iniPath, ws_.format, options_.defaultFolder);
    if (!loaded.error.empty())
        notifier_.Notice(NoticeKind::Error, false, true,
                         "No se pudo leer el archivo de configuración:\r" + options_.iniPath + "\r\r" +
                             loaded.error + "\r\rEl programa sigue con la configuración inicial.");
    ws_.ApplySettings();
    ws_.choices.innerItem = chart::kNatalEcliptic;
    ws_.choices.outerItem = chart::kEventEcliptic;
    // A first look shows the major aspects between all the points, not an empty wheel.
    for (int k : {1, 5, 7, 9, 13})
        angleTicks_[static_cast<std::size_t>(k)] = true;
    pointTicks_.fill(true);
    pointTicks_[0] = false;

    setWindowTitle("Celestigrafo");
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks |
                   QMainWindow::AllowTabbedDocks);
    BuildTopBar();
    BuildPages();
    BuildDatosDock();
    BuildConfigDock();
    BuildFilterDock();
    BuildEventsDock();
    RestoreDockLayout();
    BuildTransitsWindow();

    if (options_.useGuard) {
        try {
            guard_ = options_.guardName.empty()
                         ? std::make_unique<database::SharedUseGuard>()
                         : std::make_unique<database::SharedUseGuard>(options_.guardName);
        } catch (const std::exception &e) {
            notifier_.Notice(NoticeKind::Error, false, true, e.what());
        }
    }
    file_ = std::make_unique<database::DataFileSession>(guard_.get(), database::GuardOwner::Current());
    // The item editor and the manager open, check and save the file through the same session.
    store_ = std::make_unique<manager::DataStore>(ws_.db, notifier_, ws_.format, file_.get(), guard_.get(),
                                                  database::GuardOwner::Current(), "Celestigrafo");
    store_->reloaded = [this] {
        currentPerson_ = personA_ = personB_ = -1;
        RefillGroups();
        RefillCountries();
        RefillPersons();
        LoadCurrentPerson();
        RecomputeAll();
    };
    std::string file = options_.dataFile.empty() ? ws_.settings.data.file : options_.dataFile;
    std::error_code ec;
    if (!file.empty() && std::filesystem::exists(file, ec)) // a pipe or a device is refused with its notice
        OpenDataFile(file);
    else
        RefillCountries();
    LoadCurrentPerson();
    ApplyColours();
    updating_ = false;
}

TFormMain::~TFormMain() = default;

void TFormMain::BuildTopBar() {
    auto *bar = new QToolBar("Barra");
    bar->setObjectName("ToolBarMain");
    bar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, bar);

    auto *open = ToolButton("SBAbrir", "Abrir", "Abrir archivo de datos");
    connect(open, &QToolButton::clicked, this, [this] { OpenDataFileDialog(); });
    bar->addWidget(open);
    auto *manager = ToolButton("SBTarjaro", "Tarjaro", "Tarjaro administrar datos/archivo");
    connect(manager, &QToolButton::clicked, this, [this] { OpenManager(); });
    bar->addWidget(manager);
    bar->addSeparator();
    const struct {
        const char *name, *text, *tip;
        QDockWidget **dock;
    } toggles[] = {{"SBVerDatos", "Datos", "Mostrar u ocultar Datos", &twDatos_},
                   {"SBVerConfig", "Configurar", "Mostrar u ocultar Configurar", &twConfig_},
                   {"SBVerFiltro", "Filtro", "Mostrar u ocultar Filtar lista personas", &twFiltrar_}};
    for (const auto &t : toggles) {
        auto *b = ToolButton(t.name, t.text, t.tip, true);
        b->setChecked(true);
        QDockWidget **dock = t.dock;
        connect(b, &QToolButton::toggled, this, [dock](bool on) {
            if (*dock)
                (*dock)->setVisible(on);
        });
        bar->addWidget(b);
    }
    bar->addSeparator();
    auto *setup = ToolButton("SBSetUp", "Configuración", "Configurar Celestigrafo", true);
    connect(setup, &QToolButton::toggled, this, [this, setup](bool on) {
        if (on && !setup_) {
            setup_ = new TFormSetUpCEL(
                notifier_, ws_.settings, [this] { ApplyColours(); }, [this] { RefreshView(); }, this);
            connect(setup_, &QDialog::finished, this, [this, setup] {
                setup_ = nullptr;
                setup->setChecked(false);
            });
            setup_->show();
        } else if (!on && setup_) {
            setup_->close();
        }
    });
    bar->addWidget(setup);
    sbImagen_ = ToolButton("SBImagenGrande", "Imagen grande", "Imagen y letra grande", true);
    connect(sbImagen_, &QToolButton::toggled, this, [this](bool on) {
        if (updating_)
            return;
        cbImagenGrande_->setChecked(on);
    });
    bar->addWidget(sbImagen_);
    auto *print = ToolButton("SBImprimir", "Imprimir", "Imprimir y exportar");
    BuildPrintMenu(print);
    bar->addWidget(print);
    sbColores_ = ToolButton("SBColores", "Colores", "Colores", true);
    connect(sbColores_, &QToolButton::toggled, this, [this](bool on) {
        if (updating_)
            return;
        ws_.settings.rueda.color = on;
        if (setup_)
            setup_->ShowColours(on);
        RefreshView();
    });
    bar->addWidget(sbColores_);
    auto *help = ToolButton("SBAyuda", "Ayuda", "Ayuda Celestigrafo");
    connect(help, &QToolButton::clicked, this, [this] {
        // A missing help file or no program to show it is said, never passed over in silence.
        const std::filesystem::path page = HelpDirectory() / "index.html";
        std::error_code error;
        if (!std::filesystem::is_regular_file(page, error))
            notifier_.Notice(NoticeKind::Warning, false, true,
                             "No se encontró la ayuda del programa:\r\r" + page.string());
        else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page.string()))))
            notifier_.Notice(NoticeKind::Warning, false, true,
                             "No se pudo abrir la ayuda: no hay un programa para ver páginas web.\r\r" +
                                 page.string());
    });
    bar->addWidget(help);
    auto *close = ToolButton("SBCerrar", "Cerrar", "Cerrar Celestigrafo");
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    bar->addWidget(close);
}

void TFormMain::BuildPages() {
    auto *central = new QWidget;
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 4);

    // The labels of the two records, their date lines, "GMT", "edad" and the page buttons.
    auto *info = new QWidget;
    info->setObjectName("PanelInfo");
    auto *grid = new QHBoxLayout(info);
    grid->setContentsMargins(0, 0, 0, 0);
    auto *labels = new QVBoxLayout;
    labelNatal_ = new ElidedLabel("<>: ");
    labelNatal_->setObjectName("LabelNatal");
    labelNatalDate_ = new QLabel;
    labelNatalDate_->setObjectName("LabelNatalFecha");
    labelEvento_ = new ElidedLabel("Evento: ");
    labelEvento_->setObjectName("LabelEvento");
    labelEventoDate_ = new QLabel;
    labelEventoDate_->setObjectName("LabelEventoFecha");
    auto *natalRow = new QHBoxLayout;
    natalRow->addWidget(labelNatal_);
    natalRow->addWidget(labelNatalDate_);
    natalRow->addStretch(1);
    auto *eventRow = new QHBoxLayout;
    eventRow->addWidget(labelEvento_);
    eventRow->addWidget(labelEventoDate_);
    eventRow->addStretch(1);
    // A long name gives way (cut with "…", whole in its tooltip); the date line keeps its room.
    for (QLabel *l : {labelNatalDate_, labelEventoDate_})
        l->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    labels->addLayout(natalRow);
    labels->addLayout(eventRow);
    grid->addLayout(labels, 1);
    cbGmt_ = new QCheckBox("GMT");
    cbGmt_->setObjectName("CBGMT");
    cbEdad_ = new QCheckBox("edad");
    cbEdad_->setObjectName("CBEdad");
    cbEdad_->setChecked(ws_.settings.main.viewEdad);
    connect(cbGmt_, &QCheckBox::toggled, this, [this] { RefreshDateLabels(); });
    connect(cbEdad_, &QCheckBox::toggled, this, [this](bool on) {
        ws_.settings.main.viewEdad = on;
        RefreshDateLabels();
    });
    grid->addWidget(cbGmt_);
    grid->addWidget(cbEdad_);
    column->addWidget(info);
    // The page buttons at the right end of the top bar.
    QToolBar *pageBar = findChild<QToolBar *>("ToolBarMain");
    auto *spacer = new QWidget;
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    pageBar->addWidget(spacer);
    auto *pageGroup = new QButtonGroup(this);
    const char *pageNames[] = {"SBRueda", "SBTabla", "SBReportes"};
    const char *pageTexts[] = {"Rueda", "Tabla de aspectos", "Reportes"};
    for (int i = 0; i < 3; ++i) {
        auto *b = new QPushButton(pageTexts[i]);
        b->setObjectName(pageNames[i]);
        b->setCheckable(true);
        b->setChecked(i == 0);
        pageGroup->addButton(b, i);
        pageBar->addWidget(b);
    }

    pages_ = new QStackedWidget;
    pages_->setObjectName("PageControl");
    wheelBox_ = new QGroupBox("Aspectos: 0");
    wheelBox_->setObjectName("GBAspectos");
    auto *wheelLayout = new QVBoxLayout(wheelBox_);
    wheelLayout->setContentsMargins(2, 2, 2, 2);
    wheel_ = new WheelView(ws_);
    wheel_->onDrawn = [this](int count) {
        aspectCount_ = count;
        wheelBox_->setTitle(QString("Aspectos: %1").arg(count));
    };
    wheelLayout->addWidget(wheel_);
    pages_->addWidget(wheelBox_);
    tablePage_ = new AspectTablePage(ws_, [this] { RefreshView(); });
    pages_->addWidget(tablePage_);
    reportsPage_ = new ReportsPage(ws_);
    pages_->addWidget(reportsPage_);
    connect(pageGroup, &QButtonGroup::idClicked, this, [this](int id) {
        pages_->setCurrentIndex(id);
        cbImagenGrande_->setVisible(id != 2);
        updating_ = true;
        cbImagenGrande_->setChecked(id == 0 ? ws_.settings.rueda.imagenR : ws_.settings.rueda.imagenT);
        updating_ = false;
    });
    column->addWidget(pages_, 1);
    setCentralWidget(central);
}

void TFormMain::ApplyColours() {
    const bool wasUpdating = updating_;
    updating_ = true;
    // The scheme and "Hint" reach the open dialogs too.
    ApplyScheme(this, ws_.settings.main.color, ws_.settings.main.hint);
    for (QDockWidget *dock : {twDatos_, twConfig_, twFiltrar_, twEventos_})
        if (dock)
            dock->setPalette(palette());
    sbColores_->setChecked(ws_.settings.rueda.color);
    updating_ = wasUpdating;
    if (ready_)
        RefreshView();
}

void TFormMain::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (!ready_)
        MakeReady();
}

void TFormMain::MakeReady() {
    if (ready_)
        return;
    ready_ = true;
    twEventos_->hide();
    if (ws_.settings.toolWindows.empty())
        resizeDocks({twDatos_, twFiltrar_}, {height() * 2 / 3, height() / 3}, Qt::Vertical);
    RecomputeAll();
    ReadOnlyCheck();
}

void TFormMain::ReadOnlyCheck() {
    if (!file_->IsOpen())
        return;
    if (file_->GetAccess() == database::DataFileSession::Access::NotWritable)
        store_->ReadOnly(); // its notice: the user may not write the file
    else if (guard_)
        guard_->ReadOnlyCheck(database::GuardOwner::Current(), file_->Path(), notifier_, "Celestigrafo");
}

void TFormMain::OpenFromAnotherStart(const std::string &path) {
    RaiseFromAnotherStart();
    std::error_code ec;
    if (file_->IsOpen() && std::filesystem::equivalent(path, file_->Path(), ec))
        return;
    if (!MayLeaveFile())
        return;
    const std::string current =
        file_->IsOpen() ? "\r\ren lugar de [" + database::FileNameOf(file_->Path()) + "]" : std::string();
    if (notifier_.Ask("Otra ejecución de Celestigrafo pide abrir el archivo de datos:\r\r" + path + current +
                          "\r\r¿Desea abrirlo?",
                      QuestionStyle{true, false}) != Answer::Yes)
        return;
    OpenChosenDataFile(path);
}

void TFormMain::RaiseFromAnotherStart() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TFormMain::closeEvent(QCloseEvent *event) {
    if (closed_) {
        event->accept();
        return;
    }
    if (AskUnsavedNatal(true) == Answer::Cancel) { // the user goes on working
        event->ignore();
        return;
    }
    closed_ = true;
    file_->Close();
    if (retorno_)
        retorno_->close();
    SaveDockLayout();
    std::string error;
    if (!options_.iniPath.empty() && !ws_.settings.Save(options_.iniPath, ws_.format, &error))
        notifier_.Notice(NoticeKind::Error, false, true,
                         "No se pudo guardar la configuración en:\r" + options_.iniPath + "\r\r" + error);
    event->accept();
}

// ---- The two chains.

void TFormMain::RecomputeAll() {
    if (!ready_)
        return;
    RefreshDateLabels();
    CopyControlsToChoices();
    ws_.Recompute();
    reportsPage_->FillProgressions();
    ShowView();
    if (retorno_)
        retorno_->RefreshLabels();
}

void TFormMain::RefreshView() {
    if (updating_ || !ready_)
        return;
    CopyControlsToChoices();
    ws_.RefreshView();
    ShowView();
}

void TFormMain::ShowView() {
    updating_ = true;
    if (ws_.view.aspectMode == 1) {
        // "Por casas": the refresh chose the points of the house; the boxes show them.
        for (int n = 1; n <= 12; ++n) {
            pointTicks_[static_cast<std::size_t>(n)] = ws_.view.pointSelection[static_cast<std::size_t>(n)];
            cbPoints_[static_cast<std::size_t>(n)]->setChecked(pointTicks_[static_cast<std::size_t>(n)]);
        }
    }
    updating_ = false;
    wheel_->Redraw();
    tablePage_->Rebuild();
    reportsPage_->Rebuild();
}

void TFormMain::CopyControlsToChoices() {
    settings::RecVistaCarta &c = ws_.choices;
    c.innerItem = static_cast<std::uint8_t>(cbInt_->currentIndex() + 1);
    c.outerItem = static_cast<std::uint8_t>(cbExt_->currentIndex() + 1);
    c.wheelMode = rbDoble_->isChecked() ? settings::kDoubleWheel : settings::kSingleWheel;
    c.aspectMode = rbPorCasas_->isChecked() ? 1 : 0;
    for (int f = 0; f < 4; ++f)
        c.aspectFamilies[static_cast<std::size_t>(f)] = cbFamilies_[static_cast<std::size_t>(f)]->isChecked();
    for (int s = 0; s < 3; ++s)
        c.autoSources[static_cast<std::size_t>(s)] = cbSources_[static_cast<std::size_t>(s)]->isChecked();
    c.strengthFilter = seFuerza_->value();
    c.computeDispositors = cbCalc_->isChecked();
    const bool doubleWheel = c.wheelMode == settings::kDoubleWheel;
    c.innerWheelOnly = doubleWheel && cb1Rueda_->isChecked();
    c.projectInnerHouses = doubleWheel && cb1Casas_->isChecked() && !cb1Rueda_->isChecked();
    c.noProjectedHouses = !c.projectInnerHouses;
    c.equaliseBySigns = cbIgualar_->currentIndex() == 0;
    c.cuspSelection = cuspTicks_;
    c.pointSelection = pointTicks_;
    c.angleSelection = angleTicks_;
    c.dispositorFilter = cbDisp_->isEnabled() && cbDisp_->isChecked();
    ws_.settings.rueda.glifo = cbGlifo_->isChecked();
}

// ---- Tool-window layout.

void TFormMain::SaveDockLayout() {
    ws_.settings.toolWindows.clear();
    const std::pair<QDockWidget *, const char *> docks[] = {{twDatos_, "TWDatos"},
                                                            {twConfig_, "TWConfig"},
                                                            {twFiltrar_, "TWFiltrarLista"},
                                                            {twEventos_, "TWListEvents"}};
    for (const auto &[dock, name] : docks) {
        settings::ToolWindowSection section;
        section.name = std::string("TB") + name;
        const Qt::DockWidgetArea area = dockWidgetArea(dock);
        const char *areaName = area == Qt::RightDockWidgetArea    ? "DockRight"
                               : area == Qt::TopDockWidgetArea    ? "DockTop"
                               : area == Qt::BottomDockWidgetArea ? "DockBottom"
                                                                  : "DockLeft";
        const QPoint at = dock->isFloating() ? dock->pos() : dock->geometry().topLeft();
        auto put = [&section](const char *key, const std::string &value) {
            section.entries.push_back({key, value});
        };
        put("Rev", "3");
        // The filter window hidden only because the place/date page is shown is still part of the layout.
        const bool visible = dock->isVisible() || (dock == twEventos_ && sbEventos_->isChecked()) ||
                             (dock == twFiltrar_ && datosTabs_->currentIndex() == 1 && filterWasVisible_);
        put("Visible", visible ? "1" : "0");
        put("DockedTo", dock->isFloating() ? "+" : areaName);
        put("LastDock", areaName);
        put("DockRow", std::to_string(dock->isFloating() ? 0 : at.x()));
        put("DockPos", std::to_string(dock->isFloating() ? 0 : at.y()));
        put("FloatLeft", std::to_string(dock->isFloating() ? at.x() : dock->mapToGlobal(QPoint()).x()));
        put("FloatTop", std::to_string(dock->isFloating() ? at.y() : dock->mapToGlobal(QPoint()).y()));
        ws_.settings.toolWindows.push_back(std::move(section));
    }
}

void TFormMain::RestoreDockLayout() {
    struct Placed {
        QDockWidget *dock;
        Qt::DockWidgetArea area;
        int row, pos;
        bool floating, visible;
        QPoint floatAt;
    };
    std::vector<Placed> placed;
    const std::pair<QDockWidget *, const char *> docks[] = {{twDatos_, "TBTWDatos"},
                                                            {twConfig_, "TBTWConfig"},
                                                            {twFiltrar_, "TBTWFiltrarLista"},
                                                            {twEventos_, "TBTWListEvents"}};
    for (const auto &[dock, name] : docks) {
        const auto found = std::find_if(ws_.settings.toolWindows.begin(), ws_.settings.toolWindows.end(),
                                        [&](const settings::ToolWindowSection &s) { return s.name == name; });
        if (found == ws_.settings.toolWindows.end())
            continue;
        auto value = [&](const char *key) -> std::string {
            for (const auto &[k, v] : found->entries)
                if (k == key)
                    return v;
            return {};
        };
        auto number = [&](const char *key) {
            try {
                return std::stoi(value(key));
            } catch (...) {
                return 0;
            }
        };
        const std::string docked = value("DockedTo");
        const std::string last = value("LastDock");
        const std::string areaName = docked == "+" ? last : docked;
        const Qt::DockWidgetArea area = areaName == "DockRight"    ? Qt::RightDockWidgetArea
                                        : areaName == "DockTop"    ? Qt::TopDockWidgetArea
                                        : areaName == "DockBottom" ? Qt::BottomDockWidgetArea
                                                                   : Qt::LeftDockWidgetArea;
        placed.push_back({dock, area, number("DockRow"), number("DockPos"), docked == "+",
                          number("Visible") != 0, QPoint(number("FloatLeft"), number("FloatTop"))});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) {
        return std::tie(a.area, a.row, a.pos) < std::tie(b.area, b.row, b.pos);
    });
    for (const Placed &p : placed) {
        removeDockWidget(p.dock);
        addDockWidget(p.area, p.dock, Qt::Vertical);
        p.dock->setFloating(p.floating);
        if (p.floating)
            p.dock->move(p.floatAt);
        p.dock->setVisible(p.visible);
        if (p.dock == twEventos_)
            sbEventos_->setChecked(p.visible);
    }
    const std::pair<const char *, QDockWidget *> toggles[] = {
        {"SBVerDatos", twDatos_}, {"SBVerConfig", twConfig_}, {"SBVerFiltro", twFiltrar_}};
    for (const auto &[name, dock] : toggles)
        if (auto *b = findChild<QToolButton *>(name))
            b->setChecked(!dock->isHidden());
}

// ---- Data file.

bool TFormMain::OpenDataFile(const std::string &path) {
    try {
        if (!file_->Open(path, ws_.db, notifier_, ws_.format))
            return false;
    } catch (const std::exception &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    if (const auto problems = database::CheckRecords(ws_.db); !problems.empty())
        notifier_.Notice(NoticeKind::Warning, false, true, database::InvalidRecordsText(path, problems));
    ws_.settings.data.file = path;
    const QString title =
        QString("Celestigrafo  [%1]").arg(QString::fromStdString(database::FileNameOf(path)));
    setWindowTitle(title);
    const bool wasUpdating = updating_;
    updating_ = true;
    RefillGroups();
    RefillCountries();
    SelectPlace(ws_.Record(Side()).placeId);
    sbNuevoLugar_->setEnabled(!ws_.db.Countries.empty());
    currentPerson_ = personA_ = personB_ = -1;
    natalChanged_ = false; // the natal entry belongs to the file that was left
    sbGuardar_->setEnabled(false);
    sbDeshacer_->setEnabled(false);
    updating_ = wasUpdating;
    RefillPersons();
    if (ready_)
        ReadOnlyCheck();
    return true;
}

void TFormMain::OpenManager() {
    AskUnsavedNatal();
    // The manager works on this window's database; when it closes the file is read again.
    manager::TFormMainTarjaro::OpenFromChartProgram(
        this, *store_,
        [this] {
            const std::string path = ws_.db.Path.empty() ? ws_.settings.data.file : ws_.db.Path;
            std::error_code ec;
            if (!path.empty() && std::filesystem::is_regular_file(path, ec))
                OpenDataFile(path);
            LoadCurrentPerson();
            RecomputeAll();
        },
        options_.splash);
}

bool TFormMain::MayLeaveFile() {
    if (!natalChanged_)
        return true;
    return AskUnsavedNatal(true) != Answer::Cancel && !natalChanged_;
}

void TFormMain::OpenDataFileDialog() {
    if (!MayLeaveFile())
        return;
    const QString start =
        QString::fromStdString(std::filesystem::path(ws_.settings.data.file).parent_path().string());
    const QString chosen =
        QFileDialog::getOpenFileName(this, "Abrir archivo de datos", start, "Archivos Tarjaro (*.age)");
    if (chosen.isEmpty())
        return;
    std::string path = chosen.toStdString();
    if (std::filesystem::path(path).extension().empty())
        path += ".age";
    OpenChosenDataFile(path);
}

bool TFormMain::OpenChosenDataFile(const std::string &path) {
    if (!OpenDataFile(path))
        return false;
    LoadCurrentPerson();
    RecomputeAll();
    return true;
}

void TFormMain::RefillGroups() {
    const bool wasUpdating = updating_;
    updating_ = true;
    const QVariant keep = cbGrupo_->currentData();
    cbGrupo_->clear();
    cbGrupo_->addItem("[*]", -1);
    std::vector<const database::TData *> groups;
    for (const auto &g : ws_.db.PersonGroups)
        groups.push_back(g.get());
    std::stable_sort(groups.begin(), groups.end(), [](const database::TData *a, const database::TData *b) {
        return database::SpanishLess(a->Nombre, b->Nombre);
    });
    for (const database::TData *g : groups)
        cbGrupo_->addItem(QString::fromStdString(g->Nombre), g->Id);
    cbGrupo_->setCurrentIndex(std::max(0, cbGrupo_->findData(keep)));
    updating_ = wasUpdating;
}

bool TFormMain::EnsureDataFile() {
    std::error_code ec;
    if (std::filesystem::is_regular_file(ws_.settings.data.file, ec))
        return true;
    QString chosen;
    if (notifier_.Notice(NoticeKind::Question, true, true,
                         "No hay un archivo de datos cargado. Desea crear un nuevo archivo?")) {
        chosen = QFileDialog::getSaveFileName(this, "Crear archivo de datos", QString(),
                                              "Archivos Tarjaro (*.age)");
        if (!chosen.isEmpty()) {
            std::string path = chosen.toStdString();
            if (std::filesystem::path(path).extension().empty())
                path += ".age";
            database::Database empty;
            try {
                database::SaveDataFile(path, empty, ws_.format);
            } catch (const std::exception &e) {
                notifier_.Notice(NoticeKind::Error, false, true, e.what());
                return false;
            }
            OpenDataFile(path);
        }
    } else if (notifier_.Notice(NoticeKind::Question, true, true,
                                "No hay un archivo de datos cargado. Desea abrir un archivo existente?")) {
        OpenDataFileDialog();
    }
    return std::filesystem::is_regular_file(ws_.settings.data.file, ec);
}

bool TFormMain::Writable() {
    // The store's check: a file the user may not write, or another program's, is refused with its
    // notice; when the other program has ended the file is read again and the user repeats the change.
    return file_->IsOpen() && !store_->ReadOnly();
}

bool TFormMain::SaveDataFile() {
    try {
        file_->Save(ws_.db, ws_.format, notifier_);
        return true;
    } catch (const std::exception &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
}

void TFormMain::RevertToFile() {
    const std::string path = file_->Path();
    if (!path.empty() && store_->Open(path) && store_->reloaded)
        store_->reloaded();
}

} // namespace cel::workspace
