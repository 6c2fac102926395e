#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <fstream>
#include <thread>

#include "common/windows1252.h"
#include "database/data_file.h"
#include "database/place_import.h"
#include "database/shared_use_guard.h"
#include "database/spanish_order.h"
#include "manager/colour_suite.h"
#include "manager/file_chooser.h"
#include "manager/manager_window.h"
#include "manager/notice_window.h"
#include "manager/place_import_window.h"
#include "manager_fixture.h"
#include "support/widgets.h"

namespace cel::manager {
namespace {

using database::Kind;
using mgrtest::Find;
using mgrtest::OnNextModal;

// The manager on a copy of the sample file, with scripted file dialogs.
struct ManagerFixture : ::testing::Test {
    mgrtest::SampleData data;
    ScriptedFileChooser files;
    std::unique_ptr<TFormMainTarjaro> window;

    void SetUp() override {
        SetFileChooser(&files);
        window = std::make_unique<TFormMainTarjaro>(data.store, ManagerMode::InChartProgram);
        window->OpenFile(data.path);
        window->FirstActivation();
    }
    void TearDown() override {
        window.reset();
        SetFileChooser(nullptr);
        EXPECT_TRUE(data.notices.unexpected.empty()) << data.notices.unexpected.front();
    }
    QString Found() { return Find<QLabel>(window.get(), "LAEncontrados")->text(); }
    QString Items() { return Find<QLabel>(window.get(), "LAItems")->text(); }
    void Click(const char *name) { Find<QAbstractButton>(window.get(), name)->click(); }
    void Kind(database::Kind kind) { Find<QAbstractButton>(window.get(), KindButton(kind))->click(); }
    static const char *KindButton(database::Kind kind) {
        const char *names[] = {"SBPaises", "SBLugares", "SBGrupos", "SBPersonas"};
        return names[static_cast<int>(kind)];
    }
    int RowOf(const std::string &name) {
        const auto &rows = window->DisplayList();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i]->Nombre == name)
                return static_cast<int>(i);
        ADD_FAILURE() << name << " is not listed";
        return -1;
    }
    void SelectName(const std::string &name) {
        const int row = RowOf(name);
        window->SelectId(window->DisplayList()[static_cast<std::size_t>(row)]->Id);
    }
    void Tick(const std::string &name) {
        auto *grid = Find<QTableView>(window.get(), "SGLista");
        const int row = RowOf(name);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, 2)).center());
    }
};

TEST_F(ManagerFixture, FiltersPersonsAndCounts) {
    EXPECT_EQ(window->windowTitle(), "Tarjaro  [ejemplo.age]");
    EXPECT_EQ(Found(), "12 de 12, 100%");
    EXPECT_EQ(Items(), "1 a 12");

    QTest::keyClicks(Find<QLineEdit>(window.get(), "EDApellido"), "ferr");
    EXPECT_EQ(Found(), "2 de 12, 17%");
    Click("SBVerTodos");
    EXPECT_EQ(Found(), "12 de 12, 100%");

    Find<QCheckBox>(window.get(), "CBFiltrarGrupo")->setChecked(true);
    EXPECT_EQ(Found(), "0 de 12,  0%"); // no group ticked
    auto *groups = Find<QListWidget>(window.get(), "LBGrupos");
    ASSERT_EQ(groups->count(), 3);
    QTest::mouseClick(groups->viewport(), Qt::LeftButton, {},
                      groups->visualItemRect(groups->item(2)).center());
    EXPECT_EQ(groups->item(2)->text(), "Familia");
    EXPECT_EQ(Found(), "4 de 12, 33%");
    Click("SBVerTodos");

    auto *country = Find<QComboBox>(window.get(), "CMBPaisPersona");
    country->setCurrentIndex(country->findText(QString::fromUtf8("España")));
    EXPECT_EQ(Found(), "2 de 12, 17%");
    Click("SBVerTodos");

    testsupport::ChooseText(Find<QComboBox>(window.get(), "CMBEdad"), "Con fecha de nacimiento");
    Find<QCheckBox>(window.get(), "CBCumple")->setChecked(true);
    testsupport::ChooseText(Find<QComboBox>(window.get(), "CMBMes"), "Oct");
    EXPECT_EQ(Found(), "1 de 12,  8%");
    EXPECT_EQ(window->DisplayList().front()->Nombre, "Julián Andrés");

    // A change of kind resets the name filters and shows that kind's count.
    QTest::keyClicks(Find<QLineEdit>(window.get(), "EDNombre"), "bo");
    Kind(Kind::Place);
    EXPECT_TRUE(Find<QLineEdit>(window.get(), "EDNombre")->text().isEmpty());
    EXPECT_EQ(Found(), "40 de 40, 100%");
}

