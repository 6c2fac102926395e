#include <QCheckBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "common/date_time.h"
#include "database/data_file.h"
#include "manager/date_field.h"
#include "manager/item_editor.h"
#include "support/cli_run.h"
#include "support/widgets.h"
#include "workspace/form_retorno.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";
constexpr const char *kJulian = "Julián Andrés Ospina Cárdenas";
constexpr const char *kRosa = "Rosa Elvira Quispe Mamani";

// "Aspectos: N" of celestigrafo-cli's wheel for a person of the data file.
int CliAspectCount(const std::string &dataFile, const std::string &person, const std::string &extra) {
    const std::string out = (std::filesystem::temp_directory_path() / "celestigrafo_wheel_cli.png").string();
    const std::string text = testsupport::RunCli("wheel --db '" + dataFile + "' --person '" + person +
                                                 "' --out '" + out + "' " + extra)
                                 .out;
    std::smatch m;
    if (!std::regex_search(text, m, std::regex("Aspectos: (\\d+)")))
        return -1;
    return std::stoi(m[1]);
}

int ShownCount(QGroupBox *box) {
    return box->title().mid(QString("Aspectos: ").size()).toInt();
}

TEST_F(WindowFixture, ChoosingAPersonShowsTheSameWheelAsTheCommandLine) {
    TFormMain &w = Open();
    EXPECT_TRUE(w.Ready());
    EXPECT_EQ(Find<QLabel>("LabelContador")->text(), "10 de 12 ");
    EXPECT_EQ(Find<QLabel>("LabelNatal")->text(), "<>: ");
    Choose(kAna);
    EXPECT_EQ(Find<QLabel>("LabelNatal")->text(), QString::fromUtf8("Ana Lucía Restrepo Gaviria  "));
    EXPECT_EQ(w.CurrentPerson(), 1);
    EXPECT_EQ(w.PersonA(), 1);
    // The first look shows the major aspects of every point.
    EXPECT_GT(w.LastAspectCount(), 5);
    // Every point, cusp and angle, as the command line's wheel selects them.
    for (const char *all : {"CBPlaT", "CBCasaT", "CBAngT"})
        QTest::mouseClick(Find<QToolButton>(all), Qt::LeftButton);
    auto *box = Find<QGroupBox>("GBAspectos");
    const int shown = ShownCount(box);
    EXPECT_GT(shown, 0);
    EXPECT_EQ(shown, w.LastAspectCount());
    EXPECT_EQ(shown, CliAspectCount(dataFile_, kAna, ""));

    // A bigger paint area draws a bigger picture of the same wheel.
    const QSize before = w.findChild<QWidget *>("PaintBox")->size();
    w.resize(1600, 1000);
    QApplication::processEvents();
    EXPECT_NE(w.findChild<QWidget *>("PaintBox")->size(), before);
    EXPECT_EQ(ShownCount(box), shown);
}

TEST_F(WindowFixture, StepsADayAndAnHourRecomputingOnce) {
    TFormMain &w = Open();
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    const TDateTime start = w.Workspace().natalRecord.localDateTime;
    auto *unit = Find<QComboBox>("CBUnidad");
    testsupport::ChooseText(unit, "día");
    std::uint64_t before = Recomputes();
    QTest::mouseClick(Find<QToolButton>("SBPasoMas"), Qt::LeftButton);
    EXPECT_EQ(Recomputes(), before + 1);
    EXPECT_NEAR(w.Workspace().natalRecord.localDateTime - start, 1.0, 1e-9);
    EXPECT_TRUE(w.NatalChanged());
    testsupport::ChooseText(unit, "hora");
    before = Recomputes();
    QTest::mouseClick(Find<QToolButton>("SBPasoMenos"), Qt::LeftButton);
    EXPECT_EQ(Recomputes(), before + 1);
    EXPECT_NEAR(w.Workspace().natalRecord.localDateTime - start, 1.0 - 1.0 / 24, 1e-9);
    const session::TimeFields t = session::TimeFieldsOf(w.Workspace().natalRecord.localDateTime);
    auto *hour = Find<QSpinBox>("SEHora");
    EXPECT_EQ(hour->value(), session::HourTo12(t.hour).first);
    // Changing the unit to "mes" lowers a count above its maximum.
    auto *count = Find<QSpinBox>("SECada");
    testsupport::ChooseText(unit, "min");
    count->setValue(45);
    testsupport::ChooseText(unit, "mes");
    EXPECT_EQ(count->value(), 12);
    // A typed minute of -1 borrows from the hour, in one recomputation.
    before = Recomputes();
    Find<QSpinBox>("SEMin")->setValue(-1);
    EXPECT_EQ(Recomputes(), before + 1);
    EXPECT_EQ(Find<QSpinBox>("SEMin")->value(), 59);
}

