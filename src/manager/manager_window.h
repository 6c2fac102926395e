// The manager window: the data file's operations (open, new, copy, back up, append, place import,
// CSV export), the kind selector, the filtered and paged grid with its ticks and counters, deleting
// and editing items, group assignment for many persons, the person summary and the web and mail
// links. It runs as the tarjaro program or over the chart program's loaded database.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "manager/data_store.h"
#include "manager/manager_settings.h"
#include "session/list_builder.h"
#include "session/manager_list.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTableView;
class QTabWidget;
class QTextEdit;
class QToolButton;
class QAction;

namespace cel::manager {

class RecordTableModel;
class TFormSetUpAgenda;

enum class ManagerMode { Standalone, InChartProgram };
// Standalone when the executable's path contains "Tarjaro" (ignoring case), as the same manager code
// runs inside the chart program otherwise.
ManagerMode ManagerModeFor(const std::string &executablePath);

class TFormMainTarjaro : public QWidget {
    Q_OBJECT
public:
    TFormMainTarjaro(DataStore &store, ManagerMode mode, QWidget *parent = nullptr);
    ~TFormMainTarjaro() override;

    // Standalone: the settings read at start-up and the file they are written to on close.
    void UseSettings(const ManagerSettings &settings, const std::string &settingsPath);
    // Makes the file current and shows it (the "Abrir archivo de datos" action without its dialog).
    bool OpenFile(const std::string &path);
    // The start-up open: the file when there is one, else a notice that says how to open or create one.
    bool OpenAtStart(const std::string &path);

    // The chart program: hides its main window, shows the manager over its database and, when the
    // manager closes, shows the main window again and calls onClosed (which reopens the file).
    static TFormMainTarjaro *OpenFromChartProgram(QWidget *mainWindow, DataStore &store,
                                                  std::function<void()> onClosed, bool splash = true);

    // The list shown and its filters (tests and the benchmarks drive these as the controls do).
    database::Kind ListKind() const { return list_.Kind(); }
    void SetListKind(database::Kind kind);
    const std::vector<database::TData *> &DisplayList() const { return list_.Rows(); }
    session::ListFilters &Filters() { return list_.Filters(); }
    const session::ManagerList &List() const { return list_; }
    void Rebuild();
    void GoToPage(int page);
    int Page() const { return list_.Page().page; }
    int PageCount() const { return list_.Page().pageCount; }
    // Selects the grid row of the record with this Id (when shown).
    void SelectId(std::int32_t id);
    std::int32_t SelectedId() const { return list_.SelectedId(); }
    // The first activation's work: the person list, the panel, the read-only check.
    void FirstActivation();

    // Actions of the buttons (the dialogs they open ask through the file chooser and the notifier).
    void AddItem();
    void EditItem();
    void DeleteItem();
    void DeleteTicked();
    void AssignGroup(bool add);
    void ExportCsv();
    void ExportMailList();
    void ImportPlaces();
    // The persons whose stored zone was not the one in force on their birth date, for review and
    // correction of the ones the user ticks.
    void ReviewZones();
    // Persons in from an AAF file, and the ticked (else listed) persons out to one.
    void ImportAafFile();
    void ExportAafFile();
    void AppendFile();
    void ChooseAndOpen();
    void CopyFile();
    void NewFile();
    void BackupFile();

    // The address a web or mail entry of the internet menu opens for a person ("WebHome", ...).
    static std::string LinkFor(const database::TPersona &person, const std::string &entry);
    // Who opens links (the desktop by default; tests record them).
    static void SetLinkOpener(std::function<void(const std::string &)> opener);

signals:
    // The window closed (in the chart program: the main window shows again).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowRemoval();
    QWidget *BuildFileBar();
    QWidget *BuildFilterPanel();
    QWidget *BuildPlaceFilters();
    QWidget *BuildPersonFilters();
    QWidget *BuildItemBar();
    QWidget *BuildPagingBar();
    QWidget *BuildSummaryPanel();

