// The chart program's window as a new user meets it: event questions, help, the event counter.
#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "common/date_time.h"
#include "common/safe_file.h"
#include "support/widgets.h"
#include "workspace/print_window.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

using testsupport::Keep;

constexpr const char *kRosa = "Rosa Elvira Quispe Mamani";

// "hh:nn:ss am/pm" of a date-time, as the questions about an event show it.
std::string ClockText(TDateTime value) {
    const CivilDateTime c = DecodeDateTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %s", c.hour % 12 == 0 ? 12 : c.hour % 12, c.minute,
                  c.second, c.hour < 12 ? "am" : "pm");
    return text;
}

TEST_F(WindowFixture, EventQuestionsShowTheMinutesNotTheMonth) {
    TFormMain &w = Open();
    Choose(kRosa);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    Find<QRadioButton>("RBEvento")->click();
    // An event whose minutes differ from its month, so the two cannot be mistaken.
    const CivilDateTime now = DecodeDateTime(w.Workspace().eventRecord.localDateTime);
    if (now.minute == now.month) {
        testsupport::ChooseText(Find<QComboBox>("CBUnidad"), "min");
        QTest::mouseClick(Find<QToolButton>("SBPasoMas"), Qt::LeftButton);
    }
    notifier_.inputs.push_back(std::string("Boda"));
    Find<QPushButton>("SBNuevoEvento")->click();
    auto *list = Find<QListWidget>("LBEventos");
    ASSERT_GE(list->currentRow(), 0);
    const database::TPersona *rosa = nullptr;
    for (const auto &p : w.Workspace().db.Persons)
        if (p->Nombre + " " + p->Apellidos == kRosa)
            rosa = p.get();
    ASSERT_NE(rosa, nullptr);
    const TDateTime when = rosa->Eventos[static_cast<std::size_t>(list->currentRow())].Fecha;
    const CivilDateTime c = DecodeDateTime(when);
    ASSERT_NE(c.minute, c.month);
    const std::string clock = ClockText(when);

    notifier_.answers.push_back(false); // overwrite? no
    Find<QPushButton>("SBGuardarEvento")->click();
    EXPECT_NE(notifier_.LastText().find(clock), std::string::npos) << notifier_.LastText() << " / " << clock;
    notifier_.answers.push_back(false); // delete? no
    Find<QPushButton>("SBEliminarEvento")->click();
    EXPECT_NE(notifier_.LastText().find(clock), std::string::npos) << notifier_.LastText() << " / " << clock;
    EXPECT_TRUE(notifier_.shown.back().style.noByDefault); // Enter keeps the event
}

TEST_F(WindowFixture, HelpThatCannotBeFoundIsSaid) {
    const std::string missing = (dir_ / "sin-ayuda").string();
    ::setenv("CELESTIGRAFO_HELP_DIR", missing.c_str(), 1);
    Open();
    Find<QToolButton>("SBAyuda")->click();
    ::unsetenv("CELESTIGRAFO_HELP_DIR");
    EXPECT_TRUE(notifier_.Contains("No se encontró la ayuda del programa")) << notifier_.LastText();
    EXPECT_TRUE(notifier_.Contains(missing));
}

TEST_F(WindowFixture, DisplaySettingsThatCannotBeStartedAreSaid) {
    Open();
    QTest::mouseClick(Find<QToolButton>("SBSetUp"), Qt::LeftButton);
    auto *dialog = window_->findChild<QDialog *>("FormSetUpCEL");
    ASSERT_NE(dialog, nullptr);
    auto *button = dialog->findChild<QPushButton *>("SBPantalla");
    ASSERT_NE(button, nullptr);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir_.c_str(), 1); // a system without any display settings program
    button->click();
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_TRUE(notifier_.Contains("No se encontró un programa para configurar la pantalla"))
        << notifier_.LastText();
}

