#include "workspace/form_main.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

#include "common/install_paths.h"
#include "document/workspace_page.h"
#include "manager/manager_window.h"
#include "manager/zone_choices.h"
#include "workspace/aspect_table_page.h"
#include "workspace/choices_panel.h"
#include "workspace/dialog_palette.h"
#include "workspace/dock_layout.h"
#include "workspace/elided_label.h"
#include "workspace/events_panel.h"
#include "workspace/form_retorno.h"
#include "workspace/print_window.h"
#include "workspace/reports_page.h"
#include "workspace/settings_dialog.h"
#include "workspace/side_scroll.h"
#include "workspace/transits_page.h"
#include "workspace/wheel_view.h"
#include "zones/atlas.h"

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

std::string FileNameOf(const std::string &path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

TFormMain::TFormMain(Notifier &notifier, MainWindowOptions options, QWidget *parent)
    : QMainWindow(parent), notifier_(notifier), options_(std::move(options)), session_(notifier, [] {
          TextFormat format;
          format.decimalSeparator = QLocale().decimalPoint().at(0).toLatin1();
          return format;
      }()) {
    setObjectName("FormMain");
    session_.SetZoneSources(&zones::SharedAtlas(), &manager::ZoneChoices());
    if (const std::string error = session_.LoadSettings(options_.iniPath, options_.defaultFolder);
        !error.empty())
        notifier_.Notice(NoticeKind::Error, false, true,
                         "No se pudo leer el archivo de configuración:\r" + options_.iniPath + "\r\r" +
                             error + "\r\rEl programa sigue con la configuración inicial.");

    setWindowTitle("Celestigrafo");
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks |
                   QMainWindow::AllowTabbedDocks);
    BuildActions();
    BuildTopBar();
    BuildPages();
    BuildDatosDock();
    BuildConfigDock();
    BuildFilterDock();
    BuildEventsDock();
    RestoreDockLayout();
    BuildTransitsWindow();

    session_.onChanged = [this](session::Changes changes) { Show(changes); };
    if (options_.useGuard)
        session_.OpenGuard(options_.guardName);
    // The item editor and the manager open, check and save the file through the session's store.
    const std::string file = options_.dataFile.empty() ? Workspace().settings.data.file : options_.dataFile;
    std::error_code ec;
    if (file.empty() || !std::filesystem::exists(file, ec) || !session_.OpenFile(file))
        Show(session::kAllChanged); // a pipe or a device is refused with its notice
    ApplyColours();
}

TFormMain::~TFormMain() {
    session_.onChanged = nullptr;
}

void TFormMain::BuildActions() {
    const struct {
        Command command;
        const char *name, *text;
        QKeySequence shortcut;
        std::function<void()> run;
    } commands[] = {
        {Command::Open, "ActAbrir", "&Abrir", QKeySequence(Qt::CTRL | Qt::Key_O),
         [this] { OpenDataFileDialog(); }},
        {Command::Manager, "ActTarjaro", "&Tarjaro", {}, [this] { OpenManager(); }},
        {Command::Print, "ActImprimir", "Imprimir", QKeySequence(Qt::CTRL | Qt::Key_P),
         [this] {
             TFormPrint::PrintDirect(notifier_, PrintContent(), {false, Workspace().settings.main.footer},
                                     this);
         }},
        {Command::Preview,
         "ActPreliminar",
         "Impresión preliminar",
         {},
         [this] {
             TFormPrint::Preview(notifier_, PrintContent(), {false, Workspace().settings.main.footer},
                                 Workspace().settings.main.hint, this);
         }},
        {Command::ExportRtf,
         "ActRtf",
         "Exportar a archivo RTF",
         {},
         [this] {
             TFormPrint::ExportRtfDirect(notifier_, PrintContent(), {false, Workspace().settings.main.footer},
                                         this);
         }},
        {Command::Settings, "ActConfiguracion", "&Configuración", {}, [this] { sbSetUp_->toggle(); }},
        {Command::StepBack, "ActPasoAtras", "Atrás", QKeySequence(Qt::ALT | Qt::Key_Left),
         [this] { session_.Step(-1); }},
        {Command::StepForward, "ActPasoAdelante", "Adelante", QKeySequence(Qt::ALT | Qt::Key_Right),
         [this] { session_.Step(+1); }},
        {Command::Today,
         "ActHoy",
         "&Hoy a las cero horas",
         {},
         [this] { session_.Jump(session::JumpTarget::TodayAtMidnight); }},
        {Command::Now, "ActAhora", "Ah&ora", {}, [this] { session_.Jump(session::JumpTarget::Now); }},
        {Command::Birth,
         "ActNacimiento",
         "Na&cimiento",
         {},
         [this] { session_.Jump(session::JumpTarget::Birth); }},
        {Command::NewPerson, "ActNueva", "&Nueva", QKeySequence(Qt::CTRL | Qt::Key_N),
         [this] { AddOrEditPerson(true); }},
        {Command::EditPerson, "ActEditar", "&Editar", {}, [this] { AddOrEditPerson(false); }},
        {Command::DeletePerson, "ActEliminar", "E&liminar", {}, [this] { DeleteSelectedPerson(); }},
        {Command::Help, "ActAyuda", "A&yuda", QKeySequence(Qt::Key_F1), [this] { ShowHelp(); }},
        {Command::Close, "ActCerrar", "Ce&rrar", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); }},
    };
    for (const auto &c : commands) {
        auto *action = new QAction(QString::fromUtf8(c.text), this);
        action->setObjectName(c.name);
        action->setShortcut(c.shortcut);
        if (c.command == Command::StepBack || c.command == Command::StepForward)
            action->setAutoRepeat(true);
        else
            action->setAutoRepeat(false);
        addAction(action); // the shortcut works wherever the focus is in the window
        connect(action, &QAction::triggered, this, c.run);
        actions_[static_cast<std::size_t>(c.command)] = action;
    }
    // The stepping shortcuts work only while the entry may change (not in synastry).
    for (Command c : {Command::StepBack, Command::StepForward, Command::Today, Command::Now, Command::Birth})
        Action(c)->setShortcutContext(Qt::WindowShortcut);
}

