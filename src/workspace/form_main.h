// The workspace module: the chart program's windows. TFormMain is the main window: it owns the
// session workspace (settings, database, records, charts, lists, view record), shows the four tool
// windows as docks ("Datos", "Configurar", "Filtar lista personas", "Eventos"), the top bar and the
// wheel page, and turns every control change into exactly one recomputation or view refresh.
#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "common/notifier.h"
#include "document/page_content.h"
#include "session/date_entry.h"
#include "session/person_filter.h"
#include "session/workspace.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QToolButton;

namespace cel::database {
class DataFileSession;
class SharedUseGuard;
} // namespace cel::database
namespace cel::manager {
class DataStore;
class DateField;
} // namespace cel::manager

namespace cel::workspace {

class WheelView;
class AspectTablePage;
class ReportsPage;
class TFormSetUpCEL;
class TFormRetorno;

// What the program hands the window: where the settings live and which windows of other modules
// it may open.
struct MainWindowOptions {
    std::string iniPath;       // the settings file, loaded at creation and saved at close
    std::string dataFile;      // a data file to open instead of the settings' one (empty: none)
    std::string defaultFolder; // "Data" "File" of a first run: the documents folder with "Norvelta/"
    std::string guardName;     // the shared-use table's name (empty: the family's)
    bool useGuard = true;
    bool splash = true; // the database manager's splash when it opens
};

class TFormMain : public QMainWindow {
public:
    TFormMain(Notifier &notifier, MainWindowOptions options, QWidget *parent = nullptr);
    ~TFormMain() override;

    session::Workspace &Workspace() { return ws_; }
    const session::Workspace &Workspace() const { return ws_; }
    int LastAspectCount() const { return aspectCount_; }
    bool Ready() const { return ready_; }
    std::int32_t CurrentPerson() const { return currentPerson_; }
    std::int32_t PersonA() const { return personA_; }
    std::int32_t PersonB() const { return personB_; }
    bool NatalChanged() const { return natalChanged_; }
    int DataMode() const { return dataMode_; } // 0 "Nacimiento", 3 "Evento"

    // Opens a data file as the current one (shared-use registration, load, lists refilled).
    bool OpenDataFile(const std::string &path);
    // Opens a data file the user chose (from the dialog, or by opening it from the desktop while the
    // program runs) and shows its first state.
    bool OpenChosenDataFile(const std::string &path);
    // Brings the window to the front (a second start of the program asks for this).
    void RaiseFromAnotherStart();
    // A second start asked this window to open path: it comes to the front and, when path is not the
    // current file, asks about unsaved natal data and then whether to open it, as "Abrir" does.
    void OpenFromAnotherStart(const std::string &path);
    // Runs the first-activation steps now if they have not run (tests and the program call it once
    // the window is shown).
    void MakeReady();

    // Selecting a person (double click or Enter on the list).
    void ChoosePerson(std::int32_t personId);

    // What the print window lays out: the page the window shows with its choices.
    document::PageContent PrintContent() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Building the window.
    void BuildTopBar();
    void BuildPages();
    void BuildDatosDock();
    QWidget *BuildPersonsPage();
    QWidget *BuildPlacePage();
    void BuildConfigDock();
    QWidget *BuildAspectSelection();
    QWidget *BuildOrbPage();
    QWidget *BuildWheelOptions();
    void BuildFilterDock();
    void BuildEventsDock();
    void ApplyColours();
    void BuildPrintMenu(QToolButton *button);

    // The two chains.
    void RecomputeAll();
    void RefreshView();
    void CopyControlsToChoices();
    void ShowView(); // ticks chosen by the refresh, wheel repaint, "Aspectos: N"

