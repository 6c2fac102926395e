#include "document/grid.h"

namespace cel::document {

const std::string &Grid::Cell(int column, int row) const {
    static const std::string empty;
    if (row < 0 || row >= RowCount())
        return empty;
    const auto &cellsOfRow = cells[static_cast<std::size_t>(row)];
    if (column < 0 || column >= static_cast<int>(cellsOfRow.size()))
        return empty;
    return cellsOfRow[static_cast<std::size_t>(column)];
}

} // namespace cel::document
