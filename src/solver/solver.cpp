#include "solver/solver.h"

#include "solver/bitboard.h"
#include "twocorner/connect.h"
#include "twocorner/pairs.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace tessarin {

namespace {

using solver::Bits256;
using solver::Joinable;
using solver::refreshJoinable;
using solver::kKinds;
using solver::kPairIds;
using solver::kPairsPerKind;
using solver::Layout;
using solver::pairTileA;
using solver::pairTileB;
using solver::Bitboard;
using Clock = std::chrono::steady_clock;

// Takes the pairs that hold a tile out of a set of pairs.
void dropPairsOf(Bits256& set, int tile) {
    for (const uint8_t q : solver::kPairsOfSlot[static_cast<std::size_t>(tile % 4)])
        set.clear(tile / 4 * kPairsPerKind + q);
}

// Positions proven lost, keyed by their exact set of removed tiles (136 bits
// in words 0..2; word 3 marks a used slot). Exact keys: a hash collision can
// never turn a live position into a lost one.
class LostSet {
public:
    bool contains(const Bits256& removed) const {
        if (slots_.empty()) return false;
        for (std::size_t i = slotOf(removed);; i = (i + 1) & (slots_.size() - 1)) {
            const Bits256& s = slots_[i];
            if (s.w[3] == 0) return false;
            if (s.w[0] == removed.w[0] && s.w[1] == removed.w[1] && s.w[2] == removed.w[2]) return true;
        }
    }

    void insert(const Bits256& removed) {
        if (used_ * 2 >= slots_.size()) {
            // Past the size limit the set stops growing: forgetting a lost
            // position only costs time.
            if (slots_.size() >= kMaxSlots) return;
            grow();
        }
        for (std::size_t i = slotOf(removed);; i = (i + 1) & (slots_.size() - 1)) {
            Bits256& s = slots_[i];
            if (s.w[3] == 0) {
                s = removed;
                s.w[3] = 1;
                ++used_;
                return;
            }
            if (s.w[0] == removed.w[0] && s.w[1] == removed.w[1] && s.w[2] == removed.w[2]) return;
        }
    }

private:
    static constexpr std::size_t kMaxSlots = std::size_t{1} << 20;

