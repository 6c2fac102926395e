#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTimeEdit>

#include <set>
#include <sys/wait.h>
#include <unistd.h>

#include "database/coordinate_text.h"
#include "manager/date_field.h"
#include "manager/file_chooser.h"
#include "manager/item_editor.h"
#include "manager_fixture.h"
#include "support/child_process.h"
#include "support/widgets.h"

namespace cel::manager {
namespace {

using database::Kind;
using mgrtest::Find;

void Choose(QComboBox *combo, int id) {
    testsupport::ChooseData(combo, id);
}

void Type(QWidget *root, const char *name, const QString &text) {
    Find<QLineEdit>(root, name)->setText(text);
}

void Ok(QWidget *editor) {
    Find<QPushButton>(editor, "BTAcuerdo")->click();
}

TEST(ItemEditor, AddsACountryAndSavesTheFile) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, Kind::Country, -1);
    EXPECT_EQ(editor.windowTitle(), QString::fromUtf8("Crear País"));
    editor.show();
    Type(&editor, "EDNombre", QString::fromUtf8("Bolivia"));
    Ok(&editor);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.EditedId(), 13);
    const database::Database saved = data.Reload();
    EXPECT_EQ(database::NameOfId(saved.Countries, 13), "Bolivia");
    EXPECT_TRUE(data.notices.shown.empty());
}

TEST(ItemEditor, RefusesBadNamesWithTheirMessageAndSavesNothing) {
    struct Case {
        Kind kind;
        const char *name;
        const char *message;
    };
    const Case cases[] = {
        {Kind::Country, "", "Debe digitar el Nombre !"},
        {Kind::Country, "Bo^livia", "El caracter \"^\" no es permitido"},
        {Kind::PersonGroup, "Amigos\xC3\xA2", "El caracter \"\xC3\xA2\" no es permitido"},
        {Kind::Person, "Jos\xC3\x9F", "El caracter \"\xC3\x9F\" no es permitido"},
        {Kind::Country, "Ciudad \xE2\x82\xAC\xF0\x9F\x98\x80",
         "El caracter \"\xF0\x9F\x98\x80\" no es permitido"},
        {Kind::Country, "COLOMBIA", "Ya existe el País \"COLOMBIA\""},
        {Kind::PersonGroup, "familia", "Ya existe el Grupo Persona \"familia\""},
    };
    for (const Case &c : cases) {
        mgrtest::SampleData data;
        const std::string before = data.Bytes();
        TFormItem editor(data.store, c.kind, -1);
        editor.show();
        Type(&editor, "EDNombre", QString::fromUtf8(c.name));
        Ok(&editor);
        EXPECT_TRUE(editor.isVisible()) << c.name;
        ASSERT_EQ(data.notices.shown.size(), 1u) << c.name;
        EXPECT_EQ(data.notices.shown[0].text, c.message);
        EXPECT_EQ(data.notices.shown[0].kind, NoticeKind::Warning);
        EXPECT_TRUE(data.notices.shown[0].centred);
        EXPECT_EQ(data.Bytes(), before) << c.name;
    }
}

TEST(ItemEditor, EditsAGroupKeepingItsOwnNameFree) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, Kind::PersonGroup, 2);
    EXPECT_EQ(editor.windowTitle(), "Editar Grupo Persona");
    editor.show();
    EXPECT_EQ(Find<QLineEdit>(&editor, "EDNombre")->text(), "Amigos");
    Type(&editor, "EDNombre", "AMIGOS");
    Ok(&editor);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(database::NameOfId(data.Reload().PersonGroups, 2), "AMIGOS");
}