    // A filter control's new value into the list's choices, and the list built again; ignored while
    // the window writes its controls from the choices.
    void ChangeFilter(const std::function<void(session::ListFilters &)> &change);
    void ResetFilters(bool all);
    void WriteFilterControls();
    void FillCombos();
    void FillGroupFilter();
    void FillPersonPlaces(std::int32_t country);
    void FillPage();
    void UpdateCounters();
    void UpdateButtons();
    void UpdateSummary();
    void UpdateInternetMenu();
    void UpdateCaption();
    void ApplyHints();
    void CurrentRowChanged();
    void ToggleTick(int row);
    void SetTicksOnPage(bool on);
    void ShowContextMenu(const QPoint &pos);
    void DataChanged();
    void OpenEditor(std::int32_t id);
    void ShowSettings(bool on);
    void OpenLink(const std::string &entry);
    bool FileIsOpen() const { return store_.HasFile(); }
    // The folder of the current data file, where the file dialogs start.
    std::string DataFolder() const;

    DataStore &store_;
    ManagerMode mode_;
    session::ManagerList list_;
    bool filtering_ = true;
    bool showDetails_ = true; // "Detalles": the person summary beside the grid
    bool activated_ = false;
    bool closed_ = false; // closed: a first activation still queued does nothing
    ManagerSettings settings_;
    std::string settingsPath_;
    std::string backupFolder_;
    std::vector<std::pair<QWidget *, QString>> hints_;

    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    QComboBox *kindCombo_ = nullptr;
    QButtonGroup *kindButtons_ = nullptr;
    QAbstractButton *importButton_ = nullptr;
    QAbstractButton *copyButton_ = nullptr;
    std::vector<QAbstractButton *> fileButtons_;
    QAbstractButton *newButton_ = nullptr, *editButton_ = nullptr, *deleteButton_ = nullptr,
                    *deleteTickedButton_ = nullptr;
    QAbstractButton *addGroupButton_ = nullptr, *removeGroupButton_ = nullptr;
    QToolButton *internetButton_ = nullptr;
    QMenu *internetMenu_ = nullptr;
    QAction *links_[4] = {};
    QAbstractButton *detailsButton_ = nullptr;
    QToolButton *settingsButton_ = nullptr;
    TFormSetUpAgenda *settingsWindow_ = nullptr;
    QWidget *filterPanel_ = nullptr;
    QCheckBox *onlyTicked_ = nullptr;
    QWidget *usedBox_ = nullptr;
    QRadioButton *usedYes_ = nullptr, *usedNo_ = nullptr, *usedBoth_ = nullptr;
    QLineEdit *nameFilter_ = nullptr;
    QStackedWidget *kindFilters_ = nullptr;
    // Places.
    QComboBox *placeCountry_ = nullptr;
    QRadioButton *dstNo_ = nullptr, *dstYes_ = nullptr, *dstBoth_ = nullptr;
    QCheckBox *tzOn_ = nullptr;
    QSpinBox *tzFrom_ = nullptr, *tzTo_ = nullptr;
    // Persons.
    QLineEdit *surnameFilter_ = nullptr;
    QComboBox *sex_ = nullptr;
    QTabWidget *personTabs_ = nullptr;
    QCheckBox *groupFilter_ = nullptr, *withoutGroup_ = nullptr;
    QRadioButton *searchOr_ = nullptr, *searchAnd_ = nullptr, *same_ = nullptr, *different_ = nullptr;
    QListWidget *groupList_ = nullptr;
    QComboBox *personCountry_ = nullptr, *personPlace_ = nullptr;
    QCheckBox *withoutPlace_ = nullptr;
    QRadioButton *whichAll_ = nullptr, *whichHome_ = nullptr, *whichWork_ = nullptr, *whichBirth_ = nullptr;
    QRadioButton *equal_ = nullptr, *notEqual_ = nullptr;
    QComboBox *age_ = nullptr;
    QCheckBox *ageOn_ = nullptr, *birthdayOn_ = nullptr;
    QSpinBox *ageFrom_ = nullptr, *ageTo_ = nullptr;
    QComboBox *month_ = nullptr;
    QRadioButton *mailAny_ = nullptr, *mailYes_ = nullptr, *mailNo_ = nullptr;
    QCheckBox *mailHome_ = nullptr, *mailWork_ = nullptr;
    // Businesses.
    QComboBox *businessGroup_ = nullptr;
    // session::Paging and counters.
    QAbstractButton *prevPage_ = nullptr, *nextPage_ = nullptr;
    QCheckBox *allOnOnePage_ = nullptr;
    QLabel *itemsLabel_ = nullptr, *foundLabel_ = nullptr;
    // Person summary.
    QWidget *summaryPanel_ = nullptr;
    QTextEdit *summary_ = nullptr;
    QCheckBox *summaryBoxes_[6] = {};
};

} // namespace cel::manager
