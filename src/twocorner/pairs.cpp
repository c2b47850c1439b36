#include "twocorner/pairs.h"

#include "twocorner/connect.h"

namespace tessarin {

PairFault checkPair(const Position& pos, int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) return PairFault::SameCell;
    const TileRecord& a = pos.recordAt(x1, y1);
    const TileRecord& b = pos.recordAt(x2, y2);
    if (a.state == kRemoved) return PairFault::FirstTaken;
    if (b.state == kRemoved) return PairFault::SecondTaken;
    if (a.kind != b.kind) return PairFault::KindsDiffer;
    if (!canConnect(pos, x1, y1, x2, y2)) return PairFault::NotJoinable;
    return PairFault::None;
}

void takePair(Position& pos, int x1, int y1, int x2, int y2) {
    pos.setState(pos.tileAt(x1, y1), kRemoved);
    pos.setState(pos.tileAt(x2, y2), kRemoved);
}

bool takePairs(Position& pos, std::string_view codes, std::string& error) {
    if (codes.size() % 3 != 0) {
        error = "three-digit cell codes expected, but the length " + std::to_string(codes.size()) +
                " is not a multiple of 3";
        return false;
    }
    const std::size_t count = codes.size() / 3;
    for (std::size_t i = 0; i < count; i += 2) {
        const std::string name = "pair " + std::to_string(i / 2 + 1);
        const std::string a(codes.substr(3 * i, 3));
        if (i + 1 == count) {
            error = name + " (" + a + ") has no second cell: the number of codes is odd";
            return false;
        }
        const std::string b(codes.substr(3 * i + 3, 3));
        const std::string cells = name + " (" + a + " " + b + ")";
        int x[2] = {}, y[2] = {};
        for (int k = 0; k < 2; ++k) {
            const std::string& c = k == 0 ? a : b;
            int code = 0;
            for (char ch : c) {
                if (ch < '0' || ch > '9') {
                    error = cells + ": '" + c + "' is not a three-digit cell code";
                    return false;
                }
                code = code * 10 + (ch - '0');
            }
            x[k] = codeX(code);
            y[k] = codeY(code);
            if (!onField(x[k], y[k])) {
                error = cells + ": " + c + " names no cell of the field";
                return false;
            }
        }
        switch (checkPair(pos, x[0], y[0], x[1], y[1])) {
        case PairFault::None: break;
        case PairFault::SameCell: error = cells + ": both codes name the same cell"; return false;
        case PairFault::FirstTaken: error = cells + ": the tile at " + a + " has already been taken off"; return false;
        case PairFault::SecondTaken: error = cells + ": the tile at " + b + " has already been taken off"; return false;
        case PairFault::KindsDiffer: error = cells + ": the two tiles differ in kind"; return false;
        case PairFault::NotJoinable: error = cells + ": no path with at most two bends joins the two tiles"; return false;
        }
        takePair(pos, x[0], y[0], x[1], y[1]);
    }
    return true;
}

}  // namespace tessarin
