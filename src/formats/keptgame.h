// The game in progress, kept in the player's folder ("keptgame.txt") after
// every move and at exit, so that the next start goes on with it. A text
// file of named lines:
//
//   tessarin kept game 1
//   kind K                     1 二角取り, 2 三動牌
//   stage NUMBER FIXED         the stage number (5 or 6 digits), 1 for a stored stage
//   board TTT...               the 136 tiles of the field, column by column, 3 digits each
//   tiles XXYSC...             per tile number 0..138: column (2), row (1), state (1), cover (1)
//   twocorner LEFT COUNT CODES tiles left, clicks recorded, the 141 record entries (3 digits each)
//   search SHOWN CURRENT       the pair search shown, and the pair outlined
//   exchange WAITING CHOSEN X Y TILE
//   threemove T M D T M D WARNED SERIAL   counters now and before the last move
//   menus EVS... SEARCH EXCHANGE          per menu item enabled, visible, checked;
//                                         the variants of two captions
//
// Lines end in LF; the reader also takes CR LF. A file that is not exactly
// a game the program can have been in is refused as a whole.
#pragma once

#include "board/position.h"
#include "formats/saveslot.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

inline constexpr const char* kKeptGameFile = "keptgame.txt";

struct KeptCounters {
    int tilesLeft = 0, movesLeft = 0, movesDone = 0;
    friend bool operator==(const KeptCounters&, const KeptCounters&) = default;
};

struct KeptGame {
    int kind = 1;  // 1 TwoCorner, 2 ThreeMove
    std::string stageNo;
    bool fixedStage = false;
    Position position;
    // TwoCorner
    int tilesLeft = 0;
    MoveRecord moves;
    bool searchShown = false;
    int searchCurrent = 0;
    bool exchangeWaiting = false, exchangeChosen = false;
    int exchangeX = 0, exchangeY = 0, exchangeTile = 0;
    // ThreeMove
    KeptCounters now, before;
    bool undoWriteWarned = false;
    int dealSerial = 0;
    // The menus: enabled, visible and checked per item, and which caption
    // the search and the exchange items show (0 as designed, 1 idle, 2 busy).
    std::vector<std::array<bool, 3>> menus;
    int searchCaption = 0, exchangeCaption = 0;

    friend bool operator==(const KeptGame&, const KeptGame&) = default;
};

std::string formatKeptGame(const KeptGame& game);

// Reads a kept game and checks it: the board each tile once and the
// records matching it; for 二角取り the record of clicks telling the story
// of the tile states, the outlined search pair and the exchange choice
// naming tiles on the board; for 三動牌 live tiles, stones and holes as the
// game makes them and the counters agreeing. False (with the reason, for
// tests and logs) otherwise.
bool parseKeptGame(std::string_view bytes, KeptGame& out, std::string& why);

}  // namespace tessarin