TEST(ItemEditor, AddsAPlaceWithItsCoordinates) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, Kind::Place, -1);
    editor.show();
    Type(&editor, "EDNombre", "Manizales");
    Ok(&editor);
    EXPECT_EQ(data.notices.LastText(), "Seleccione un País");
    Choose(Find<QComboBox>(&editor, "CMBPais"), 1);
    Find<QSpinBox>(&editor, "SELonGrados")->setValue(75);
    Find<QSpinBox>(&editor, "SELonMinutos")->setValue(30);
    Find<QSpinBox>(&editor, "SELatGrados")->setValue(5);
    Find<QSpinBox>(&editor, "SELatMinutos")->setValue(4);
    Find<QSpinBox>(&editor, "SELatSegundos")->setValue(12);
    Find<QSpinBox>(&editor, "SETZHoras")->setValue(-5);
    Ok(&editor);
    ASSERT_FALSE(editor.isVisible()) << data.notices.LastText();
    const database::Database saved = data.Reload();
    const int i = database::IndexOfId(saved.Places, editor.EditedId());
    ASSERT_GE(i, 0);
    const auto &p = *saved.Places[static_cast<std::size_t>(i)];
    EXPECT_EQ(p.Nombre, "Manizales");
    EXPECT_EQ(p.IdPais, 1);
    EXPECT_NEAR(static_cast<double>(p.Lon), 75.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(p.Lat), 5 + 4 / 60.0 + 12 / 3600.0, 1e-12);
    EXPECT_EQ(p.TZ, -5);
}

TEST(ItemEditor, RefusesAPlaceNameOrDataAlreadyThere) {
    mgrtest::SampleData data;
    {
        TFormItem editor(data.store, Kind::Place, -1);
        editor.show();
        Type(&editor, "EDNombre", QString::fromUtf8("bogotá"));
        Choose(Find<QComboBox>(&editor, "CMBPais"), 1);
        Ok(&editor);
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(data.notices.LastText(),
                  "Ya existe un lugar geográfico con el nombre bogotá asignado al país Colombia");
    }
    // Two places with the same coordinates, zone and flag: the second is refused whatever its name.
    TFormItem fresh(data.store, Kind::Place, -1);
    fresh.show();
    Type(&fresh, "EDNombre", "Copia");
    Choose(Find<QComboBox>(&fresh, "CMBPais"), 3);
    Find<QSpinBox>(&fresh, "SELonGrados")->setValue(10);
    Find<QSpinBox>(&fresh, "SETZHoras")->setValue(2);
    Ok(&fresh);
    ASSERT_FALSE(fresh.isVisible());
    TFormItem again(data.store, Kind::Place, -1);
    again.show();
    Type(&again, "EDNombre", "Tercera");
    Choose(Find<QComboBox>(&again, "CMBPais"), 1);
    Find<QSpinBox>(&again, "SELonGrados")->setValue(10);
    Find<QSpinBox>(&again, "SETZHoras")->setValue(2);
    Ok(&again);
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(
        data.notices.LastText().rfind("Ya existe un lugar geográfico con estos datos. Este lugar es:\r\r"
                                      "Copia\rPaís: México\r",
                                      0),
        0u)
        << data.notices.LastText();
}

TEST(ItemEditor, EditingAPlaceWithoutTouchingItsCoordinatesKeepsThemExactly) {
    mgrtest::SampleData data;
    const auto original = *data.db.Places[static_cast<std::size_t>(database::IndexOfId(data.db.Places, 1))];
    TFormItem editor(data.store, Kind::Place, 1);
    editor.show();
    EXPECT_EQ(Find<QSpinBox>(&editor, "SELonGrados")->value(), 74);
    EXPECT_EQ(Find<QSpinBox>(&editor, "SELatMinutos")->value(), 36);
    EXPECT_EQ(Find<QSpinBox>(&editor, "SETZHoras")->value(), -5);
    Type(&editor, "EDNombre", QString::fromUtf8("Bogotá D.C."));
    Ok(&editor);
    ASSERT_FALSE(editor.isVisible());
    const database::Database saved = data.Reload();
    const auto &p = *saved.Places[static_cast<std::size_t>(database::IndexOfId(saved.Places, 1))];
    EXPECT_EQ(p.Nombre, "Bogotá D.C.");
    EXPECT_EQ(p.Lon, original.Lon);
    EXPECT_EQ(p.Lat, original.Lat);
    EXPECT_EQ(p.TZ, original.TZ);
}

