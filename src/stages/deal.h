// The random deal: a documented generator, so the same seed gives the same
// board on every compiler and platform, and the clock seed that names a deal.
#pragma once

#include "board/model.h"

#include <array>
#include <cstdint>
#include <string>

namespace tessarin {

// O'Neill's PCG32 (XSH-RR output) on the default stream. Reset and seeded
// like pcg32_srandom: state = 0, one step, state += seed, one step.
class Pcg32 {
public:
    void seed(uint32_t s) {
        state_ = 0;
        next();
        state_ += s;
        next();
    }
    uint32_t next() {
        const uint64_t old = state_;
        state_ = old * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rot = static_cast<uint32_t>(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
    }
    // A value in [0, 1): the 32 output bits over 2^32, exact in a double.
    double nextUnit() { return static_cast<double>(next()) / 4294967296.0; }

private:
    uint64_t state_ = 0;
};

// Entries 1..136 hold the tile numbers in the order the generator drew them
// for this seed (entry 0 unused): draw r, take floor(r * 136) + 1, skip tiles
// already drawn.
std::array<int16_t, kTiles + 1> dealOrderForSeed(int32_t seed);

// The clock seed: the time as the number HHMMSS plus the date as MMDD.
constexpr int32_t clockSeed(int month, int day, int hour, int minute, int second) {
    return hour * 10000 + minute * 100 + second + month * 100 + day;
}

// A stage number as text: at least five digits, zero-padded.
std::string stageNoText(int32_t seed);

// The stage line of the TwoCorner deal for a seed: the stage number, then
// the 136 tile numbers column by column in three digits each.
std::string dealStageLine(int32_t seed);

}  // namespace tessarin
