// Stage lines and cell codes as the data files hold them.
#include "stages/deal.h"
#include "stages/lines.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(StageLines, RoundTripAndColumnOrder) {
    const std::string line = dealStageLine(33763);
    StageLine s;
    std::string error;
    ASSERT_TRUE(parseStageLine(line, s, error)) << error;
    EXPECT_EQ(s.stageNo, "33763");
    BoardMap map;
    PaiTbl tbl{};
    fillPaiTbl(tbl);
    placeStage(s, map, tbl, true);
    EXPECT_TRUE(boardIsConsistent(map, tbl));
    // Cell (1, 2) comes from characters 9..11, cell (2, 1) from 30..32.
    EXPECT_EQ(map.at(1, 2), std::stoi(line.substr(8, 3)));
    EXPECT_EQ(map.at(2, 1), std::stoi(line.substr(29, 3)));
    EXPECT_EQ(formatStageLine("33763", map), line);
}

TEST(StageLines, RefusesWhatCannotBeABoard) {
    const std::string good = dealStageLine(42);
    StageLine s;
    std::string error;
    EXPECT_FALSE(parseStageLine(good.substr(0, 412), s, error));
    EXPECT_FALSE(parseStageLine(good + "0", s, error));
    std::string letters = good;
    letters[100] = 'x';
    EXPECT_FALSE(parseStageLine(letters, s, error));
    std::string twice = good;
    twice.replace(8, 3, twice.substr(5, 3));  // cell (1, 2) repeats cell (1, 1)
    EXPECT_FALSE(parseStageLine(twice, s, error));
    EXPECT_NE(error.find("twice"), std::string::npos);
    std::string outside = good;
    outside.replace(5, 3, "137");
    EXPECT_FALSE(parseStageLine(outside, s, error));
    std::string zero = good;
    zero.replace(5, 3, "000");
    EXPECT_FALSE(parseStageLine(zero, s, error));
}

TEST(CellCodes, FieldCellsOnly) {
    std::vector<int> codes;
    std::string error;
    ASSERT_TRUE(parseCellCodes("011178053", codes, error));
    EXPECT_EQ(codes, (std::vector<int>{11, 178, 53}));
    EXPECT_FALSE(parseCellCodes("0111", codes, error));
    EXPECT_FALSE(parseCellCodes("010", codes, error));  // row 0
    EXPECT_FALSE(parseCellCodes("019", codes, error));  // row 9
    EXPECT_FALSE(parseCellCodes("181", codes, error));  // column 18
    EXPECT_NE(error.find("number 1"), std::string::npos);
    EXPECT_EQ(threeDigits(11), "011");
    EXPECT_EQ(threeDigits(0), "000");
    EXPECT_EQ(threeDigits(178), "178");
}

}  // namespace
}  // namespace tessarin
