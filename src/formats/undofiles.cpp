#include "formats/undofiles.h"

#include "formats/datafile.h"
#include "formats/writefile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessarin {

namespace {

constexpr int kRecordSize = 18;
constexpr std::size_t kTilesBytes = kTableSize * kRecordSize;  // 2502
constexpr std::size_t kBoardBytes = kBoardW * kBoardH * 2;     // 380
constexpr int16_t kStone = 1;
constexpr int16_t kHole = 2;

std::string str(long n) { return std::to_string(n); }

void put16(std::string& out, int v) {
    const auto u = static_cast<uint16_t>(v);
    out += static_cast<char>(u & 0xff);
    out += static_cast<char>(u >> 8);
}

void put32(std::string& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((u >> shift) & 0xff);
}

int16_t get16(const std::string& in, std::size_t at) {
    const auto lo = static_cast<uint8_t>(in[at]);
    const auto hi = static_cast<uint8_t>(in[at + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

int32_t get32(const std::string& in, std::size_t at) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<uint8_t>(in[at + static_cast<std::size_t>(i)]);
    return static_cast<int32_t>(u);
}

TileTable decodeTileTable(const std::string& in) {
    TileTable tiles{};
    for (int i = 0; i < kTableSize; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * kRecordSize;
        TileRecord& r = tiles[static_cast<std::size_t>(i)];
        r.boardX = get16(in, at);
        r.boardY = get16(in, at + 2);
        r.srcX = get32(in, at + 4);
        r.srcY = get32(in, at + 8);
        r.kind = get16(in, at + 12);
        r.state = get16(in, at + 14);
        r.cover = get16(in, at + 16);
    }
    return tiles;
}

BoardCells decodeBoardCells(const std::string& in) {
    BoardCells cells;
    for (std::size_t i = 0; i < cells.cells.size(); ++i) cells.cells[i] = get16(in, i * 2);
    return cells;
}

// Reads a whole undo file of the expected size; otherwise says why not.
bool readUndoFile(const std::string& dir, const std::string& name, std::size_t size, std::string& bytes,
                  std::string& problem) {
    const std::string path = folderPath(dir, name);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        problem = name + " が見つかりません。";
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        problem = name + " を読み込めません（" + std::strerror(errno) + "）。";
        return false;
    }
    std::string got;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            problem = name + " を読み込めません（" + std::strerror(errno) + "）。";
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        got.append(buf, static_cast<std::size_t>(n));
        if (got.size() > size) break;  // too big: no need to read on
    }
    ::close(fd);
    if (got.size() != size) {
        problem = name + " の大きさが正しくありません（" + str(static_cast<long>(size)) + " バイトであるべきところ、" +
                  str(static_cast<long>(st.st_size)) + " バイト）。";
        return false;
    }
    bytes = std::move(got);
    return true;
}

}  // namespace

bool checkThreeMoveTiles(const TileTable& tiles, std::string& problem) {
    const TileTable& fixed = sheetLayout();
    std::array<int, kKinds + 1> clearedOfKind{};
    for (int t = 0; t < kTableSize; ++t) {
        const TileRecord& r = tiles[static_cast<std::size_t>(t)];
        const TileRecord& f = fixed[static_cast<std::size_t>(t)];
        if (r.srcX != f.srcX || r.srcY != f.srcY || r.kind != f.kind) {
            problem = "牌 " + str(t) + " の画像の位置か種類が本来の値と違います";
            return false;
        }
        if (r.boardX < 0 || r.boardX >= kBoardW || r.boardY < 0 || r.boardY >= kBoardH) {
            problem = "牌 " + str(t) + " の位置 (" + str(r.boardX) + ", " + str(r.boardY) + ") が盤の外です";
            return false;
        }
        if (t == kFlashImage || t > kTiles) {
            if (r.state < kOnBoard || r.state > kRemoved || r.cover < 0 || r.cover > kHole) {
                problem = "画像 " + str(t) + " の状態の値が範囲外です";
                return false;
            }
            continue;
        }
        const bool live = r.state == kOnBoard && r.cover == 0;
        const bool stone = r.state == kRemoved && r.cover == kStone && isHonourKind(r.kind);
        const bool hole = r.state == kRemoved && r.cover == kHole && !isHonourKind(r.kind);
        if (!live && !stone && !hole) {
            problem = "牌 " + str(t) + " の状態（state " + str(r.state) + "、cover " + str(r.cover) + "）はありえない値です";
            return false;
        }
        if (!live) ++clearedOfKind[static_cast<std::size_t>(r.kind)];
    }
    for (int k = 1; k <= kKinds; ++k) {
        if (clearedOfKind[static_cast<std::size_t>(k)] % 2 != 0) {
            problem = "種類 " + str(k) + " の消えた牌の数 " + str(clearedOfKind[static_cast<std::size_t>(k)]) +
                      " はありえない値です";
            return false;
        }
    }
    return true;
}