    std::size_t slotOf(const Bits256& k) const {
        uint64_t h = k.w[0] * 0x9E3779B97F4A7C15ull ^ (k.w[1] + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full ^
                     (k.w[2] + 0x165667B19E3779F9ull) * 0x94D049BB133111EBull;
        h ^= h >> 31;
        return static_cast<std::size_t>(h) & (slots_.size() - 1);
    }

    void grow() {
        std::vector<Bits256> old = std::move(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, Bits256{});
        used_ = 0;
        for (const Bits256& s : old) {
            if (s.w[3] != 0) insert(s);
        }
    }

    std::vector<Bits256> slots_;
    std::size_t used_ = 0;
};

enum class Outcome { Cleared, Lost, OutOfBudget };

// The tiles a relaxation struck, in order, each with the partner that let it
// go and the path that joined them (see relax).
struct StrikeOrder {
    std::array<uint8_t, kTiles> tile{};
    std::array<uint8_t, kTiles> partner{};
    std::array<uint8_t, kTiles> route{};  // Bitboard::route, or kNoRoute
    int size = 0;
};
constexpr int kNoRoute = 255;  // a strike whose path was not recorded

// What a relaxation may not do: strike a pinned tile, or strike a tile by a
// barred pair; and the pairs it is asked about, if any.
struct Restriction {
    Bits256 pinned;  // tiles
    Bits256 barred;  // pair ids
    std::array<int, 2> goals{-1, -1};  // pair ids, -1 for none
};

int complementOf(int id) {
    return (id / kPairsPerKind) * kPairsPerKind + solver::complementPair(id % kPairsPerKind);
}

// The relaxation behind the reachability bound. A tile is struck when
// another tile of its kind that is on the board in p can be joined to it
// with every struck tile counted as free; this is repeated until nothing
// changes. Every tile that a line of play takes off gets struck, by
// induction over its moves: the cells free before each move are all struck.
// Restricted, the same holds for every line as long as it takes no barred
// pair and no pinned tile.
//
// Returns the number of tiles neither struck nor pinned, or -1 - g as soon
// as goal pair g of the restriction can be joined; `relaxed` is p with the
// struck tiles taken off, `order` the strikes. A strike recorded in
// `earlier`, at a position on the way to p or at p itself, is repeated in
// order; it holds without asking the rule again while its partner is still
// on the board and its pair allowed, unless a cell of an earlier strike not
// repeated may lie on its path: apart from such cells, at least the same
// cells are free here at each step as there.
int relax(const Bitboard& p, const Bits256& known, const Restriction& rule, const StrikeOrder* earlier,
          StrikeOrder& order, Bitboard& relaxed) {
    relaxed = p;
    const Layout& l = p.layout();
    Bits256 struck;
    int unstruck = p.tilesLeft();
    for (std::size_t w = 0; w < 3; ++w) unstruck -= solver::detail::bitCount(rule.pinned.w[w] & ~p.removed().w[w]);
    order.size = 0;
    const auto strikable = [&](int t) { return p.present(t) && !struck.has(t) && !rule.pinned.has(t); };
    const auto allowed = [&](int t, int u) { return p.present(u) && !rule.barred.has(solver::pairIdOf(t, u)); };
    // The goals are asked between the phases and after every sweep: a
    // goal that joins at some time still joins at the end.
    int reached = -1;
    const auto goalReached = [&] {
        for (std::size_t g = 0; g < rule.goals.size() && reached < 0; ++g) {
            const int id = rule.goals[g];
            if (id >= 0 && relaxed.joinable(pairTileA(id), pairTileB(id))) reached = static_cast<int>(g);
        }
        return reached >= 0;
    };
    const auto strike = [&](int t, int partner, int route) {
        struck.set(t);
        relaxed.remove(t);
        --unstruck;
        const auto i = static_cast<std::size_t>(order.size++);
        order.tile[i] = static_cast<uint8_t>(t);
        order.partner[i] = static_cast<uint8_t>(partner);
        order.route[i] = static_cast<uint8_t>(route);
    };
    // Strikes t by another tile that joins it now; false when none does.
    const auto strikeByAny = [&](int t) {
        const int first = t / 4 * 4;
        for (int u = first; u < first + 4; ++u) {
            if (u == t || !allowed(t, u)) continue;
            const int route = relaxed.route(t, u);
            if (route < 0) continue;
            strike(t, u, route);
            return true;
        }
        return false;
    };
    if (goalReached()) return -1 - reached;
    solver::forEachIn(known, rule.barred, [&](int id) {
        const int a = pairTileA(id), b = pairTileB(id);
        if (strikable(a)) strike(a, b, kNoRoute);
        if (strikable(b)) strike(b, a, kNoRoute);
    });
    if (goalReached()) return -1 - reached;
    if (earlier != nullptr) {
        // The cells of earlier strikes not repeated (yet). An earlier strike
        // whose recorded path crosses one of them is asked again; one
        // without a recorded path is asked again when such a cell lies in
        // its column or row range, as a path of at most two bends keeps to
        // the columns between its ends or to the rows between them (see
        // refreshJoinable in bitboard.h).
        std::array<uint8_t, kTiles> missing{};
        int nMissing = 0;
        uint32_t missingCols = 0;
        uint32_t missingRows = 0;
        const auto miss = [&](int t) {
            missing[static_cast<std::size_t>(nMissing++)] = static_cast<uint8_t>(t);
            missingCols |= 1u << l.x[static_cast<std::size_t>(t)];
            missingRows |= 1u << l.y[static_cast<std::size_t>(t)];
        };
        const auto pathClear = [&](int t, int u, int route) {
            if (route == kNoRoute) {
                const int tx = l.x[static_cast<std::size_t>(t)], ty = l.y[static_cast<std::size_t>(t)];
                const int ux = l.x[static_cast<std::size_t>(u)], uy = l.y[static_cast<std::size_t>(u)];
                return (missingCols & solver::detail::span(std::min(tx, ux), std::max(tx, ux))) == 0 &&
                       (missingRows & solver::detail::span(std::min(ty, uy), std::max(ty, uy))) == 0;
            }
            for (int k = 0; k < nMissing; ++k) {
                const int m = missing[static_cast<std::size_t>(k)];
                const int mx = l.x[static_cast<std::size_t>(m)], my = l.y[static_cast<std::size_t>(m)];
                if (p.onRoute(t, u, route, mx, my)) return false;
            }
            return true;
        };
        for (int i = 0; i < earlier->size && unstruck > 0; ++i) {
            const int t = earlier->tile[static_cast<std::size_t>(i)];
            const int u = earlier->partner[static_cast<std::size_t>(i)];
            const int route = earlier->route[static_cast<std::size_t>(i)];
            if (!strikable(t)) {
                if (p.present(t) && !struck.has(t)) miss(t);  // pinned here
                continue;
            }
            if (allowed(t, u)) {
                if (pathClear(t, u, route)) {
                    strike(t, u, route);
                    continue;
                }
                const int now = relaxed.route(t, u);
                if (now >= 0) {
                    strike(t, u, now);
                    continue;
                }
            }
            if (!strikeByAny(t)) miss(t);
        }
    }
    // Sweeps over the tiles left until one strikes nothing. Striking a tile
    // at once lets the rest of the sweep use its cell. After the first
    // sweep a pair is asked again only when a cell struck since it was last
    // asked lies in its column or row range (see refreshJoinable in bitboard.h); the
    // cells struck in the last sweep and so far in this one cover those.
    uint32_t lastCols = ~0u, lastRows = ~0u;  // the first sweep asks all
    for (bool changed = true; changed && unstruck > 0;) {
        if (goalReached()) return -1 - reached;
        changed = false;
        uint32_t nowCols = 0, nowRows = 0;
        Bits256 gone = p.removed();  // tiles not to look at: gone, struck or pinned
        for (std::size_t w = 0; w < gone.w.size(); ++w) gone.w[w] |= struck.w[w] | rule.pinned.w[w];
        solver::forEachIn(Bits256{{~0ull, ~0ull, (uint64_t{1} << (kTiles - 128)) - 1, 0}}, gone, [&](int t) {
            if (!strikable(t)) return;  // struck earlier in this sweep
            const int tx = l.x[static_cast<std::size_t>(t)], ty = l.y[static_cast<std::size_t>(t)];
            const uint32_t cols = lastCols | nowCols, rows = lastRows | nowRows;
            int u = -1;
            int route = -1;
            for (int v = t / 4 * 4; v < t / 4 * 4 + 4 && u < 0; ++v) {
                if (v == t || !allowed(t, v)) continue;
                const int vx = l.x[static_cast<std::size_t>(v)], vy = l.y[static_cast<std::size_t>(v)];
                if ((cols & solver::detail::span(std::min(tx, vx), std::max(tx, vx))) == 0 &&
                    (rows & solver::detail::span(std::min(ty, vy), std::max(ty, vy))) == 0)
                    continue;
                route = relaxed.route(t, v);
                if (route >= 0) u = v;
            }
            if (u < 0) return;
            strike(t, u, route);
            nowCols |= 1u << tx;
            nowRows |= 1u << ty;
            if (strikable(u)) {
                strike(u, t, route);  // the same cells either way round
                nowCols |= 1u << l.x[static_cast<std::size_t>(u)];
                nowRows |= 1u << l.y[static_cast<std::size_t>(u)];
            }
            changed = true;
        });
        lastCols = nowCols;
        lastRows = nowRows;
    }
    if (goalReached()) return -1 - reached;
    return unstruck;
}

// Whether the strikes of a full reachability bound taken at a position on
// the way to p (every tile there struck) still strike every tile of p: they
// do when each strike of a tile still on the board has its partner still on
// the board and its pair not banned, for at each step at least the same
// cells are free here as there (see relax).
bool strikesHold(const Bitboard& p, const Bits256& banned, const StrikeOrder& earlier) {
    for (int i = 0; i < earlier.size; ++i) {
        const int t = earlier.tile[static_cast<std::size_t>(i)];
        const int u = earlier.partner[static_cast<std::size_t>(i)];
        if (p.present(t) && (!p.present(u) || banned.has(solver::pairIdOf(t, u)))) return false;
    }
    return true;
}

// The last tests of the pairings of each kind (see banHopelessPairings),
// three per kind.
struct PairingProof {
    StrikeOrder first;   // all four tiles pinned, until one pair joins
    StrikeOrder second;  // the other pair's tiles pinned, until it joins
    int secondPair = -1;
    bool held = false;   // the pairing passed both tests
};
using PairingProofs = std::array<PairingProof, kKinds * 3>;

class Search {
public:
    explicit Search(const SolveBudget& budget) : budget_(budget), start_(Clock::now()) {}

