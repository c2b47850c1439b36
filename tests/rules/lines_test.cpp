// Stage lines and cell codes as the data files hold them.
#include "stages/deal.h"
#include "stages/lines.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(StageLines, RoundTripInColumnOrderAndRefuseWhatCannotBeABoard) {
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

    const auto changed = [&](std::size_t at, std::size_t n, const std::string& by) {
        return std::string(line).replace(at, n, by);
    };
    for (const std::string& bad : {line.substr(0, 412), line + "0", changed(100, 1, "x"), changed(5, 3, "137"),
                                   changed(5, 3, "000")})
        EXPECT_FALSE(parseStageLine(bad, s, error)) << bad;
    EXPECT_FALSE(parseStageLine(changed(8, 3, line.substr(5, 3)), s, error));  // cell (1, 2) repeats cell (1, 1)
    EXPECT_NE(error.find("twice"), std::string::npos);
}

TEST(CellCodes, FieldCellsOnly) {
    std::vector<int> codes;
    std::string error;
    ASSERT_TRUE(parseCellCodes("011178053", codes, error));
    EXPECT_EQ(codes, (std::vector<int>{11, 178, 53}));
    // A short code, row 0, row 9, column 18.
    for (const char* bad : {"0111", "010", "019", "181"}) EXPECT_FALSE(parseCellCodes(bad, codes, error)) << bad;
    EXPECT_NE(error.find("number 1"), std::string::npos);
    EXPECT_EQ(threeDigits(0) + threeDigits(11) + threeDigits(178), "000011178");
}

}  // namespace
}  // namespace tessarin
