#include "workspace/form_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDockWidget>
#include <QGroupBox>
#include <QLocale>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

#include "common/install_paths.h"
#include "document/workspace_page.h"
#include "manager/manager_window.h"
#include "manager/zone_choices.h"
#include "session/manager_files.h"
#include "workspace/aspect_table_page.h"
#include "workspace/chart_labels_panel.h"
#include "workspace/choices_panel.h"
#include "workspace/data_file_commands.h"
#include "workspace/dialog_palette.h"
#include "workspace/dock_layout.h"
#include "workspace/events_panel.h"
#include "workspace/form_retorno.h"
#include "workspace/print_window.h"
#include "workspace/reports_page.h"
#include "workspace/settings_dialog.h"
#include "workspace/side_scroll.h"
#include "workspace/top_bar.h"
#include "workspace/transits_page.h"
#include "workspace/wheel_view.h"
#include "zones/atlas.h"

namespace cel::workspace {

TFormMain::TFormMain(Notifier &notifier, MainWindowOptions options, QWidget *parent)
    : QMainWindow(parent), notifier_(notifier), options_(std::move(options)),
      session_(notifier,
               [] {
                   TextFormat format;
                   format.decimalSeparator = QLocale().decimalPoint().at(0).toLatin1();
                   return format;
               }()),
      actions_(this) {
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
    BindActions();
    topBar_ = new TopBar(session_, actions_, this);
    topBar_->onSettings = [this](bool open) { ToggleSettings(open); };
    topBar_->onColours = [this](bool on) {
        if (setup_)
            setup_->ShowColours(on);
    };
    topBar_->onPage = [this](int page) {
        pages_->setCurrentIndex(page);
        Show(session::kChoicesChanged); // "Imagen y letra grande" of the page shown
    };
    addToolBar(Qt::TopToolBarArea, topBar_);
    BuildPages();
    BuildDatosDock();
    BuildConfigDock();
    BuildFilterDock();
    BuildEventsDock();
    topBar_->BindDocks(twDatos_, twConfig_, twFiltrar_);
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

void TFormMain::BindActions() {
    // The page's footer choice is read when the command runs: the settings window may change it.
    const auto layout = [this] { return document::LayoutOptions{false, Workspace().settings.main.footer}; };
    actions_.On(Command::Open, [this] { ChooseAndOpenDataFile(this, session_); });
    actions_.On(Command::Manager, [this] { OpenManager(); });
    actions_.On(Command::Print,
                [this, layout] { TFormPrint::PrintDirect(notifier_, PrintContent(), layout(), this); });
    actions_.On(Command::Preview, [this, layout] {
        TFormPrint::Preview(notifier_, PrintContent(), layout(), Workspace().settings.main.hint, this);
    });
    actions_.On(Command::ExportRtf,
                [this, layout] { TFormPrint::ExportRtfDirect(notifier_, PrintContent(), layout(), this); });
    actions_.On(Command::Settings, [this] { ToggleSettings(!setup_); });
    actions_.On(Command::StepBack, [this] { session_.Step(-1); });
    actions_.On(Command::StepForward, [this] { session_.Step(+1); });
    actions_.On(Command::Today, [this] { session_.Jump(session::JumpTarget::TodayAtMidnight); });
    actions_.On(Command::Now, [this] { session_.Jump(session::JumpTarget::Now); });
    actions_.On(Command::Birth, [this] { session_.Jump(session::JumpTarget::Birth); });
    actions_.On(Command::NewPerson, [this] { AddOrEditPerson(true); });
    actions_.On(Command::EditPerson, [this] { AddOrEditPerson(false); });
    actions_.On(Command::DeletePerson, [this] { DeleteSelectedPerson(); });
    actions_.On(Command::Help, [this] { ShowHelp(); });
    actions_.On(Command::Close, [this] { close(); });
}

// The settings window opens beside the main window; its button stays checked while it is open.
void TFormMain::ToggleSettings(bool open) {
    if (open && !setup_) {
        setup_ = new TFormSetUpCEL(
            notifier_, Workspace().settings, [this] { ApplyColours(); }, [this] { session_.Refresh(); },
            this);
        connect(setup_, &QDialog::finished, this, [this] {
            setup_ = nullptr;
            topBar_->SetSettingsOpen(false);
        });
        setup_->show();
    } else if (!open && setup_) {
        setup_->close();
    }
    topBar_->SetSettingsOpen(open);
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

    labels_ = new ChartLabelsPanel(session_);
    column->addWidget(labels_);

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
    workspace::OpenFromAnotherStart(session_, notifier_, path);
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
    if (changes & (session::kLabelsChanged | session::kChartsChanged | session::kEntryChanged)) {
        labels_->Show();
        twEventos_->setWindowTitle(session_.CurrentPerson() >= 0
                                       ? QString::fromStdString("Eventos " + session_.NatalLabel())
                                       : "Eventos: ");
    }
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
    topBar_->Show();
}

void TFormMain::ShowFile() {
    if (session_.HasOpenFile())
        setWindowTitle(QString("Celestigrafo  [%1]")
                           .arg(QString::fromStdString(session::FileNameOf(session_.FilePath()))));
}

void TFormMain::ShowView() {
    if (!session_.Started())
        return;
    wheel_->Redraw();
    tablePage_->Rebuild();
    reportsPage_->Rebuild();
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
    topBar_->ShowDocks();
}

// ---- Data file.

void TFormMain::OpenManager() {
    session_.AskUnsavedNatal();
    // The manager works on this window's database; when it closes the file is read again.
    manager::TFormMainTarjaro::OpenFromChartProgram(
        this, session_.Store(), [this] { session_.ReloadFile(); }, options_.splash);
}

bool TFormMain::EnsureDataFile() {
    return workspace::EnsureDataFile(this, session_, notifier_);
}

} // namespace cel::workspace
