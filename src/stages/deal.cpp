#include "stages/deal.h"

#include "board/position.h"
#include "formats/lines.h"

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
    Position pos;
    pos.fillByRows(dealOrderForSeed(seed), false);
    return formatStageLine(stageNoText(seed), pos);
}

}  // namespace tessarin
