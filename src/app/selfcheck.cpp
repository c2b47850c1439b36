// The self-check that TESSARIN_SELFCHECK=1 switches on: after every command,
// key and click the window has handled, the board and the counters must tell
// one story, or the program stops at once and says what is wrong. Tests that
// drive the real program with bursts of input use it to see inside.
#include "app/game.h"

#include <cstdio>
#include <cstdlib>

namespace tessarin {

QString Game::consistencyProblem() const {
    // Before the first deal the board is empty.
    if (position_.isEmpty()) return {};
    if (!position_.isConsistent())
        return QStringLiteral("the board does not hold each tile once, in the cell its record names");
    // An operation that lets events in on its way has not set its counters yet.
    if (shell_.busy() || !shell_.inPlay()) return {};

    if (shell_.kind() == GameKind::TwoCorner) {
        int removed = 0, picked = 0;
        for (int t = 1; t <= kTiles; ++t) {
            removed += position_.tile(t).state == kRemoved;
            picked += position_.tile(t).state == kPicked;
        }
        const TwoCornerState& game = twoCorner_.state();
        const Replay& replay = session_.state().replay;
        const int count = game.moves.count;
        if (count < 0 || count > kTiles) return QStringLiteral("the move record holds %1 clicks").arg(count);
        if (replay.on) {
            // The replay only draws: no tile leaves, the count drops a pair every two clicks.
            if (replay.tilesLeft != kTiles - replay.clicks / 2 * 2)
                return QStringLiteral("the replay shows %1 tiles after %2 clicks").arg(replay.tilesLeft).arg(replay.clicks);
            if (removed != 0 || picked != 0 || count != 0)
                return QStringLiteral("the replay changed the tiles or the move record");
            return {};
        }
        if (game.tilesLeft != kTiles - removed)
            return QStringLiteral("%1 tiles counted, where %2 are left").arg(game.tilesLeft).arg(kTiles - removed);
        if (removed != count / 2 * 2 || picked != count % 2)
            return QStringLiteral("%1 clicks recorded with %2 tiles removed and %3 picked").arg(count).arg(removed).arg(picked);
        if (picked == 1) {
            const int code = game.moves.cells[static_cast<std::size_t>(count)];
            if (position_.stateAt(codeX(code), codeY(code)) != kPicked)
                return QStringLiteral("the last recorded click is not the picked tile");
        }
    } else if (shell_.kind() == GameKind::ThreeMove) {
        const three::Counters& c = threeMove_.counters();
        const int live = three::countLiveTiles(position_);
        if (c.tilesLeft != live) return QStringLiteral("%1 tiles counted, where %2 are live").arg(c.tilesLeft).arg(live);
        if (c.movesLeft < 0 || c.movesDone < 0)
            return QStringLiteral("%1 moves left, %2 made").arg(c.movesLeft).arg(c.movesDone);
    }
    return {};
}

void Game::selfCheck(const char* after) const {
    static const bool enabled = qEnvironmentVariableIntValue("TESSARIN_SELFCHECK") == 1;
    if (!enabled) return;
    const QString problem = consistencyProblem();
    if (problem.isEmpty()) return;
    std::fprintf(stderr, "tessarin: self-check failed after %s: %s\n", after, problem.toUtf8().constData());
    std::abort();
}

}  // namespace tessarin