TEST(ItemEditor, CoordinateBoxesBorrowAndCarry) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, Kind::Place, -1);
    auto *deg = Find<QSpinBox>(&editor, "SELonGrados");
    auto *min = Find<QSpinBox>(&editor, "SELonMinutos");
    auto *sec = Find<QSpinBox>(&editor, "SELonSegundos");
    deg->setValue(10);
    sec->stepDown();
    EXPECT_EQ(deg->value(), 9);
    EXPECT_EQ(min->value(), 59);
    EXPECT_EQ(sec->value(), 59);
    sec->stepUp();
    EXPECT_EQ(deg->value(), 10);
    EXPECT_EQ(min->value(), 0);
    EXPECT_EQ(sec->value(), 0);
}

// A new person through the person page: the birth tab, an address, a group and observations.
TEST(ItemEditor, AddsAPersonWithBirthAddressGroupAndObservations) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, Kind::Person, -1);
    editor.show();
    Type(&editor, "EDNombre", "Lucía");
    Type(&editor, "EDApellidos", "Pérez");
    Find<QRadioButton>(&editor, "RBFemenino")->click();
    auto *tabs = Find<QTabBar>(&editor, "TBDatos");
    EXPECT_EQ(tabs->currentIndex(), 1); // "Residencia" first
    Type(&editor, "EDDir", "Calle 1");
    Type(&editor, "EDEmail", "lucia@example.com");
    Choose(Find<QComboBox>(&editor, "CMBLugar"), 3);
    tabs->setCurrentIndex(0);
    Choose(Find<QComboBox>(&editor, "CMBLugar"), 2);
    Find<QCheckBox>(&editor, "CBFecha")->setChecked(true);
    Find<QCheckBox>(&editor, "CBHora")->setChecked(true);
    Find<manager::DateField>(&editor, "DTFecha")->setDate(QDate(1979, 10, 17));
    Find<QTimeEdit>(&editor, "TMHora")->setTime(QTime(12, 30));
    EXPECT_TRUE(Find<QLabel>(&editor, "LAUT")->text().contains("17:30:00"))
        << Find<QLabel>(&editor, "LAUT")->text().toStdString();
    tabs->setCurrentIndex(4);
    Find<QPlainTextEdit>(&editor, "MMObservaciones")->setPlainText("Primera línea\nsegunda línea");
    tabs->setCurrentIndex(5);
    auto *available = Find<QListWidget>(&editor, "LBGruposDisp");
    ASSERT_EQ(available->count(), 3);
    available->setCurrentRow(0); // "Amigos"
    Find<QPushButton>(&editor, "BTAsignarGrupo")->click();
    EXPECT_EQ(Find<QListWidget>(&editor, "LBGruposAsig")->count(), 1);
    Ok(&editor);
    ASSERT_FALSE(editor.isVisible()) << data.notices.LastText();

    const database::Database saved = data.Reload();
    const int i = database::IndexOfId(saved.Persons, editor.EditedId());
    ASSERT_GE(i, 0);
    const auto &p = *saved.Persons[static_cast<std::size_t>(i)];
    EXPECT_EQ(p.Nombre, "Lucía");
    EXPECT_EQ(p.Apellidos, "Pérez");
    EXPECT_EQ(p.Sexo, 0);
    EXPECT_EQ(p.IdLugarNac, 2);
    EXPECT_EQ(p.IsDate, 1);
    EXPECT_EQ(p.IsHora, 1);
    EXPECT_NEAR(p.Fecha, 29145.5208333333, 1e-9);
    EXPECT_EQ(p.HoraUT, 0);
    EXPECT_EQ(p.Residencia.IdLugarGeo, 3);
    EXPECT_EQ(p.Residencia.Dir, "Calle 1");
    EXPECT_EQ(p.Residencia.Email, "lucia@example.com");
    ASSERT_EQ(p.Grupos.size(), 1u);
    EXPECT_EQ(p.Grupos[0].Id, 2);
    EXPECT_EQ(p.Observaciones, "Primera línea^~segunda línea");
}