    // A quick search first, with the cheap bounds only; when it has not
    // decided after budget.quickNodes positions, a thorough one from the
    // start, which tests the pairings of every kind at each position and
    // tries first the moves that make the most pairs joinable. The lost
    // positions found by the first are kept.
    Outcome run(const Bitboard& root) {
        Outcome o = explore(root, Joinable{}, Bits256{}, nullptr, nullptr, 0);
        if (o == Outcome::OutOfBudget && !thorough_ && !overBudget()) {
            thorough_ = true;
            path_.clear();
            o = explore(root, Joinable{}, Bits256{}, nullptr, nullptr, 0);
        }
        return o;
    }

    // The pairs taken, in order, after run() answered Cleared.
    const std::vector<int>& path() const { return path_; }
    int64_t nodes() const { return nodes_; }

private:
    bool overBudget() const {
        return timeUp_ || (budget_.nodes > 0 && nodes_ > budget_.nodes) ||
               (budget_.stop != nullptr && budget_.stop->load(std::memory_order_relaxed));
    }

    // Counts a position; true when the search is to stop.
    bool outOfBudget() {
        ++nodes_;
        if (budget_.ms > 0 && (nodes_ & 31) == 0) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_);
            if (spent.count() >= budget_.ms) timeUp_ = true;
        }
        return overBudget() || (!thorough_ && nodes_ >= budget_.quickNodes);
    }

