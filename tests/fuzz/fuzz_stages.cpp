// The stage files maptwo0.map .. maptwo9.map and the completion file
// cmptwo.map, as "面選択" reads them: the stages counted, listed five to a
// row with their completion marks, and the stage double-clicked in the grid
// loaded. The entry "pick" of the input names that cell ("ROW COL"; the
// first stage when missing, none when not two numbers).
//
// Invariants: counting changes nothing; the grid has one cell per stage
// line, each an unmarked or a marked stage, marked ones in their colours;
// a loaded stage is the first line of the files with its number, on a
// fresh game; anything else leaves the game as it was (but stageMode,
// which the selection clears first).
#include "fuzz_support.h"
#include "stages/lines.h"
#include "stages/stagegrid.h"

using namespace tessarin;
using namespace tessarin::fuzz;

namespace {

const QString kUnmarked = QStringLiteral(" \u3000\u3000");
const QString kMarked = QStringLiteral(" 成功");

GameFixture* fx = nullptr;

std::set<std::string> inputNames() {
    std::set<std::string> names{"cmptwo.map", "pick"};
    for (int d = 0; d <= 9; ++d) names.insert("maptwo" + std::to_string(d) + ".map");
    return names;
}

void checkGrid(const StageGrid& grid, int count) {
    const int dataRows = count > 0 ? (count - 1) / StageGrid::kStagesPerRow + 1 : 1;
    check(grid.rows == dataRows + 1 && grid.cols == StageGrid::kColumns,
          "the grid is " + std::to_string(grid.rows) + " x " + std::to_string(grid.cols) + " for " +
              std::to_string(count) + " stages");
    for (int c = 1; c < grid.cols; ++c) check(grid.at(0, c).text == QStringLiteral("GAME NO"), "a header cell");
    for (int r = 1; r < grid.rows; ++r) {
        for (int c = 1; c < grid.cols; ++c) {
            const StageGrid::Cell& cell = grid.at(r, c);
            const int n = (r - 1) * StageGrid::kStagesPerRow + c;
            const std::string where = "grid cell " + std::to_string(r) + "," + std::to_string(c);
            if (n > count) {
                check(cell.text.isEmpty() && cell.back == StageGrid::kPlainBack, where + " past the stages is not empty");
                continue;
            }
            const bool marked = cell.text.endsWith(kMarked);
            check(marked || cell.text.endsWith(kUnmarked), where + " holds no stage");
            check(cell.text.size() <= 5 + kUnmarked.size(), where + " holds more than a stage number");
            check(!marked || cell.text.size() == 5 + kMarked.size(), where + " marks a number that is not five long");
            check(marked == (cell.back == StageGrid::kDoneBack) &&
                      cell.fore == (marked ? StageGrid::kDoneText : StageGrid::kPlainText),
                  where + " has the colours of the other kind of cell");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fx = new GameFixture();
    fx->game->menuStartRnd_Click();
    fx->playTwoCorner(2, true);
    fx->setStart();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const InputFiles files = splitInput(data, size, inputNames());
    const GameState& before = fx->begin(files);
    MjanModule& game = *fx->game;

    QString key = QStringLiteral("COUNT");
    const bool counted = game.loadStage(key);
    checkUnchanged(before, game, "counting the stages");
    const int count = counted ? key.toInt() : -1;
    check(!counted || (count >= 0 && QString::number(count) == key), "the count is no number: " + key.toStdString());
    fx->ui.boxes.clear();

    int pickRow = 1, pickCol = 1;
    if (const auto it = files.find("pick"); it != files.end()) {
        if (std::sscanf(it->second.bytes.c_str(), "%d %d", &pickRow, &pickCol) != 2) pickRow = pickCol = -1;
    }
    QString picked;  // the number in the cell double-clicked, if a stage's
    fx->ui.onStageSelection = [&](StageGrid& grid) {
        check(counted, "the selection opened without a count of the stages");
        checkGrid(grid, count);
        if (grid.doubleClick(pickRow, pickCol)) picked = grid.at(pickRow, pickCol).text.left(5);
    };
    game.menuStartChoise_Click();

    if (picked.isEmpty() || !fx->ui.boxes.empty()) {
        check(!game.stageMode, "the selection left stageMode on without a stage");
        checkUnchanged(before, game, "a selection without a loaded stage", {"stageMode"});
        return 0;
    }
    checkTwoCorner(game, "a loaded stage");
    check(game.moveCount == 0 && game.stageMode && game.gameActive, "a loaded stage is not a fresh game");
    check(game.stageNo == picked, "the stage loaded is not the one picked");
    const std::optional<std::string> line = firstLineWith(files, "maptwo", picked.toStdString());
    check(line && *line == formatStageLine(game.stageNo.toStdString(), game.boardMap),
          "the board loaded is not the first line of stage " + picked.toStdString());
    return 0;
}