// A change of kind resets the name, sex, usage, country and birth choices; "[*]" also the group,
// place, e-mail and ticked-only choices; other choices stay as the user left them.
TEST_F(ManagerFixture, ResetRules) {
    Kind(Kind::Place);
    Find<QRadioButton>(window.get(), "RBDSTSi")->click();
    QTest::keyClicks(Find<QLineEdit>(window.get(), "EDNombre"), "a");
    EXPECT_EQ(Found(), "12 de 40, 30%");
    Kind(Kind::Country);
    Kind(Kind::Place);
    EXPECT_EQ(Found(), "13 de 40, 32%"); // the name is reset, the DST choice stays
    Kind(Kind::Person);
    Find<QCheckBox>(window.get(), "CBFiltrarGrupo")->setChecked(true);
    testsupport::ChooseText(Find<QComboBox>(window.get(), "CMBSexo"), "Fem.");
    Kind(Kind::Country);
    Kind(Kind::Person);
    EXPECT_EQ(Find<QComboBox>(window.get(), "CMBSexo")->currentText(), "Todos");
    EXPECT_TRUE(Find<QCheckBox>(window.get(), "CBFiltrarGrupo")->isChecked());
    Click("SBVerTodos");
    EXPECT_FALSE(Find<QCheckBox>(window.get(), "CBFiltrarGrupo")->isChecked());
    EXPECT_EQ(Found(), "12 de 12, 100%");
}

TEST_F(ManagerFixture, PagesWhenTodosIsOff) {
    window->resize(1100, 400);
    Kind(Kind::Place);
    Find<QCheckBox>(window.get(), "CBTodos")->setChecked(false);
    EXPECT_GT(window->PageCount(), 1);
    EXPECT_EQ(Items().left(4), "1 a ");
    Click("SBPaginaSiguiente");
    EXPECT_EQ(window->Page(), 2);
    EXPECT_TRUE(Find<QAbstractButton>(window.get(), "SBPaginaAnterior")->isEnabled());
}

TEST_F(ManagerFixture, AddsACountryAPlaceAndAPersonThroughTheEditor) {
    Kind(Kind::Country);
    OnNextModal([](QWidget *editor) {
        Find<QLineEdit>(editor, "EDNombre")->setText("Bolivia");
        Find<QPushButton>(editor, "BTAcuerdo")->click();
    });
    Click("SBNuevo");
    EXPECT_EQ(Found(), "13 de 13, 100%");
    EXPECT_EQ(window->SelectedId(), 13);

    Kind(Kind::Place);
    OnNextModal([](QWidget *editor) {
        Find<QLineEdit>(editor, "EDNombre")->setText("La Paz");
        auto *country = Find<QComboBox>(editor, "CMBPais");
        country->setCurrentIndex(country->findText("Bolivia"));
        editor->findChild<QWidget *>("SELonGrados")->setProperty("value", 68);
        editor->findChild<QWidget *>("SELatGrados")->setProperty("value", 16);
        Find<QAbstractButton>(editor, "RBLatS")->click();
        editor->findChild<QWidget *>("SETZHoras")->setProperty("value", -4);
        Find<QPushButton>(editor, "BTAcuerdo")->click();
    });
    Click("SBNuevo");
    EXPECT_EQ(Found(), "41 de 41, 100%");

    Kind(Kind::Person);
    OnNextModal([](QWidget *editor) {
        Find<QLineEdit>(editor, "EDNombre")->setText("Juana");
        Find<QLineEdit>(editor, "EDApellidos")->setText("Azurduy");
        Find<QPushButton>(editor, "BTAcuerdo")->click();
    });
    Click("SBNuevo");
    EXPECT_EQ(Found(), "13 de 13, 100%");

    const database::Database saved = data.Reload();
    EXPECT_EQ(database::NameOfId(saved.Countries, 13), "Bolivia");
    const int place = database::IndexOfName(saved.Places, "La Paz");
    ASSERT_GE(place, 0);
    EXPECT_EQ(saved.Places[static_cast<std::size_t>(place)]->IdPais, 13);
    EXPECT_EQ(saved.Places[static_cast<std::size_t>(place)]->Lat, -16);
    EXPECT_EQ(saved.Places[static_cast<std::size_t>(place)]->TZ, -4);
    EXPECT_GE(database::IndexOfName(saved.Persons, "Juana"), 0);
}

