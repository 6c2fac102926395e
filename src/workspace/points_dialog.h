// The points dialog "Puntos Items": the weight and the inclusion of every body and house, the
// inclusion and weight presets and the points total. Every change is stored in the settings at once
// and reported, so that the summaries and diagrams are redrawn.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "analysis/points.h"
#include "common/chart_numbering.h"
#include "common/text_format.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;

namespace cel::workspace {

class TFormPto : public QDialog {
public:
    TFormPto(analysis::PointsSettings &points, TextFormat format, std::function<void()> changed,
             QWidget *parent = nullptr);

    // "Total Ptos: " and the total with two decimals.
    QString TotalText() const;

private:
    void Load();
    void Store();
    void Recompute();

    analysis::PointsSettings &points_;
    TextFormat format_;
    std::function<void()> changed_;
    bool loading_ = false;
    std::array<QCheckBox *, kListSize> cbBodies_{}, cbHouses_{};
    std::array<QDoubleSpinBox *, kListSize> seBodies_{}, seHouses_{};
    QLabel *labelTotal_ = nullptr;
};

} // namespace cel::workspace
