#include "formats/keptgame.h"

#include "formats/datafile.h"
#include "formats/lines.h"
#include "formats/undofiles.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <vector>

namespace tessarin {

namespace {

constexpr const char* kHeader = "tessarin kept game 1";
constexpr int kHistEntries = 141;

std::string digits(int value, int width) {
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
    return s;
}

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int numberAt(std::string_view s, std::size_t pos, std::size_t width) {
    int n = 0;
    for (std::size_t i = pos; i < pos + width; ++i) n = n * 10 + (s[i] - '0');
    return n;
}

// The words of the line that starts with `key`, without the key.
class Lines {
public:
    explicit Lines(std::string_view bytes) {
        for (const std::string& line : textLines(bytes)) {
            std::istringstream in(line);
            std::string key, word;
            in >> key;
            std::vector<std::string> words;
            while (in >> word) words.push_back(word);
            if (!key.empty()) lines_.emplace(key, std::move(words));
        }
    }
    // The words of `key`, exactly `count` of them, each all digits of at
    // most `maxDigits` (0: any length).
    bool get(const std::string& key, std::size_t count, std::vector<std::string>& words, std::size_t maxDigits = 9) const {
        const auto it = lines_.find(key);
        if (it == lines_.end() || it->second.size() != count) return false;
        for (const std::string& w : it->second)
            if (!allDigits(w) || (maxDigits > 0 && w.size() > maxDigits)) return false;
        words = it->second;
        return true;
    }

private:
    std::multimap<std::string, std::vector<std::string>> lines_;
};

bool flag(const std::string& w, bool& out) {
    if (w != "0" && w != "1") return false;
    out = w == "1";
    return true;
}

}  // namespace

std::string formatKeptGame(const KeptGame& g) {
    std::string out = std::string(kHeader) + "\n";
    out += "kind " + std::to_string(g.kind) + "\n";
    out += "stage " + g.stageNo + " " + (g.fixedStage ? "1" : "0") + "\n";
    out += "board " + formatStageLine("", g.position) + "\n";
    out += "tiles ";
    for (int t = 0; t < kTableSize; ++t) {
        const TileRecord& r = g.position.tile(t);
        out += digits(r.boardX, 2) + digits(r.boardY, 1) + digits(r.state, 1) + digits(r.cover, 1);
    }
    out += "\ntwocorner " + std::to_string(g.tilesLeft) + " " + std::to_string(g.moves.count) + " ";
    for (int i = 0; i < kHistEntries; ++i) out += digits(g.moves.cells[static_cast<std::size_t>(i)], 3);
    out += "\nsearch " + std::to_string(g.searchShown) + " " + std::to_string(g.searchCurrent) + "\n";
    out += "exchange " + std::to_string(g.exchangeWaiting) + " " + std::to_string(g.exchangeChosen) + " " +
           std::to_string(g.exchangeX) + " " + std::to_string(g.exchangeY) + " " + std::to_string(g.exchangeTile) + "\n";
    out += "threemove";
    for (const KeptCounters* c : {&g.now, &g.before})
        out += " " + std::to_string(c->tilesLeft) + " " + std::to_string(c->movesLeft) + " " + std::to_string(c->movesDone);
    out += " " + std::to_string(g.undoWriteWarned) + " " + std::to_string(g.dealSerial) + "\n";
    out += "menus ";
    for (const auto& m : g.menus) out += std::string(1, m[0] ? '1' : '0') + (m[1] ? '1' : '0') + (m[2] ? '1' : '0');
    out += " " + std::to_string(g.searchCaption) + " " + std::to_string(g.exchangeCaption) + "\n";
    return out;
}

bool parseKeptGame(std::string_view bytes, KeptGame& out, std::string& why) {
    const std::vector<std::string> all = textLines(bytes);
    if (all.empty() || all[0] != kHeader) {
        why = "not a kept game";
        return false;
    }
    const Lines lines(bytes);
    std::vector<std::string> w;
    KeptGame g;
    const auto bad = [&why](const char* what) {
        why = what;
        return false;
    };

    if (!lines.get("kind", 1, w) || (w[0] != "1" && w[0] != "2")) return bad("kind");
    g.kind = w[0][0] - '0';
    if (!lines.get("stage", 2, w, 6) || w[0].size() < 5 || !flag(w[1], g.fixedStage)) return bad("stage");
    g.stageNo = w[0];
    if (g.kind == 2 && g.fixedStage) return bad("a stored stage is a 二角取り game");

    // The board and the records.
    if (!lines.get("board", 1, w, 0) || w[0].size() != 3 * kTiles) return bad("board");
    std::array<int16_t, kTiles> tilesByColumn{};
    for (int j = 0; j < kTiles; ++j) tilesByColumn[static_cast<std::size_t>(j)] = static_cast<int16_t>(numberAt(w[0], 3 * static_cast<std::size_t>(j), 3));
    std::vector<std::string> records;
    if (!lines.get("tiles", 1, records, 0) || records[0].size() != 5 * kTableSize) return bad("tiles");
    BoardCells cells;
    TileTable tiles = sheetLayout();
    for (int j = 0; j < kTiles; ++j) {
        const int t = tilesByColumn[static_cast<std::size_t>(j)];
        if (t < 1 || t > kTiles) return bad("board tile");
        cells.at(j / kRows + 1, j % kRows + 1) = static_cast<int16_t>(t);
    }
    for (int t = 0; t < kTableSize; ++t) {
        const std::size_t p = 5 * static_cast<std::size_t>(t);
        TileRecord& r = tiles[static_cast<std::size_t>(t)];
        r.boardX = static_cast<int16_t>(numberAt(records[0], p, 2));
        r.boardY = static_cast<int16_t>(numberAt(records[0], p + 2, 1));
        r.state = static_cast<int16_t>(numberAt(records[0], p + 3, 1));
        r.cover = static_cast<int16_t>(numberAt(records[0], p + 4, 1));
        if (r.state > kRemoved || r.cover > 2) return bad("tile state");
        if ((t < 1 || t > kTiles) && (r.boardX != 0 || r.boardY != 0)) return bad("image entry on a cell");
    }
    g.position = Position(cells, tiles);
    if (!g.position.isConsistent()) return bad("board and records differ");

    // The counters of both games.
    if (!lines.get("twocorner", 3, w, 0) || w[0].size() > 3 || w[1].size() > 3 || w[2].size() != 3 * kHistEntries)
        return bad("twocorner");
    g.tilesLeft = std::stoi(w[0]);
    g.moves.count = std::stoi(w[1]);
    for (int i = 0; i < kHistEntries; ++i) g.moves.cells[static_cast<std::size_t>(i)] = static_cast<int16_t>(numberAt(w[2], 3 * static_cast<std::size_t>(i), 3));
    if (!lines.get("search", 2, w, 3) || !flag(w[0], g.searchShown)) return bad("search");
    g.searchCurrent = std::stoi(w[1]);
    if (!lines.get("exchange", 5, w, 3) || !flag(w[0], g.exchangeWaiting) || !flag(w[1], g.exchangeChosen)) return bad("exchange");
    g.exchangeX = std::stoi(w[2]);
    g.exchangeY = std::stoi(w[3]);
    g.exchangeTile = std::stoi(w[4]);
    if (!lines.get("threemove", 8, w, 6) || !flag(w[6], g.undoWriteWarned)) return bad("threemove");
    g.now = {std::stoi(w[0]), std::stoi(w[1]), std::stoi(w[2])};
    g.before = {std::stoi(w[3]), std::stoi(w[4]), std::stoi(w[5])};
    g.dealSerial = std::stoi(w[7]);
    if (g.dealSerial > 32767) return bad("deal serial");

    if (!lines.get("menus", 3, w, 0) || w[0].size() % 3 != 0 || w[0].size() > 3 * 64 || w[1].size() != 1 ||
        w[2].size() != 1)
        return bad("menus");
    g.menus.resize(w[0].size() / 3);
    for (std::size_t i = 0; i < g.menus.size(); ++i)
        for (std::size_t k = 0; k < 3; ++k) {
            const char c = w[0][3 * i + k];
            if (c != '0' && c != '1') return bad("menu state");
            g.menus[i][k] = c == '1';
        }
    g.searchCaption = w[1][0] - '0';
    g.exchangeCaption = w[2][0] - '0';
    if (g.searchCaption > 2 || g.exchangeCaption > 2) return bad("caption");

    // The game of its kind must be one the program can have been in.
    if (g.kind == 1) {
        if (!checkTwoCornerRecord(g.position, g.moves, g.tilesLeft, why)) return false;
        if (g.exchangeChosen) {
            if (!g.exchangeWaiting || !onField(g.exchangeX, g.exchangeY) ||
                g.position.tileAt(g.exchangeX, g.exchangeY) != g.exchangeTile ||
                g.position.tile(g.exchangeTile).state != kOnBoard)
                return bad("exchange choice");
        }
        if (g.searchShown && g.moves.count % 2 == 1) return bad("a pick while the search is shown");
    } else {
        if (!checkThreeMoveTiles(g.position.tiles(), why)) return false;
        int live = 0;
        for (int t = 1; t <= kTiles; ++t) live += g.position.tile(t).state == kOnBoard;
        if (g.now.tilesLeft != live || live == 0) return bad("tiles left");
        if (g.searchShown || g.exchangeChosen) return bad("二角取り marks in a 三動牌 game");
    }
    out = std::move(g);
    return true;
}

}  // namespace tessarin