void TFormMain::BuildTopBar() {
    auto *bar = new QToolBar("Barra");
    bar->setObjectName("ToolBarMain");
    bar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, bar);

    // Each button triggers its command's action.
    const auto button = [this, bar](const char *name, const char *text, const char *tip, Command command) {
        auto *b = ToolButton(name, QString::fromUtf8(text), QString::fromUtf8(tip));
        connect(b, &QToolButton::clicked, Action(command), &QAction::trigger);
        bar->addWidget(b);
        return b;
    };
    button("SBAbrir", "&Abrir", "Abrir archivo de datos (Ctrl+O)", Command::Open);
    button("SBTarjaro", "&Tarjaro", "Tarjaro administrar datos/archivo", Command::Manager);
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
    sbSetUp_ = ToolButton("SBSetUp", "&Configuración", "Configurar Celestigrafo", true);
    connect(sbSetUp_, &QToolButton::toggled, this, [this](bool on) {
        if (on && !setup_) {
            setup_ = new TFormSetUpCEL(
                notifier_, Workspace().settings, [this] { ApplyColours(); }, [this] { session_.Refresh(); },
                this);
            connect(setup_, &QDialog::finished, this, [this] {
                setup_ = nullptr;
                sbSetUp_->setChecked(false);
            });
            setup_->show();
        } else if (!on && setup_) {
            setup_->close();
        }
    });
    bar->addWidget(sbSetUp_);
    sbImagen_ = ToolButton("SBImagenGrande", "Imagen grande", "Imagen y letra grande", true);
    OnInput(sbImagen_, &QToolButton::toggled,
            [this](bool on) { session_.SetLargeImages(pages_->currentIndex() == 0, on); });
    bar->addWidget(sbImagen_);
    auto *print = ToolButton("SBImprimir", "Im&primir", "Imprimir y exportar (Ctrl+P)");
    auto *menu = new QMenu(print);
    menu->setObjectName("MenuImprimir");
    for (Command c : {Command::Print, Command::Preview, Command::ExportRtf})
        menu->addAction(Action(c));
    print->setMenu(menu);
    print->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(print);
    sbColores_ = ToolButton("SBColores", "Colores", "Colores", true);
    OnInput(sbColores_, &QToolButton::toggled, [this](bool on) {
        if (setup_)
            setup_->ShowColours(on);
        session_.SetColour(on);
    });
    bar->addWidget(sbColores_);
    button("SBAyuda", "A&yuda", "Ayuda Celestigrafo (F1)", Command::Help);
    button("SBCerrar", "Ce&rrar", "Cerrar Celestigrafo (Ctrl+Q)", Command::Close);
}

