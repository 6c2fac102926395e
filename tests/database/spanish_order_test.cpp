// The order lists are shown in: Spanish alphabetical order, apart from the data file's stored order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "database/database.h"
#include "database/spanish_order.h"

namespace cel::database {
namespace {

TEST(SpanishOrder, SortsAsASpanishReaderExpects) {
    // Each list is in Spanish order.
    const std::vector<std::vector<std::string>> lists = {
        {"Córdoba", "Cusco"},                           // accents do not push a name after Z
        {"Medellín", "Mérida", "Montevideo"},           // ...nor after the next base letter
        {"Nuevo", "Nunez", "Nuñez", "Ñandú", "Oaxaca"}, // ñ is a letter of its own after n
        {"Alvarez", "Álvarez", "ana", "Ana", "Ángel"},  // then the accent, then lower before upper
        {"9 de Julio", "Ana María", "Anabel", "Zoe"},   // spaces before letters, digits before both
        {"O'Neill", "Oneill"},                          // punctuation before letters
        {"Straße", "Strasse2", "Zürich", "Москва"},     // ß as "ss"; other scripts after Latin
        {"Ubeda", "Uber", "Über", "zoe", "Zoe"},
    };
    for (const auto &list : lists) {
        for (std::size_t i = 0; i + 1 < list.size(); ++i) {
            EXPECT_TRUE(SpanishLess(list[i], list[i + 1])) << list[i] << " < " << list[i + 1];
            EXPECT_FALSE(SpanishLess(list[i + 1], list[i])) << list[i + 1] << " !< " << list[i];
            EXPECT_LT(SpanishSortKey(list[i]), SpanishSortKey(list[i + 1])) << list[i];
        }
        std::vector<std::string> shuffled(list.rbegin(), list.rend());
        std::stable_sort(shuffled.begin(), shuffled.end(),
                         [](const std::string &a, const std::string &b) { return SpanishLess(a, b); });
        EXPECT_EQ(shuffled, list);
    }
    EXPECT_EQ(CompareSpanish("Bogotá", "Bogotá"), 0);
}

TEST(SpanishOrder, TheStoredOrderIsUnchanged) {
    // The data file still stores accented names after Z, as its format has it.
    EXPECT_LT(CompareNames("Montevideo", "Mérida"), 0);
    EXPECT_TRUE(SpanishLess("Mérida", "Montevideo"));
}

} // namespace
} // namespace cel::database