TEST_F(ManagerFixture, RefusesToDeleteWhatIsInUse) {
    struct Case {
        database::Kind kind;
        const char *name;
        const char *message;
    };
    const Case cases[] = {
        {Kind::Place, "Bogotá",
         "NO se puede eliminar el item \"Bogotá\" de la lista de Lugares Geográficos, ya que esta siendo "
         "usado en "
         "\"P>L\""},
        {Kind::Country, "Chile",
         "NO se puede eliminar el item \"Chile\" de la lista de Países, ya que esta siendo usado en "
         "\"Lugares con "
         "este País\""},
        {Kind::PersonGroup, "Amigos",
         "NO se puede eliminar el item \"Amigos\" de la lista de Grupo Personas, ya que esta siendo usado en "
         "\"Personas con este Grupo\""},
    };
    const std::string before = data.Bytes();
    for (const Case &c : cases) {
        Kind(c.kind);
        SelectName(c.name);
        Click("SBBorrar");
        EXPECT_EQ(data.notices.LastText(), c.message);
        EXPECT_EQ(data.notices.shown.back().kind, NoticeKind::Warning);
    }
    EXPECT_EQ(data.Bytes(), before);
}

TEST_F(ManagerFixture, DeletesAnUnusedItemAndRenumbers) {
    Kind(Kind::Person);
    SelectName("Ariel");
    data.notices.answers = {true};
    Click("SBBorrar");
    // The person named in full, with "No" as the default answer.
    EXPECT_EQ(data.notices.LastText(),
              "Desea eliminar el item \"Ariel Ferreyra Núñez\" de la lista de Lista Personas");
    EXPECT_TRUE(data.notices.shown.back().style.noByDefault);
    const auto saved = data.Reload();
    ASSERT_EQ(saved.Persons.size(), 11u);
    EXPECT_LT(database::IndexOfName(saved.Persons, "Ariel"), 0);
    std::vector<int> ids;
    for (const auto &p : saved.Persons)
        ids.push_back(p->Id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids.back(), 11);
    EXPECT_EQ(Found(), "11 de 11, 100%");
}

// Three ticked countries of which one is used: two confirmations delete two, the used one loses its tick.
TEST_F(ManagerFixture, DeletesTheTickedItemsThatAreNotUsed) {
    for (const char *name : {"Bolivia", "Paraguay"}) {
        auto country = std::make_unique<database::TPais>();
        country->Nombre = name;
        country->Id = data.db.TakeId(Kind::Country);
        data.db.Countries.push_back(std::move(country));
    }
    ASSERT_TRUE(data.store.Save());
    window->OpenFile(data.path);
    Kind(Kind::Country);
    EXPECT_EQ(Found(), "14 de 14, 100%");
    for (const char *name : {"Bolivia", "Paraguay", "Chile"})
        Tick(name);
    data.notices.answers = {true, true};
    Click("SBBorrarSel");
    ASSERT_EQ(data.notices.shown.size(), 2u);
    EXPECT_EQ(data.notices.shown[0].text, "Desea eliminar 2 items(s) seleccionado(s)");
    EXPECT_EQ(data.notices.shown[1].text, "Confirme su deseo de eliminar 2 registro(s) seleccionado(s)");
    const auto saved = data.Reload();
    EXPECT_EQ(saved.Countries.size(), 12u);
    EXPECT_LT(database::IndexOfName(saved.Countries, "Bolivia"), 0);
    EXPECT_EQ(window->DisplayList()[static_cast<std::size_t>(RowOf("Chile"))]->Marca, 0);
    EXPECT_EQ(Found(), "12 de 12, 100%");
}