void TFormMain::ShowHelp() {
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
    cbEdad_->setChecked(Workspace().settings.main.viewEdad);
    OnInput(cbGmt_, &QCheckBox::toggled, [this](bool on) { session_.SetShowGmt(on); });
    OnInput(cbEdad_, &QCheckBox::toggled, [this](bool on) { session_.SetShowAge(on); });
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
    wheel_ = new WheelView(Workspace());
    wheel_->onDrawn = [this](int count) {
        aspectCount_ = count;
        wheelBox_->setTitle(QString("Aspectos: %1").arg(count));
    };
    wheelLayout->addWidget(wheel_);
    pages_->addWidget(wheelBox_);
    tablePage_ = new AspectTablePage(Workspace(), [this] { session_.Refresh(); });
    pages_->addWidget(tablePage_);
    reportsPage_ = new ReportsPage(Workspace());
    pages_->addWidget(reportsPage_);
    connect(pageGroup, &QButtonGroup::idClicked, this, [this](int id) {
        pages_->setCurrentIndex(id);
        Show(session::kChoicesChanged); // "Imagen y letra grande" of the page shown
    });
    column->addWidget(pages_, 1);
    setCentralWidget(central);
}

void TFormMain::ApplyColours() {
    // The scheme and "Hint" reach the open dialogs too.
    ApplyScheme(this, Workspace().settings.main.color, Workspace().settings.main.hint);
    for (QDockWidget *dock : {twDatos_, twConfig_, twFiltrar_, twEventos_})
        if (dock)
            dock->setPalette(palette());
    session_.Refresh();
}

void TFormMain::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (!session_.Started())
        MakeReady();
}

void TFormMain::MakeReady() {
    if (session_.Started())
        return;
    twEventos_->hide();
    if (Workspace().settings.toolWindows.empty())
        resizeDocks({twDatos_, twFiltrar_}, {height() * 2 / 3, height() / 3}, Qt::Vertical);
    session_.Start();
}

void TFormMain::OpenFromAnotherStart(const std::string &path) {
    RaiseFromAnotherStart();
    std::error_code ec;
    if (session_.HasOpenFile() && std::filesystem::equivalent(path, session_.FilePath(), ec))
        return;
    if (!session_.MayLeaveFile())
        return;
    const std::string current =
        session_.HasOpenFile() ? "\r\ren lugar de [" + FileNameOf(session_.FilePath()) + "]" : std::string();
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
    if (session_.AskUnsavedNatal(true) == Answer::Cancel) { // the user goes on working
        event->ignore();
        return;
    }
    closed_ = true;
    session_.CloseFile();
    if (retorno_)
        retorno_->close();
    SaveDockLayout();
    std::string error;
    if (!options_.iniPath.empty() && !Workspace().settings.Save(options_.iniPath, Workspace().format, &error))
        notifier_.Notice(NoticeKind::Error, false, true,
                         "No se pudo guardar la configuración en:\r" + options_.iniPath + "\r\r" + error);
    event->accept();
}

// ---- The view of the session.

void TFormMain::Show(session::Changes changes) {
    if (!pages_)
        return; // still building
    const ShowingScope showing(showing_);
    ++shows_;
    if (changes & session::kFileChanged)
        ShowFile();
    if (changes & (session::kFileChanged | session::kListsChanged))
        ShowLists();
    if (changes & (session::kFileChanged | session::kPersonsChanged | session::kListsChanged))
        ShowPersons();
    if (changes & (session::kEntryChanged | session::kListsChanged | session::kChartsChanged))
        ShowEntry();
    if (changes & (session::kEventsChanged | session::kEntryChanged))
        events_->Show();
    if (changes & session::kChoicesChanged)
        ShowChoices();
    if (changes & (session::kLabelsChanged | session::kChartsChanged | session::kEntryChanged))
        ShowLabels();
    if (changes & session::kChartsChanged) {
        reportsPage_->FillProgressions();
        if (retorno_)
            retorno_->RefreshLabels();
    }
    if (changes & (session::kViewChanged | session::kChartsChanged))
        ShowView();
    if ((changes & (session::kEntryChanged | session::kFileChanged)) && twTransitos_ &&
        twTransitos_->isVisible())
        transits_->RefreshZones();
}

// ---- The "Configurar" tool window.

void TFormMain::BuildConfigDock() {
    twConfig_ = new QDockWidget("Configurar", this);
    twConfig_->setObjectName("TWConfig");
    choices_ = new ChoicesPanel(session_);
    choices_->onFit = [this](bool on) { wheel_->SetFit(on); };
    auto *scroll = new SideScroll(choices_);
    scroll->setObjectName("ScrollConfig");
    twConfig_->setWidget(scroll);
    addDockWidget(Qt::RightDockWidgetArea, twConfig_);
}

void TFormMain::ShowChoices() {
    const int page = pages_->currentIndex();
    choices_->Show(page);
    const settings::Settings::RuedaSection &rueda = Workspace().settings.rueda;
    sbImagen_->setChecked(page == 0 ? rueda.imagenR : rueda.imagenT);
    sbColores_->setChecked(rueda.color);
}

