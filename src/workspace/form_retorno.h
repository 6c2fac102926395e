// The solar return window "Retorno Solar" (`TFormRetorno`): searches the instant of a year at which
// the Sun returns to its natal longitude and makes it the event of the workspace. The search runs on
// the window's thread and lets pending events through after every evaluation, so the window stays
// responsive and its stop button works.
#pragma once

#include <QWidget>

#include <functional>

#include "chart/solar_return.h"
#include "session/angle_texts.h"
#include "session/workspace.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace cel::workspace {

class TFormRetorno : public QWidget {
public:
    TFormRetorno(session::Workspace &workspace, int year, QWidget *parent = nullptr);

    // Target and current solar longitude and their difference from the workspace's charts.
    void RefreshLabels();
    // A new opening: the year of the date field, no result kept.
    void Reset(int year);
    void Start();
    void Stop();
    bool Running() const { return running_; }
    const chart::SolarReturnResult &LastResult() const { return result_; }

    // After each application of the instant to the event chart (the main window shows it).
    std::function<void()> onApplied;
    // When the window closes (the main window releases its toggle).
    std::function<void()> onClosed;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    chart::SunKind NatalSun() const;
    chart::SunKind EventSun() const;
    void ShowDifference(chart::Real target, chart::Real current);

    session::Workspace &ws_;
    chart::SolarReturnSearch search_;
    chart::SolarReturnResult result_;
    bool running_ = false;
    bool haveResult_ = false;
    QSpinBox *seYear_ = nullptr;
    QRadioButton *natalApparent_ = nullptr, *natalTrue_ = nullptr, *eventApparent_ = nullptr,
                 *eventTrue_ = nullptr;
    QCheckBox *cbEquTime_ = nullptr;
    QToolButton *sbCalcRet_ = nullptr, *sbStopCalc_ = nullptr;
    QLabel *labelSolNat_ = nullptr, *labelSolEve_ = nullptr, *labelDifSoles_ = nullptr;
};

// The label texts of a solar longitude and of the difference (see session/angle_texts.h).
using session::SunDifferenceText;
using session::SunLabelText;

} // namespace cel::workspace