TEST_F(ManagerFixture, AssignsAndRemovesAGroupForTheTickedPersons) {
    for (const char *name : {"Alex", "Ariel", "Leonor"})
        Tick(name);
    Find<QCheckBox>(window.get(), "CBSeleccionados")->setChecked(true);
    EXPECT_EQ(Found(), "3 de 12, 25%");
    const auto chooseFamilia = [](QWidget *chooser) {
        auto *list = Find<QListWidget>(chooser, "LBGrupos");
        list->setCurrentRow(2); // Amigos, Clientes, Familia
        Find<QPushButton>(chooser, "BTAcuerdo")->click();
    };
    OnNextModal(chooseFamilia);
    Click("SBAgregarGrupo");
    const auto groupsOf = [this](const char *name) {
        const auto saved = data.Reload();
        std::vector<int> ids;
        for (const auto &g :
             saved.Persons[static_cast<std::size_t>(database::IndexOfName(saved.Persons, name))]->Grupos)
            ids.push_back(g.Id);
        return ids;
    };
    EXPECT_EQ(groupsOf("Alex"), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(groupsOf("Ariel"), (std::vector<int>{3, 1}));
    EXPECT_EQ(groupsOf("Leonor"), (std::vector<int>{1})); // had it already: not twice
    EXPECT_EQ(groupsOf("Tomás"), (std::vector<int>{3}));  // not ticked
    OnNextModal(chooseFamilia);
    Click("SBBorrarGrupo");
    EXPECT_EQ(groupsOf("Alex"), (std::vector<int>{2, 3}));
    EXPECT_TRUE(groupsOf("Leonor").empty());
    // The chooser refuses to close without a group.
    OnNextModal([](QWidget *chooser) {
        Find<QPushButton>(chooser, "BTAcuerdo")->click();
        Find<QPushButton>(chooser, "BTCancelar")->click();
    });
    Click("SBAgregarGrupo");
    EXPECT_EQ(data.notices.LastText(), "Debe seleccionar un grupo !");
}

// A place file with one name already used (new data) and one place whose data is already there.
TEST_F(ManagerFixture, ImportsPlacesAskingAboutDuplicatesBothWays) {
    struct Case {
        bool yes;
        const char *newPlace;  // present afterwards
        const char *bogotaNow; // the name the stored Bogotá has afterwards
    };
    const Case cases[] = {{true, "Bogotá Norte", "Santafé"}, {false, nullptr, "Bogotá"}};
    for (const Case &c : cases) {
        mgrtest::SampleData local;
        ScriptedFileChooser chooser;
        SetFileChooser(&chooser);
        TFormMainTarjaro manager(local.store, ManagerMode::InChartProgram);
        manager.OpenFile(local.path);
        manager.SetListKind(Kind::Place);
        const std::string lug = local.folder.File("duplicados.lug");
        std::ofstream(lug, std::ios::binary) << Utf8ToWindows1252(
            "P!1!Colombia!\r\nL!1!Bogotá!1!0!-5!4,7!74,1!Norte!\r\nL!2!Santafé!1!0!-5!4,60971!74,08175!!\r\n"
            "L!3!Tunja!1!0!-5!5,53528!73,36778!Boyacá!\r\n");
        chooser.paths = {lug};
        local.notices.answers = {c.yes, c.yes};
        if (c.yes)
            local.notices.inputs = {std::string("Bogotá Norte")};
        OnNextModal([](QWidget *w) {
            Find<QPushButton>(w, "BTAcuerdo")->click(); // nothing ticked: refused
            Find<QPushButton>(w, "BTTodos")->click();
            EXPECT_EQ(Find<QLabel>(w, "LASeleccionados")->text(), "3 de 3");
            Find<QPushButton>(w, "BTAcuerdo")->click();
        });
        manager.ImportPlaces();
        EXPECT_EQ(
            local.notices.shown[0].text,
            "Debe seleccionar al menos un(1) lugar geográfico\r\r(ENTER, Doble click o barra espaciadora)");
        EXPECT_TRUE(local.notices.Contains(
            "Ya hay un Lugar geográfico en la base de datos con el nombre \"Bogotá\""));
        EXPECT_TRUE(local.notices.Contains("Ya existe un lugar geográfico con estos datos en el archivo"));
        const auto saved = local.Reload();
        EXPECT_GE(database::IndexOfName(saved.Places, "Tunja"), 0);
        EXPECT_EQ(database::NameOfId(saved.Places, 1), c.bogotaNow);
        EXPECT_EQ(database::IndexOfName(saved.Places, "Bogotá Norte") >= 0, c.newPlace != nullptr);
        const std::string report = local.notices.LastText();
        EXPECT_EQ(report.rfind(std::string("Lugares geográficos agregados: ") + (c.yes ? "2" : "1"), 0), 0u)
            << report;
        EXPECT_NE(report.find(c.yes ? "No agregados: 0" : "No agregados: 2"), std::string::npos) << report;
        EXPECT_TRUE(local.notices.unexpected.empty());
    }
    SetFileChooser(&files);
}

// Places with impossible values are refused as typed ones are; the report names them with the reason.
TEST_F(ManagerFixture, ImportRefusesImpossiblePlacesAndSaysWhy) {
    ScriptedFileChooser chooser;
    SetFileChooser(&chooser);
    window->SetListKind(Kind::Place);
    const std::string lug = data.folder.File("raros.lug");
    std::ofstream(lug, std::ios::binary) << "P!1!Rarolandia!\r\nL!1!Polo!1!0!-5!90!10!!\r\n"
                                            "L!2!Bien!1!0!-5!4,5!-74,1!!\r\n";
    chooser.paths = {lug};
    OnNextModal([](QWidget *w) {
        Find<QPushButton>(w, "BTTodos")->click();
        Find<QPushButton>(w, "BTAcuerdo")->click();
    });
    window->ImportPlaces();
    const std::string report = data.notices.LastText();
    EXPECT_EQ(report.rfind("Lugares geográficos agregados: 1", 0), 0u) << report;
    EXPECT_NE(report.find("Rechazados por valores imposibles: 1\rPolo: latitud 90"), std::string::npos)
        << report;
    const auto saved = data.Reload();
    EXPECT_GE(database::IndexOfName(saved.Places, "Bien"), 0);
    EXPECT_LT(database::IndexOfName(saved.Places, "Polo"), 0);
    SetFileChooser(&files);
}

TEST_F(ManagerFixture, AppendsAnotherDataFile) {
    const std::string other = data.folder.File("otro.age");
    std::filesystem::copy_file(data.path, other);
    files.paths = {data.path, other};
    Click("SBAnexar");
    EXPECT_EQ(data.notices.LastText(), "No se pueden anexar datos del mismo archivo");
    Click("SBAnexar");
    const auto saved = data.Reload();
    EXPECT_EQ(saved.Persons.size(), 24u);
    EXPECT_EQ(saved.Places.size(), 40u);
    EXPECT_EQ(saved.Countries.size(), 12u);
    EXPECT_GE(database::IndexOfName(saved.PersonGroups, " Archivo: otro.age"), 0);
    EXPECT_EQ(Found(), "24 de 24, 100%");
    const std::string report = data.notices.LastText();
    EXPECT_NE(report.find("Personas agregadas: 12"), std::string::npos) << report;
    EXPECT_NE(report.find("Lugares geográficos agregados: 0"), std::string::npos) << report;
}

TEST_F(ManagerFixture, ExportsPersonsAsCsvWithEveryBlock) {
    const std::string out = data.folder.File("personas.csv");
    files.paths = {out};
    OnNextModal([](QWidget *dialog) {
        for (const char *box : {"CBResidencia", "CBTrabajo", "CBGrupos", "CBNacimiento", "CBObservaciones"})
            Find<QCheckBox>(dialog, box)->setChecked(true);
        Find<QPushButton>(dialog, "BTAcuerdo")->click();
    });
    Click("SBExportar");
    EXPECT_EQ(data.notices.LastText(), "Archivo \"personas.csv\"\r\rcreado correctamente");
    const std::string text = Windows1252ToUtf8(ReadWholeFile(out));
    EXPECT_EQ(
        text.substr(0, text.find("\r\n")),
        "No;Nombre;Apellido;Sexo;País Res.;Lugar Res.;Dir. Res.;Tel. Res.;Cel. Res.;Fax Res.;Web Res.;Email "
        "Res.;País Trab.;Lugar Trab.;Dir. Trab.;Tel. Trab.;Cel. Trab.;Fax Trab.;Web Trab.;Email "
        "Trab.;Grupos;País "
        "Nac.;Lugar Nac.;Fecha;Hora;GMT;Observaciones;");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 13);
    EXPECT_NE(text.find("\r\n1;Alex;Moreno Kowalski;o;Estados Unidos;Los Ángeles;"), std::string::npos);
}

