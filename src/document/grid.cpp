#include "document/grid.h"

namespace cel::document {

namespace {

template <typename T> T At(const std::vector<std::vector<T>> &table, int row, int column, T fallback) {
    if (row < 0 || row >= static_cast<int>(table.size()))
        return fallback;
    const auto &line = table[static_cast<std::size_t>(row)];
    if (column < 0 || column >= static_cast<int>(line.size()))
        return fallback;
    return line[static_cast<std::size_t>(column)];
}

} // namespace

const std::string &Grid::Cell(int column, int row) const {
    static const std::string empty;
    if (row < 0 || row >= RowCount())
        return empty;
    const auto &cellsOfRow = cells[static_cast<std::size_t>(row)];
    if (column < 0 || column >= static_cast<int>(cellsOfRow.size()))
        return empty;
    return cellsOfRow[static_cast<std::size_t>(column)];
}

int ProgGridMarks::SignAt(int row, int column) const {
    return At(sign, row, column, 0);
}

bool ProgGridMarks::RetroAt(int row, int column) const {
    return At(retro, row, column, false);
}

} // namespace cel::document
