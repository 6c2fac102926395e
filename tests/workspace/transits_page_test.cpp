// The "Tránsitos" window in the main window: the list fills from its search thread, stops on "Detener",
// and a double-clicked row becomes the event shown on the wheel.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/date_time.h"
#include "support/widgets.h"
#include "timing/ephemeris.h"
#include "workspace/transits_page.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

using testsupport::Keep;

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";

// A time as the list writes it, "may 23 1992, 05:06 pm" with " UTC-4" in a zone's time: its minutes
// from 1899-12-30 and the offset's minutes; nothing when it does not read so.
struct ListedTime {
    std::int64_t minutes = 0;
    std::optional<int> offsetMinutes;
};
std::optional<ListedTime> ReadListedTime(const std::string &text) {
    static const std::vector<std::string> months = {"ene", "feb", "mar", "abr", "may", "jun",
                                                    "jul", "ago", "sep", "oct", "nov", "dic"};
    char month[4] = {}, half[3] = {}, sign = 0;
    int day = 0, year = 0, hour = 0, minute = 0, consumed = 0;
    if (std::sscanf(text.c_str(), "%3s %2d %4d, %2d:%2d %2s%n", month, &day, &year, &hour, &minute, half,
                    &consumed) != 6)
        return std::nullopt;
    const auto m = std::find(months.begin(), months.end(), month);
    if (m == months.end() || hour < 1 || hour > 12 ||
        (std::string(half) != "am" && std::string(half) != "pm"))
        return std::nullopt;
    ListedTime t;
    const int hour24 = hour % 12 + (std::string(half) == "pm" ? 12 : 0);
    t.minutes =
        DaysFromCivil(year, static_cast<int>(m - months.begin()) + 1, day) * 1440 + hour24 * 60 + minute;
    const std::string rest = text.substr(static_cast<std::size_t>(consumed));
    int offsetHours = 0, offsetMinutes = 0;
    if (rest.empty())
        return t;
    const int read = std::sscanf(rest.c_str(), " UTC%c%d:%d", &sign, &offsetHours, &offsetMinutes);
    if (read < 2 || (sign != '+' && sign != '-'))
        return std::nullopt;
    t.offsetMinutes = (sign == '-' ? -1 : 1) * (offsetHours * 60 + (read == 3 ? offsetMinutes : 0));
    return t;
}

class TransitsWindow : public WindowFixture {
protected:
    TransitsPage &OpenTransits() {
        TFormMain &w = Open();
        w.MakeReady();
        Choose(kAna);
        Find<QToolButton>("SBTransitos")->click();
        EXPECT_TRUE(Find<QDockWidget>("TWTransitos")->isVisible());
        return *Find<TransitsPage>("TransitsPage");
    }

public:
    // Only the checked transiting bodies, aspects and kinds given.
    void Choose(const std::vector<int> &bodies, const std::vector<int> &aspects, bool ingresses,
                bool stations) {
        for (int n = 1; n <= 11; ++n)
            Find<QCheckBox>(QStringLiteral("CBMovil%1").arg(n).toUtf8())
                ->setChecked(std::find(bodies.begin(), bodies.end(), n) != bodies.end());
        for (int k = 1; k <= 13; ++k)
            Find<QCheckBox>(QStringLiteral("CBAspecto%1").arg(k).toUtf8())
                ->setChecked(std::find(aspects.begin(), aspects.end(), k) != aspects.end());
        Find<QCheckBox>("CBIngresos")->setChecked(ingresses);
        Find<QCheckBox>("CBEstaciones")->setChecked(stations);
    }
    using WindowFixture::Choose;
    void Period(QDate from, QDate to) {
        Find<QDateEdit>("DEDesde")->setDate(from);
        Find<QDateEdit>("DEHasta")->setDate(to);
    }
};