// A change made on disk by someone else since the file was read is never overwritten.
TEST_F(ManagerFixture, DoesNotSaveOverAFileChangedOnDisk) {
    const std::string changed = data.Bytes() + "P\xE2"
                                               "99\xE2Otro\xE2\r\n";
    std::filesystem::remove(data.path);
    std::ofstream(data.path, std::ios::binary) << changed;
    Kind(Kind::Person);
    SelectName("Ariel");
    data.notices.answers = {true};
    Click("SBBorrar");
    EXPECT_EQ(data.notices.shown.back().kind, NoticeKind::Error);
    EXPECT_EQ(data.Bytes(), changed);
}

TEST_F(ManagerFixture, InternetLinks) {
    database::TPersona p;
    p.Nombre = "Ana";
    p.Apellidos = "Ruiz";
    p.Residencia.Web = "ana.example.com";
    p.Trabajo.Web = "https://work.example.com";
    p.Residencia.Email = "ana@example.com";
    EXPECT_EQ(TFormMainTarjaro::LinkFor(p, "WebHome"), "http://ana.example.com");
    EXPECT_EQ(TFormMainTarjaro::LinkFor(p, "WebWork"), "https://work.example.com");
    EXPECT_EQ(TFormMainTarjaro::LinkFor(p, "MailHome"), "mailto:\"Ana Ruiz\"<ana@example.com>");
    std::vector<std::string> opened;
    TFormMainTarjaro::SetLinkOpener([&opened](const std::string &link) { opened.push_back(link); });
    SelectName("Alex");
    auto *mail = window->findChild<QAction *>("MailHome");
    ASSERT_NE(mail, nullptr);
    EXPECT_TRUE(mail->isVisible());
    EXPECT_EQ(mail->text(), "Enviar mail a: alex.moreno@example.com");
    EXPECT_FALSE(window->findChild<QAction *>("WebWork")->isVisible());
    mail->trigger();
    TFormMainTarjaro::SetLinkOpener(nullptr);
    EXPECT_EQ(opened, std::vector<std::string>{"mailto:\"Alex Moreno Kowalski\"<alex.moreno@example.com>"});
}