// The 12-hour field keeps the time continuous when stepped past 11 pm, and "24 h" shows the same time.
TEST_F(WindowFixture, TwelveHourFieldStepsIntoTheNextDay) {
    TFormMain &w = Open();
    Choose(kAna); // 09:35 am
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    auto *hour = Find<QSpinBox>("SEHora");
    auto *ampm = Find<QComboBox>("CBAmPm");
    testsupport::ChooseText(ampm, "pm"); // 9:35 pm
    hour->setValue(11);                  // 11:35 pm
    const TDateTime late = w.Workspace().natalRecord.localDateTime;
    EXPECT_EQ(session::TimeFieldsOf(late).hour, 23);
    const std::uint64_t before = Recomputes();
    hour->stepUp();
    EXPECT_EQ(Recomputes(), before + 1);
    EXPECT_NEAR(w.Workspace().natalRecord.localDateTime - late, 1.0 / 24, 1e-9);
    EXPECT_EQ(hour->value(), 12);
    EXPECT_EQ(ampm->currentText(), "am"); // 12 am of the next day
    testsupport::ChooseText(Find<QComboBox>("CB12h"), "24 h");
    EXPECT_EQ(hour->value(), 0);
    EXPECT_FALSE(ampm->isVisible());
}

TEST_F(WindowFixture, GmtAndDeltaTSwitchesRecomputeOnce) {
    TFormMain &w = Open();
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    const TDateTime entered = w.Workspace().natalRecord.localDateTime;
    const chart::Real zone = w.Workspace().natalRecord.zone;
    ASSERT_EQ(zone, -5);
    std::uint64_t before = Recomputes();
    testsupport::ChooseText(Find<QComboBox>("CBGMTEntrada"), "sí"); // the fields are Greenwich time
    EXPECT_EQ(Recomputes(), before + 1);
    EXPECT_EQ(w.Workspace().natalRecord.gmtFlag, 1);
    EXPECT_NEAR(w.Workspace().natalRecord.gmtDateTime, entered, 1e-8); // the fields hold milliseconds
    EXPECT_NEAR(w.Workspace().natalRecord.localDateTime, entered - 5.0 / 24, 1e-9);

    EXPECT_GT(w.Workspace().natal.deltaT, 40);
    before = Recomputes();
    testsupport::ChooseText(Find<QComboBox>("CBDeltaT"), "no");
    EXPECT_EQ(Recomputes(), before + 1);
    EXPECT_EQ(w.Workspace().natal.deltaT, 0);
    EXPECT_DOUBLE_EQ(w.Workspace().natal.instant, w.Workspace().natalRecord.gmtDateTime);
    EXPECT_TRUE(Find<QLabel>("LabelDeltaT")->text().startsWith("0"));
}

TEST_F(WindowFixture, SynastryNeedsBothPersons) {
    TFormMain &w = Open();
    Choose(kAna);
    auto *synastry = Find<QToolButton>("SBSinastria");
    synastry->click();
    EXPECT_FALSE(synastry->isChecked());
    ASSERT_FALSE(notifier_.shown.empty());
    EXPECT_EQ(notifier_.LastText(), "Debe seleccionar las dos personas.");

    Find<QRadioButton>("RBPersonaB")->click();
    Choose(kJulian);
    EXPECT_EQ(w.PersonB(), 2);
    synastry->click();
    EXPECT_TRUE(synastry->isChecked());
    const session::Workspace &ws = w.Workspace();
    EXPECT_EQ(ws.view.wheelMode, 2);
    EXPECT_EQ(ws.view.innerItem, chart::kNatalEcliptic);
    EXPECT_EQ(ws.view.outerItem, chart::kEventEcliptic);
    EXPECT_EQ(ws.natalRecord.ownerId, 1);
    EXPECT_EQ(ws.eventRecord.ownerId, 2);
    EXPECT_EQ(Find<QLabel>("LabelEvento")->text(), QString::fromUtf8("Julián Andrés Ospina Cárdenas: "));
    // The date page is refused while synastry is on.
    auto *tabs = Find<QTabWidget>("PCDatos");
    tabs->setCurrentIndex(1);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_NE(notifier_.LastText().find("En sinastría no se pueden cambiar datos de fecha y hora."),
              std::string::npos);
    synastry->click();
    EXPECT_EQ(ws.view.wheelMode, 1);
    EXPECT_EQ(w.CurrentPerson(), 1);
}