TEST_F(TransitsWindow, DoubleClickingARowMakesItsExactInstantTheEventOnTheWheel) {
    TransitsPage &page = OpenTransits();
    Choose({7}, {1, 7, 13}, false, false); // Saturn's conjunctions, squares and oppositions
    Period(QDate(2024, 1, 1), QDate(2026, 12, 31));
    bool finished = false, stopped = true;
    page.onFinished = [&](bool s) { finished = true, stopped = s; };
    Find<QToolButton>("SBCalcular")->click();
    QTRY_VERIFY_WITH_TIMEOUT(finished, 60000);
    EXPECT_FALSE(stopped);
    EXPECT_EQ(Find<QProgressBar>("PBTransitos")->value(), 1000);
    auto *list = Find<QTableView>("TVTransitos");
    ASSERT_GT(list->model()->rowCount(), 0);
    EXPECT_EQ(Find<QLabel>("LabelSucesos")->text(),
              QStringLiteral("%1 sucesos").arg(list->model()->rowCount()));

    // The rows come sorted by their exact time.
    for (int r = 1; r < list->model()->rowCount(); ++r)
        EXPECT_LE(list->model()->index(r - 1, 4).data(TransitsModel::kSortRole).toDouble(),
                  list->model()->index(r, 4).data(TransitsModel::kSortRole).toDouble());

    // The list and the timeline beside it, in the window's size at 1366 x 768 and docked below the wheel.
    auto *dock = Find<QDockWidget>("TWTransitos");
    dock->resize(1120, 600);
    QApplication::processEvents();
    QTRY_COMPARE(static_cast<int>(page.Timeline()->Rows().size()), list->model()->rowCount());
    const QImage picture = page.grab().toImage();
    EXPECT_GT(picture.width(), 900);
    Keep(picture, "transitos.png");
    dock->setFloating(false);
    QApplication::processEvents();
    Keep(window_->grab().toImage(), "transitos_docked_1366.png");
    ASSERT_TRUE(list->isVisible());

    const int row = list->model()->rowCount() / 2;
    const QModelIndex cell = list->model()->index(row, 4);
    const timing::TimingEvent event =
        page.Model().Events()[static_cast<std::size_t>(cell.data(TransitsModel::kEventRole).toInt())];
    list->scrollTo(cell);
    const QRect rect = list->visualRect(cell);
    // A view takes a double click only on the cell its press went to, as a user's second click does.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());

    // The event chart is at the row's exact instant (to the second), where Saturn makes the aspect exactly.
    const session::Workspace &ws = window_->Workspace();
    const timing::Real shown = timing::ContinuousFromDateTime(ws.eventRecord.gmtDateTime);
    EXPECT_NEAR(static_cast<double>(shown), static_cast<double>(event.Time()), 1.0 / 86400);
    const timing::Real natal = timing::NatalLongitude(ws.natal, event.point);
    const timing::Real separation = std::fabs(timing::Wrap180(ws.event.bodies[7].longitude - natal));
    EXPECT_NEAR(static_cast<double>(separation), (event.aspect - 1) * 15.0, 0.0015) << "Saturn within 5\"";
    // The wheel shows the transits around the natal chart.
    EXPECT_TRUE(Find<QRadioButton>("RBDoble")->isChecked());
    EXPECT_EQ(ws.choices.outerItem, 3);
    EXPECT_EQ(ws.choices.innerItem, 1);
}

TEST_F(TransitsWindow, TheListFillsProgressivelyFiltersAndStops) {
    TransitsPage &page = OpenTransits();
    Choose({1, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {1, 3, 4, 5, 7, 9, 11, 13}, true, true);
    Period(QDate(1950, 1, 1), QDate(2099, 12, 31));
    std::vector<double> shares;
    bool finished = false, stopped = false;
    page.onProgress = [&](double share) { shares.push_back(share); };
    page.onFinished = [&](bool s) { finished = true, stopped = s; };
    auto *list = Find<QTableView>("TVTransitos");
    Find<QToolButton>("SBCalcular")->click();
    EXPECT_TRUE(Find<QToolButton>("SBDetener")->isEnabled());
    // Rows arrive while the search runs, the progress bar moves, and "Detener" ends it early.
    QTRY_VERIFY_WITH_TIMEOUT(list->model()->rowCount() > 0 && shares.size() >= 3, 60000);
    EXPECT_TRUE(page.Running());
    EXPECT_GT(Find<QProgressBar>("PBTransitos")->value(), 0);
    Find<QToolButton>("SBDetener")->click();
    QTRY_VERIFY_WITH_TIMEOUT(finished, 60000);
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(page.Running());
    EXPECT_LT(shares.back(), 0.5);
    EXPECT_LT(Find<QProgressBar>("PBTransitos")->value(), 500);
    EXPECT_TRUE(Find<QLabel>("LabelSucesos")->text().endsWith("(detenido)"));
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));

    // The filter keeps the rows holding its text; the timeline shows the rows listed.
    const int all = list->model()->rowCount();
    QTest::keyClicks(Find<QLineEdit>("LEFiltro"), "estaci");
    ASSERT_GT(list->model()->rowCount(), 0);
    EXPECT_LT(list->model()->rowCount(), all);
    for (int r = 0; r < list->model()->rowCount(); ++r)
        EXPECT_TRUE(list->model()->index(r, 2).data().toString().startsWith("estación"));
    QTRY_COMPARE(static_cast<int>(page.Timeline()->Rows().size()), list->model()->rowCount());

    // The CSV holds the rows shown.
    const std::string csv = (dir_ / "transitos.csv").string();
    ASSERT_TRUE(page.ExportCsv(csv));
    std::ifstream in(csv);
    std::stringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    EXPECT_EQ(content.rfind("fuente,cuerpo,suceso,entra,exacto,sale\n", 0), 0u);
    EXPECT_EQ(static_cast<int>(std::count(content.begin(), content.end(), '\n')),
              list->model()->rowCount() + 1);
}