TEST(ManagerMode, StandaloneWhenTheProgramIsTarjaro) {
    EXPECT_EQ(ManagerModeFor("/usr/bin/tarjaro"), ManagerMode::Standalone);
    EXPECT_EQ(ManagerModeFor("/opt/Norvelta/TARJARO/bin/manager"), ManagerMode::Standalone);
    EXPECT_EQ(ManagerModeFor("/usr/bin/celestigrafo"), ManagerMode::InChartProgram);
}

TEST(ManagerInChartProgram, HidesTheMainWindowAndShowsItAgainOnClose) {
    mgrtest::SampleData data;
    QWidget main;
    main.show();
    int reopened = 0;
    TFormMainTarjaro *manager = TFormMainTarjaro::OpenFromChartProgram(
        &main, data.store, [&reopened] { ++reopened; }, false);
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(manager->isVisible());
    EXPECT_EQ(manager->findChild<QToolButton *>("SBConfigurar")->isVisible(), false);
    manager->close();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(reopened, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the manager deletes itself
}

// A second program on a file that tarjaro has open: read-only until tarjaro ends.
TEST(ManagerReadOnly, TwoProcessesOnOneFile) {
    mgrtest::SampleData data;
    QProcess tarjaro;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    tarjaro.setProcessEnvironment(env);
    tarjaro.start(CEL_TARJARO_PATH,
                  {"--no-splash", "--ini", QString::fromStdString(data.folder.File("t.ini")),
                   QString::fromStdString(data.path)});
    ASSERT_TRUE(tarjaro.waitForStarted(10000));
    database::SharedUseGuard table;
    bool registered = false;
    for (int i = 0; i < 200 && !registered; ++i) {
        for (const auto &slot : table.Slots())
            registered = registered || (!slot.free && slot.path == data.path);
        if (!registered)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(registered);

    database::Database db;
    ScriptedNotifier notices;
    GuardedDataStore store(db, notices, mgrtest::CommaFormat(), "Tarjaro");
    TFormMainTarjaro window(store, ManagerMode::Standalone);
    window.OpenFile(data.path);
    window.FirstActivation();
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_EQ(notices.shown[0].text, database::ReadOnlyText(data.path, "Tarjaro"));
    EXPECT_EQ(notices.shown[0].kind, NoticeKind::Information);

    const std::string before = data.Bytes();
    window.DeleteItem(); // the first person
    EXPECT_EQ(notices.shown.size(), 2u);
    EXPECT_EQ(notices.LastText(), database::ReadOnlyText(data.path, "Tarjaro"));
    EXPECT_EQ(data.Bytes(), before);

    tarjaro.kill();
    tarjaro.waitForFinished(10000);
    window.DeleteItem(); // the file is read again first: the other program may have changed it
    EXPECT_NE(notices.LastText().find("ya no está siendo usado por otro programa"), std::string::npos);
    EXPECT_EQ(data.Bytes(), before);
    notices.answers = {true};
    window.DeleteItem();
    EXPECT_EQ(notices.LastText().rfind("Desea eliminar el item", 0), 0u);
    EXPECT_EQ(data.Reload().Persons.size(), 11u);
}

} // namespace
} // namespace cel::manager