namespace {

bool cellsAreGame(const BoardCells& cells, std::string& problem) {
    std::array<bool, kTiles + 1> seen{};
    for (int y = 0; y < kBoardH; ++y) {
        for (int x = 0; x < kBoardW; ++x) {
            const int t = cells.at(x, y);
            const std::string at = "(" + str(x) + ", " + str(y) + ")";
            if (t < 0 || t >= kTableSize) {
                problem = at + " の牌番号 " + str(t) + " が範囲外です";
                return false;
            }
            if (!onField(x, y)) {
                if (t != 0) {
                    problem = "盤の外枠 " + at + " に牌 " + str(t) + " があります";
                    return false;
                }
                continue;
            }
            if (t < 1 || t > kTiles || seen[static_cast<std::size_t>(t)]) {
                problem = at + " の牌 " + str(t) + " が正しくありません（欠けているか重複しています）";
                return false;
            }
            seen[static_cast<std::size_t>(t)] = true;
        }
    }
    return true;
}

}  // namespace

std::string encodeTileTable(const TileTable& tiles) {
    std::string out;
    out.reserve(kTilesBytes);
    for (const TileRecord& r : tiles) {
        put16(out, r.boardX);
        put16(out, r.boardY);
        put32(out, r.srcX);
        put32(out, r.srcY);
        put16(out, r.kind);
        put16(out, r.state);
        put16(out, r.cover);
    }
    return out;
}

std::string encodeBoardCells(const BoardCells& cells) {
    std::string out;
    out.reserve(kBoardBytes);
    for (int16_t cell : cells.cells) put16(out, cell);  // cells are stored row by row
    return out;
}

bool writeUndoFiles(const std::string& dir, const Position& pos, std::string& failedName, std::string& error) {
    if (!replaceFile(folderPath(dir, kUndoTilesFile), encodeTileTable(pos.tiles()), error)) {
        failedName = kUndoTilesFile;
        return false;
    }
    if (!replaceFile(folderPath(dir, kUndoBoardFile), encodeBoardCells(pos.cells()), error)) {
        failedName = kUndoBoardFile;
        return false;
    }
    return true;
}

bool readUndoFiles(const std::string& dir, int liveTiles, Position& out, std::string& problem) {
    std::string tileBytes, boardBytes;
    if (!readUndoFile(dir, kUndoTilesFile, kTilesBytes, tileBytes, problem) ||
        !readUndoFile(dir, kUndoBoardFile, kBoardBytes, boardBytes, problem))
        return false;
    const TileTable tiles = decodeTileTable(tileBytes);
    const BoardCells cells = decodeBoardCells(boardBytes);
    std::string why;
    if (!checkThreeMoveTiles(tiles, why)) {
        problem = std::string(kUndoTilesFile) + " の内容が正しくありません：" + why + "。";
        return false;
    }
    if (!cellsAreGame(cells, why)) {
        problem = std::string(kUndoBoardFile) + " の内容が正しくありません：" + why + "。";
        return false;
    }
    const Position pos(cells, tiles);
    if (!pos.isConsistent()) {
        // Typically a pair from two different moves.
        problem = std::string(kUndoTilesFile) + " と " + kUndoBoardFile + " の内容が食い違っています（牌の位置が盤面と合いません）。";
        return false;
    }
    int live = 0;
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) live += pos.stateAt(x, y) == kOnBoard;
    if (live != liveTiles) {
        problem = std::string(kUndoTilesFile) + " と " + kUndoBoardFile + " はこのゲームの一手前の盤面ではありません。";
        return false;
    }
    out = pos;
    return true;
}

}  // namespace tessarin
