// The main window's "Tabla de aspectos" page: the aspect table as a grid of painted cells with the
// detail grid of the selected cell beside it, or the aspect list ("Listado") or the natal list
// ("Natal") filling the page; the table's options and the detail options above them.
#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

#include "analysis/text_grid.h"
#include "document/page_content.h"
#include "graphics/cell_painters.h"
#include "session/workspace.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QTableView;
class QWidget;

namespace cel::workspace {

class GridModel;
class PainterDelegate;

class AspectTablePage : public QWidget {
public:
    // `refreshView` runs the main window's view refresh (for choices kept in the view record).
    AspectTablePage(session::Workspace &workspace, std::function<void()> refreshView,
                    QWidget *parent = nullptr);
    ~AspectTablePage() override;

    enum TableType { kTabla = 1, kListado = 2, kNatal = 3 };

    // Rebuilds the page's grids from the current lists and view record (every view refresh).
    void Rebuild();
    int AspectCount() const { return count_; }
    const analysis::TextGrid &Table() const;
    const analysis::TextGrid &Detail() const;

    // Selecting a cell of the aspect table, as a click does: marks its row and column items and
    // fills the detail grid.
    void SelectCell(int column, int row);

    // What the print window lays out for this page: "Tabla", "Listado" or "Natal" with their choices.
    document::PageKind PrintKind() const;
    void AddPrintChoices(document::PageChoices &choices) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void BuildControls();
    void MakeContext();
    void Layout();
    void HeaderClicked(int column, int row);
    void PaintTableCell(graphics::Canvas &canvas, const QRect &rect, int column, int row,
                        const std::string &text);
    void PaintDetailCell(graphics::Canvas &canvas, const QRect &rect, const std::string &text);
    int ListColumns() const;

    session::Workspace &ws_;
    std::function<void()> refreshView_;
    std::unique_ptr<graphics::CellContext> context_;
    graphics::DetailOptions detailOptions_;
    graphics::PanelLayout panel_;
    bool building_ = false;
    int type_ = kTabla;
    int selRow_ = 1, selColumn_ = 1;
    bool selected_ = false; // the user has selected a cell (its headings are drawn highlighted)
    int count_ = 0;

    GridModel *tableModel_ = nullptr, *detailModel_ = nullptr;
    PainterDelegate *tableDelegate_ = nullptr, *detailDelegate_ = nullptr;
    QTableView *table_ = nullptr, *detail_ = nullptr;
    QLabel *labelAsp_ = nullptr;
    QRadioButton *rbTabla_ = nullptr, *rbListado_ = nullptr, *rbNatal_ = nullptr;
    QCheckBox *cbPercent_ = nullptr, *cbPos_ = nullptr;
    std::array<QRadioButton *, 3> rbReference_{}; // "eclip.", "asc.", "prog."
    QWidget *natalChoices_ = nullptr;
    QRadioButton *rbREcl_ = nullptr, *rbRAsc_ = nullptr;
    QCheckBox *cbAmbos_ = nullptr;
    std::array<QCheckBox *, 7> cbDetail_{}; // "Signo", "Reg.", "Ocup.", "Dig.", "Ang.", "Fuerza", "Orbe"
    QCheckBox *cbPeq_ = nullptr;
};

} // namespace cel::workspace