namespace cel::manager {
namespace {

using mgrtest::Find;

TEST_F(ManagerFixture, KeysOfTheGrid) {
    auto *grid = Find<QTableView>(window.get(), "SGLista");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(window->DisplayList().front()->Marca, 1);
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(window->DisplayList().front()->Marca, 0);
    OnNextModal([](QWidget *editor) {
        EXPECT_EQ(editor->windowTitle(), "Editar Persona");
        Find<QPushButton>(editor, "BTCancelar")->click();
    });
    QTest::keyClick(grid, Qt::Key_Return);
    OnNextModal([](QWidget *editor) {
        EXPECT_EQ(editor->windowTitle(), "Crear Persona");
        Find<QPushButton>(editor, "BTCancelar")->click();
    });
    QTest::keyClick(grid, Qt::Key_Insert);
    data.notices.answers = {false};
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(data.notices.LastText(),
              "Desea eliminar el item \"Alex Moreno Kowalski\" de la lista de Lista Personas");
}

// Names longer than a column's chosen width widen it, and every cell's tooltip holds its whole text.
TEST_F(ManagerFixture, LongNamesAreShownWhole) {
    window->show();
    Kind(database::Kind::Person);
    auto *grid = Find<QTableView>(window.get(), "SGLista");
    const QFontMetrics metrics(grid->font());
    for (const char *name : {"María del Carmen", "Julián Andrés"}) {
        const int row = RowOf(name);
        for (const int column : {3, 4}) {
            const QModelIndex cell = grid->model()->index(row, column);
            const QString text = cell.data().toString();
            EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(), text);
            EXPECT_GE(grid->columnWidth(column), metrics.horizontalAdvance(text)) << text.toStdString();
        }
    }
}

TEST_F(ManagerFixture, ShowsTheSummaryOfTheSelectedPerson) {
    window->show();
    SelectName("Ana Lucía");
    const QString text = Find<QTextEdit>(window.get(), "REResumen")->toPlainText();
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("Ana Lucía Restrepo Gaviria\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains("Residencia")) << text.toStdString();
    Find<QCheckBox>(window.get(), "CBVerResidencia")->setChecked(false);
    EXPECT_FALSE(Find<QTextEdit>(window.get(), "REResumen")->toPlainText().contains("Residencia"));
}

TEST_F(ManagerFixture, ExportsTheMailList) {
    const std::string out = data.folder.File("correo.csv");
    files.paths = {out};
    Find<QPushButton>(window.get(), "BTExportarCorreo")->click();
    const std::string text = Windows1252ToUtf8(ReadWholeFile(out));
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "No;Nombre;Apellidos;mail;dupli;");
    EXPECT_NE(text.find("1;Alex;Moreno Kowalski;alex.moreno@example.com;\r\n"), std::string::npos) << text;
}

TEST_F(ManagerFixture, SettingsApplyAtOnceAndAreWrittenOnClose) {
    const std::string ini = data.folder.File("tarjaro.ini");
    ManagerSettings settings = ManagerSettings::Load(ini, "/no/such/folder/");
    EXPECT_EQ(settings.color, 7);
    EXPECT_TRUE(settings.hint);
    TFormMainTarjaro standalone(data.store, ManagerMode::Standalone);
    standalone.UseSettings(settings, ini);
    standalone.OpenFile(data.path);
    Find<QToolButton>(&standalone, "SBConfigurar")->setChecked(true);
    auto *setup = standalone.findChild<QWidget *>("TFormSetUpAgenda");
    ASSERT_NE(setup, nullptr);
    testsupport::ChooseText(Find<QComboBox>(setup, "CMBColor"), "Windows");
    EXPECT_EQ(standalone.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));
    testsupport::ChooseText(Find<QComboBox>(setup, "CMBColor"), "3");
    EXPECT_EQ(standalone.palette().color(QPalette::Window), QColor(234, 234, 255));
    Find<QCheckBox>(setup, "CBHint")->setChecked(false);
    EXPECT_TRUE(Find<QToolButton>(&standalone, "SBAbrir")->toolTip().isEmpty());
    Find<QToolButton>(&standalone, "SBConfigurar")->setChecked(false);
    standalone.close();
    const ManagerSettings back = ManagerSettings::Load(ini, "");
    EXPECT_EQ(back.color, 3);
    EXPECT_FALSE(back.hint);
    EXPECT_EQ(back.file, data.path);
    SetCurrentSuite(7);
}

// Lists read in Spanish order: accented names among their letter, not after Z.
TEST_F(ManagerFixture, ListsAreInSpanishOrder) {
    Kind(Kind::Place);
    EXPECT_LT(RowOf("Mérida"), RowOf("Montevideo"));
    EXPECT_LT(RowOf("Córdoba"), RowOf("Cusco"));
    // The same order as Qt's Spanish collation.
    const QCollator spanish(QLocale(QLocale::Spanish, QLocale::Spain));
    std::vector<std::string> names = {"Montevideo", "Mérida", "Merida",    "Cusco",  "Córdoba",    "Cordoba",
                                      "Ñandú",      "Nuñez",  "Nunez",     "Nuevo",  "ana",        "Ana",
                                      "Ángel",      "angel",  "Zoe",       "zoe",    "Álvarez",    "Alvarez",
                                      "O'Neill",    "Oneill", "Ana María", "Anabel", "9 de Julio", "Über"};
    std::vector<std::string> ours = names;
    std::stable_sort(ours.begin(), ours.end(),
                     [](const std::string &a, const std::string &b) { return database::SpanishLess(a, b); });
    std::stable_sort(names.begin(), names.end(), [&spanish](const std::string &a, const std::string &b) {
        return spanish.compare(QString::fromStdString(a), QString::fromStdString(b)) < 0;
    });
    EXPECT_EQ(ours, names);
}

// The age filter starts at 20 to 80 and the birthday month at the current one, so ticking them shows
// persons at once.
TEST_F(ManagerFixture, AgeFiltersStartAtTheirDefaults) {
    Kind(Kind::Person);
    EXPECT_EQ(Find<QSpinBox>(window.get(), "SEEdadDesde")->value(), 20);
    EXPECT_EQ(Find<QSpinBox>(window.get(), "SEEdadHasta")->value(), 80);
    EXPECT_EQ(Find<QComboBox>(window.get(), "CMBMes")->currentIndex(), QDate::currentDate().month() - 1);
    testsupport::ChooseText(Find<QComboBox>(window.get(), "CMBEdad"), "Con fecha de nacimiento");
    Find<QCheckBox>(window.get(), "CBEdadEntre")->click();
    EXPECT_FALSE(window->DisplayList().empty());
}

