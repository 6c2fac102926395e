#include "settings/dignity_matrix.h"

namespace cel::settings {

namespace {

using Row = std::array<std::uint8_t, kSignCount>; // Ari .. Pis
using Rows = std::array<Row, kBodyCount>;         // Sol .. Rue

constexpr Rows kModern = {{
    {3, 0, 0, 0, 1, 0, 4, 0, 0, 0, 2, 0}, // Sol
    {0, 3, 0, 1, 0, 4, 0, 4, 0, 2, 0, 3}, // Lun
    {0, 0, 1, 0, 4, 1, 0, 0, 2, 0, 3, 2}, // Mer
    {2, 1, 0, 0, 0, 4, 1, 2, 0, 0, 0, 3}, // Ven
    {1, 4, 0, 4, 0, 0, 2, 3, 0, 3, 0, 0}, // Mar
    {0, 0, 2, 3, 0, 0, 0, 0, 1, 4, 0, 0}, // Jup
    {4, 0, 0, 2, 0, 0, 3, 0, 0, 1, 0, 0}, // Sat
    {0, 4, 0, 0, 2, 0, 0, 3, 0, 0, 1, 0}, // Ura
    {0, 0, 0, 0, 3, 2, 0, 0, 0, 0, 4, 1}, // Nep
    {0, 2, 0, 0, 4, 0, 0, 1, 0, 0, 3, 0}, // Plu
    {0, 0, 2, 0, 4, 0, 0, 0, 1, 0, 3, 0}, // Nod
    {0, 3, 0, 0, 0, 1, 0, 4, 0, 0, 0, 2}, // Rue
}};

// The classical rulers only: Sol..Ven as in the modern matrix, Mar, Jup and Sat with their two
// signs each, no dignities for Ura..Rue.
constexpr Rows kAncient = {{
    kModern[0],
    kModern[1],
    kModern[2],
    kModern[3],
    {1, 2, 0, 0, 0, 0, 2, 1, 0, 0, 0, 0}, // Mar
    {0, 0, 2, 0, 0, 2, 0, 0, 1, 0, 0, 1}, // Jup
    {0, 0, 0, 2, 2, 0, 0, 0, 0, 1, 1, 0}, // Sat
    {},
    {},
    {},
    {},
    {},
}};

// The modern matrix with the ancient entries written over it: Esc, Acu and Pis get two rulers.
constexpr Rows kModernAndAncient = {{
    kModern[0],
    kModern[1],
    kModern[2],
    kModern[3],
    {1, 2, 0, 4, 0, 0, 2, 1, 0, 3, 0, 0}, // Mar
    {0, 0, 2, 3, 0, 2, 0, 0, 1, 4, 0, 1}, // Jup
    {4, 0, 0, 2, 2, 0, 3, 0, 0, 1, 1, 0}, // Sat
    kModern[7],
    kModern[8],
    kModern[9],
    kModern[10],
    kModern[11],
}};

bool InRange(int body, int sign) {
    return body >= 1 && body <= kBodyCount && sign >= 1 && sign <= kSignCount;
}

} // namespace

std::string_view DignitySymbol(std::uint8_t code) {
    static constexpr std::string_view kSymbols[] = {" ", "+", "-", "++", "--"};
    return code <= kDignityMaxCode ? kSymbols[code] : kSymbols[0];
}

std::optional<MatrixPreset> MatrixPresetFromCaption(std::string_view caption) {
    if (caption == "&Moderna")
        return MatrixPreset::Modern;
    if (caption == "Antigua")
        return MatrixPreset::Ancient;
    if (caption == "Mod. && Ant.")
        return MatrixPreset::ModernAndAncient;
    if (caption == "R")
        return MatrixPreset::Reset;
    return std::nullopt;
}

std::uint8_t DignityMatrix::At(int body, int sign) const {
    return InRange(body, sign) ? cells_[body][sign] : kDignityNone;
}

void DignityMatrix::Set(int body, int sign, std::uint8_t code) {
    if (InRange(body, sign) && code <= kDignityMaxCode)
        cells_[body][sign] = code;
}

void DignityMatrix::Replace(MatrixPreset preset) {
    *this = BuiltInMatrix(preset);
}

DignityMatrix BuiltInMatrix(MatrixPreset preset) {
    DignityMatrix m;
    const Rows *rows = nullptr;
    switch (preset) {
    case MatrixPreset::Modern:
        rows = &kModern;
        break;
    case MatrixPreset::Ancient:
        rows = &kAncient;
        break;
    case MatrixPreset::ModernAndAncient:
        rows = &kModernAndAncient;
        break;
    case MatrixPreset::Reset:
        return m;
    }
    for (int b = 1; b <= kBodyCount; ++b)
        for (int s = 1; s <= kSignCount; ++s)
            m.Set(b, s, (*rows)[b - 1][s - 1]);
    return m;
}

} // namespace cel::settings