TEST_F(TransitsWindow, ImpossibleChoicesAreRefusedWithANotice) {
    const struct {
        const char *what;
        std::function<void(TransitsWindow &)> set;
        const char *notice;
    } cases[] = {
        {"period backwards", [](TransitsWindow &t) { t.Period(QDate(2025, 1, 1), QDate(2024, 1, 1)); },
         "La fecha «Hasta» es anterior a la fecha «Desde»."},
        {"period too long", [](TransitsWindow &t) { t.Period(QDate(1800, 1, 1), QDate(2100, 1, 1)); },
         "El periodo no puede pasar de 200 años."},
        {"no transiting body", [](TransitsWindow &t) { t.Choose({}, {1}, true, true); },
         "Elija al menos un cuerpo en tránsito."},
        {"no aspect", [](TransitsWindow &t) { t.Choose({7}, {}, false, false); },
         "Elija al menos un punto natal y un aspecto."},
    };
    TransitsPage &page = OpenTransits();
    for (const auto &c : cases) {
        Period(QDate(2025, 1, 1), QDate(2025, 12, 31));
        Choose({7}, {1}, true, true);
        c.set(*this);
        notifier_.Clear();
        Find<QToolButton>("SBCalcular")->click();
        EXPECT_EQ(notifier_.LastText(), c.notice) << c.what;
        EXPECT_FALSE(page.Running()) << c.what;
        EXPECT_EQ(page.Model().rowCount(), 0) << c.what;
    }
}

TEST_F(TransitsWindow, TimesReadInTheChosenPlacesZoneWithTheOffsetInForceAtEachInstant) {
    TransitsPage &page = OpenTransits();
    // Colombia kept daylight time from 1992-05-02 05:00 to 1993-02-07 04:00 GMT (UTC-4), else UTC-5.
    Choose({1, 3, 4, 5}, {1, 7, 13}, true, true);
    Period(QDate(1992, 1, 1), QDate(1993, 12, 31));
    auto *hours = Find<QComboBox>("CBHora");
    ASSERT_EQ(hours->count(), 3);
    EXPECT_EQ(hours->itemText(0), "GMT");
    EXPECT_EQ(hours->itemText(1), "Lugar natal: America/Bogota");
    EXPECT_TRUE(hours->itemText(2).startsWith("Lugar del evento")) << hours->itemText(2).toStdString();
    bool finished = false;
    page.onFinished = [&](bool) { finished = true; };
    Find<QToolButton>("SBCalcular")->click();
    QTRY_VERIFY_WITH_TIMEOUT(finished, 60000);
    auto *list = Find<QTableView>("TVTransitos");
    const int rows = list->model()->rowCount();
    ASSERT_GT(rows, 20);
    const auto texts = [&](int column) {
        std::vector<std::string> out;
        for (int r = 0; r < rows; ++r)
            out.push_back(list->model()->index(r, column).data().toString().toStdString());
        return out;
    };
    const std::vector<std::string> gmtEnter = texts(3), gmtExact = texts(4);

    testsupport::ChooseText(hours, "Lugar natal: America/Bogota");
    const std::vector<std::string> localEnter = texts(3), localExact = texts(4);
    const std::int64_t daylightFrom = DaysFromCivil(1992, 5, 2) * 1440 + 5 * 60;
    const std::int64_t daylightTo = DaysFromCivil(1993, 2, 7) * 1440 + 4 * 60;
    int daylight = 0, standard = 0;
    for (int r = 0; r < rows; ++r) {
        const std::string what = list->model()->index(r, 2).data().toString().toStdString();
        const std::vector<std::pair<std::string, std::string>> pairs = {
            {gmtExact[static_cast<std::size_t>(r)].substr(0, gmtExact[static_cast<std::size_t>(r)].find(';')),
             localExact[static_cast<std::size_t>(r)].substr(
                 0, localExact[static_cast<std::size_t>(r)].find(';'))},
            {gmtEnter[static_cast<std::size_t>(r)], localEnter[static_cast<std::size_t>(r)]}};
        for (const auto &[gmtText, localText] : pairs) {
            if (gmtText.empty())
                continue;
            const std::optional<ListedTime> gmt = ReadListedTime(gmtText), local = ReadListedTime(localText);
            ASSERT_TRUE(gmt && local) << what << ": " << gmtText << " / " << localText;
            EXPECT_FALSE(gmt->offsetMinutes) << gmtText;
            ASSERT_TRUE(local->offsetMinutes) << localText;
            const bool summer = gmt->minutes >= daylightFrom && gmt->minutes < daylightTo;
            (summer ? daylight : standard)++;
            EXPECT_EQ(*local->offsetMinutes, summer ? -240 : -300) << what << ": " << gmtText;
            EXPECT_EQ(local->minutes - gmt->minutes, *local->offsetMinutes) << what << ": " << localText;
        }
    }
    EXPECT_GT(daylight, 5);
    EXPECT_GT(standard, 5);

    // The printed list and the CSV take the same times.
    const document::PageContent content = page.PrintContent();
    EXPECT_NE(content.view.listingTitle.find("hora civil de America/Bogota (lugar natal)"), std::string::npos)
        << content.view.listingTitle;
    bool printedLocal = false;
    for (const std::vector<std::string> &cells : content.listing.cells)
        for (const std::string &cell : cells)
            printedLocal = printedLocal || cell == localEnter.front();
    EXPECT_TRUE(printedLocal) << localEnter.front();
    int printedWidth = 0;
    for (int w : content.listing.columnWidths)
        printedWidth += w;
    EXPECT_LE(printedWidth, 960) << "the list fits across a landscape page";
    const std::string csv = (dir_ / "bogota.csv").string();
    ASSERT_TRUE(page.ExportCsv(csv));
    std::ifstream in(csv);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("-04:00"), std::string::npos);
    EXPECT_NE(text.str().find("-05:00"), std::string::npos);

    // Back to Greenwich time: the texts are the first ones again.
    testsupport::ChooseText(hours, "GMT");
    EXPECT_EQ(texts(4), gmtExact);
}

