// The main window's "Reportes" page: the progressions grid with its highlight marks, the speculum of
// the natal or the event chart, the two summary grids of a chosen chart item, and the distribution
// diagrams of two chart items.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

#include "analysis/text_grid.h"
#include "document/page_content.h"
#include "graphics/cell_painters.h"
#include "session/workspace.h"
#include "workspace/points_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

namespace cel::workspace {

class GridModel;
class PainterDelegate;

// The two diagrams drawn into an off-screen picture and copied to the screen.
class DiagramView : public QWidget {
public:
    explicit DiagramView(QWidget *parent = nullptr);
    void SetPicture(QImage picture);
    const QImage &Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage picture_;
};

class ReportsPage : public QWidget {
public:
    ReportsPage(session::Workspace &workspace, QWidget *parent = nullptr);
    ~ReportsPage() override;

    // Refills the progressions grid (after every recomputation).
    void FillProgressions();
    // Refills the speculum, the summaries and the diagrams (every view refresh).
    void Rebuild();
    // The summaries and diagrams alone (a change of the points).
    void RebuildPoints();

    // The "puntos" button, shown only for "Resumen" and "Diagramas"; the main window opens the dialog.
    QPushButton *PointsButton() const { return sbPuntos_; }
    const analysis::TextGrid &Progressions() const;
    const analysis::TextGrid &Speculum() const;
    const analysis::TextGrid &Summary1() const;
    const analysis::TextGrid &Summary2() const;
    const QImage &DiagramPicture() const;
    TFormPto *PointsDialog() const { return points_; }

    // What the print window lays out for this page: the report shown with its chosen items.
    document::PageKind PrintKind() const;
    void AddPrintChoices(document::PageChoices &choices) const;

private:
    void BuildProgressionsPage(QTabWidget *tabs);
    void BuildSpeculumPage(QTabWidget *tabs);
    void BuildSummaryPage(QTabWidget *tabs);
    void BuildDiagramPage(QTabWidget *tabs);
    void MakeContext();
    void TogglePoints(bool on);
    void FillSpeculum();
    void FillSummaries();
    void DrawDiagrams();
    void PaintProgressionCell(graphics::Canvas &canvas, const QRect &rect, int column, int row,
                              const std::string &text);

    session::Workspace &ws_;
    std::unique_ptr<graphics::CellContext> context_;
    QTabWidget *tabs_ = nullptr;
    QPushButton *sbPuntos_ = nullptr;
    QPointer<TFormPto> points_;

    QLabel *labelProg_ = nullptr;
    std::array<QCheckBox *, 12> cbColumns_{}; // 1..11
    GridModel *progModel_ = nullptr;
    PainterDelegate *progDelegate_ = nullptr;
    QTableView *progView_ = nullptr;
    std::vector<std::vector<int>> progSigns_;
    std::vector<std::vector<bool>> progRetro_;

    QRadioButton *rbFechaNatal_ = nullptr, *rbFechaEvento_ = nullptr;
    GridModel *speculumModel_ = nullptr;
    PainterDelegate *speculumDelegate_ = nullptr;
    QTableView *speculumView_ = nullptr;

    QComboBox *cbSummaryItem_ = nullptr;
    GridModel *summary1Model_ = nullptr, *summary2Model_ = nullptr;
    PainterDelegate *summary1Delegate_ = nullptr, *summary2Delegate_ = nullptr;
    QTableView *summary1View_ = nullptr, *summary2View_ = nullptr;

    QComboBox *cbGraphA_ = nullptr, *cbGraphB_ = nullptr;
    QRadioButton *rbHistograma_ = nullptr, *rbPastel_ = nullptr;
    DiagramView *diagram_ = nullptr;
};

} // namespace cel::workspace