    static void take(Bitboard& p, Joinable& j, Bits256& banned, int id) {
        for (const int t : {pairTileA(id), pairTileB(id)}) {
            p.remove(t);
            j.taken(p.layout(), t);
            dropPairsOf(banned, t);
        }
    }

    // A pair no winning line takes. With four tiles of the kind left, the
    // other two must then go together later, so their pair goes as well.
    static void ban(const Bitboard& p, Bits256& banned, int id) {
        banned.set(id);
        if (p.left(id / kPairsPerKind) == 4) banned.set(complementOf(id));
    }

    // Safe moves of the position, in the order they are to be taken; -1 when
    // a kind can no longer be cleared by a winning line. Safe are:
    // - the last two tiles of a kind when joinable;
    // - all four tiles of a kind when one joinable pair leaves the other
    //   two joinable;
    // - a joinable pair of the only pairing of a kind's four tiles that no
    //   banned pair rules out.
    // Each can be moved to the front of a winning line (the first two of
    // any line, the third of any winning line, which takes that pairing),
    // and the moves of different kinds can be moved there together.
    static int safeMoves(const Bitboard& p, const Joinable& known, const Bits256& banned,
                         std::array<int, kTiles / 2>& out) {
        const Bits256& j = known.pairs;
        int n = 0;
        for (int k = 0; k < kKinds; ++k) {
            const int left = p.left(k);
            const int base = k * kPairsPerKind;
            if (left == 2) {
                for (int q = 0; q < kPairsPerKind; ++q) {
                    const int id = base + q;
                    if (!p.present(pairTileA(id)) || !p.present(pairTileB(id))) continue;
                    if (banned.has(id)) return -1;
                    if (j.has(id)) out[static_cast<std::size_t>(n++)] = id;
                }
                continue;
            }
            if (left != 4) continue;
            int first = -1;
            for (int q = 0; q < kPairsPerKind / 2 && first < 0; ++q) {
                if (j.has(base + q) && j.has(complementOf(base + q))) first = base + q;
            }
            for (int q = 0; q < kPairsPerKind && first < 0; ++q) {
                const int id = base + q;
                if (!j.has(id)) continue;
                Bitboard after = p;
                after.remove(pairTileA(id));
                after.remove(pairTileB(id));
                const int other = complementOf(id);
                if (after.joinable(pairTileA(other), pairTileB(other))) first = id;
            }
            if (first >= 0) {
                out[static_cast<std::size_t>(n++)] = first;
                out[static_cast<std::size_t>(n++)] = complementOf(first);
                continue;
            }
            int open = 0;
            int pairing = -1;
            for (int q = 0; q < kPairsPerKind / 2; ++q) {
                if (!banned.has(base + q)) {
                    ++open;
                    pairing = base + q;
                }
            }
            if (open == 0) return -1;
            if (open == 1) {
                if (j.has(pairing)) {
                    out[static_cast<std::size_t>(n++)] = pairing;
                } else if (j.has(complementOf(pairing))) {
                    out[static_cast<std::size_t>(n++)] = complementOf(pairing);
                }
            }
        }
        return n;
    }

