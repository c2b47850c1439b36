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
// go and the path that joined them (see Relaxation). Only the first `size`
// entries are set.
struct StrikeOrder {
    std::array<uint8_t, kTiles> tile;
    std::array<uint8_t, kTiles> partner;
    std::array<uint8_t, kTiles> route;  // Bitboard::route, or kNoRoute
    int size = 0;
};
constexpr int kNoRoute = 255;  // a strike whose path was not recorded

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
// Striking a tile that cannot be struck would only weaken the bound; failing
// to strike one that can would make it claim too much. So every shortcut
// below saves asking the rule only where the answer is known to be no
// different.
class Relaxation {
public:
    // Nothing struck yet.
    Relaxation(const Bitboard& p, const Bits256& pinned, const Bits256& barred)
        : p_(&p), relaxed_(p), pinned_(pinned), barred_(barred) {
        unstruck_ = p.tilesLeft();
        for (std::size_t w = 0; w < 3; ++w) unstruck_ -= solver::detail::bitCount(pinned.w[w] & ~p.removed().w[w]);
        askedAt_.fill(-1);
    }

    // Strikes both tiles of every allowed pair in `known`, pairs joinable in
    // p itself (their paths are not recorded: they need no struck cell).
    void strikeKnown(const Bits256& known) {
        solver::forEachIn(known, barred_, [&](int id) {
            const int a = pairTileA(id), b = pairTileB(id);
            if (strikable(a)) strike(a, b, kNoRoute);
            if (strikable(b)) strike(b, a, kNoRoute);
        });
    }

    // Repeats the strikes of a relaxation made at p or at a position on the
    // way to it, in order. A strike holds without asking the rule while its
    // partner is on the board and its pair allowed, unless its recorded path
    // crosses the cell of an earlier strike not repeated: apart from such
    // cells, at least the same cells are free here at each step as there. A
    // strike without a recorded path joined two tiles on the board there,
    // through cells free there and so free here. A strike that does not
    // hold is asked again, with any partner; a tile still not struck is left
    // to close().
    void replay(const StrikeOrder& earlier) {
        const Layout& l = p_->layout();
        solver::CellSet missing;
        const auto miss = [&](int t) { missing.add(l.x[static_cast<std::size_t>(t)], l.y[static_cast<std::size_t>(t)]); };
        for (int i = 0; i < earlier.size && unstruck_ > 0; ++i) {
            const int t = earlier.tile[static_cast<std::size_t>(i)];
            const int u = earlier.partner[static_cast<std::size_t>(i)];
            const int route = earlier.route[static_cast<std::size_t>(i)];
            if (!strikable(t)) {
                if (p_->present(t) && !struck_.has(t)) miss(t);  // pinned here
                continue;
            }
            if (allowed(t, u)) {
                if (route == kNoRoute || !p_->routeMeets(t, u, route, missing)) {
                    strike(t, u, route);
                    continue;
                }
                const int now = relaxed_.route(t, u);
                if (now >= 0) {
                    strike(t, u, now);
                    continue;
                }
            }
            if (!strikeByAny(t)) {
                miss(t);
                askedAt_[static_cast<std::size_t>(t)] = static_cast<int16_t>(order_.size);
            }
        }
    }