    // Persons.
    void RefillPersons();
    void ResetFilters();
    void LoadCurrentPerson();
    // Asks about unsaved natal data and saves on "Sí"; on the way out the user may also cancel.
    Answer AskUnsavedNatal(bool mayCancel = false);
    // Whether a chart may be computed from the person's birth; says why not (no date, impossible
    // values), and warns when the birth has no time.
    bool MayChartPerson(std::int32_t personId);
    void SaveNatalChanges();
    void UndoNatalChanges();
    void SetPersonAB(bool a);
    void ToggleSynastry(bool on);
    void AddOrEditPerson(bool add);
    void DeletePerson();
    bool Writable();
    bool EnsureDataFile();
    // Saves the database over its file; false, after the error notice, when the file refused it.
    bool SaveDataFile();
    // Reads the file again after a refused save, so the window shows what the file holds.
    void RevertToFile();
    // False when the user keeps working on the current file: unsaved natal data was not saved or
    // discarded (the save failed, or the user cancelled).
    bool MayLeaveFile();
    void ReadOnlyCheck();
    void OpenDataFileDialog();
    void OpenManager();

    // Events.
    void RefillEvents();
    void ChooseEvent();
    void NewEvent();
    void OverwriteEvent();
    void DeleteEvent();
    // Puts back the current person's events as they were before a change the file refused.
    void RestoreEvents(const std::vector<database::TEvento> &events);

    // Date, time and place entry.
    session::ChartSide Side() const;
    void SetDataMode(int mode);
    void LoadRecordIntoFields(const chart::TDato &record);
    void FieldsChanged();
    void Step(int direction);
    void Jump(int which); // 0 "Hoy a las cero horas", 1 "Ahora", 2 "Nacimiento"
    void ApplySteppedValue(TDateTime value);
    void RefillCountries();
    void RefillGroups();
    void AddOrEditPlace(bool edit);
    void ImportPlaces();
    void RefillPlaces(std::int32_t countryId);
    void SelectPlace(std::int32_t placeId);
    std::int32_t SelectedPlace() const;
    void RefreshInfoLabels();
    void RefreshDateLabels();
    void SetTwelveHour(bool twelve);
    void StepUnitChanged();

    // Aspect selection.
    void ChangeAspectMode(bool byHouse);
    void CuspClicked(int house);
    void SetAll(std::array<QCheckBox *, 14> &boxes, int count, bool on);
    void SelectMainAngles();
    void OrbModeChosen(int mode);
    void EditOrb();
    void UpdateOrbCaptions();
    void InnerItemChanged();
    void WheelModeChanged();
    void SwapItems();

    // Solar return window.
    void ToggleSolarReturn(bool on);

    // Tool-window layout in the settings' "TB" sections.
    void SaveDockLayout();
    void RestoreDockLayout();

    Notifier &notifier_;
    MainWindowOptions options_;
    session::Workspace ws_;
    std::unique_ptr<database::SharedUseGuard> guard_;
    std::unique_ptr<manager::DataStore> store_; // the item editor's and place import's view of the database
    std::unique_ptr<database::DataFileSession> file_; // the open data file: registered, read, saved

    bool updating_ = true;
    bool ready_ = false;
    bool closed_ = false; // the shutdown steps ran (they run once)
    bool natalChanged_ = false;
    int dataMode_ = 0;
    std::int32_t currentPerson_ = -1, personA_ = -1, personB_ = -1;
    int aspectCount_ = 0;
    session::PersonFilter filter_;
    std::array<bool, 13> cuspTicks_{}, pointTicks_{};
    std::array<bool, 13> manualCuspTicks_{}, manualPointTicks_{}; // kept while "Por casas" is on
    bool filterWasVisible_ = true; // the filter window's state while the place/date page hides it
    std::array<bool, 14> angleTicks_{};
    double hoursShown_ = 0; // the time of day of the fields, hours
    int hourShown_ = 0;     // the 24-hour value the hour field stands for

    // Top bar and pages.
    QLabel *labelNatal_ = nullptr, *labelEvento_ = nullptr;
    QLabel *labelNatalDate_ = nullptr, *labelEventoDate_ = nullptr;
    QCheckBox *cbGmt_ = nullptr, *cbEdad_ = nullptr;
    QToolButton *sbColores_ = nullptr, *sbImagen_ = nullptr;
    QStackedWidget *pages_ = nullptr;
    QGroupBox *wheelBox_ = nullptr;
    WheelView *wheel_ = nullptr;
    AspectTablePage *tablePage_ = nullptr;
    ReportsPage *reportsPage_ = nullptr;
    TFormSetUpCEL *setup_ = nullptr;

