#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/dignity_matrix.h"

using namespace cel::settings;

namespace {

enum Body { Sol = 1, Lun, Mer, Ven, Mar, Jup, Sat, Ura, Nep, Plu, Nod, Rue };
enum Sign { Ari = 1, Tau, Gem, Can, Leo, Vir, Lib, Esc, Sag, Cap, Acu, Pis };

std::vector<int> RulersOf(const DignityMatrix &m, int sign) {
    std::vector<int> bodies;
    for (int b = 1; b <= kBodyCount; ++b)
        if (m.Rules(b, sign))
            bodies.push_back(b);
    return bodies;
}

} // namespace

TEST(DignityMatrix, ModernSpotValues) {
    const DignityMatrix m = BuiltInMatrix(MatrixPreset::Modern);
    struct Case {
        int body, sign, code;
    };
    const Case cases[] = {
        {Sol, Ari, 3}, {Sol, Leo, 1}, {Sol, Lib, 4}, {Sol, Acu, 2}, {Sol, Tau, 0}, {Lun, Pis, 3},
        {Mer, Vir, 1}, {Ven, Pis, 3}, {Mar, Esc, 3}, {Jup, Cap, 4}, {Sat, Ari, 4}, {Ura, Leo, 2},
        {Nep, Pis, 1}, {Plu, Esc, 1}, {Nod, Sag, 1}, {Rue, Vir, 1}, {Rue, Pis, 2}, {Rue, Ari, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(m.At(c.body, c.sign), c.code) << c.body << "," << c.sign;
}

TEST(DignityMatrix, RulersPerPreset) {
    struct Case {
        MatrixPreset preset;
        int sign;
        std::vector<int> rulers;
    };
    const Case cases[] = {
        {MatrixPreset::Modern, Ari, {Mar}},
        {MatrixPreset::Modern, Vir, {Mer, Rue}},
        {MatrixPreset::Modern, Sag, {Jup, Nod}},
        {MatrixPreset::Modern, Esc, {Plu}},
        {MatrixPreset::Modern, Acu, {Ura}},
        {MatrixPreset::Modern, Pis, {Nep}},
        {MatrixPreset::Ancient, Esc, {Mar}},
        {MatrixPreset::Ancient, Acu, {Sat}},
        {MatrixPreset::Ancient, Pis, {Jup}},
        {MatrixPreset::Ancient, Vir, {Mer}},
        {MatrixPreset::Ancient, Sag, {Jup}},
        {MatrixPreset::ModernAndAncient, Esc, {Mar, Plu}},
        {MatrixPreset::ModernAndAncient, Acu, {Sat, Ura}},
        {MatrixPreset::ModernAndAncient, Pis, {Jup, Nep}},
        {MatrixPreset::ModernAndAncient, Leo, {Sol}},
        {MatrixPreset::Reset, Leo, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RulersOf(BuiltInMatrix(c.preset), c.sign), c.rulers)
            << static_cast<int>(c.preset) << " sign " << c.sign;
}

TEST(DignityMatrix, PresetRowsShareTheModernOnes) {
    const DignityMatrix modern = BuiltInMatrix(MatrixPreset::Modern);
    const DignityMatrix ancient = BuiltInMatrix(MatrixPreset::Ancient);
    const DignityMatrix both = BuiltInMatrix(MatrixPreset::ModernAndAncient);
    for (int b = 1; b <= kBodyCount; ++b)
        for (int s = 1; s <= kSignCount; ++s) {
            SCOPED_TRACE(std::to_string(b) + "," + std::to_string(s));
            if (b <= Ven) {
                EXPECT_EQ(ancient.At(b, s), modern.At(b, s));
                EXPECT_EQ(both.At(b, s), modern.At(b, s));
            } else if (b >= Ura) {
                EXPECT_EQ(ancient.At(b, s), 0);
                EXPECT_EQ(both.At(b, s), modern.At(b, s));
            } else {
                // Mar, Jup, Sat: the ancient entries written over the modern ones.
                EXPECT_EQ(both.At(b, s), ancient.At(b, s) != 0 ? ancient.At(b, s) : modern.At(b, s));
            }
        }
}

TEST(DignityMatrix, ReplaceByCaption) {
    struct Case {
        std::string caption;
        std::optional<MatrixPreset> preset;
    };
    const Case cases[] = {
        {"&Moderna", MatrixPreset::Modern},
        {"Antigua", MatrixPreset::Ancient},
        {"Mod. && Ant.", MatrixPreset::ModernAndAncient},
        {"R", MatrixPreset::Reset},
        {"Moderna", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MatrixPresetFromCaption(c.caption), c.preset) << c.caption;

    DignityMatrix m = BuiltInMatrix(MatrixPreset::Modern);
    m.Replace(*MatrixPresetFromCaption("R"));
    EXPECT_EQ(m, DignityMatrix{});
    for (int s = 1; s <= kSignCount; ++s)
        EXPECT_TRUE(RulersOf(m, s).empty());
    m.Replace(*MatrixPresetFromCaption("Antigua"));
    EXPECT_EQ(m, BuiltInMatrix(MatrixPreset::Ancient));
}

TEST(DignityMatrix, LookupAndSetOutsideTheTable) {
    DignityMatrix m = BuiltInMatrix(MatrixPreset::Modern);
    const DignityMatrix before = m;
    const int outside[][2] = {{0, 1}, {13, 1}, {1, 0}, {1, 13}, {-1, 5}};
    for (const auto &bs : outside) {
        EXPECT_EQ(m.At(bs[0], bs[1]), 0);
        m.Set(bs[0], bs[1], 2);
    }
    m.Set(Sol, Leo, 5); // not a code
    EXPECT_EQ(m, before);
    m.Set(Sol, Leo, 4);
    EXPECT_EQ(m.At(Sol, Leo), 4);
    EXPECT_FALSE(m.Rules(Sol, Leo));
}

TEST(DignityMatrix, Symbols) {
    const char *symbols[] = {" ", "+", "-", "++", "--"};
    for (int code = 0; code <= 4; ++code)
        EXPECT_EQ(DignitySymbol(static_cast<std::uint8_t>(code)), symbols[code]);
    EXPECT_EQ(DignitySymbol(9), " ");
}