TEST_F(WindowFixture, FilterWindowComesBackAfterClosingOnThePlaceAndDatePage) {
    for (const bool shown : {true, false}) {
        Open();
        if (!shown)
            Find<QToolButton>("SBVerFiltro")->click();   // hidden by the user on the persons page
        Find<QTabWidget>("PCDatos")->setCurrentIndex(1); // the page hides it for now
        EXPECT_TRUE(Find<QDockWidget>("TWFiltrarLista")->isHidden());
        Reopen();
        EXPECT_EQ(Find<QTabWidget>("PCDatos")->currentIndex(), 0);
        EXPECT_EQ(!Find<QDockWidget>("TWFiltrarLista")->isHidden(), shown);
        EXPECT_EQ(Find<QToolButton>("SBVerFiltro")->isChecked(), shown);
        window_->close();
        window_.reset();
    }
}

TEST_F(WindowFixture, PersonsAreListedInSpanishOrder) {
    TFormMain &w = Open();
    auto person = std::make_unique<database::TPersona>();
    person->Id = 900;
    person->Nombre = "Ángela";
    person->Apellidos = "Zúñiga";
    w.Workspace().db.Persons.push_back(std::move(person));
    Find<QPushButton>("SBVerTodas")->click(); // refilter
    ASSERT_GE(PersonRows(), 3);
    const QCollator spanish(QLocale(QLocale::Spanish, QLocale::Spain));
    for (int i = 0; i + 1 < PersonRows(); ++i)
        EXPECT_LE(spanish.compare(PersonText(i), PersonText(i + 1)), 0)
            << PersonText(i).toStdString() << " / " << PersonText(i + 1).toStdString();
    const QModelIndexList angela = PersonList()->model()->match(
        PersonList()->model()->index(0, 0), Qt::DisplayRole, "Ángela Zúñiga", 1, Qt::MatchExactly);
    EXPECT_LT(angela.isEmpty() ? -1 : angela.front().row(), PersonRows() - 1);
}

TEST_F(WindowFixture, ClosingWithChangedNatalDataCanBeCancelled) {
    TFormMain &w = Open();
    Choose(kRosa);
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    QTest::mouseClick(Find<QToolButton>("SBPasoMas"), Qt::LeftButton);
    ASSERT_TRUE(w.NatalChanged());
    notifier_.choices.push_back(Answer::Cancel);
    EXPECT_FALSE(w.close()); // the window stays, with the change
    ASSERT_FALSE(notifier_.shown.empty());
    EXPECT_TRUE(notifier_.shown.back().style.cancel);
    EXPECT_EQ(notifier_.LastText().rfind("Han sido cambiados los datos natales de:", 0), 0u);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.NatalChanged());
    notifier_.choices.push_back(Answer::No);
    EXPECT_TRUE(w.close());
}

// On a 1366x768 screen (about 700 pixels left under the title bar and the desktop's panel) the
// "Configurar" panel shows "Simple" and "Doble" without scrolling.
TEST_F(WindowFixture, SingleAndDoubleWheelAreInReachOnASmallScreen) {
    TFormMain &w = Open();
    w.resize(1366, 700);
    QApplication::processEvents();
    for (const char *name : {"RBSimple", "RBDoble"}) {
        auto *button = Find<QRadioButton>(name);
        EXPECT_TRUE(button->isVisible()) << name;
        EXPECT_EQ(button->visibleRegion().boundingRect().size(), button->size()) << name;
    }
}

// The print preview fits the screen's height, buttons included.
TEST_F(WindowFixture, ThePrintPreviewFitsTheScreen) {
    TFormMain &w = Open();
    const document::PageContent content = w.PrintContent();
    TFormPrint print(notifier_, content, document::LayoutOptions{false, ""}, true, &w);
    const QRect free = w.screen()->availableGeometry();
    ASSERT_LT(free.height(), 760 + 48); // the test screen is too small for the window with its frame
    EXPECT_LE(print.height() + 48, free.height());
    EXPECT_LE(print.width(), free.width());
}