TEST_F(WindowFixture, AspectFamiliesRefreshTheViewOnce) {
    TFormMain &w = Open();
    Choose(kAna);
    for (const char *all : {"CBPlaT", "CBCasaT", "CBAngT"})
        QTest::mouseClick(Find<QToolButton>(all), Qt::LeftButton);
    auto *box = Find<QGroupBox>("GBAspectos");
    const int pointsOnly = ShownCount(box);
    struct Case {
        const char *family;
        std::size_t index;
    };
    for (const Case &c : {Case{"CBPC", 1}, Case{"CBCP", 2}, Case{"CBCC", 3}}) {
        const std::uint64_t before = Refreshes();
        const std::uint64_t recomputes = Recomputes();
        Find<QCheckBox>(c.family)->click();
        EXPECT_EQ(Refreshes(), before + 1) << c.family;
        EXPECT_EQ(Recomputes(), recomputes);
        EXPECT_TRUE(w.Workspace().view.aspectFamilies[c.index]);
    }
    EXPECT_GT(ShownCount(box), pointsOnly);
    for (const char *f : {"CBPC", "CBCP", "CBCC"})
        Find<QCheckBox>(f)->click();
    EXPECT_EQ(ShownCount(box), pointsOnly);
    // "P" leaves exactly the main angles.
    QTest::mouseClick(Find<QToolButton>("CBAngP"), Qt::LeftButton);
    for (int k = 1; k <= 13; ++k)
        EXPECT_EQ(w.Workspace().view.angleSelection[static_cast<std::size_t>(k)],
                  k == 1 || k == 5 || k == 7 || k == 9 || k == 13);
    // A single natal wheel on "Natal Ascensional" takes the ascensional orbs.
    testsupport::ChooseText(Find<QComboBox>("CBItemInt"), "Natal Ascensional");
    EXPECT_EQ(w.Workspace().orbMode, 10);
    EXPECT_TRUE(Find<QRadioButton>("RBMAsc")->isChecked());
}

TEST_F(WindowFixture, EventsAreAddedOverwrittenAndDeleted) {
    TFormMain &w = Open();
    Choose(kRosa);
    auto *label = Find<QLabel>("LabelEventos");
    const int events = label->text().split(' ').front().toInt();
    ASSERT_GE(events, 1);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    Find<QRadioButton>("RBEvento")->click();
    EXPECT_EQ(w.DataMode(), session::ChartSide::Event);

    notifier_.inputs.push_back(std::string("Viaje^ a Lima"));
    notifier_.inputs.push_back(std::string("Viaje a Lima")); // asked again after the refusal
    Find<QPushButton>("SBNuevoEvento")->click();
    EXPECT_TRUE(notifier_.Contains("El caracter \"^\" no es permitido"));
    EXPECT_EQ(label->text(), QString("%1 eventos ").arg(events + 1));
    database::Database saved;
    SilentNotifier silent;
    database::LoadDataFile(dataFile_, saved, silent, w.Workspace().format);
    const auto findRosa = [](const database::Database &db) -> const database::TPersona & {
        return *db.Persons[static_cast<std::size_t>(database::IndexOfId(db.Persons, 5))];
    };
    ASSERT_EQ(findRosa(saved).Eventos.size(), static_cast<std::size_t>(events + 1));
    bool named = false;
    for (const database::TEvento &e : findRosa(saved).Eventos)
        named |= e.Nombre == "Viaje a Lima"; // the data file's delimiters never reach it
    EXPECT_TRUE(named);
    bool numbered = false; // the id is the number of the person's events plus one
    for (const database::TEvento &e : findRosa(w.Workspace().db).Eventos)
        numbered |= e.Nombre == "Viaje a Lima" && e.Id == events + 1;
    EXPECT_TRUE(numbered);

    // Overwrite the new event with a date one day later, keeping its name.
    auto *list = Find<QListWidget>("LBEventos");
    ASSERT_GE(list->currentRow(), 0);
    testsupport::ChooseText(Find<QComboBox>("CBUnidad"), "día");
    QTest::mouseClick(Find<QToolButton>("SBPasoMas"), Qt::LeftButton);
    notifier_.answers.push_back(true);
    notifier_.inputs.push_back(std::nullopt);
    Find<QPushButton>("SBGuardarEvento")->click();
    database::LoadDataFile(dataFile_, saved, silent, w.Workspace().format);
    bool moved = false;
    for (const database::TEvento &e : findRosa(saved).Eventos)
        moved |= e.Nombre == "Viaje a Lima" &&
                 std::abs(e.Fecha - session::Workspace::EnteredValue(w.Workspace().eventRecord)) < 1e-9;
    EXPECT_TRUE(moved);

    notifier_.answers.push_back(true);
    Find<QPushButton>("SBEliminarEvento")->click();
    EXPECT_EQ(label->text(), QString("%1 eventos ").arg(events));
    database::LoadDataFile(dataFile_, saved, silent, w.Workspace().format);
    EXPECT_EQ(findRosa(saved).Eventos.size(), static_cast<std::size_t>(events));
}

