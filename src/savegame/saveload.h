// SAVE and Load of the authoring build: the TwoCorner game in play goes to
// the save slot "testdat.txt", and a saved game is read back from it.
#pragma once

#include "app/shell.h"
#include "board/position.h"
#include "formats/saveslot.h"

#include <QString>

namespace tessarin {

struct StageSessionState;
struct TwoCornerState;

// Writes the game to the slot in `folder`. Refused with a message, leaving
// the slot as it was, when there is nothing a load could take up again: a
// replay, a ThreeMove game, no complete board, a stage number that is not
// five or six digits.
void saveGame(const QString& folder, const Shell& shell, const StageSessionState& session, const Position& pos,
              const TwoCornerState& game);

// Reads the slot and checks it whole. False after a message naming what is
// wrong (or that a load is not possible now); the game is not touched.
bool readSavedGame(const QString& folder, const Shell& shell, const StageSessionState& session, SavedGame& out);

}  // namespace tessarin
