#include "formats/saveslot.h"

#include "formats/datafile.h"
#include "formats/lines.h"

#include <algorithm>
#include <initializer_list>

namespace tessarin {

namespace {

constexpr int kBoardChars = 3 * kTiles;                  // 408
constexpr int kRecordChars = 7;                          // boardX 2, boardY 1, kind 3, state 1
constexpr int kTableChars = kTableSize * kRecordChars;   // 973
constexpr int kHistEntries = 141;
constexpr int kHistChars = kHistEntries * 3;             // 423

std::string digits(int value, int width) {
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
    return s;
}

std::string str(int n) { return std::to_string(n); }

bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number in `width` digits at pos (the caller has checked they are digits).
int numberAt(std::string_view s, std::size_t pos, std::size_t width) {
    int n = 0;
    for (std::size_t i = pos; i < pos + width; ++i) n = n * 10 + (s[i] - '0');
    return n;
}

}  // namespace

bool checkTwoCornerRecord(const Position& pos, const MoveRecord& moves, int tilesLeft, std::string& why) {
    if (moves.count < 0 || moves.count > kTiles) {
        why = "記録された手数 " + str(moves.count) + " は 0 から 136 の範囲にありません";
        return false;
    }
    // The record and the tiles tell one story: the clicked cells of the
    // finished pairs hold removed tiles of one kind per pair, an odd last
    // click holds the picked tile, and no other tile is off the board or
    // picked; the tiles left are the ones not removed.
    const int pairs = moves.count / 2;
    std::array<bool, kTableSize> named{};
    for (int i = 1; i <= moves.count; ++i) {
        const int code = moves.cells[static_cast<std::size_t>(i)];
        if (!onField(codeX(code), codeY(code))) {
            why = "記録の " + str(i) + " 手目 " + digits(code, 3) + " は盤上のマスではありません";
            return false;
        }
        const int t = pos.tileAt(codeX(code), codeY(code));
        const int wanted = i <= 2 * pairs ? kRemoved : kPicked;
        if (named[static_cast<std::size_t>(t)] || pos.tile(t).state != wanted) {
            why = "記録の " + str(i) + " 手目が牌の状態と合いません";
            return false;
        }
        named[static_cast<std::size_t>(t)] = true;
        if (i % 2 == 0) {
            const int first = moves.cells[static_cast<std::size_t>(i - 1)];
            if (pos.kindAt(codeX(first), codeY(first)) != pos.tile(t).kind) {
                why = "記録の " + str(i - 1) + " 手目と " + str(i) + " 手目は同じ種類の牌ではありません";
                return false;
            }
        }
    }
    for (int t = 1; t <= kTiles; ++t) {
        if (pos.tile(t).state != kOnBoard && !named[static_cast<std::size_t>(t)]) {
            why = "牌 " + str(t) + " の状態が記録と合いません";
            return false;
        }
    }
    if (tilesLeft != kTiles - 2 * pairs) {
        why = "残り牌数 " + str(tilesLeft) + " が記録と合いません（" + str(kTiles - 2 * pairs) + " のはず）";
        return false;
    }
    return true;
}

bool parseSaveSlot(std::string_view bytes, SavedGame& out, std::string& why) {
    const std::vector<std::string> lines = textLines(bytes);
    if (lines.size() < 5) {
        why = str(static_cast<int>(lines.size())) + " 行しかありません（5 行のはず）";
        return false;
    }
    const auto checkLine = [&why](const std::string& line, int no, std::initializer_list<int> lengths) {
        if (std::find(lengths.begin(), lengths.end(), static_cast<int>(line.size())) == lengths.end()) {
            why = str(no) + " 行目が " + str(static_cast<int>(line.size())) + " 文字です（" + str(*lengths.begin()) +
                  " 文字のはず）";
            return false;
        }
        if (!allDigits(line)) {
            why = str(no) + " 行目に数字でない文字があります";
            return false;
        }
        return true;
    };

    SavedGame saved;
    // Line 1: the stage number (its width follows from the line's length:
    // five digits, or six for a deal numbered by the clock), then the board.
    const std::string& line1 = lines[0];
    if (!checkLine(line1, 1, {5 + kBoardChars, 6 + kBoardChars})) return false;
    const std::size_t boardStart = line1.size() - kBoardChars;
    saved.stageNo = line1.substr(0, boardStart);
    std::array<bool, kTableSize> seen{};
    for (int j = 0; j < kTiles; ++j) {
        const int t = numberAt(line1, boardStart + 3 * static_cast<std::size_t>(j), 3);
        if (t >= kTableSize) {
            why = "盤面の牌番号 " + str(t) + " は 0 から 138 の範囲にありません";
            return false;
        }
        if (t < 1 || t > kTiles || seen[static_cast<std::size_t>(t)]) {
            why = "盤面が 1 から 136 の牌を一つずつ持っていません（牌番号 " + str(t) + "）";
            return false;
        }
        seen[static_cast<std::size_t>(t)] = true;
        saved.cells.at(j / kRows + 1, j % kRows + 1) = static_cast<int16_t>(t);
    }

    // Line 2: the tile table. Kinds never change, and every tile stands
    // where the board has it.
    const std::string& line2 = lines[1];
    if (!checkLine(line2, 2, {kTableChars})) return false;
    const TileTable& fixed = sheetLayout();
    for (int i = 0; i < kTableSize; ++i) {
        const std::size_t p = static_cast<std::size_t>(i) * kRecordChars;
        TileRecord& r = saved.tiles[static_cast<std::size_t>(i)];
        r = fixed[static_cast<std::size_t>(i)];
        r.boardX = static_cast<int16_t>(numberAt(line2, p, 2));
        r.boardY = static_cast<int16_t>(numberAt(line2, p + 2, 1));
        r.kind = static_cast<int16_t>(numberAt(line2, p + 3, 3));
        r.state = static_cast<int16_t>(numberAt(line2, p + 6, 1));
        if (r.kind != fixed[static_cast<std::size_t>(i)].kind) {
            why = "牌 " + str(i) + " の種類 " + str(r.kind) + " が違います";
            return false;
        }
        if (r.state > kRemoved) {
            why = "牌 " + str(i) + " の状態 " + str(r.state) + " は 0 から 2 の範囲にありません";
            return false;
        }
        if (i >= 1 && i <= kTiles && (!onField(r.boardX, r.boardY) || saved.cells.at(r.boardX, r.boardY) != i)) {
            why = "牌 " + str(i) + " の位置が盤面と合いません";
            return false;
        }
        // The image-only entries stand on no cell, and the ThreeMove undo
        // refuses a table that says otherwise.
        if ((i < 1 || i > kTiles) && (r.boardX != 0 || r.boardY != 0)) {
            why = "画像 " + str(i) + " の位置 (" + str(r.boardX) + ", " + str(r.boardY) + ") は 0 のはずです";
            return false;
        }
    }

    // Line 3: the move record; lines 4 and 5: the tiles left and the clicks.
    const std::string& line3 = lines[2];
    if (!checkLine(line3, 3, {kHistChars})) return false;
    for (int i = 0; i < kHistEntries; ++i)
        saved.moves.cells[static_cast<std::size_t>(i)] = static_cast<int16_t>(numberAt(line3, 3 * static_cast<std::size_t>(i), 3));
    if (!checkLine(lines[3], 4, {1, 2, 3}) || !checkLine(lines[4], 5, {1, 2, 3})) return false;
    saved.tilesLeft = numberAt(lines[3], 0, lines[3].size());
    saved.moves.count = numberAt(lines[4], 0, lines[4].size());
    if (saved.moves.count > kTiles) {
        why = "記録された手数 " + str(saved.moves.count) + " は 0 から 136 の範囲にありません";
        return false;
    }

    if (!checkTwoCornerRecord(Position(saved.cells, saved.tiles), saved.moves, saved.tilesLeft, why)) return false;
    out = std::move(saved);
    return true;
}

std::string formatSaveSlot(const std::string& stageNo, const Position& pos, const MoveRecord& moves, int tilesLeft) {
    std::string text = stageNo + formatStageLine("", pos) + "\r\n";
    for (int i = 0; i < kTableSize; ++i) {
        const TileRecord& r = pos.tile(i);
        text += digits(r.boardX, 2) + digits(r.boardY, 1) + digits(r.kind, 3) + digits(r.state, 1);
    }
    text += "\r\n";
    for (int i = 0; i < kHistEntries; ++i) text += digits(moves.cells[static_cast<std::size_t>(i)], 3);
    text += "\r\n" + std::to_string(tilesLeft) + "\r\n" + std::to_string(moves.count) + "\r\n";
    return text;
}

}  // namespace tessarin