TEST(ItemEditor, StoresTheBirthDateAsTheSerial) {
    struct Case {
        bool date;
        QDate day;
        QTime time;
        double fecha;
        int horaUT;
    };
    const Case cases[] = {
        {false, {}, {}, 0, -1},
        {true, QDate(1899, 12, 29), QTime(6, 0), -1.25, 0},
        {true, QDate(1899, 12, 30), QTime(0, 0), 0, 0},
        {true, QDate(1800, 1, 1), QTime(18, 0), -36522.75, 0},
    };
    for (const Case &c : cases) {
        mgrtest::SampleData data;
        TFormItem editor(data.store, Kind::Person, -1);
        editor.show();
        Type(&editor, "EDNombre", "Sin");
        Find<QTabBar>(&editor, "TBDatos")->setCurrentIndex(0);
        Find<QCheckBox>(&editor, "CBFecha")->setChecked(c.date);
        if (c.date) {
            Find<QCheckBox>(&editor, "CBHora")->setChecked(true);
            Find<manager::DateField>(&editor, "DTFecha")->setDate(c.day);
            Find<QTimeEdit>(&editor, "TMHora")->setTime(c.time);
        }
        Ok(&editor);
        ASSERT_FALSE(editor.isVisible());
        const auto saved = data.Reload();
        const auto &p =
            *saved.Persons[static_cast<std::size_t>(database::IndexOfId(saved.Persons, editor.EditedId()))];
        EXPECT_DOUBLE_EQ(p.Fecha, c.fecha) << c.day.toString().toStdString();
        EXPECT_EQ(p.HoraUT, c.horaUT);
        EXPECT_EQ(p.IsDate, c.date ? 1 : 0);
    }
}

TEST(ItemEditor, BirthDataRequiredAsksForEachMissingPiece) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, Kind::Person, -1, EditorMode::BirthDataRequired);
    editor.show();
    Type(&editor, "EDNombre", "Pablo");
    Ok(&editor);
    EXPECT_EQ(data.notices.LastText(), "Debe especificar el sexo");
    EXPECT_EQ(Find<QTabBar>(&editor, "TBDatos")->currentIndex(), 0);
    Find<QRadioButton>(&editor, "RBMasculino")->click();
    Ok(&editor);
    EXPECT_EQ(data.notices.LastText(), "Debe seleccionar el lugar geográfico de nacimiento");
    Choose(Find<QComboBox>(&editor, "CMBLugar"), 8);
    Ok(&editor);
    EXPECT_EQ(data.notices.LastText(), "Debe establecer la fecha de nacimiento");
    EXPECT_TRUE(Find<QCheckBox>(&editor, "CBFecha")->isChecked());
    Ok(&editor);
    EXPECT_EQ(data.notices.LastText(), "Debe establecer la hora de nacimiento");
    EXPECT_TRUE(Find<QCheckBox>(&editor, "CBHora")->isChecked());
    Ok(&editor);
    EXPECT_FALSE(editor.isVisible());
    const auto saved = data.Reload();
    const auto &p =
        *saved.Persons[static_cast<std::size_t>(database::IndexOfId(saved.Persons, editor.EditedId()))];
    EXPECT_EQ(p.IdLugarNac, 8);
    EXPECT_EQ(p.Sexo, 1);
    EXPECT_EQ(p.IsHora, 1);
}