    // Bans the pairings that no line of play can complete, for every kind
    // with four tiles left: pairing {q, q'} needs one of its pairs to be
    // joinable at some time with all four tiles on the board, and the other
    // joinable with its own two tiles on the board while the first two go
    // only together. Each test is the relaxation with those tiles pinned,
    // stopped as soon as the pair joins; its strikes are kept in `out` and
    // replayed by the next test of the same pairing further down the
    // search (`earlier`), which then rarely needs to ask the rule at all.
    // Returns false when a kind is left without a pairing.
    static bool banHopelessPairings(const Bitboard& p, const Bits256& known, const StrikeOrder& plain,
                                    const PairingProofs* earlier, Bits256& banned, PairingProofs& out) {
        Bitboard relaxed = p;
        StrikeOrder prior;
        for (int k = 0; k < kKinds; ++k) {
            if (p.left(k) != 4) {
                for (int m = 0; m < 3; ++m) out[static_cast<std::size_t>(k * 3 + m)].held = false;
                continue;
            }
            const int base = k * kPairsPerKind;
            Bits256 kindPairs;
            for (int q = 0; q < kPairsPerKind; ++q) kindPairs.set(base + q);
            Bits256 all4;
            for (int t = k * 4; t < k * 4 + 4; ++t) all4.set(t);
            int open = 0;
            for (int m = 0; m < 3; ++m) {
                const int q1 = base + m, q2 = complementOf(base + m);
                // `earlier` may be `out` itself when a position is tested
                // again: each earlier proof is copied before it is replaced.
                PairingProof& proof = out[static_cast<std::size_t>(k * 3 + m)];
                const PairingProof* before = earlier != nullptr && (*earlier)[static_cast<std::size_t>(k * 3 + m)].held
                                                 ? &(*earlier)[static_cast<std::size_t>(k * 3 + m)]
                                                 : nullptr;
                proof.held = false;
                if (banned.has(q1)) continue;
                // Which goal pair joins with the pinned tiles on the board and
                // the barred pairs unused: 0 or 1, or -1 for neither.
                const auto joins = [&](const Bits256& pins, const Bits256& barredHere, int goal1, int goal2,
                                       const StrikeOrder* from, StrikeOrder& to) {
                    prior = from != nullptr ? *from : plain;
                    Restriction rule{pins, banned, {goal1, goal2}};
                    for (std::size_t w = 0; w < rule.barred.w.size(); ++w) rule.barred.w[w] |= barredHere.w[w];
                    const int r = relax(p, known, rule, &prior, to, relaxed);
                    return r < 0 ? -1 - r : -1;
                };
                const int firstGoal = joins(all4, kindPairs, q1, q2, before != nullptr ? &before->first : nullptr,
                                            proof.first);
                bool possible = firstGoal >= 0;
                if (possible) {
                    const int id = firstGoal == 0 ? q2 : q1;
                    Bits256 pins;
                    pins.set(pairTileA(id));
                    pins.set(pairTileB(id));
                    Bits256 barredHere = kindPairs;
                    barredHere.clear(complementOf(id));
                    const bool same = before != nullptr && before->secondPair == id;
                    possible = joins(pins, barredHere, id, -1, same ? &before->second : nullptr, proof.second) == 0;
                    proof.secondPair = id;
                }
                if (possible) {
                    proof.held = true;
                    ++open;
                } else {
                    banned.set(q1);
                    banned.set(q2);
                }
            }
            if (open == 0) return false;
        }
        return true;
    }

    // The number of pairs that a move makes joinable.
    static int pairsOpenedBy(const Bitboard& p, const Joinable& known, int id) {
        Bitboard after = p;
        Joinable j = known;
        Bits256 unused;
        take(after, j, unused, id);
        const int before = j.pairs.count();
        refreshJoinable(after, j);
        return j.pairs.count() - before;
    }

