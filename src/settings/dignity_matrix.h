// The dignity matrix: one code 0..4 per chart point and sign, read by the ruled-house texts, rulers,
// dispositors and summaries; with the three built-in matrices the settings dialog offers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/chart_numbering.h"

namespace cel::settings {

using cel::kBodyCount;
using cel::kSignCount;

// Dignity codes. Only kRulership makes a ruler or a dispositor.
inline constexpr std::uint8_t kDignityNone = 0;       // " "
inline constexpr std::uint8_t kDignityRulership = 1;  // "+"
inline constexpr std::uint8_t kDignityMinus = 2;      // "-"
inline constexpr std::uint8_t kDignityPlusPlus = 3;   // "++"
inline constexpr std::uint8_t kDignityMinusMinus = 4; // "--"
inline constexpr std::uint8_t kDignityMaxCode = 4;

// The symbol of a code (" ", "+", "-", "++", "--"), in the order the dignity choice list offers
// them; an unknown code shows as " ".
std::string_view DignitySymbol(std::uint8_t code);

// The whole-matrix replacements of the settings dialog.
enum class MatrixPreset {
    Modern,           // "&Moderna" (also the first-run matrix)
    Ancient,          // "Antigua"
    ModernAndAncient, // "Mod. && Ant."
    Reset,            // "R": every entry 0
};

// The preset named by a button caption ("&Moderna", "Antigua", "Mod. && Ant.", "R").
std::optional<MatrixPreset> MatrixPresetFromCaption(std::string_view caption);

class DignityMatrix {
public:
    // 13 x 13 so that body b (1..12) and sign s (1..12) index directly; row and column 0 are unused.
    using Cells = std::array<std::array<std::uint8_t, kSignCount + 1>, kBodyCount + 1>;

    DignityMatrix() = default; // every entry 0

    // Code of body b in sign s; 0 for a body or sign outside 1..12.
    std::uint8_t At(int body, int sign) const;
    // Sets one entry; ignored outside 1..12 or for a code above 4.
    void Set(int body, int sign, std::uint8_t code);
    // Whether body b rules sign s (code 1).
    bool Rules(int body, int sign) const { return At(body, sign) == kDignityRulership; }

    // Replaces the whole matrix by a built-in one.
    void Replace(MatrixPreset preset);

    const Cells &cells() const { return cells_; }
    bool operator==(const DignityMatrix &) const = default;

private:
    Cells cells_{};
};

// A built-in matrix.
DignityMatrix BuiltInMatrix(MatrixPreset preset);

} // namespace cel::settings