TEST_F(WindowFixture, SolarReturnRunsAndStops) {
    TFormMain &w = Open();
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    Find<QRadioButton>("RBEvento")->click();
    Find<QToolButton>("SBRetorno")->click();
    auto *retorno = w.findChild<TFormRetorno *>("FormRetorno");
    ASSERT_NE(retorno, nullptr);
    ASSERT_TRUE(retorno->isVisible());
    retorno->findChild<QSpinBox *>("SEYear")->setValue(2024);

    // Stopped while it runs: the window stays responsive and the instant reached is applied.
    auto *stop = retorno->findChild<QToolButton *>("SBStopCalc");
    bool stopWasEnabled = false;
    QTimer::singleShot(0, retorno, [&] {
        stopWasEnabled = stop->isEnabled();
        stop->click();
    });
    retorno->findChild<QToolButton *>("SBCalcRet")->click();
    EXPECT_TRUE(stopWasEnabled);
    EXPECT_TRUE(retorno->LastResult().stopped);
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_FALSE(retorno->Running());

    // A full run finds the return: the event's Sun is the natal Sun, the difference label blue.
    retorno->findChild<QToolButton *>("SBCalcRet")->click();
    EXPECT_TRUE(retorno->LastResult().converged);
    EXPECT_NEAR(static_cast<double>(w.Workspace().event.bodies[1].longitude),
                static_cast<double>(w.Workspace().natal.bodies[1].longitude), 1e-5);
    EXPECT_EQ(DecodeDateTime(w.Workspace().event.instant).year, 2024);
    EXPECT_TRUE(retorno->findChild<QLabel *>("LabelDifSoles")->styleSheet().contains("blue"));
    retorno->close();
    EXPECT_FALSE(Find<QToolButton>("SBRetorno")->isChecked());
}

