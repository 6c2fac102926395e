// The item editor: one modal window that creates or edits a country, a place, a person group, a
// business group, a person or a business. It works on a copy; the stored record changes only when
// "De Acuerdo" passes the input checks, and the data file is saved then. Countries and places added
// from inside the editor and the person's event actions are saved at once.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>

#include "manager/data_store.h"
#include "session/item_entry.h"
#include "zones/atlas.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabBar;
class QTimeEdit;

namespace cel::manager {

class DateField;
class ZoneOfferPanel;
class PlaceZoneField;
class AtlasCompleter;

// What a person must carry to be stored: the manager asks only for the name; the chart program's
// person list also needs the birth data a chart is computed from.
enum class EditorMode { NamesOnly, BirthDataRequired };

// The tabs of the person page.
enum class PersonTab { Nacimiento = 0, Residencia, Trabajo, Eventos, Observaciones, Grupos };

class TFormItem : public QDialog {
    Q_OBJECT
public:
    // id -1 creates a record of the kind; otherwise the record with that Id is edited.
    TFormItem(DataStore &store, database::Kind kind, std::int32_t id, EditorMode mode = EditorMode::NamesOnly,
              QWidget *parent = nullptr);

    // Runs the read-only check, then the editor modally. Returns the Id of the record stored (and
    // saved), or nothing when the user cancelled or the file is read-only.
    static std::optional<std::int32_t> Run(QWidget *parent, DataStore &store, database::Kind kind,
                                           std::int32_t id = -1, EditorMode mode = EditorMode::NamesOnly,
                                           PersonTab firstTab = PersonTab::Residencia);
    // The chart program's person list: adding and editing a person with its birth data required.
    static std::optional<std::int32_t> AddPerson(QWidget *parent, DataStore &store);
    static std::optional<std::int32_t> EditPerson(QWidget *parent, DataStore &store, std::int32_t id);

    database::Kind ItemKind() const { return kind_; }
    bool IsNew() const { return isNew_; }
    // The Id of the record edited; for a new one the Id it receives.
    std::int32_t EditedId() const { return editedId_; }
    // The working person (what "De Acuerdo" would store), for persons.
    const database::TPersona &WorkingPerson() const { return work_; }

    void ShowTab(PersonTab tab);

    // The manager's grid order for "<" and ">": the Id of the row `step` rows from the person's row,
    // or -1 when there is none. Without it the two buttons stay hidden.
    using Neighbour = std::function<std::int32_t(std::int32_t id, int step)>;
    void SetNeighbours(Neighbour neighbour);

signals:
    // A record was stored and the file saved; callers showing lists rebuild them.
    void stored(std::int32_t id);

public slots:
    void accept() override;

private:
    void BuildNamePart();
    QWidget *BuildPlacePage();
    QWidget *BuildPersonPage();
    QWidget *BuildDatePage();
    QWidget *BuildAddressPage();
    QWidget *BuildGroupsPage();

    void LoadRecord(std::int32_t id);
    void LoadPlace(const database::TLugar_Geo &place);
    // The longitude (west positive), latitude and zone boxes, in degrees, minutes and seconds.
    void ShowPlaceBoxes(long double longitudeWest, long double latitude, long double zone);
    void LoadTab();
    void LoadDateControls(bool isDate, bool isHora, TDateTime fecha, std::int32_t horaUT);
    void LoadEvent(int row);
    void UpdateWorking();
    void UpdateTimeLabels();
    void UpdateDateEnabling();

    // Storing: false (with a message) when a check fails.
    bool Store();
    bool StoreChecked();
    // Stores and saves; after a save that found the file changed by another program (it is then read
    // again) the window is made ready to store the same typed data into the fresh file.
    bool StoreAndSave();
    bool HasRecord(std::int32_t id) const;
    bool StoreNamed();
    bool StorePlace();
    // The place as the boxes now stand (for the zone derived while it is edited).
    // The place boxes as typed, and the place they show.
    session::PlaceInput PlaceBoxes() const;
    database::TLugar_Geo PlaceFromBoxes() const;
    bool StorePerson();
    bool CheckBirthData(bool requirePlace);
    // The place (when required), the date and the time the birth and event fields must have: the
    // first one missing is said and ticked, and false returned.
    bool CheckPlaceDateAndTime(bool requirePlace);
    // Reads a date still being typed in the date field; false (with its reason shown) when refused.
    bool ReadTypedDate();
    TDateTime FechaFromControls() const;
    bool DateIsSet() const;