    // Docks.
    QDockWidget *twDatos_ = nullptr, *twConfig_ = nullptr, *twFiltrar_ = nullptr, *twEventos_ = nullptr;
    QTabWidget *datosTabs_ = nullptr;
    QWidget *placePage_ = nullptr;

    // Persons page.
    QListWidget *lbPersona_ = nullptr;
    QLabel *labelCount_ = nullptr;
    QPushButton *sbNueva_ = nullptr, *sbEditar_ = nullptr, *sbEliminar_ = nullptr, *sbTodos_ = nullptr;
    QToolButton *sbSinastria_ = nullptr;
    std::array<QRadioButton *, 2> rbA_{}, rbB_{}; // one pair on each page

    // Place, date and time page.
    QRadioButton *rbNacimiento_ = nullptr, *rbEvento_ = nullptr;
    QToolButton *sbDeshacer_ = nullptr, *sbGuardar_ = nullptr, *sbRetorno_ = nullptr, *sbEventos_ = nullptr;
    QWidget *eventPanel_ = nullptr;
    QComboBox *cbPais_ = nullptr, *cbLugar_ = nullptr;
    QToolButton *sbNuevoLugar_ = nullptr, *sbEditarLugar_ = nullptr, *sbImportarLugar_ = nullptr;
    manager::DateField *deFecha_ = nullptr;
    QComboBox *cbGmtChoice_ = nullptr, *cbDeltaT_ = nullptr, *cb12h_ = nullptr, *cbAmPm_ = nullptr;
    QSpinBox *seHora_ = nullptr, *seMin_ = nullptr, *seSeg_ = nullptr, *seMs_ = nullptr;
    QLabel *labelDeltaT_ = nullptr, *labelLugar_ = nullptr, *labelGmtInfo_ = nullptr;
    QSpinBox *seCada_ = nullptr;
    QComboBox *cbUnidad_ = nullptr;
    QToolButton *sbPasoMenos_ = nullptr, *sbPasoMas_ = nullptr;
    QPushButton *sbHoy_ = nullptr, *sbAhora_ = nullptr, *sbNacimiento_ = nullptr;

    // Configuration dock.
    QRadioButton *rbManual_ = nullptr, *rbPorCasas_ = nullptr;
    QWidget *familiesBox_ = nullptr, *sourcesBox_ = nullptr, *pointsBox_ = nullptr;
    std::array<QCheckBox *, 4> cbFamilies_{};
    std::array<QCheckBox *, 3> cbSources_{};
    std::array<QCheckBox *, 14> cbPoints_{}, cbCusps_{}, cbAngles_{};
    QToolButton *sbCuspT_ = nullptr, *sbCuspN_ = nullptr;
    QSpinBox *seFuerza_ = nullptr;
    QCheckBox *cbGlifo_ = nullptr, *cbCalc_ = nullptr, *cbDisp_ = nullptr;
    std::array<QRadioButton *, 11> rbOrbs_{}; // 1..8 presets, 9 "M. Ecl.", 10 "M. Asc."
    QRadioButton *rbSimple_ = nullptr, *rbDoble_ = nullptr;
    QComboBox *cbInt_ = nullptr, *cbExt_ = nullptr;
    QToolButton *sbSwap_ = nullptr;
    QWidget *doubleOptions_ = nullptr;
    QCheckBox *cbAjustar_ = nullptr, *cb1Casas_ = nullptr, *cb1Rueda_ = nullptr;
    QComboBox *cbIgualar_ = nullptr;
    QCheckBox *cbImagenGrande_ = nullptr;

    // Filter dock.
    QLineEdit *leNombre_ = nullptr, *leApellido_ = nullptr;
    QComboBox *cbGrupo_ = nullptr, *cbCon_ = nullptr, *cbSexo_ = nullptr;
    QCheckBox *cbSeleccionados_ = nullptr;
    bool resettingFilters_ = false;

    // Events dock.
    QListWidget *lbEventos_ = nullptr;
    QLabel *labelEventos_ = nullptr;
    QPushButton *sbNuevoEvento_ = nullptr, *sbGuardarEvento_ = nullptr, *sbEliminarEvento_ = nullptr;

    TFormRetorno *retorno_ = nullptr;
};

} // namespace cel::workspace
