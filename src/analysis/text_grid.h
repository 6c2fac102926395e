// A grid of text cells (rows x columns of strings): what the table builders fill and what the windows,
// the print layout and the RTF writer read.
#pragma once

#include <string>
#include <vector>

namespace cel::analysis {

class TextGrid {
public:
    TextGrid() = default;
    TextGrid(int rows, int columns) { SetSize(rows, columns); }

    int RowCount() const { return rows_; }
    int ColumnCount() const { return columns_; }

    // Changes the size; cells inside both the old and the new size keep their text, new cells are
    // empty.
    void SetSize(int rows, int columns);
    void SetRowCount(int rows) { SetSize(rows, columns_); }

    // Cell access; the position must lie inside the grid.
    std::string &At(int row, int column) { return cells_[Index(row, column)]; }
    const std::string &At(int row, int column) const { return cells_[Index(row, column)]; }
    // The text of a cell, or an empty text outside the grid.
    const std::string &Text(int row, int column) const;
    // Writes a cell, growing the grid when the position lies below or right of it.
    void Set(int row, int column, std::string text);

    // Empties every cell; the size stays.
    void Clear();
    // Empties one row.
    void ClearRow(int row);

    // Rows of cells, for printing and tests.
    std::vector<std::vector<std::string>> Rows() const;

    bool operator==(const TextGrid &) const = default;

private:
    std::size_t Index(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(column);
    }

    int rows_ = 0;
    int columns_ = 0;
    std::vector<std::string> cells_;
};

} // namespace cel::analysis
