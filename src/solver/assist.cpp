#include "solver/assist.h"

#include "solver/solver.h"
#include "twocorner/connect.h"

namespace tessarin {

namespace {

Verdict decide(const Position& pos, int64_t budgetMs) {
    SolveBudget budget;
    budget.ms = budgetMs;
    return solvePosition(pos, budget).verdict;
}

}  // namespace

DeadEnd findDeadEnd(const Position& pos, const MoveRecord& moves, int64_t budgetMs, const std::atomic<bool>* stop,
                    bool knownDead) {
    DeadEnd result;
    if (!knownDead && decide(pos, budgetMs) != Verdict::Unsolvable) return result;
    result.proved = true;
    // Walk back through the record a pair at a time: taking a pair back
    // puts its two tiles on the board again.
    Position earlier = pos;
    const int pairs = moves.count / 2;
    for (int k = 1; k <= pairs; ++k) {
        if (stop && *stop) return DeadEnd{};
        for (int i = 2 * (pairs - k) + 1; i <= 2 * (pairs - k) + 2; ++i) {
            const int code = moves.cells[static_cast<std::size_t>(i)];
            earlier.setState(earlier.tileAt(codeX(code), codeY(code)), kOnBoard);
        }
        if (decide(earlier, budgetMs) != Verdict::Unsolvable) {
            result.pairsBack = k;
            return result;
        }
    }
    return result;  // not even the start could be cleared
}

HintResult findHint(const Position& pos, int64_t budgetMs, CellPair& pair) {
    SolveBudget budget;
    budget.ms = budgetMs;
    const SolveResult r = solvePosition(pos, budget);
    if (r.verdict == Verdict::Unsolvable) return HintResult::DeadEnd;
    if (r.verdict != Verdict::Solvable || r.cells.size() < 2) return HintResult::Undecided;
    const OrderedPair p = orderPair(codeX(r.cells[0]), codeY(r.cells[0]), codeX(r.cells[1]), codeY(r.cells[1]));
    pair = CellPair{static_cast<int8_t>(p.xL), static_cast<int8_t>(p.yL), static_cast<int8_t>(p.xR), static_cast<int8_t>(p.yR)};
    return HintResult::Found;
}

}  // namespace tessarin