void TFormMain::ShowFile() {
    if (session_.HasOpenFile())
        setWindowTitle(
            QString("Celestigrafo  [%1]").arg(QString::fromStdString(FileNameOf(session_.FilePath()))));
}

void TFormMain::ShowView() {
    if (!session_.Started())
        return;
    wheel_->Redraw();
    tablePage_->Rebuild();
    reportsPage_->Rebuild();
}

void TFormMain::ShowLabels() {
    labelNatal_->setText(QString::fromStdString(session_.NatalLabel()));
    twEventos_->setWindowTitle(session_.CurrentPerson() >= 0 ? "Eventos " + labelNatal_->text()
                                                             : "Eventos: ");
    labelNatalDate_->setText(QString::fromStdString(session_.NatalDateLine()));
    labelEventoDate_->setText(QString::fromStdString(session_.DateLine(Workspace().eventRecord)));
    labelEvento_->setText(QString::fromStdString(session_.EventLabel()));
    cbGmt_->setChecked(session_.ShowGmt());
    cbEdad_->setChecked(Workspace().settings.main.viewEdad);
}

// ---- Tool-window layout.

std::vector<DockSection> TFormMain::Docks() const {
    // The filter window hidden only because the place/date page is shown is still part of the layout.
    return {{twDatos_, "TWDatos", twDatos_->isVisible()},
            {twConfig_, "TWConfig", twConfig_->isVisible()},
            {twFiltrar_, "TWFiltrarLista",
             twFiltrar_->isVisible() || (datosTabs_->currentIndex() == 1 && filterWasVisible_)},
            {twEventos_, "TWListEvents", twEventos_->isVisible() || sbEventos_->isChecked()}};
}

void TFormMain::SaveDockLayout() {
    Workspace().settings.toolWindows = DockLayoutSections(*this, Docks());
}

void TFormMain::RestoreDockLayout() {
    const auto &sections = Workspace().settings.toolWindows;
    workspace::RestoreDockLayout(*this, Docks(), sections);
    if (std::any_of(sections.begin(), sections.end(),
                    [](const settings::ToolWindowSection &s) { return s.name == "TBTWListEvents"; }))
        sbEventos_->setChecked(!twEventos_->isHidden());
    const std::pair<const char *, QDockWidget *> toggles[] = {
        {"SBVerDatos", twDatos_}, {"SBVerConfig", twConfig_}, {"SBVerFiltro", twFiltrar_}};
    for (const auto &[name, dock] : toggles)
        if (auto *b = findChild<QToolButton *>(name))
            b->setChecked(!dock->isHidden());
}

// ---- Data file.

bool TFormMain::OpenDataFile(const std::string &path) {
    return session_.OpenFile(path);
}

bool TFormMain::OpenChosenDataFile(const std::string &path) {
    return session_.OpenFile(path);
}

void TFormMain::OpenManager() {
    session_.AskUnsavedNatal();
    // The manager works on this window's database; when it closes the file is read again.
    manager::TFormMainTarjaro::OpenFromChartProgram(
        this, session_.Store(), [this] { session_.ReloadFile(); }, options_.splash);
}

void TFormMain::OpenDataFileDialog() {
    if (!session_.MayLeaveFile())
        return;
    const QString start =
        QString::fromStdString(std::filesystem::path(Workspace().settings.data.file).parent_path().string());
    const QString chosen =
        QFileDialog::getOpenFileName(this, "Abrir archivo de datos", start, "Archivos Tarjaro (*.age)");
    if (chosen.isEmpty())
        return;
    std::string path = chosen.toStdString();
    if (std::filesystem::path(path).extension().empty())
        path += ".age";
    OpenChosenDataFile(path);
}

bool TFormMain::EnsureDataFile() {
    if (session_.HasDataFile())
        return true;
    if (notifier_.Notice(NoticeKind::Question, true, true,
                         "No hay un archivo de datos cargado. Desea crear un nuevo archivo?")) {
        const QString chosen = QFileDialog::getSaveFileName(this, "Crear archivo de datos", QString(),
                                                            "Archivos Tarjaro (*.age)");
        if (!chosen.isEmpty()) {
            std::string path = chosen.toStdString();
            if (std::filesystem::path(path).extension().empty())
                path += ".age";
            if (!session_.CreateFile(path))
                return false;
        }
    } else if (notifier_.Notice(NoticeKind::Question, true, true,
                                "No hay un archivo de datos cargado. Desea abrir un archivo existente?")) {
        OpenDataFileDialog();
    }
    return session_.HasDataFile();
}

} // namespace cel::workspace
