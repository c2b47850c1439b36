#include "stages/deal.h"

#include <cstdio>

namespace tessarin {

std::array<int16_t, kTiles + 1> dealOrderForSeed(int32_t seed) {
    std::array<int16_t, kTiles + 1> order{};
    std::array<bool, kTiles + 1> drawn{};
    Pcg32 rng;
    rng.seed(static_cast<uint32_t>(seed));
    int count = 0;
    while (count < kTiles) {
        const int pick = static_cast<int>(rng.nextUnit() * kTiles) + 1;
        if (drawn[static_cast<std::size_t>(pick)]) continue;
        drawn[static_cast<std::size_t>(pick)] = true;
        order[static_cast<std::size_t>(++count)] = static_cast<int16_t>(pick);
    }
    return order;
}

std::string stageNoText(int32_t seed) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%05d", seed);
    return buf;
}

std::string dealStageLine(int32_t seed) {
    const auto order = dealOrderForSeed(seed);
    // The deal fills row by row; stage lines list the cells column by column.
    std::array<int, kMapW * kMapH> cells{};
    int k = 0;
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) cells[static_cast<std::size_t>(y * kMapW + x)] = order[static_cast<std::size_t>(++k)];
    std::string line = stageNoText(seed);
    char buf[8];
    for (int x = 1; x <= kCols; ++x) {
        for (int y = 1; y <= kRows; ++y) {
            std::snprintf(buf, sizeof buf, "%03d", cells[static_cast<std::size_t>(y * kMapW + x)]);
            line += buf;
        }
    }
    return line;
}

}  // namespace tessarin
