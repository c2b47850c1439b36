#include "board/model.h"

namespace tessarin {

namespace {

// One sheet row of kinds: every kind's four tiles share the image at x.
void fillRow(PaiTbl& tbl, int firstPai, int lastPai, int firstKind, int firstX, int srcY) {
    int kind = firstKind;
    int x = firstX;
    for (int t = firstPai; t <= lastPai; ++t) {
        PaiRec& r = tbl[static_cast<std::size_t>(t)];
        r = PaiRec{};
        r.srcX = x;
        r.srcY = srcY;
        r.kind = static_cast<int16_t>(kind);
        if (t % 4 == 0) {
            ++kind;
            x += kPaiW;
        }
    }
}

}  // namespace

void fillPaiTbl(PaiTbl& tbl) {
    fillRow(tbl, 1, 28, 1, 44, 0);
    fillRow(tbl, 29, 64, 8, 0, 54);
    fillRow(tbl, 65, 100, 17, 0, 108);
    fillRow(tbl, 101, 136, 26, 0, 162);
    tbl[kHolePai] = PaiRec{0, 0, 0, 216, 200, 0, 0};
    tbl[kBlankPai] = PaiRec{0, 0, 0, 0, 201, 0, 0};
    tbl[kFlashPai] = PaiRec{0, 0, 352, 0, 202, 0, 0};
}

bool boardIsConsistent(const BoardMap& map, const PaiTbl& tbl) {
    std::array<bool, kTblSize> seen{};
    for (int y = 0; y < kMapH; ++y) {
        for (int x = 0; x < kMapW; ++x) {
            const int t = map.at(x, y);
            if (!onField(x, y)) {
                if (t != 0) return false;
                continue;
            }
            if (t < 1 || t > kTiles || seen[static_cast<std::size_t>(t)]) return false;
            seen[static_cast<std::size_t>(t)] = true;
            const PaiRec& r = tbl[static_cast<std::size_t>(t)];
            if (r.boardX != x || r.boardY != y) return false;
        }
    }
    return true;
}

}  // namespace tessarin
