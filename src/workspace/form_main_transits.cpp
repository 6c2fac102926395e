// The main window's "Tránsitos" tool window: the listing of transits, progressions and directions, whose
// chosen row becomes the event of the workspace and shows on the wheel.
#include <QComboBox>

#include <QDockWidget>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "workspace/form_main.h"
#include "workspace/transits_page.h"

namespace cel::workspace {

namespace {

// The chart item that shows a listing row's moving positions.
int ItemOf(timing::Source source) {
    switch (source) {
    case timing::Source::Secondary:
        return 7; // "Dir Secundaria"
    case timing::Source::SolarArc:
        return 8; // "Arco Solar"
    case timing::Source::PrimaryDirect:
        return 5; // "DP Directa"
    case timing::Source::PrimaryConverse:
        return 6; // "DP Conversa"
    default:
        return 3; // "Trán. Eclíptico"
    }
}

} // namespace

void TFormMain::BuildTransitsWindow() {
    transits_ = new TransitsPage(notifier_, ws_);
    twTransitos_ = new QDockWidget("Tránsitos", this);
    twTransitos_->setObjectName("TWTransitos");
    twTransitos_->setWidget(transits_);
    twTransitos_->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    addDockWidget(Qt::BottomDockWidgetArea, twTransitos_);
    twTransitos_->hide();
    transits_->onChooseInstant = [this](timing::Real days, timing::Source source) {
        ShowTransitInstant(days, static_cast<int>(source));
    };

    auto *toggle = new QToolButton;
    toggle->setObjectName("SBTransitos");
    toggle->setText("Tránsitos");
    toggle->setToolTip("Tránsitos, progresiones y direcciones con sus fechas exactas");
    toggle->setCheckable(true);
    if (auto *bar = findChild<QToolBar *>("ToolBarMain")) {
        QAction *before = nullptr;
        for (QAction *action : bar->actions())
            if (QWidget *w = bar->widgetForAction(action); w && w->objectName() == "SBImprimir")
                before = action;
        before ? bar->insertWidget(before, toggle) : bar->addWidget(toggle);
    }
    // The first time it opens it floats over the lower part of the window, as wide as there is room.
    connect(toggle, &QToolButton::toggled, this, [this](bool on) {
        if (on && !twTransitos_->property("placed").toBool()) {
            twTransitos_->setProperty("placed", true);
            twTransitos_->setFloating(true);
            const QRect room = screen() ? screen()->availableGeometry() : QRect(0, 0, 1366, 768);
            const QSize size(std::min(1120, room.width() - 40), std::min(600, room.height() - 80));
            twTransitos_->resize(size);
            twTransitos_->move(room.right() - size.width() - 10, room.bottom() - size.height() - 10);
            transits_->TakeSelection();
        }
        twTransitos_->setVisible(on);
    });
    // Closing the window releases the button. The dock also says so while the main window is being
    // destroyed, so the handler touches only the dock and the button, never the main window.
    QDockWidget *dock = twTransitos_;
    connect(dock, &QDockWidget::visibilityChanged, toggle,
            [dock, toggle](bool) { toggle->setChecked(!dock->isHidden()); });
}

void TFormMain::ShowTransitInstant(double days, int source) {
    // The event's own way of entering time: Greenwich time, or the civil time of its place.
    chart::TDato &record = ws_.eventRecord;
    const double zone = static_cast<double>(ws_.PlaceFor(record.placeId).zone);
    const double shown = record.gmtFlag == 1 ? days : days + zone / 24;
    ws_.ComputeChart(session::ChartSide::Event, timing::DateTimeFromContinuous(shown));
    if (Side() == session::ChartSide::Event)
        LoadRecordIntoFields(record);

    // The wheel shows the row's chart item: when neither ring shows it, natal inside and the item outside.
    const int item = ItemOf(static_cast<timing::Source>(source));
    const bool doubleWheel = rbDoble_->isChecked();
    const int inner = cbInt_->currentIndex() + 1, outer = cbExt_->currentIndex() + 1;
    if (inner != item && !(doubleWheel && outer == item)) {
        rbDoble_->setChecked(true);
        cbInt_->setCurrentIndex(chart::kNatalEcliptic - 1);
        cbExt_->setCurrentIndex(item - 1);
    }
    RecomputeAll();
    if (auto *wheelButton = findChild<QPushButton *>("SBRueda"))
        wheelButton->click();
}

} // namespace cel::workspace
