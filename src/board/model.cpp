#include "board/model.h"

namespace tessarin {

namespace {

// One sheet row of kinds: every kind's four tiles share the picture at x.
void fillRow(TileTable& table, int firstTile, int lastTile, int firstKind, int firstX, int srcY) {
    int kind = firstKind;
    int x = firstX;
    for (int t = firstTile; t <= lastTile; ++t) {
        TileRecord& r = table[static_cast<std::size_t>(t)];
        r = TileRecord{};
        r.srcX = x;
        r.srcY = srcY;
        r.kind = static_cast<int16_t>(kind);
        if (t % 4 == 0) {
            ++kind;
            x += kTileW;
        }
    }
}

}  // namespace

void fillTileTable(TileTable& table) {
    fillRow(table, 1, 28, 1, 44, 0);
    fillRow(table, 29, 64, 8, 0, 54);
    fillRow(table, 65, 100, 17, 0, 108);
    fillRow(table, 101, 136, 26, 0, 162);
    table[kHoleImage] = TileRecord{0, 0, 0, 216, 200, 0, 0};
    table[kBlankImage] = TileRecord{0, 0, 0, 0, 201, 0, 0};
    table[kFlashImage] = TileRecord{0, 0, 352, 0, 202, 0, 0};
}

const TileTable& sheetLayout() {
    static const TileTable table = [] {
        TileTable t{};
        fillTileTable(t);
        return t;
    }();
    return table;
}

}  // namespace tessarin