// Events are saved at once, before the editor closes; "No" to overwriting makes a new event.
TEST(ItemEditor, EventsAreKeptWithDeAcuerdo) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, Kind::Person, 9); // Ariel, one event in 2023
    editor.show();
    Find<QTabBar>(&editor, "TBDatos")->setCurrentIndex(3);
    auto *list = Find<QListWidget>(&editor, "LBEventos");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(Find<QLabel>(&editor, "LAEventos")->text(), "1 evento ");
    Find<manager::DateField>(&editor, "DTFecha")->setDate(QDate(2030, 5, 2));
    data.notices.inputs.push_back(std::string("Graduación"));
    Find<QPushButton>(&editor, "BTNuevoEvento")->click();
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 0);
    auto person = [&data] {
        const auto saved = data.Reload();
        return *saved.Persons[static_cast<std::size_t>(database::IndexOfId(saved.Persons, 9))];
    };
    EXPECT_EQ(person().Eventos.size(), 1u); // nothing stored before "De Acuerdo"

    data.notices.answers.push_back(false); // not overwrite: a new event instead
    data.notices.inputs.push_back(std::string("Viaje"));
    Find<manager::DateField>(&editor, "DTFecha")->setDate(QDate(2040, 1, 1));
    Find<QPushButton>(&editor, "BTGuardarEvento")->click();
    EXPECT_EQ(list->count(), 3);
    EXPECT_TRUE(list->item(0)->text().endsWith("Viaje"));

    list->setCurrentRow(0);
    data.notices.answers.push_back(true);
    Find<QPushButton>(&editor, "BTEliminarEvento")->click();
    EXPECT_TRUE(
        data.notices.LastText().rfind("Desea eliminar el evento ?\r\rViaje\rdomingo, ene 01 2040", 0) == 0)
        << data.notices.LastText();
    EXPECT_TRUE(data.notices.shown.back().style.noByDefault); // Enter keeps the event
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(Find<QLabel>(&editor, "LAEventos")->text(), "2 eventos ");
    EXPECT_EQ(person().Eventos.size(), 1u);
    Ok(&editor);
    ASSERT_EQ(person().Eventos.size(), 2u);
    EXPECT_EQ(person().Eventos[0].Nombre, "Graduación");
    EXPECT_TRUE(data.notices.unexpected.empty());
}

// What the data file cannot hold is said before saving, in every text field, instead of being dropped.
TEST(ItemEditor, TextsTheFileCannotHoldAreRefusedWithAMessage) {
    mgrtest::SampleData data;
    const std::string before = data.Bytes();
    TFormItem editor(data.store, Kind::Person, 9);
    editor.show();
    Find<QTabBar>(&editor, "TBDatos")->setCurrentIndex(3);
    struct Case {
        const char *typed, *refused;
    };
    const Case names[] = {{"Straße", "ß"},
                          {"Fiesta de São Paulo ê", "ê"},
                          {"Año ^ nuevo", "^"},
                          {"Boda \xF0\x9F\x8E\x89", "\xF0\x9F\x8E\x89"},
                          {"Bodâ", "â"}};
    for (const Case &c : names) {
        data.notices.Clear();
        data.notices.inputs = {std::string(c.typed), std::nullopt}; // refused, then cancelled
        Find<QPushButton>(&editor, "BTNuevoEvento")->click();
        EXPECT_EQ(data.notices.LastText(), std::string("El caracter \"") + c.refused + "\" no es permitido")
            << c.typed;
        EXPECT_EQ(data.notices.inputTitles.size(), 2u); // the box came back
        EXPECT_EQ(Find<QListWidget>(&editor, "LBEventos")->count(), 1);
    }
    // A surname and an address field: the editor stays open and nothing is stored.
    data.notices.Clear();
    Type(&editor, "EDApellidos", QString::fromUtf8("Ferreyra \xF0\x9F\x98\x80"));
    Ok(&editor);
    EXPECT_EQ(data.notices.LastText(), "El caracter \"\xF0\x9F\x98\x80\" no es permitido");
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(data.Bytes(), before);
}

TEST(ItemEditor, CancelarDropsTheEventsAddedThere) {
    mgrtest::SampleData data;
    const std::string before = data.Bytes();
    TFormItem editor(data.store, Kind::Person, 9);
    editor.show();
    Find<QTabBar>(&editor, "TBDatos")->setCurrentIndex(3);
    Find<manager::DateField>(&editor, "DTFecha")->setDate(QDate(2030, 5, 2));
    data.notices.inputs.push_back(std::string("Boda"));
    Find<QPushButton>(&editor, "BTNuevoEvento")->click();
    ASSERT_EQ(Find<QListWidget>(&editor, "LBEventos")->count(), 2);
    Find<QPushButton>(&editor, "BTCancelar")->click();
    const auto &ariel = *data.db.Persons[static_cast<std::size_t>(database::IndexOfId(data.db.Persons, 9))];
    EXPECT_EQ(ariel.Eventos.size(), 1u); // in the person
    EXPECT_EQ(data.Bytes(), before);     // and in the file
}

} // namespace
} // namespace cel::manager