TEST_F(TransitsWindow, EveryExactTimeOfARetrogradePassAndEveryTimelineLabelHasRoom) {
    TransitsPage &page = OpenTransits();
    Choose({7}, {1, 7, 13}, false, false); // Saturn's triple squares of 2024 to 2026
    Period(QDate(2024, 1, 1), QDate(2026, 12, 31));
    bool finished = false;
    page.onFinished = [&](bool) { finished = true; };
    Find<QToolButton>("SBCalcular")->click();
    QTRY_VERIFY_WITH_TIMEOUT(finished, 60000);
    auto *list = Find<QTableView>("TVTransitos");
    const QFontMetrics metrics = list->fontMetrics();
    int triple = 0;
    for (int r = 0; r < list->model()->rowCount(); ++r) {
        const QModelIndex exact = list->model()->index(r, 4);
        const QString text = exact.data().toString();
        const int times = static_cast<int>(text.count(';')) + 1;
        const std::size_t held =
            page.Model()
                .Events()[static_cast<std::size_t>(exact.data(TransitsModel::kEventRole).toInt())]
                .exact.size();
        EXPECT_EQ(static_cast<std::size_t>(times), held) << text.toStdString();
        // The whole text fits its column, and the tooltip names each time.
        EXPECT_LE(metrics.horizontalAdvance(text), list->columnWidth(4)) << text.toStdString();
        if (times == 3) {
            ++triple;
            const QString tip = exact.data(Qt::ToolTipRole).toString();
            EXPECT_TRUE(tip.startsWith("3 pasos exactos")) << tip.toStdString();
            for (const QString &time : text.split("; "))
                EXPECT_TRUE(tip.contains(time)) << time.toStdString();
        }
    }
    EXPECT_GE(triple, 1);
    // Every timeline label fits the label column.
    QApplication::processEvents();
    QTRY_COMPARE(static_cast<int>(page.Timeline()->Rows().size()), list->model()->rowCount());
    const graphics::TimelineLayout layout = page.Timeline()->Layout();
    const QFontMetrics labels(graphics::TimelineFont(page.Timeline()->font(), layout.rowHeight));
    for (const graphics::TimelineRow &row : page.Timeline()->Rows())
        EXPECT_LE(labels.horizontalAdvance(row.label), layout.labelWidth - 6) << row.label.toStdString();
}

// The zones offered follow the chart program: another person chosen while the window is open brings
// the new birth place's zone.
TEST_F(TransitsWindow, TheZonesOfferedFollowThePersonChosen) {
    OpenTransits();
    auto *hours = Find<QComboBox>("CBHora");
    EXPECT_EQ(hours->itemText(1), "Lugar natal: America/Bogota");
    WindowFixture::Choose("Rosa Elvira Quispe Mamani");
    EXPECT_TRUE(hours->itemText(1).startsWith("Lugar natal: America/")) << hours->itemText(1).toStdString();
    EXPECT_NE(hours->itemText(1), "Lugar natal: America/Bogota");
}

} // namespace
} // namespace cel::workspace::test