    // Sweeps over the tiles left until one strikes nothing. Striking a tile
    // at once lets the rest of the sweep use its cell. A pair is asked again
    // only when a cell struck since it was last asked lies in its column or
    // row range (see refreshJoinable in bitboard.h): in the first sweep the
    // cells struck since the tile was asked in vain, if it was, and so far in
    // this sweep; after it the cells struck in the last sweep and so far in
    // this one.
    void close() {
        const Layout& l = p_->layout();
        const int start = order_.size;
        std::array<uint32_t, kTiles + 1> sinceCols, sinceRows;  // cells struck from strike i on
        sinceCols[static_cast<std::size_t>(start)] = sinceRows[static_cast<std::size_t>(start)] = 0;
        for (int i = start - 1; i >= 0; --i) {
            const auto si = static_cast<std::size_t>(i);
            const auto t = static_cast<std::size_t>(order_.tile[si]);
            sinceCols[si] = sinceCols[si + 1] | 1u << l.x[t];
            sinceRows[si] = sinceRows[si + 1] | 1u << l.y[t];
        }
        bool firstSweep = true;
        uint32_t lastCols = 0, lastRows = 0;
        for (bool changed = true; changed && unstruck_ > 0;) {
            changed = false;
            uint32_t nowCols = 0, nowRows = 0;
            solver::forEachIn(kAllTiles, left(), [&](int t) {
                if (!strikable(t)) return;  // struck earlier in this sweep
                const int tx = l.x[static_cast<std::size_t>(t)], ty = l.y[static_cast<std::size_t>(t)];
                uint32_t cols = lastCols | nowCols, rows = lastRows | nowRows;
                if (firstSweep) {
                    const int asked = askedAt_[static_cast<std::size_t>(t)];
                    cols |= asked < 0 ? ~0u : sinceCols[static_cast<std::size_t>(asked)];
                    rows |= asked < 0 ? ~0u : sinceRows[static_cast<std::size_t>(asked)];
                }
                int u = -1;
                int route = -1;
                for (int v = t / 4 * 4; v < t / 4 * 4 + 4 && u < 0; ++v) {
                    if (v == t || !allowed(t, v)) continue;
                    const int vx = l.x[static_cast<std::size_t>(v)], vy = l.y[static_cast<std::size_t>(v)];
                    if ((cols & solver::detail::span(std::min(tx, vx), std::max(tx, vx))) == 0 &&
                        (rows & solver::detail::span(std::min(ty, vy), std::max(ty, vy))) == 0)
                        continue;
                    route = relaxed_.route(t, v);
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
            firstSweep = false;
        }
        // Every tile left has now been asked in vain, with the cells free now.
        if (unstruck_ > 0)
            solver::forEachIn(kAllTiles, left(), [&](int t) {
                if (!pinned_.has(t)) askedAt_[static_cast<std::size_t>(t)] = static_cast<int16_t>(order_.size);
            });
    }

    // Lets the two tiles of a pair of a pinned kind go, together only: they
    // are no longer pinned and their pair is allowed. close() then strikes
    // on from where the relaxation stood.
    void release(int id) {
        for (const int t : {pairTileA(id), pairTileB(id)}) {
            pinned_.clear(t);
            askedAt_[static_cast<std::size_t>(t)] = -1;
            if (p_->present(t)) ++unstruck_;
        }
        barred_.clear(id);
    }

    // Tiles neither struck nor pinned.
    int unstruck() const { return unstruck_; }
    const Bits256& struck() const { return struck_; }
    // Whether the two tiles of a pair, both on the board, can be joined
    // with the struck tiles counted as free.
    bool joins(int id) const { return relaxed_.joinable(pairTileA(id), pairTileB(id)); }
    const StrikeOrder& order() const { return order_; }

private:
    static constexpr Bits256 kAllTiles{{~0ull, ~0ull, (uint64_t{1} << (kTiles - 128)) - 1, 0}};

    bool strikable(int t) const { return p_->present(t) && !struck_.has(t) && !pinned_.has(t); }
    bool allowed(int t, int u) const { return p_->present(u) && !barred_.has(solver::pairIdOf(t, u)); }
    // The tiles not to look at: gone, struck or pinned.
    Bits256 left() const {
        Bits256 gone = p_->removed();
        for (std::size_t w = 0; w < gone.w.size(); ++w) gone.w[w] |= struck_.w[w] | pinned_.w[w];
        return gone;
    }

    void strike(int t, int partner, int route) {
        struck_.set(t);
        relaxed_.remove(t);
        --unstruck_;
        const auto i = static_cast<std::size_t>(order_.size++);
        order_.tile[i] = static_cast<uint8_t>(t);
        order_.partner[i] = static_cast<uint8_t>(partner);
        order_.route[i] = static_cast<uint8_t>(route);
    }

    // Strikes t by another tile that joins it now; false when none does.
    bool strikeByAny(int t) {
        const int first = t / 4 * 4;
        for (int u = first; u < first + 4; ++u) {
            if (u == t || !allowed(t, u)) continue;
            const int route = relaxed_.route(t, u);
            if (route < 0) continue;
            strike(t, u, route);
            return true;
        }
        return false;
    }

    const Bitboard* p_;
    Bitboard relaxed_;  // p with the struck tiles taken off
    Bits256 pinned_;    // tiles
    Bits256 barred_;    // pair ids
    Bits256 struck_;
    int unstruck_ = 0;
    StrikeOrder order_;
    // For each tile asked in vain: the number of strikes made by then; -1
    // for a tile not asked yet.
    std::array<int16_t, kTiles> askedAt_;
};

// Whether the strikes of a full reachability bound taken at a position on
// the way to p (every tile there struck) still strike every tile of p: they
// do when each strike of a tile still on the board has its partner still on
// the board and its pair not banned, for at each step at least the same
// cells are free here as there (see Relaxation::replay).
bool strikesHold(const Bitboard& p, const Bits256& banned, const StrikeOrder& earlier) {
    for (int i = 0; i < earlier.size; ++i) {
        const int t = earlier.tile[static_cast<std::size_t>(i)];
        const int u = earlier.partner[static_cast<std::size_t>(i)];
        if (p.present(t) && (!p.present(u) || banned.has(solver::pairIdOf(t, u)))) return false;
    }
    return true;
}

// The strikes of the first pairing test of each kind at a position (see
// banHopelessPairings), for the tests of the positions below it.
struct KindTests {
    std::array<StrikeOrder, kKinds> first;
    std::array<bool, kKinds> valid{};
};

// Tuning of the thorough search; the verdicts do not depend on them.
constexpr std::size_t kFirstTestKinds = 8;  // kinds tested at a position met for the first time
constexpr double kActivityWeight = 3.0;     // see Search::chooseMove
constexpr double kActivityGrowth = 1.25;    // see Search::noteConflict
constexpr int64_t kFirstRound = 2000;       // positions; see decide

// What the searches of one solve share: the budget and what has been spent
// of it, the end of the current round, and the positions proven lost.
struct Shared {
    explicit Shared(const SolveBudget& b) : budget(b) {}

    SolveBudget budget;
    Clock::time_point start = Clock::now();
    int64_t nodes = 0;
    bool timeUp = false;
    int64_t roundEnd = 0;  // a search stops when `nodes` reaches it; 0: never
    LostSet lost;

    bool overBudget() const {
        return timeUp || (budget.nodes > 0 && nodes > budget.nodes) ||
               (budget.stop != nullptr && budget.stop->load(std::memory_order_relaxed));
    }
};

class Search {
public:
    // The two ways of searching. Both prove the same verdicts; they differ
    // in the order they try things, so in the answer they find first:
    // - Plain: the moves in the order of the pairs they make joinable, every
    //   kind's pairings tested at every position, in the order of the kinds.
    //   Its answers are the ones the stage files were made with.
    // - Learning: kinds and moves that stood in the way of pairings lately
    //   first (see noteConflict), fewer tests at a new position. Much faster
    //   on hard boards, above all on boards with no way through.
    enum class Style { Plain, Learning };

    Search(Shared& shared, Style style) : shared_(shared), learning_(style == Style::Learning) {}

    // The quick search: the cheap bounds only, until budget.quickNodes
    // positions have been examined in all.
    Outcome quick(const Bitboard& root) {
        thorough_ = false;
        path_.clear();
        return explore(root, Joinable{}, Bits256{}, nullptr, nullptr, 0);
    }

    // The thorough search from the start: the pairings of the kinds tested
    // at each position as well. Lost positions proven before by any search
    // of the solve are not looked at again.
    Outcome thorough(const Bitboard& root) {
        thorough_ = true;
        path_.clear();
        return explore(root, Joinable{}, Bits256{}, nullptr, nullptr, 0);
    }

    // The pairs taken, in order, after a search answered Cleared.
    const std::vector<int>& path() const { return path_; }

private:
    // Counts a position; true when the search is to stop.
    bool outOfBudget() {
        const int64_t n = ++shared_.nodes;
        const SolveBudget& budget = shared_.budget;
        if (budget.ms > 0 && (n & 31) == 0) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - shared_.start);
            if (spent.count() >= budget.ms) shared_.timeUp = true;
        }
        return shared_.overBudget() || (!thorough_ && n >= budget.quickNodes) ||
               (shared_.roundEnd > 0 && n >= shared_.roundEnd);
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

    // Bans the pairings that no line of play can complete, for kinds with
    // four tiles left: pairing {q, q'} needs one of its pairs to be joinable
    // at some time with all four tiles on the board, and the other joinable
    // with its own two tiles on the board while the first two go only
    // together (whichever is taken first: before the second pair is taken,
    // its tiles are on the board and the first pair's tiles have gone
    // together or not at all). Both tests are the relaxation with those
    // tiles pinned and the kind's other pairs barred:
    // - The first is shared by the kind's three pairings. It starts from the
    //   strikes of the same test at the position above (`earlier`), or else
    //   from those of the bound (`plain`), which mostly still hold. A
    //   pairing both of whose pairs join passes the second test as well,
    //   which could only strike more; as soon as one does, the kind keeps a
    //   pairing and its test ends there (the others stay untested, which
    //   costs only what the search could have been spared).
    // - The second goes on from where the first stopped, with the first
    //   pair's tiles let go.
    // Only the first `limit` kinds of kindOrder_ are tested: leaving a kind
    // untested never bans anything wrongly. Each kind's first test is kept
    // in `out` for the positions below. Returns false when a kind is left
    // without a pairing.
    bool banHopelessPairings(const Bitboard& p, const Bits256& known, const StrikeOrder& plain,
                             const KindTests* earlier, KindTests& out, Bits256& banned, std::size_t limit) {
        if (earlier != &out) out.valid.fill(false);
        for (std::size_t i = 0; i < std::min(limit, kindOrder_.size()); ++i) {
            const int k = kindOrder_[i];
            const auto sk = static_cast<std::size_t>(k);
            // `earlier` may be `out` itself when a position is tested again.
            const StrikeOrder& source = earlier != nullptr && earlier->valid[sk] ? earlier->first[sk] : plain;
            out.valid[sk] = false;
            if (p.left(k) != 4) continue;
            const int base = k * kPairsPerKind;
            Bits256 pins, barred = banned;
            for (int t = k * 4; t < k * 4 + 4; ++t) pins.set(t);
            for (int q = 0; q < kPairsPerKind; ++q) barred.set(base + q);
            Relaxation first(p, pins, barred);
            const auto bothJoin = [&](int m) {
                return !banned.has(base + m) && first.joins(base + m) && first.joins(complementOf(base + m));
            };
            first.strikeKnown(known);
            first.replay(source);
            // The plain search tests every pairing, so that it bans the same
            // pairs whatever it meets first.
            const bool passes = learning_ ? bothJoin(0) || bothJoin(1) || bothJoin(2)
                                          : (banned.has(base) || bothJoin(0)) && (banned.has(base + 1) || bothJoin(1)) &&
                                                (banned.has(base + 2) || bothJoin(2));
            if (!passes) first.close();
            out.first[sk] = first.order();
            out.valid[sk] = true;
            if (passes) continue;
            int open = 0;
            for (int m = 0; m < 3; ++m) {
                const int q1 = base + m, q2 = complementOf(base + m);
                if (banned.has(q1)) continue;
                const bool join1 = first.joins(q1), join2 = first.joins(q2);
                bool possible = join1 && join2;
                if (join1 != join2) {
                    Relaxation second = first;
                    second.release(join1 ? q1 : q2);
                    second.close();
                    possible = second.joins(join1 ? q2 : q1);
                }
                if (possible) {
                    ++open;
                } else {
                    banned.set(q1);
                    banned.set(q2);
                }
            }
            if (open == 0) {
                if (learning_) noteConflict(p, k, first);
                return false;
            }
        }
        return true;
    }

    // A kind has run out of pairings. It is tested first from now on (where
    // one did, it is likely to again), and it and the kinds of the tiles its
    // test could not strike, those that stand in its way, become more
    // active: the search tries their moves earlier (see chooseMove). Recent
    // conflicts count for more than old ones.
    void noteConflict(const Bitboard& p, int kind, const Relaxation& test) {
        const auto it = std::find(kindOrder_.begin(), kindOrder_.end(), kind);
        std::rotate(kindOrder_.begin(), it, it + 1);
        activity_[static_cast<std::size_t>(kind)] += bump_;
        for (int t = 0; t < kTiles; ++t)
            if (p.present(t) && !test.struck().has(t)) activity_[static_cast<std::size_t>(t / 4)] += bump_;
        bump_ *= kActivityGrowth;
        if (bump_ > 1e100) {
            for (double& a : activity_) a *= 1e-100;
            bump_ *= 1e-100;
        }
    }

    // The move to try next: the quick search takes the one that leaves the
    // easiest pair behind (riskOf); the thorough one the one that makes the
    // most pairs joinable, with a bonus of up to kActivityWeight pairs for
    // the most active kind.
    int chooseMove(const Bitboard& p, const Joinable& known, const Bits256& banned) const {
        double maxActivity = 0;
        if (thorough_ && learning_) {
            solver::forEachIn(known.pairs, banned, [&](int id) {
                maxActivity = std::max(maxActivity, activity_[static_cast<std::size_t>(id / kPairsPerKind)]);
            });
        }
        int best = -1;
        double bestScore = 0;
        solver::forEachIn(known.pairs, banned, [&](int id) {
            double score = thorough_ ? -pairsOpenedBy(p, known, id) : riskOf(p, id);
            if (maxActivity > 0)
                score -= kActivityWeight * activity_[static_cast<std::size_t>(id / kPairsPerKind)] / maxActivity;
            if (best < 0 || score < bestScore) {
                best = id;
                bestScore = score;
            }
        });
        return best;
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
    Outcome explore(Bitboard p, Joinable known, Bits256 banned, const StrikeOrder* earlier, const KindTests* tests,
                    std::size_t depth) {
        const std::size_t pathMark = path_.size();
        std::vector<Bits256> chain;  // the positions met here, all lost together
        const auto lose = [&] {
            for (const Bits256& r : chain) shared_.lost.insert(r);
            path_.resize(pathMark);
            return Outcome::Lost;
        };
        std::array<int, kTiles / 2> safe{};
        StrikeOrder order;
        for (;;) {
            for (;;) {
                if (p.tilesLeft() == 0) return Outcome::Cleared;
                if (outOfBudget()) return Outcome::OutOfBudget;
                if (chain.empty() || !(chain.back() == p.removed())) {
                    if (shared_.lost.contains(p.removed())) return lose();
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
                Relaxation bound(p, Bits256{}, banned);
                bound.strikeKnown(known.pairs);
                if (earlier != nullptr) bound.replay(*earlier);
                bound.close();
                if (bound.unstruck() > 0) return lose();
                order = bound.order();
                earlier = &order;
            }
            if (thorough_) {
                KindTests& mine = testsAt(depth);
                const Bits256 before = banned;
                // A position met for the first time tests the kinds most
                // likely to fail; after a move has been refuted here, all.
                const std::size_t limit = tests == &mine || !learning_ ? kKinds : kFirstTestKinds;
                if (!banHopelessPairings(p, known.pairs, *earlier, tests, mine, banned, limit)) return lose();
                tests = &mine;
                if (!(before == banned)) continue;
            }

            const int best = chooseMove(p, known, banned);
            if (best < 0) return lose();
            Bitboard next = p;
            Joinable nextKnown = known;
            Bits256 nextBanned = banned;
            take(next, nextKnown, nextBanned, best);
            Outcome o = Outcome::Lost;
            if (!shared_.lost.contains(next.removed())) {
                path_.push_back(best);
                o = explore(next, nextKnown, nextBanned, earlier, tests, depth + 1);
                if (o != Outcome::Lost) return o;
                path_.pop_back();
            }
            // The move loses: no winning line from here takes it. With it
            // banned, the position is looked at again.
            ban(p, banned, best);
        }
    }

    // The pairing tests of the node at each depth of the search.
    KindTests& testsAt(std::size_t depth) {
        while (testPool_.size() <= depth) testPool_.push_back(std::make_unique<KindTests>());
        return *testPool_[depth];
    }
    std::vector<std::unique_ptr<KindTests>> testPool_;

    // How much each kind has been in the way of a pairing lately.
    std::array<double, kKinds> activity_{};
    double bump_ = 1.0;

    // The order in which banHopelessPairings tests the kinds.
    std::array<int, kKinds> kindOrder_ = [] {
        std::array<int, kKinds> order{};
        for (int k = 0; k < kKinds; ++k) order[static_cast<std::size_t>(k)] = k;
        return order;
    }();

    Shared& shared_;
    bool learning_;
    bool thorough_ = false;
    std::vector<int> path_;
};

// Decides the position. The plain quick search first, which settles most
// boards; then the learning thorough search and the plain one by turns, in
// rounds that double in length, each going on with every lost position found
// so far. The learning search's "no way through" is final. When it finds a
// way through, the plain search goes on alone to find its own answer: the
// lost positions the other found spare it work but do not change what it
// finds, as a known lost move is banned just as one found lost again. Only
// when the budget ends first is the learning search's answer given.
Outcome decide(Shared& shared, const Bitboard& root, std::vector<int>& path) {
    Search plain(shared, Search::Style::Plain);
    Outcome o = plain.quick(root);
    if (o != Outcome::OutOfBudget || shared.overBudget()) {
        path = plain.path();
        return o;
    }
    Search learning(shared, Search::Style::Learning);
    for (int64_t round = kFirstRound;; round *= 2) {
        shared.roundEnd = shared.nodes + round;
        o = learning.thorough(root);
        if (o == Outcome::Lost) return o;
        if (o == Outcome::Cleared) {
            shared.roundEnd = 0;
            path = plain.thorough(root) == Outcome::Cleared ? plain.path() : learning.path();
            return o;
        }
        if (shared.overBudget()) return o;
        shared.roundEnd = shared.nodes + round;
        o = plain.thorough(root);
        if (o != Outcome::OutOfBudget || shared.overBudget()) {
            path = plain.path();
            return o;
        }
    }
}

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
    Shared shared(budget);
    std::vector<int> path;
    const Outcome outcome = decide(shared, root, path);

    SolveResult result;
    result.nodes = shared.nodes;
    if (outcome == Outcome::Cleared) {
        for (const int id : path) {
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
