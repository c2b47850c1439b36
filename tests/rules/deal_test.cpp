// The random deal must give the same board for the same number everywhere:
// stage numbers name boards, so a changed generator silently changes every
// numbered deal a player or author has noted down.
#include "stages/deal.h"

#include <gtest/gtest.h>

#include <set>

namespace tessarin {
namespace {

TEST(RandomDeal, PinnedDealsHoldEveryTileOnce) {
    // Values from an independent implementation of the generator.
    const auto order = dealOrderForSeed(33763);
    EXPECT_EQ(std::vector<int>(order.begin() + 1, order.begin() + 11),
              (std::vector<int>{11, 115, 25, 97, 81, 103, 105, 84, 52, 85}));
    EXPECT_EQ((std::pair(int{order[134]}, int{order[136]})), std::pair(133, 119));
    EXPECT_EQ(dealOrderForSeed(1)[1], 45);
    EXPECT_EQ(dealOrderForSeed(237190)[1], 46);
    // Column 1 lists rows 1..8: the 1st, 18th, 35th ... drawn tiles.
    const std::string line = dealStageLine(33763);
    ASSERT_EQ(line.size(), 413u);
    EXPECT_EQ(line.substr(0, 11), "33763011093");

    for (int seed : {0, 101, 106, 33763, 99999, 140811, 237190}) {
        const auto a = dealOrderForSeed(seed);
        EXPECT_EQ(a, dealOrderForSeed(seed));
        const std::set<int> tiles(a.begin() + 1, a.end());
        EXPECT_EQ((std::tuple(tiles.size(), *tiles.begin(), *tiles.rbegin(), int{a[0]})), std::tuple(136u, 1, 136, 0));
    }
    EXPECT_NE(dealOrderForSeed(33763), dealOrderForSeed(33764));
}

TEST(RandomDeal, ClockSeedAndStageNumber) {
    EXPECT_EQ(clockSeed(12, 6, 3, 25, 57), 33763);
    EXPECT_EQ(clockSeed(1, 1, 0, 0, 0), 101);
    EXPECT_EQ(clockSeed(12, 31, 23, 59, 59), 237190);  // the largest
    EXPECT_EQ(stageNoText(106), "00106");
    EXPECT_EQ(stageNoText(33763), "33763");
    EXPECT_EQ(stageNoText(140811), "140811");
}

}  // namespace
}  // namespace tessarin
