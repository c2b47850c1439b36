// "面選択": the stored stages listed five to a row in the grid of the
// selection window, the solved ones (listed in cmptwo.map) marked.
#include "stages/session.h"

#include "formats/completions.h"
#include "formats/datafile.h"

#include <QFile>
#include <QHash>

#include <deque>

namespace tessarin {

namespace {

QString trimSpaces(const QString& s) {
    auto isSpace = [](QChar c) { return c == QChar(0x20) || c == QChar(0x3000); };
    qsizetype b = 0, e = s.size();
    while (b < e && isSpace(s[b])) ++b;
    while (e > b && isSpace(s[e - 1])) --e;
    return s.mid(b, e - b);
}

}  // namespace

bool StageSession::prepareSelection(StageGrid& grid) {
    if (shell_.kind() != GameKind::TwoCorner) return false;
    const int count = countStages();
    if (count < 0) return false;
    grid.prepare(count);
    if (!listStages(grid)) return false;
    markCompletions(grid);
    grid.row = 1;
    grid.col = 1;
    grid.topRow = 1;
    return true;
}

void StageSession::markCompletions(StageGrid& grid) {
    // The shipped completion file, then the player's own record of cleared
    // stages, read alike. The marks only inform: an unreadable file shows none.
    std::vector<std::u32string> marks;
    for (const auto& [dir, name] : {std::pair{folder(), std::string("cmptwo.map")},
                                    std::pair{playerFolder(), std::string("cleared.map")}}) {
        std::string bytes;
        if (!existsInFolder(dir, name) || !readDataFile(folderPath(dir, name), bytes)) continue;
        for (std::u32string& mark : completionMarks(bytes)) marks.push_back(std::move(mark));
    }
    // The unmarked cells of each stage number, columns outer and rows inner,
    // so a file of many lines takes one pass over the grid; a number listed
    // twice marks two cells of that number.
    QHash<QString, std::deque<StageGrid::Cell*>> unmarked;
    for (int c = 1; c < grid.cols; ++c) {
        for (int r = 1; r < grid.rows; ++r) {
            StageGrid::Cell& cell = grid.at(r, c);
            const QString number = trimSpaces(cell.text);
            if (number.size() == 5) unmarked[number].push_back(&cell);
        }
    }
    for (const std::u32string& mark : marks) {
        const QString stage = QString::fromUcs4(mark.data(), static_cast<qsizetype>(mark.size()));
        const auto it = unmarked.find(stage);
        if (it == unmarked.end() || it->empty()) continue;
        StageGrid::mark(*it->front(), stage);
        it->pop_front();
    }
}

}  // namespace tessarin
