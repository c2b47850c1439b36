// The self-check that TESSARIN_SELFCHECK=1 switches on: after every command,
// key and click the window has handled, the board and the counters must tell
// one story, or the program stops at once and says what is wrong. Tests that
// drive the real program with bursts of input use it to see inside.
#include "app/mjanmodule.h"
#include "threemove/rules.h"

#include <cstdio>
#include <cstdlib>

namespace tessarin {

QString MjanModule::consistencyProblem() const {
    // Before the first deal the board is empty.
    if (boardMap == BoardMap{}) return {};
    if (!boardIsConsistent(boardMap, paiTbl))
        return QStringLiteral("the board does not hold each tile once, in the cell its record names");
    // An operation that lets events in on its way has not set its counters yet.
    if (busy || !gameActive) return {};

    if (gameKind == TwoCorner) {
        int removed = 0, picked = 0;
        for (int t = 1; t <= kTiles; ++t) {
            const int state = paiTbl[static_cast<std::size_t>(t)].state;
            removed += state == kRemoved;
            picked += state == kPicked;
        }
        if (moveCount < 0 || moveCount > kTiles) return QStringLiteral("moveCount %1 is not 0..136").arg(moveCount);
        // The replay only draws: no tile leaves, the count drops a pair every two clicks.
        const int expectedRest = replayMode ? kTiles - replayClicks / 2 * 2 : kTiles - removed;
        if (restPai != expectedRest)
            return QStringLiteral("restPai %1, where %2 are left").arg(restPai).arg(expectedRest);
        if (replayMode && (removed != 0 || picked != 0 || moveCount != 0))
            return QStringLiteral("the replay changed the tiles or the move record");
        if (!replayMode && (removed != moveCount / 2 * 2 || picked != moveCount % 2))
            return QStringLiteral("moveCount %1 with %2 tiles removed and %3 picked").arg(moveCount).arg(removed).arg(picked);
        if (!replayMode && picked == 1) {
            int x = 0, y = 0;
            if (paiTbl[static_cast<std::size_t>(lastMove(x, y))].state != kPicked)
                return QStringLiteral("the last recorded click is not the picked tile");
        }
    } else if (gameKind == ThreeMove) {
        const int live = three::countPai3(boardMap, paiTbl);
        if (restPai3 != live) return QStringLiteral("restPai3 %1, where %2 tiles are live").arg(restPai3).arg(live);
        if (restMoves < 0 || doneMoves < 0)
            return QStringLiteral("restMoves %1, doneMoves %2").arg(restMoves).arg(doneMoves);
    }
    return {};
}

void MjanModule::selfCheck(const char* after) const {
    static const bool enabled = qEnvironmentVariableIntValue("TESSARIN_SELFCHECK") == 1;
    if (!enabled) return;
    const QString problem = consistencyProblem();
    if (problem.isEmpty()) return;
    std::fprintf(stderr, "tessarin: self-check failed after %s: %s\n", after, problem.toUtf8().constData());
    std::abort();
}

}  // namespace tessarin
