#include "formats/lines.h"

namespace tessarin {

namespace {

bool allDigits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

int number3(std::string_view s, std::size_t pos) {
    return (s[pos] - '0') * 100 + (s[pos + 1] - '0') * 10 + (s[pos + 2] - '0');
}

}  // namespace

bool parseStageLine(std::string_view line, StageLine& out, std::string& error, bool strict) {
    if (line.size() < kStageLineLength || (strict && line.size() != kStageLineLength)) {
        error = "a stage line has " + std::to_string(kStageLineLength) + " characters, this one " +
                std::to_string(line.size());
        return false;
    }
    const std::size_t trailing = line.size() - kStageLineLength;
    line = line.substr(0, kStageLineLength);
    if (!allDigits(line)) {
        error = "a stage line holds only digits";
        return false;
    }
    StageLine s;
    s.trailing = trailing;
    s.stageNo = std::string(line.substr(0, 5));
    std::array<bool, kTiles + 1> seen{};
    for (int j = 0; j < kTiles; ++j) {
        const int t = number3(line, 5 + 3 * static_cast<std::size_t>(j));
        const int x = j / kRows + 1;
        const int y = j % kRows + 1;
        if (t < 1 || t > kTiles) {
            error = "cell " + std::to_string(x) + "," + std::to_string(y) + " holds tile " + std::to_string(t) +
                    ", not a tile number 1 to 136";
            return false;
        }
        if (seen[static_cast<std::size_t>(t)]) {
            error = "tile " + std::to_string(t) + " appears twice";
            return false;
        }
        seen[static_cast<std::size_t>(t)] = true;
        s.tiles[static_cast<std::size_t>(j)] = static_cast<int16_t>(t);
    }
    out = std::move(s);
    return true;
}

std::string formatStageLine(std::string_view stageNo, const Position& pos) {
    std::string line(stageNo);
    line.reserve(line.size() + 3 * kTiles);
    for (int x = 1; x <= kCols; ++x)
        for (int y = 1; y <= kRows; ++y) line += threeDigits(pos.tileAt(x, y));
    return line;
}

bool parseCellCodes(std::string_view text, std::vector<int>& codes, std::string& error) {
    if (text.size() % 3 != 0 || !allDigits(text)) {
        error = "cell codes are groups of three digits";
        return false;
    }
    // Read into a copy: a refused text leaves the caller's codes as they were.
    std::vector<int> read;
    read.reserve(text.size() / 3);
    for (std::size_t i = 0; i < text.size(); i += 3) {
        const int code = number3(text, i);
        if (!onField(codeX(code), codeY(code))) {
            error = "cell code " + std::string(text.substr(i, 3)) + " (number " + std::to_string(i / 3 + 1) +
                    ") names no cell of the field";
            return false;
        }
        read.push_back(code);
    }
    codes = std::move(read);
    return true;
}

std::string answerLine(std::string_view stageNo, const std::vector<int>& cells) {
    std::string line(stageNo);
    line.reserve(line.size() + 3 * cells.size());
    for (const int c : cells) line += threeDigits(c);
    return line;
}

std::string threeDigits(int n) {
    std::string s(3, '0');
    for (int i = 2; i >= 0 && n > 0; --i, n /= 10) s[static_cast<std::size_t>(i)] = static_cast<char>('0' + n % 10);
    return s;
}

}  // namespace tessarin