    // The complement of a move, as a measure of risk: the fewest tiles that
    // stand on any path of at most two bends between the two tiles it
    // leaves of the kind, once the move is made. Moves that leave an easy
    // pair behind are tried first.
    static int riskOf(const Bitboard& p, int id) {
        using solver::detail::bitCount;
        const Layout& l = p.layout();
        const int other = complementOf(id);
        // Occupied cells per row and per column, the move's tiles and the
        // two ends not counted.
        std::array<uint32_t, kBoardH> rowBusy{};
        std::array<uint32_t, kBoardW> colBusy{};
        for (int r = 0; r < kBoardH; ++r) rowBusy[static_cast<std::size_t>(r)] = ~p.rowFree(r);
        for (int c = 0; c < kBoardW; ++c) colBusy[static_cast<std::size_t>(c)] = ~p.colFree(c);
        const std::array<int, 4> gone{pairTileA(id), pairTileB(id), pairTileA(other), pairTileB(other)};
        for (const int t : gone) {
            const int x = l.x[static_cast<std::size_t>(t)], y = l.y[static_cast<std::size_t>(t)];
            rowBusy[static_cast<std::size_t>(y)] &= ~(1u << x);
            colBusy[static_cast<std::size_t>(x)] &= ~(1u << y);
        }
        const auto span = [](int u, int v) { return solver::detail::span(std::min(u, v), std::max(u, v)); };
        const int ax = l.x[static_cast<std::size_t>(gone[2])], ay = l.y[static_cast<std::size_t>(gone[2])];
        const int bx = l.x[static_cast<std::size_t>(gone[3])], by = l.y[static_cast<std::size_t>(gone[3])];
        const uint32_t colA = colBusy[static_cast<std::size_t>(ax)], colB = colBusy[static_cast<std::size_t>(bx)];
        const uint32_t rowA = rowBusy[static_cast<std::size_t>(ay)], rowB = rowBusy[static_cast<std::size_t>(by)];
        int best = kTiles;
        for (int r = 0; r < kBoardH; ++r) {
            const uint32_t across = rowBusy[static_cast<std::size_t>(r)] & span(ax, bx);
            best = std::min(best, bitCount(colA & span(ay, r)) + bitCount(across) + bitCount(colB & span(r, by)));
        }
        for (int c = 0; c < kBoardW; ++c) {
            const uint32_t along = colBusy[static_cast<std::size_t>(c)] & span(ay, by);
            best = std::min(best, bitCount(rowA & span(ax, c)) + bitCount(along) + bitCount(rowB & span(c, bx)));
        }
        return best;
    }

    // Searches on from position p. `known` holds the joinable pairs of p
    // up to the cells freed since, `banned` pairs that no winning line from
    // here takes (moves shown to lose here or at an earlier position on the
    // way, and pairings shown impossible), and `earlier` the strikes of the
    // last reachability bound taken on the way.
    Outcome explore(Bitboard p, Joinable known, Bits256 banned, const StrikeOrder* earlier,
                    const PairingProofs* proofs, std::size_t depth) {
        const std::size_t pathMark = path_.size();
        std::vector<Bits256> chain;  // the positions met here, all lost together
        const auto lose = [&] {
            for (const Bits256& r : chain) lost_.insert(r);
            path_.resize(pathMark);
            return Outcome::Lost;
        };
        std::array<int, kTiles / 2> safe{};
        StrikeOrder order;
        StrikeOrder previous;
        Bitboard relaxed = p;
        for (;;) {
            for (;;) {
                if (p.tilesLeft() == 0) return Outcome::Cleared;
                if (outOfBudget()) return Outcome::OutOfBudget;
                if (chain.empty() || !(chain.back() == p.removed())) {
                    if (lost_.contains(p.removed())) return lose();
                    chain.push_back(p.removed());
                }
                refreshJoinable(p, known);
                const int n = safeMoves(p, known, banned, safe);
                if (n < 0) return lose();
                if (n == 0) break;
                for (int i = 0; i < n; ++i) {
                    const int id = safe[static_cast<std::size_t>(i)];
                    // A safe move that no winning line takes: none exists.
                    if (banned.has(id)) return lose();
                    take(p, known, banned, id);
                    path_.push_back(id);
                }
            }
            for (int k = 0; k < kKinds; ++k) {
                if (p.left(k) % 2 != 0) return lose();
            }
            if (earlier == nullptr || !strikesHold(p, banned, *earlier)) {
                if (earlier == &order) {
                    previous = order;
                    earlier = &previous;
                }
                if (relax(p, known.pairs, Restriction{Bits256{}, banned}, earlier, order, relaxed) > 0) return lose();
                earlier = &order;
            }
            if (thorough_) {
                PairingProofs& mine = proofsAt(depth);
                const Bits256 before = banned;
                if (!banHopelessPairings(p, known.pairs, *earlier, proofs, banned, mine)) return lose();
                proofs = &mine;
                if (!(before == banned)) continue;
            }

            int best = -1;
            int bestScore = 0;
            for (int id = 0; id < kPairIds; ++id) {
                if (!known.pairs.has(id) || banned.has(id)) continue;
                const int score = thorough_ ? -pairsOpenedBy(p, known, id) : riskOf(p, id);
                if (best < 0 || score < bestScore) {
                    best = id;
                    bestScore = score;
                }
            }
            if (best < 0) return lose();
            Bitboard next = p;
            Joinable nextKnown = known;
            Bits256 nextBanned = banned;
            take(next, nextKnown, nextBanned, best);
            Outcome o = Outcome::Lost;
            if (!lost_.contains(next.removed())) {
                path_.push_back(best);
                o = explore(next, nextKnown, nextBanned, earlier, proofs, depth + 1);
                if (o != Outcome::Lost) return o;
                path_.pop_back();
            }
            // The move loses: no winning line from here takes it. With it
            // banned, the position is looked at again.
            ban(p, banned, best);
        }
    }

