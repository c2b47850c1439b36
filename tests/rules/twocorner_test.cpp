// The TwoCorner connection rule and pair search against a path search; the pair rule and `tessarin-tool pairs`.
#include "support.h"
#include "twocorner/connect.h"
#include "twocorner/pairs.h"
#include "twocorner/search.h"

#include <set>

namespace tessarin::test {
namespace {

// The cells (y * 19 + x, frame included) a path of at most three straight
// segments from field cell (ax, ay) can end on: it crosses only frame cells
// and removed tiles, and any cell can be its end.
std::array<bool, kBoardW * kBoardH> reachable(const Position& pos, int ax, int ay) {
    std::array<bool, kBoardW * kBoardH> end{}, from{}, next{};
    from[ay * kBoardW + ax] = true;
    for (int segment = 0; segment < 3; ++segment, from = next, next = {})
        for (int c = 0; c < kBoardW * kBoardH; ++c)
            for (int d = 0; d < 4 && from[c]; ++d)
                for (int x = c % kBoardW, y = c / kBoardW;;) {
                    x += (d == 0) - (d == 1), y += (d == 2) - (d == 3);
                    if (x < 0 || x >= kBoardW || y < 0 || y >= kBoardH) break;
                    end[y * kBoardW + x] = true;
                    if (onField(x, y) && pos.stateAt(x, y) != kRemoved) break;
                    next[y * kBoardW + x] = true;
                }
    return end;
}

#ifdef __SANITIZE_ADDRESS__
constexpr int kScale = 1;  // the sanitizers slow every scan down
#else
constexpr int kScale = 3;
#endif

TEST(ConnectionRule, AgreesWithAPathSearchOnEveryPairOfRandomPositions) {
    using Scan = bool (*)(const Position&, int, int, int, int);
    static constexpr Scan scans[] = {connectStraight, connectViaBorder, connectInBox, connectAround};
    std::mt19937 rng(20240611);
    Position pos = dealt(1);
    // Each cell A (its tile on the board or picked) against every other cell B, its tile set on the board:
    // each scan alone answers true only for joinable cells; the four together and canConnect answer as the
    // path search, in both argument orders.
    for (int p = 0; p < 60 * kScale; ++p) {
        for (int t = 1; t <= kTiles; ++t)  // 0% .. 95% of the tiles removed
            pos.setState(t, below(rng, 100) < p * 96 / (60 * kScale) ? kRemoved : kOnBoard);
        for (int a = 0; a < kTiles; ++a) {
            const int ax = a % kCols + 1, ay = a / kCols + 1, oldA = pos.stateAt(ax, ay);
            pos.setState(pos.tileAt(ax, ay), p % 2 ? kPicked : kOnBoard);
            const auto reach = reachable(pos, ax, ay);
            for (int b = 0; b < kTiles; ++b) {
                const int bx = b % kCols + 1, by = b / kCols + 1, oldB = pos.stateAt(bx, by);
                const bool path = reach[by * kBoardW + bx];
                pos.setState(pos.tileAt(bx, by), kOnBoard);
                bool any = false, sound = true;
                for (const Scan scan : scans) {
                    const bool ab = scan(pos, ax, ay, bx, by), ba = scan(pos, bx, by, ax, ay);
                    any = any || ab || ba;
                    sound = sound && (path || (!ab && !ba));
                }
                ASSERT_TRUE(b == a || (sound && any == path && canConnect(pos, ax, ay, bx, by) == path &&
                                       canConnect(pos, bx, by, ax, ay) == path))
                    << "A(" << ax << "," << ay << ") B(" << bx << "," << by << "), A picked " << p % 2
                    << ", path " << path << (sound ? "" : "; a scan is unsound");
                pos.setState(pos.tileAt(bx, by), int16_t(oldB));
            }
            pos.setState(pos.tileAt(ax, ay), int16_t(oldA));
        }
    }
}

// The pairs as documented, one code a line: the field read row by row, each
// present tile tried with the other present tiles of its kind by tile
// number, each joinable pair listed once, its left (or upper) cell first.
std::string pairsInOrder(const Position& pos) {
    std::string out;
    std::set<std::pair<int, int>> seen;
    for (int c = 0; c < kTiles; ++c) {
        const int x = c % kCols + 1, y = c / kCols + 1, t = pos.tileAt(x, y), kind = pos.tile(t).kind;
        const auto reach = reachable(pos, x, y);
        for (int u = 4 * kind - 3; u <= 4 * kind && pos.tile(t).state != kRemoved; ++u) {
            const TileRecord& r = pos.tile(u);
            const int a = cellCode(x, y), b = cellCode(r.boardX, r.boardY);
            if (u != t && r.state != kRemoved && seen.insert(std::minmax(t, u)).second &&
                reach[r.boardY * kBoardW + r.boardX])
                out += threeDigits(std::min(a, b)) + threeDigits(std::max(a, b)) + "\n";
        }
    }
    return out;
}

TEST(PairSearch, ListsEveryJoinablePairOnceInReadingOrderAsDoesTheTool) {
    std::mt19937 rng(5);
    for (const int seed : {12, 4711, 20000, 33763}) {  // deals played to the end
        std::string moves;
        for (Position pos = dealt(seed);;) {
            const PairList pairs = findPairs(pos);
            std::string listed;
            for (const CellPair& p : pairs) listed += std::string(p.code().data()) + "\n";
            ASSERT_EQ(listed, pairsInOrder(pos)) << seed << " " << moves;
            ASSERT_EQ(runTool({"pairs", dealStageLine(seed), moves}).out, listed) << seed << " " << moves;
            if (pairs.empty()) break;
            const CellPair p = pairs[below(rng, pairs.size())];
            Position picked = pos;  // a picked tile is an ordinary tile to the search
            picked.setState(picked.tileAt(p.xL, p.yL), kPicked);
            ASSERT_TRUE(findPairs(picked) == pairs);
            takePair(pos, p.xL, p.yL, p.xR, p.yR);
            moves += p.code().data();
        }
    }
}

TEST(PairRule, TakesLegalPairsAndNamesTheFirstIllegalOne) {
    // Deal 33763: 051 and 081 are a joinable pair; 011 (kind 3) differs from
    // 033 and cannot be joined with either 033 or 035, a tile of its kind.
    for (const auto& [codes, error] : std::vector<std::pair<std::string, std::string>>{
             {"051081", ""},
             {"051081051081", "pair 2 (051 081): the tile at 051 has already been taken off"},
             {"051081011081", "pair 2 (011 081): the tile at 081 has already been taken off"},
             {"011033", "pair 1 (011 033): the two tiles differ in kind"},
             {"011035", "pair 1 (011 035): no path with at most two bends joins the two tiles"},
             {"011011", "pair 1 (011 011): both codes name the same cell"},
             {"051081011", "pair 2 (011) has no second cell: the number of codes is odd"},
             {"01a011", "pair 1 (01a 011): '01a' is not a three-digit cell code"},
             {"011181", "pair 1 (011 181): 181 names no cell of the field"},
             {"010011", "pair 1 (010 011): 010 names no cell of the field"}}) {
        const ToolRun run = runTool({"pairs", dealStageLine(33763), codes});
        EXPECT_EQ(std::tie(run.status, run.err),
                  std::tuple(error.empty() ? 0 : 2, error.empty() ? "" : "tessarin-tool: MOVES: " + error + "\n"));
    }
}

}  // namespace
}  // namespace tessarin::test
