// The main window's "Tránsitos" tool window: the listing of transits, progressions and directions, whose
// chosen row becomes the event of the workspace and shows on the wheel.
#include <QDockWidget>
#include <QGuiApplication>
#include <QPushButton>
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
    transits_ = new TransitsPage(notifier_, session_.ws);
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
    session_.ShowEventAt(timing::DateTimeFromContinuous(days), ItemOf(static_cast<timing::Source>(source)));
    if (auto *wheelButton = findChild<QPushButton *>("SBRueda"))
        wheelButton->click();
}

} // namespace cel::workspace