namespace cel::manager {
namespace {

using database::Kind;
using mgrtest::Find;

// "Agregar país" on the place page opens a nested editor; its country is saved at once and chosen.
TEST(ItemEditorNested, AddsACountryFromThePlacePage) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, Kind::Place, -1);
    editor.show();
    mgrtest::OnNextModal([](QWidget *nested) {
        EXPECT_EQ(nested->windowTitle(), QString::fromUtf8("Crear País"));
        Find<QLineEdit>(nested, "EDNombre")->setText("Bolivia");
        Find<QPushButton>(nested, "BTAcuerdo")->click();
    });
    Find<QPushButton>(&editor, "BTAgregarPais")->click();
    EXPECT_EQ(Find<QComboBox>(&editor, "CMBPais")->currentText(), "Bolivia");
    EXPECT_EQ(database::NameOfId(data.Reload().Countries, 13), "Bolivia");
}

// "<" and ">" store the person shown and move to the neighbouring row of the caller's list.
TEST(ItemEditorNested, MovesToTheNeighbouringPerson) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, Kind::Person, 1);
    std::vector<std::int32_t> stored;
    QObject::connect(&editor, &TFormItem::stored, [&stored](std::int32_t id) { stored.push_back(id); });
    editor.SetNeighbours(
        [](std::int32_t id, int step) { return id + step >= 1 && id + step <= 12 ? id + step : -1; });
    editor.show();
    Find<QLineEdit>(&editor, "EDApellidos")->setText("Restrepo");
    Find<QPushButton>(&editor, "BTSiguiente")->click();
    EXPECT_EQ(editor.EditedId(), 2);
    EXPECT_EQ(Find<QLineEdit>(&editor, "EDNombre")->text(), QString::fromUtf8("Julián Andrés"));
    EXPECT_EQ(stored, std::vector<std::int32_t>{1});
    const auto saved = data.Reload();
    EXPECT_EQ(saved.Persons[static_cast<std::size_t>(database::IndexOfId(saved.Persons, 1))]->Apellidos,
              "Restrepo");
    Find<QPushButton>(&editor, "BTAnterior")->click();
    EXPECT_EQ(editor.EditedId(), 1);
    EXPECT_EQ(Find<QLineEdit>(&editor, "EDApellidos")->text(), "Restrepo");
}

// The editor imports a place file when a data file is open, and refuses without one.
TEST(ItemEditorNested, ImportsAPlaceFile) {
    mgrtest::SampleData data;
    ScriptedFileChooser files;
    SetFileChooser(&files);
    files.paths = {mgrtest::DataPath("chile.lug")};
    TFormItem editor(data.store, Kind::Person, -1);
    editor.show();
    mgrtest::OnNextModal([](QWidget *w) {
        Find<QPushButton>(w, "BTTodos")->click();
        Find<QPushButton>(w, "BTAcuerdo")->click();
    });
    Find<QPushButton>(&editor, "BTImportarLugar")->click();
    SetFileChooser(nullptr);
    const auto saved = data.Reload();
    EXPECT_GT(saved.Places.size(), 40u);
    EXPECT_EQ(data.notices.LastText().rfind("Lugares geográficos agregados: ", 0), 0u)
        << data.notices.LastText();

    database::Database empty;
    ScriptedNotifier notices;
    DataStore none(empty, notices);
    TFormItem orphan(none, Kind::Person, -1);
    Find<QPushButton>(&orphan, "BTImportarLugar")->click();
    EXPECT_EQ(notices.LastText(),
              "No hay un archivo de datos cargado. Para importar un lugar geográfico debe abrir "
              "primero un archivo de datos");
}

} // namespace
} // namespace cel::manager