// Enter on a delete question answers "No": the notice window's default button is "No".
TEST_F(ManagerFixture, EnterOnADeleteQuestionKeepsTheRecord) {
    NoticeWindow real(window.get());
    OnNextModal([](QWidget *notice) {
        auto *no = Find<QPushButton>(notice, "BTNo");
        EXPECT_TRUE(no->isDefault());
        EXPECT_FALSE(Find<QPushButton>(notice, "BTSi")->isDefault());
        EXPECT_EQ(notice->findChild<QPushButton *>("BTCancelar"), nullptr);
        QTest::keyClick(notice, Qt::Key_Return);
    });
    EXPECT_EQ(real.Ask("Desea eliminar el item \"Ariel Ferreyra Núñez\"", QuestionStyle{true, false}),
              Answer::No);
    OnNextModal([](QWidget *notice) { Find<QPushButton>(notice, "BTCancelar")->click(); });
    EXPECT_EQ(real.Ask("Han sido cambiados los datos natales", QuestionStyle{false, true}), Answer::Cancel);
    OnNextModal([](QWidget *notice) {
        EXPECT_TRUE(Find<QPushButton>(notice, "BTSi")->isDefault());
        QTest::keyClick(notice, Qt::Key_Escape);
    });
    EXPECT_EQ(real.Ask("Han sido cambiados los datos natales", QuestionStyle{false, true}), Answer::Cancel);
}

TEST_F(ManagerFixture, HelpThatCannotBeFoundIsSaid) {
    const std::string missing = data.folder.File("sin-ayuda");
    ::setenv("CELESTIGRAFO_HELP_DIR", missing.c_str(), 1);
    Click("SBAyuda");
    ::unsetenv("CELESTIGRAFO_HELP_DIR");
    EXPECT_EQ(data.notices.LastText(), "No se encontró la ayuda del programa:\r\r" + missing + "/index.html");
}

// Switching the list kind never changes the manager's size under the user's hand.
TEST_F(ManagerFixture, KeepsItsSizeAcrossListKinds) {
    window->show();
    QApplication::processEvents();
    const QSize size = window->size();
    for (const database::Kind k :
         {Kind::Person, Kind::Place, Kind::PersonGroup, Kind::Country, Kind::Person}) {
        Kind(k);
        QApplication::processEvents();
        EXPECT_EQ(window->size(), size) << static_cast<int>(k);
    }
}

} // namespace
} // namespace cel::manager

namespace cel::manager {
namespace {

// "Exportar AAF" writes the ticked persons; "Importar AAF" brings them into another file, saved,
// with a report that names the unreadable record by its line.
TEST(ManagerAaf, ExportTickedAndImportWithItsReport) {
    mgrtest::SampleData data;
    ScriptedFileChooser files;
    SetFileChooser(&files);
    TFormMainTarjaro window(data.store, ManagerMode::InChartProgram);
    window.OpenFile(data.path);
    window.SetListKind(database::Kind::Person);
    for (int i = 0; i < 3; ++i)
        window.DisplayList()[static_cast<std::size_t>(i)]->Marca = 1;
    const std::string aaf = data.folder.File("tres.aaf");
    files.paths = {aaf};
    data.notices.choices = {Answer::No}; // Windows-1252
    Find<QAbstractButton>(&window, "SBExportarAAF")->click();
    EXPECT_TRUE(data.notices.Contains("Se exportaron 3 personas"));
    std::ofstream(aaf, std::ios::binary | std::ios::app) << "#A93:Roto,Registro,m,1.13.1990,10:00,X,D\r\n";

    mgrtest::SampleData other;
    std::filesystem::remove(other.path);
    database::Database empty;
    database::SaveDataFile(other.path, empty, TextFormat{});
    TFormMainTarjaro second(other.store, ManagerMode::InChartProgram);
    second.OpenFile(other.path);
    files.paths = {aaf};
    other.notices.choices = {Answer::No};
    Find<QAbstractButton>(&second, "SBImportarAAF")->click();
    EXPECT_TRUE(other.notices.Contains("Personas añadidas: 3")) << other.notices.LastText();
    EXPECT_TRUE(other.notices.Contains("línea 8: fecha imposible")) << other.notices.LastText();
    EXPECT_EQ(other.Reload().Persons.size(), 3u);
    SetFileChooser(nullptr);
}

} // namespace
} // namespace cel::manager