TEST_F(WindowFixture, CloseAndReopenKeepsLayoutAndSettings) {
    TFormMain &w = Open();
    Find<QCheckBox>("CBImagenGrande")->click(); // "ImagenR" off
    EXPECT_FALSE(w.Workspace().settings.rueda.imagenR);
    auto *config = Find<QDockWidget>("TWConfig");
    w.addDockWidget(Qt::LeftDockWidgetArea, config);
    Find<QToolButton>("SBVerFiltro")->click(); // hide the filter window
    EXPECT_TRUE(Find<QDockWidget>("TWFiltrarLista")->isHidden());
    Reopen();
    TFormMain &again = *window_;
    EXPECT_FALSE(again.Workspace().settings.rueda.imagenR);
    EXPECT_FALSE(Find<QCheckBox>("CBImagenGrande")->isChecked());
    EXPECT_EQ(again.dockWidgetArea(Find<QDockWidget>("TWConfig")), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(Find<QDockWidget>("TWFiltrarLista")->isHidden());
    EXPECT_FALSE(Find<QToolButton>("SBVerFiltro")->isChecked());
    EXPECT_EQ(again.Workspace().settings.data.file, dataFile_);
    std::ifstream ini(options_.iniPath);
    std::stringstream text;
    text << ini.rdbuf();
    for (const char *section : {"[TBTWDatos]", "[TBTWConfig]", "[TBTWFiltrarLista]", "[TBTWListEvents]"})
        EXPECT_NE(text.str().find(section), std::string::npos) << section;
}

TEST_F(WindowFixture, ClosingWithChangedNatalDataAsksFirst) {
    TFormMain &w = Open();
    Choose(kAna);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    QTest::mouseClick(Find<QToolButton>("SBPasoMas"), Qt::LeftButton);
    ASSERT_TRUE(w.NatalChanged());
    notifier_.answers.push_back(false); // "No": the person stays as it was
    w.close();
    ASSERT_FALSE(notifier_.shown.empty());
    EXPECT_NE(notifier_.LastText().find("Han sido cambiados los datos natales de:"), std::string::npos);
    database::Database saved;
    SilentNotifier silent;
    database::LoadDataFile(dataFile_, saved, silent, TextFormat{});
    EXPECT_DOUBLE_EQ(saved.Persons[static_cast<std::size_t>(database::IndexOfId(saved.Persons, 1))]->Fecha,
                     28563.3993055556);
    EXPECT_TRUE(std::filesystem::exists(options_.iniPath));
}

// The person buttons open the database manager's item editor, which stores and saves the person.
TEST_F(WindowFixture, PersonsAreAddedAndEditedThroughTheItemEditor) {
    TFormMain &w = Open();
    auto fill = [&](auto change) {
        QTimer::singleShot(0, &w, [&w, change] {
            auto *editor = qobject_cast<manager::TFormItem *>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            change(editor);
            editor->findChild<QPushButton *>("BTAcuerdo")->click();
            if (editor->isVisible())
                editor->reject(); // a refused input leaves the test instead of hanging
        });
    };
    fill([](manager::TFormItem *e) {
        e->findChild<QLineEdit *>("EDNombre")->setText("Lucía");
        e->findChild<QLineEdit *>("EDApellidos")->setText("Pérez");
        e->findChild<QRadioButton *>("RBFemenino")->click();
        auto *place = e->findChild<QComboBox *>("CMBLugar");
        place->setCurrentIndex(place->findData(3));
        e->findChild<QCheckBox *>("CBFecha")->setChecked(true);
        e->findChild<QCheckBox *>("CBHora")->setChecked(true);
        e->findChild<manager::DateField *>("DTFecha")->setDate(QDate(1990, 5, 4));
        e->findChild<QTimeEdit *>("TMHora")->setTime(QTime(6, 15));
    });
    Find<QPushButton>("SBNueva")->click();
    EXPECT_EQ(Find<QLabel>("LabelContador")->text(), "11 de 13 ");
    auto *list = PersonList();
    ASSERT_TRUE(list->currentIndex().isValid());
    EXPECT_EQ(CurrentPersonText(), QString::fromUtf8("Lucía Pérez"));
    EXPECT_EQ(w.CurrentPerson(), -1); // highlighted, not loaded

    fill([](manager::TFormItem *e) { e->findChild<QLineEdit *>("EDApellidos")->setText("Pérez Gil"); });
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(list->currentIndex().isValid());
    EXPECT_EQ(CurrentPersonText(), QString::fromUtf8("Lucía Pérez Gil"));
    database::Database saved;
    SilentNotifier silent;
    database::LoadDataFile(dataFile_, saved, silent, w.Workspace().format);
    EXPECT_EQ(saved.Persons.size(), 13u);
    Choose("Lucía Pérez Gil");
    EXPECT_EQ(w.Workspace().natalRecord.placeId, 3);
    EXPECT_EQ(session::TimeFieldsOf(w.Workspace().natalRecord.localDateTime).hour, 6);
}

// A data file another program has open is read-only: a warning at the first activation, and the
// actions that would write it do nothing.
TEST_F(WindowFixture, AFileUsedByAnotherProgramIsReadOnly) {
    database::SharedUseGuard table(guardName_);
    const database::GuardOwner other = database::GuardOwner::Current(4242); // another window
    ASSERT_TRUE(table.Register(other, dataFile_));
    TFormMain &w = Open();
    ASSERT_FALSE(notifier_.shown.empty());
    EXPECT_NE(notifier_.shown.front().text.find("[ejemplo.age]"), std::string::npos)
        << notifier_.shown.front().text;
    auto *list = PersonList();
    SelectPersonRow(0);
    const std::size_t shown = notifier_.shown.size();
    QTest::keyClick(list, Qt::Key_Delete); // no question: the read-only notice again, nothing deleted
    EXPECT_EQ(notifier_.shown.size(), shown + 1);
    EXPECT_EQ(w.Workspace().db.Persons.size(), 12u);
    table.Release(other, dataFile_);
}

// "Tarjaro" hides the window and opens the manager on the same database; closing it shows the window
// again with the file read anew.
TEST_F(WindowFixture, TheManagerOpensOverTheWindowAndReturns) {
    TFormMain &w = Open();
    Choose(kAna);
    Find<QToolButton>("SBTarjaro")->click();
    EXPECT_FALSE(w.isVisible());
    QWidget *manager = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->inherits("cel::manager::TFormMainTarjaro") && top->isVisible())
            manager = top;
    ASSERT_NE(manager, nullptr);
    manager->close();
    QApplication::processEvents();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.CurrentPerson(), -1);
    EXPECT_EQ(Find<QLabel>("LabelContador")->text(), "10 de 12 ");
}

} // namespace
} // namespace cel::workspace::test