namespace cel::manager {
namespace {

// The chart program's person list: the editor with birth data required, refused on a read-only file.
TEST(ItemEditorForChartProgram, AddsAPersonWithBirthDataAndRespectsReadOnly) {
    mgrtest::SampleData data;
    mgrtest::OnNextModal([](QWidget *editor) {
        EXPECT_EQ(mgrtest::Find<QTabBar>(editor, "TBDatos")->currentIndex(), 0); // "Nacimiento"
        mgrtest::Find<QLineEdit>(editor, "EDNombre")->setText("Rosa");
        mgrtest::Find<QRadioButton>(editor, "RBFemenino")->click();
        auto *place = mgrtest::Find<QComboBox>(editor, "CMBLugar");
        place->setCurrentIndex(place->findData(3));
        mgrtest::Find<QCheckBox>(editor, "CBFecha")->setChecked(true);
        mgrtest::Find<QCheckBox>(editor, "CBHora")->setChecked(true);
        mgrtest::Find<manager::DateField>(editor, "DTFecha")->setDate(QDate(1990, 2, 3));
        mgrtest::Find<QPushButton>(editor, "BTAcuerdo")->click();
    });
    const auto id = TFormItem::AddPerson(nullptr, data.store);
    ASSERT_TRUE(id.has_value());
    const auto saved = data.Reload();
    const auto &p = *saved.Persons[static_cast<std::size_t>(database::IndexOfId(saved.Persons, *id))];
    EXPECT_EQ(p.IdLugarNac, 3);
    EXPECT_EQ(p.IsHora, 1);
    EXPECT_DOUBLE_EQ(p.Fecha, static_cast<double>(DaysFromCivil(1990, 2, 3)));

    struct ReadOnlyStore : DataStore {
        using DataStore::DataStore;
        bool ReadOnly() override { return true; }
    };
    ReadOnlyStore locked(data.db, data.notices, mgrtest::CommaFormat());
    EXPECT_FALSE(TFormItem::EditPerson(nullptr, locked, *id).has_value()); // no window opens
}

} // namespace
} // namespace cel::manager

namespace cel::manager {
namespace {

// An addition past the largest Id is refused with its message; nothing changes.
TEST(ItemEditorLimits, RefusesAnAdditionPastTheLargestId) {
    mgrtest::SampleData data;
    data.db.Counter(database::Kind::Country) = database::kMaxId + 1;
    const std::string before = data.Bytes();
    TFormItem editor(data.store, database::Kind::Country, -1);
    editor.show();
    mgrtest::Find<QLineEdit>(&editor, "EDNombre")->setText("Bolivia");
    mgrtest::Find<QPushButton>(&editor, "BTAcuerdo")->click();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(data.notices.LastText(), database::IdLimitError(database::Kind::Country).what());
    EXPECT_EQ(data.db.Countries.size(), 12u);
    EXPECT_EQ(data.Bytes(), before);
}

} // namespace
} // namespace cel::manager

namespace cel::manager {
namespace {

// Choosing another country lists its places; the place of another country is no longer chosen.
TEST(ItemEditorPlaces, ChoosingACountryListsItsPlaces) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, database::Kind::Person, 5); // lives in Lima
    editor.show();
    auto *country = mgrtest::Find<QComboBox>(&editor, "CMBPaisLugar");
    auto *place = mgrtest::Find<QComboBox>(&editor, "CMBLugar");
    EXPECT_EQ(place->currentText(), QString::fromUtf8("Lima, PERÚ"));
    country->setCurrentIndex(country->findData(1));
    EXPECT_EQ(country->currentText(), "Colombia");
    EXPECT_EQ(place->count(), 8); // the blank entry and Colombia's seven places
    EXPECT_EQ(editor.WorkingPerson().Residencia.IdLugarGeo, -1);
    place->setCurrentIndex(place->findData(3));
    EXPECT_EQ(editor.WorkingPerson().Residencia.IdLugarGeo, 3);
}

} // namespace
} // namespace cel::manager

