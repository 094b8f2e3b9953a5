#include "registries/data/ListRules.h"

#include <gtest/gtest.h>

using namespace korven::registries;

namespace {

const QStringList names{QStringLiteral("GBA 2,5/16 MAN"), QStringLiteral("SLRt Ford"),
                        QStringLiteral(" gba 3/16 renault "), QStringLiteral("Skoda")};

struct SearchCase {
    int current;
    const char* text;
    int row;
    bool endOfData;
};

class Search : public ::testing::TestWithParam<SearchCase> {};

TEST_P(Search, MovesForwardFromTheRowAfterTheCurrentOne) {
    const SearchCase& c = GetParam();
    SearchResult r = searchForward(names, c.current, QString::fromUtf8(c.text));
    EXPECT_EQ(r.row, c.row);
    EXPECT_EQ(r.endOfData, c.endOfData);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Search,
    ::testing::Values(SearchCase{-1, "gba", 0, false}, // before the first row
                      SearchCase{0, "gba", 2, false},  // the next match, any case
                      SearchCase{2, " GBA ", 3, true}, // no wrapping: stays on the last row
                      SearchCase{0, "", 3, true},      // empty text matches nothing
                      SearchCase{0, "ford", 1, false},
                      SearchCase{3, "skoda", 3, true})); // the current row is not searched

TEST(Search, EmptyListHasNoRow) {
    EXPECT_EQ(searchForward({}, 0, QStringLiteral("x")).row, -1);
}

TEST(Positions, CodeOrLastRow) {
    std::vector<qint64> codes{3, 1, 7};
    EXPECT_EQ(rowOfCode(codes, 1), 1);
    EXPECT_EQ(rowOfCode(codes, 99), 2);
    EXPECT_EQ(rowOfCode({}, 1), -1);
    EXPECT_EQ(clampRow(5, 3), 2);
    EXPECT_EQ(clampRow(-1, 3), 0);
    EXPECT_EQ(clampRow(0, 0), -1);
}

} // namespace
