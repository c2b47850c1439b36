// The ThreeMove rules, without Qt: which way a clicked tile may slide, how
// far, which tiles slide with it, and which touching tiles of one kind clear
// themselves afterwards. The game and `tessarin-tool three` both play by
// these functions, so they cannot disagree.
//
// A cell of the field is one of three things, told by the record of the
// tile number it holds:
//   live tile  state 0, cover 0   shows its face, can move and be cleared
//   stone      state 2, cover 1   a cleared honour tile: occupies its cell,
//                                 can move, never clears again
//   hole       state 2, cover 2   any other cleared tile: an empty cell
// Cleared tiles keep their numbers on the board, so stones and holes travel
// through it like tiles when a run slides.
#pragma once

#include "board/position.h"

#include <array>
#include <cstdint>

namespace tessarin::three {

// Directions of a move.
inline constexpr int kUp = 1;     // towards row 1
inline constexpr int kDown = 2;   // towards row 8
inline constexpr int kLeft = 3;   // towards column 1
inline constexpr int kRight = 4;  // towards column 17

// The directions moveChoices allows, as bits.
inline constexpr int kUpBit = 1;
inline constexpr int kDownBit = 2;
inline constexpr int kLeftBit = 4;
inline constexpr int kRightBit = 8;

// Moves granted at the start of a game.
inline constexpr int kStartMoves = 3;

// Covers of ThreeMove tiles.
inline constexpr int16_t kFace = 0;
inline constexpr int16_t kStone = 1;
inline constexpr int16_t kHole = 2;

// One move: its direction, the clicked cell, the cell the clicked tile slides
// to, and the far end of the run that slides with it.
struct Move {
    int dir = 0;
    int fromX = 0, fromY = 0;
    int toX = 0, toY = 0;
    int tailX = 0, tailY = 0;

    friend bool operator==(const Move&, const Move&) = default;
};

// One cell of a group being cleared.
struct GroupCell {
    int16_t col = 0;
    int16_t row = 0;
    int16_t kind = 0;
    int16_t tile = 0;
};

// Entry 0 is the scanned cell, entries 1 to 3 the others of its group.
using Group = std::array<GroupCell, 4>;

// Empty for sliding: a hole.
inline bool isEmpty(const Position& pos, int x, int y) { return pos.recordAt(x, y).cover == kHole; }

// True when the tile at (col, row) can slide at all; bits tells where to:
// towards an empty neighbour, and only with an occupied cell straight behind
// it (the edge of the field never counts as one). At most one vertical and
// one horizontal bit are set.
bool moveChoices(const Position& pos, int col, int row, int& bits);

// The direction taken: the left button prefers a sideways slide, the others
// an upward or downward one; each falls back on the other axis.
int pickDirection(int bits, bool leftButton);

// Sets toX/toY: the farthest empty cell of the gap in front of the clicked
// tile, walking from it in move.dir until an occupied cell or the edge.
void findDest(const Position& pos, Move& move);

// Sets tailX/tailY: the last occupied cell of the unbroken line behind (and
// including) the clicked tile.
void findTail(const Position& pos, Move& move);

// Everything about the move a click asks for, without changing the board:
// false when the clicked cell is off the field or its tile cannot move.
bool planMove(const Position& pos, int col, int row, bool leftButton, Move& move);

// Slides the run so its front tile lands on (toX, toY); the holes it passes
// end up right behind it in their former order. The moved line's tiles get
// their new boardX or boardY.
void shiftRun(Position& pos, const Move& move);

// The live tiles of the scanned cell's kind touching it (up, right, down,
// left), appended to the group from entry 1 on. Returns their number.
int findNeighbours(const Position& pos, Group& group);

// Puts into entry 3 the remaining live tile of the group's kind: the first
// such cell of the last column that holds one. In play three live tiles of a
// kind always mean a live fourth (clearings take two or four of a kind);
// false when the field holds none.
bool findFourth(const Position& pos, Group& group);

// Turns a tile cleared by the rules into a stone (honour kinds) or a hole.
void clearTile(Position& pos, int tile);

// Live tiles on the field.
int countLiveTiles(const Position& pos);

// Moves earned by a clearing: three per cleared pair. The sum is rounded to
// the nearest integer, halves to even (clearings are even in play).
int movesEarned(int cleared);

// Clears every group of touching live tiles of one kind in a single pass in
// reading order: a tile with one such neighbour goes with it; with two, the
// three and the fourth tile of the kind wherever it lies; with three, all
// four. Three in a straight line therefore clear only the first two. For
// each cleared cell, once the tile has become a stone or a hole,
// onCleared(col, row) is called, so a caller can show it. Returns the number
// of cleared cells.
template <class OnCleared>
int clearGroups(Position& pos, OnCleared&& onCleared) {
    int cleared = 0;
    for (int row = 1; row <= kRows; ++row) {
        for (int col = 1; col <= kCols; ++col) {
            const int t = pos.tileAt(col, row);
            const TileRecord& r = pos.tile(t);
            if (r.state != kOnBoard) continue;
            Group group{};
            group[0] = GroupCell{static_cast<int16_t>(col), static_cast<int16_t>(row), r.kind,
                                 static_cast<int16_t>(t)};
            int n = findNeighbours(pos, group);
            if (n == 0) continue;
            if (n == 2 && findFourth(pos, group)) n = 3;
            for (int i = 0; i <= n; ++i) {
                const GroupCell& c = group[static_cast<std::size_t>(i)];
                clearTile(pos, c.tile);
                ++cleared;
                onCleared(static_cast<int>(c.col), static_cast<int>(c.row));
            }
        }
    }
    return cleared;
}

// The same without showing anything.
inline int clearGroups(Position& pos) {
    return clearGroups(pos, [](int, int) {});
}

// The counters of a game: live tiles left, moves left, moves made.
struct Counters {
    int tilesLeft = 0;
    int movesLeft = 0;
    int movesDone = 0;

    friend bool operator==(const Counters&, const Counters&) = default;
};

// The counters of a game in play and those from before its last move, which
// the one-step undo brings back.
struct Score {
    Counters now;
    Counters beforeLastMove;

    friend bool operator==(const Score&, const Score&) = default;
};

// The counters a game starts with on a board whose first clearing is done.
Counters startCounters(const Position& pos);

// The steps of one move, in order; a caller that shows the move draws
// between them. spendMove: a move is paid for. slide: the run slides (the
// board changes). scoreClearing: after `cleared` cells were cleared, the
// live tiles are counted again and the moves they earn are added.
void spendMove(Score& score);
void slide(Position& pos, Score& score, const Move& move);
void scoreClearing(const Position& pos, Score& score, int cleared);

// One whole move without anything shown: false, with nothing changed, when
// the click asks for no move or no move is left.
bool playMove(Position& pos, Score& score, int col, int row, bool leftButton);

}  // namespace tessarin::three