    // Place selectors of the person page.
    void FillCountryCombo(QComboBox *combo, bool withAny);
    void FillPlaceCombo();
    void SelectPlace(std::int32_t placeId);
    std::int32_t ChosenPlace() const;
    std::int32_t ChosenCountry(const QComboBox *combo) const;
    void SelectCountry(QComboBox *combo, std::int32_t countryId);
    void AddCountry();
    void AddOrEditPlace(bool edit);
    void ImportPlace();
    // The place page filled from an atlas city chosen while typing the name: coordinates, country
    // (added to the data file when the user agrees), the zone's standard offset and the zone.
    void FillFromAtlas(const zones::AtlasCity &city);

    // The six boxes of a coordinate after a change: borrows and carries, then the ranges.
    void NormaliseCoordinate(QSpinBox *deg, QSpinBox *min, QSpinBox *sec, int degreeLimit);

    // Groups and events of the working person.
    void FillGroupLists();
    void AssignGroup();
    void RemoveGroup();
    void FillEventList(int selectRow);
    void NewEvent();
    void SaveEvent();
    void DeleteEvent();
    bool EventFromControls(database::TEvento &event);
    void EventsChanged(int selectRow);
    void Navigate(int step);

    DataStore &store_;
    database::Kind kind_;
    EditorMode mode_;
    bool isNew_ = true;
    std::int32_t editedId_ = -1;
    bool updating_ = false;
    database::TPersona work_;
    database::TLugar_Geo workPlace_;
    bool lonTouched_ = false, latTouched_ = false, tzTouched_ = false;
    PersonTab tab_ = PersonTab::Residencia;
    int selectedEvent_ = -1;
    Neighbour neighbour_;

    QLineEdit *nombre_ = nullptr;
    // Place page.
    QComboBox *pais_ = nullptr;
    QSpinBox *lonDeg_ = nullptr, *lonMin_ = nullptr, *lonSec_ = nullptr;
    QSpinBox *latDeg_ = nullptr, *latMin_ = nullptr, *latSec_ = nullptr;
    QRadioButton *lonW_ = nullptr, *lonE_ = nullptr, *latN_ = nullptr, *latS_ = nullptr;
    QSpinBox *tzHour_ = nullptr, *tzMin_ = nullptr;
    QCheckBox *dst_ = nullptr;
    QLineEdit *descripcion_ = nullptr;
    PlaceZoneField *zoneField_ = nullptr;
    AtlasCompleter *atlasSearch_ = nullptr;
    // Person page.
    QLineEdit *apellidos_ = nullptr;
    QRadioButton *sexo_[3] = {nullptr, nullptr, nullptr};
    QButtonGroup *sexoGroup_ = nullptr;
    QTabBar *tabs_ = nullptr;
    QWidget *placeSelector_ = nullptr;
    QComboBox *lugarPais_ = nullptr;
    QComboBox *lugar_ = nullptr;
    QStackedWidget *pages_ = nullptr;
    QCheckBox *fechaCheck_ = nullptr, *horaCheck_ = nullptr, *msCheck_ = nullptr;
    DateField *fecha_ = nullptr;
    QTimeEdit *hora_ = nullptr;
    QRadioButton *h12_ = nullptr, *h24_ = nullptr, *local_ = nullptr, *ut_ = nullptr;
    QSpinBox *ms_ = nullptr;
    QLabel *localLabel_ = nullptr, *utLabel_ = nullptr;
    ZoneOfferPanel *zoneOffer_ = nullptr;
    QWidget *eventPanel_ = nullptr;
    QListWidget *eventos_ = nullptr;
    QLabel *eventCount_ = nullptr;
    QPushButton *saveEvent_ = nullptr, *deleteEvent_ = nullptr;
    QLineEdit *dir_ = nullptr, *tel_ = nullptr, *cel_ = nullptr, *fax_ = nullptr, *web_ = nullptr,
              *email_ = nullptr;
    QComboBox *emailValido_ = nullptr;
    QPlainTextEdit *observaciones_ = nullptr;
    QListWidget *gruposDisp_ = nullptr, *gruposAsig_ = nullptr;
    QPushButton *prev_ = nullptr, *next_ = nullptr;
};

// The caption word of each kind: "País", "Lugar Geográfico", "Grupo Persona", ...
using session::KindWord;

} // namespace cel::manager
