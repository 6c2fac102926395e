#include "analysis/text_grid.h"

#include <algorithm>
#include <utility>

namespace cel::analysis {

void TextGrid::SetSize(int rows, int columns) {
    rows = std::max(rows, 0);
    columns = std::max(columns, 0);
    if (rows == rows_ && columns == columns_)
        return;
    std::vector<std::string> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    const int keepRows = std::min(rows, rows_);
    const int keepColumns = std::min(columns, columns_);
    for (int r = 0; r < keepRows; ++r)
        for (int c = 0; c < keepColumns; ++c)
            cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) +
                  static_cast<std::size_t>(c)] = std::move(cells_[Index(r, c)]);
    cells_ = std::move(cells);
    rows_ = rows;
    columns_ = columns;
}

const std::string &TextGrid::Text(int row, int column) const {
    static const std::string empty;
    if (row < 0 || column < 0 || row >= rows_ || column >= columns_)
        return empty;
    return cells_[Index(row, column)];
}

void TextGrid::Set(int row, int column, std::string text) {
    if (row < 0 || column < 0)
        return;
    if (row >= rows_ || column >= columns_)
        SetSize(std::max(rows_, row + 1), std::max(columns_, column + 1));
    cells_[Index(row, column)] = std::move(text);
}

void TextGrid::Clear() {
    for (std::string &cell : cells_)
        cell.clear();
}

void TextGrid::ClearRow(int row) {
    if (row < 0 || row >= rows_)
        return;
    for (int c = 0; c < columns_; ++c)
        cells_[Index(row, c)].clear();
}

std::vector<std::vector<std::string>> TextGrid::Rows() const {
    std::vector<std::vector<std::string>> rows(static_cast<std::size_t>(rows_));
    for (int r = 0; r < rows_; ++r)
        rows[static_cast<std::size_t>(r)].assign(cells_.begin() + static_cast<std::ptrdiff_t>(Index(r, 0)),
                                                 cells_.begin() + static_cast<std::ptrdiff_t>(Index(r, 0)) +
                                                     columns_);
    return rows;
}

} // namespace cel::analysis