// A long name is cut with "…" (whole in its tooltip) and never pushes the birth date out of sight.
TEST_F(WindowFixture, LongNamesLeaveTheBirthDateInSight) {
    TFormMain &w = Open();
    for (const auto &p : w.Workspace().db.Persons)
        if (p->Nombre + " " + p->Apellidos == kRosa)
            p->Apellidos =
                "Quispe Mamani de la Santísima Trinidad y Todos los Santos del Valle Sagrado de los "
                "Incas, Cusco, Perú, segunda de su nombre";
    Find<QPushButton>("SBVerTodas")->click();
    auto *list = PersonList();
    for (int i = 0; i < PersonRows(); ++i)
        if (PersonText(i).startsWith("Rosa Elvira"))
            SelectPersonRow(i);
    QTest::keyClick(list, Qt::Key_Return);
    QApplication::processEvents();
    auto *name = Find<QLabel>("LabelNatal");
    auto *date = Find<QLabel>("LabelNatalFecha");
    ASSERT_TRUE(name->text().startsWith("Rosa Elvira"));
    EXPECT_GE(date->width(), date->sizeHint().width()); // the date is whole
    EXPECT_LE(date->geometry().right(), date->parentWidget()->width());
    name->grab(); // paints: the cut text gets the whole one as its tooltip
    EXPECT_EQ(name->toolTip(), name->text());
    Keep(w.grab().toImage(), "nombre-largo.png");
}

// In a small window the side panels give way before the wheel: it stays large enough to read.
TEST_F(WindowFixture, TheWheelStaysReadableInASmallWindow) {
    TFormMain &w = Open();
    Choose(kRosa);
    for (const QSize size : {QSize(1024, 600), QSize(900, 560), QSize(1366, 768)}) {
        w.resize(size);
        QApplication::processEvents();
        const QWidget *wheel = Find<QWidget>("PaintBox");
        EXPECT_LE(w.width(), size.width()); // the window fits the screen
        EXPECT_GE(std::min(wheel->width(), wheel->height()), 380) << size.width() << "x" << size.height();
        Keep(w.grab().toImage(), QString("pequena-%1.png").arg(size.width()).toUtf8().constData());
    }
}

// Deleting a person is asked with "No" as the default; answering "No" keeps the person and the file.
TEST_F(WindowFixture, DeletingAPersonDefaultsToNo) {
    Open();
    const std::string before = ReadWholeFile(dataFile_);
    SelectPersonRow(0);
    const int count = PersonRows();
    notifier_.answers.push_back(false);
    Find<QPushButton>("SBEliminar")->click();
    ASSERT_FALSE(notifier_.shown.empty());
    EXPECT_EQ(notifier_.LastText().rfind("Desea borrar de la lista a:", 0), 0u);
    EXPECT_TRUE(notifier_.shown.back().style.noByDefault);
    EXPECT_EQ(PersonRows(), count);
    EXPECT_EQ(ReadWholeFile(dataFile_), before);
}

// The print preview is drawn at the screen's pixel density (sharp with QT_SCALE_FACTOR=2).
TEST_F(WindowFixture, ThePrintPreviewIsDrawnAtTheScreensDensity) {
    TFormMain &w = Open();
    TFormPrint print(notifier_, w.PrintContent(), document::LayoutOptions{false, ""}, true, &w);
    print.show();
    QApplication::processEvents();
    auto *preview = print.findChild<QLabel *>("LPreview");
    ASSERT_NE(preview, nullptr);
    const QPixmap picture = preview->pixmap();
    EXPECT_DOUBLE_EQ(picture.devicePixelRatio(), std::max<qreal>(1.0, print.devicePixelRatioF()));
    EXPECT_NEAR(picture.width(), preview->width() * picture.devicePixelRatio(), 2.0);
}

TEST_F(WindowFixture, OneEventIsCountedInTheSingular) {
    TFormMain &w = Open();
    Choose(kRosa);
    auto *label = Find<QLabel>("LabelEventos");
    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    Find<QRadioButton>("RBEvento")->click();
    auto *list = Find<QListWidget>("LBEventos");
    while (list->count() > 1) { // down to one event
        list->setCurrentRow(0);
        notifier_.answers.push_back(true);
        Find<QPushButton>("SBEliminarEvento")->click();
    }
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(label->text(), "1 evento ");
    (void)w;
}

} // namespace
} // namespace cel::workspace::test