    // The pairing tests of the node at each depth of the search.
    PairingProofs& proofsAt(std::size_t depth) {
        while (proofPool_.size() <= depth) proofPool_.push_back(std::make_unique<PairingProofs>());
        return *proofPool_[depth];
    }
    std::vector<std::unique_ptr<PairingProofs>> proofPool_;

    SolveBudget budget_;
    Clock::time_point start_;
    int64_t nodes_ = 0;
    bool timeUp_ = false;
    bool thorough_ = false;
    LostSet lost_;
    std::vector<int> path_;
};

// Plays the pairs on a copy of the board with the game's own rule; false
// when any step is not a legal move.
bool replays(Position pos, const std::vector<int>& cells) {
    for (std::size_t i = 0; i + 1 < cells.size(); i += 2) {
        const int x1 = codeX(cells[i]), y1 = codeY(cells[i]);
        const int x2 = codeX(cells[i + 1]), y2 = codeY(cells[i + 1]);
        if (checkPair(pos, x1, y1, x2, y2) != PairFault::None) return false;
        takePair(pos, x1, y1, x2, y2);
    }
    return true;
}

}  // namespace

const char* verdictName(Verdict v) {
    switch (v) {
    case Verdict::Solvable: return "solvable";
    case Verdict::Unsolvable: return "unsolvable";
    case Verdict::Undecided: break;
    }
    return "undecided";
}

SolveResult solvePosition(const Position& pos, const SolveBudget& budget) {
    const auto start = Clock::now();
    if (!pos.isConsistent()) return SolveResult{};
    Position plain = pos;  // a picked tile is simply a tile on the board
    for (int t = 1; t <= kTiles; ++t)
        if (plain.tile(t).state == kPicked) plain.setState(t, kOnBoard);
    const Layout layout = Bitboard::layoutOf(plain);
    const Bitboard root = Bitboard::of(layout, plain);
    Search search(budget);
    const Outcome outcome = search.run(root);

    SolveResult result;
    result.nodes = search.nodes();
    if (outcome == Outcome::Cleared) {
        for (const int id : search.path()) {
            const int a = pairTileA(id), b = pairTileB(id);
            const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
            const OrderedPair pair = orderPair(layout.x[ua], layout.y[ua], layout.x[ub], layout.y[ub]);
            result.cells.push_back(cellCode(pair.xL, pair.yL));
            result.cells.push_back(cellCode(pair.xR, pair.yR));
        }
        // The answer is checked against the game's rule before it is given;
        // an answer that did not replay would be a fault of the solver, and
        // it is then withheld rather than passed on.
        if (replays(plain, result.cells)) {
            result.verdict = Verdict::Solvable;
        } else {
            result.cells.clear();
        }
    } else if (outcome == Outcome::Lost) {
        result.verdict = Verdict::Unsolvable;
    }
    result.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return result;
}

SolveResult solveStage(const StageLine& stage, const SolveBudget& budget) {
    return solvePosition(stage.position(), budget);
}


}  // namespace tessarin