namespace cel::manager {
namespace {

// Switching tabs never changes the editor's size under the user's hand.
TEST(ItemEditorSize, KeepsItsSizeAcrossTabs) {
    mgrtest::SampleData data;
    TFormItem editor(data.store, database::Kind::Person, 1);
    editor.show();
    QApplication::processEvents();
    const QSize size = editor.size();
    auto *tabs = mgrtest::Find<QTabBar>(&editor, "TBDatos");
    for (int round = 0; round < 2; ++round)
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QApplication::processEvents();
            EXPECT_EQ(editor.size(), size) << "tab " << tab;
        }
}

} // namespace
} // namespace cel::manager

namespace cel::manager {
namespace {

// Another program (a real process) changes the data file while the editor is open: the first
// "De Acuerdo" keeps this editor's version in one side file and says that the person is not in the
// file, which is read again; the second stores the same typed data into the fresh file, with no
// further side file.
TEST(ItemEditorConflict, OneSideFilePerConflictAndTheRepeatSavesIntoTheFreshFile) {
    enum class Other { AddsAPerson, RemovesTheEdited };
    const struct {
        std::int32_t edited; // -1: a new person
        Other other;
    } cases[] = {{-1, Other::AddsAPerson}, {1, Other::AddsAPerson}, {1, Other::RemovesTheEdited}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.edited);
        mgrtest::SampleData data;
        TFormItem editor(data.store, Kind::Person, c.edited);
        editor.show();
        Type(&editor, "EDNombre", "Lucía");
        Type(&editor, "EDApellidos", "Conflicto");
        ASSERT_EQ(testsupport::InChild([&] {
                      database::Database db;
                      SilentNotifier quiet;
                      database::LoadDataFile(data.path, db, quiet, mgrtest::CommaFormat());
                      if (c.other == Other::AddsAPerson) {
                          auto p = std::make_unique<database::TPersona>();
                          p->Id = db.TakeId(Kind::Person);
                          p->Nombre = "Otro";
                          db.Persons.push_back(std::move(p));
                      } else {
                          std::erase_if(db.Persons, [&](const auto &p) { return p->Id == c.edited; });
                      }
                      database::SaveDataFile(data.path, db, mgrtest::CommaFormat());
                      return 0;
                  }),
                  0);
        const auto sideFiles = [&data] {
            int n = 0;
            for (const auto &e : std::filesystem::directory_iterator(data.folder.Path()))
                n += e.path().filename().string().find("-conflicto-") != std::string::npos;
            return n;
        };

        Ok(&editor);
        EXPECT_TRUE(editor.isVisible());
        ASSERT_FALSE(data.notices.shown.empty());
        const std::string text = data.notices.LastText();
        EXPECT_NE(text.find("\"Lucía\", con los datos de esta ventana, no está en él"), std::string::npos)
            << text;
        EXPECT_NE(text.find("Repita la operación"), std::string::npos) << text;
        EXPECT_EQ(sideFiles(), 1);
        // What is shown now is what the file holds.
        const auto named = [](const database::Database &db, const std::string &surname) {
            return std::count_if(db.Persons.begin(), db.Persons.end(),
                                 [&](const auto &p) { return p->Apellidos == surname; });
        };
        EXPECT_EQ(named(data.db, "Conflicto"), 0);
        EXPECT_EQ(data.db.Persons.size(), data.Reload().Persons.size());

        Ok(&editor);
        ASSERT_FALSE(editor.isVisible()) << data.notices.LastText();
        EXPECT_EQ(sideFiles(), 1);
        const database::Database saved = data.Reload();
        EXPECT_EQ(named(saved, "Conflicto"), 1);
        if (c.other == Other::AddsAPerson) {
            EXPECT_EQ(std::count_if(saved.Persons.begin(), saved.Persons.end(),
                                    [](const auto &p) { return p->Nombre == "Otro"; }),
                      1);
        }
        std::set<std::int32_t> ids;
        for (const auto &p : saved.Persons)
            EXPECT_TRUE(ids.insert(p->Id).second) << "Id " << p->Id << " twice";
    }
}

} // namespace
} // namespace cel::manager
