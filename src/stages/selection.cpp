// "面選択": the stored stages listed five to a row in the grid of the
// selection window, the solved ones (listed in cmptwo.map) marked, and the
// stage double-clicked there started as a fixed-map game.
#include "app/mjanmodule.h"
#include "stages/stagegrid.h"
#include "stages/text.h"

#include <QHash>
#include <QStringDecoder>

#include <deque>

namespace tessarin {

namespace {

const QString kHeader = QStringLiteral("GAME NO");
// An unmarked stage: its number, a space and two ideographic spaces, as wide
// as the " 成功" of a marked one.
const QString kUnmarked = QStringLiteral(" \u3000\u3000");
const QString kMarked = QStringLiteral(" 成功");

// One line of cmptwo.map as text. Such files are often written with a
// Japanese code page, whose ideographic space is the byte pair 0x81 0x40:
// a line that is not valid UTF-8 is read byte by byte with that pair as
// U+3000; any other byte outside ASCII stays foreign and the line matches
// no stage.
QString completionLine(const QByteArray& raw) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(raw);
    if (!utf8.hasError()) return text;
    QString out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const auto b = static_cast<unsigned char>(raw[i]);
        if (b == 0x81 && i + 1 < raw.size() && static_cast<unsigned char>(raw[i + 1]) == 0x40) {
            out += QChar(0x3000);
            ++i;
        } else if (b < 0x80) {
            out += QLatin1Char(static_cast<char>(b));
        } else {
            out += QChar(QChar::ReplacementCharacter);
        }
    }
    return out;
}

void markCell(StageGrid::Cell& cell, const QString& stage) {
    cell.text = stage + kMarked;
    if (cell.back != StageGrid::kDoneBack) {
        cell.back = StageGrid::kDoneBack;
        cell.fore = StageGrid::kDoneText;
    }
}

// Clears the module's pointer to the grid when the selection ends.
struct GridInUse {
    StageGrid*& slot;
    GridInUse(StageGrid*& s, StageGrid& grid) : slot(s) { slot = &grid; }
    ~GridInUse() { slot = nullptr; }
    GridInUse(const GridInUse&) = delete;
    GridInUse& operator=(const GridInUse&) = delete;
};

}  // namespace

void MjanModule::menuStartChoise_Click() {
    if (busy) return;
    stageMode = false;
    StageGrid grid;
    const GridInUse inUse(msGrid, grid);
    if (!prepareStageList()) return;
    readCompletions();
    grid.row = 1;
    grid.col = 1;
    grid.topRow = 1;
    ui.showStageSelection(grid);
    // The window has closed; a double-click on a stage was what closed it.
    if (grid.doubleClicked) msGrid_DblClick();
}

bool MjanModule::prepareStageList() {
    if (gameKind != TwoCorner) return false;
    return setupStageGrid() && listStages();
}

bool MjanModule::setupStageGrid() {
    if (!msGrid) return false;
    QString key = QStringLiteral("COUNT");
    if (!loadStage(key)) return false;
    const int count = key.toInt();
    // Five stages a row, at least one (empty) data row.
    const int dataRows = count > 0 ? (count - 1) / StageGrid::kStagesPerRow + 1 : 1;
    msGrid->resize(dataRows + 1, StageGrid::kColumns);
    msGrid->colWidthTwips[0] = 0;
    for (int c = 1; c < StageGrid::kColumns; ++c) {
        msGrid->colWidthTwips[static_cast<std::size_t>(c)] = StageGrid::kStageColumnTwips;
        msGrid->at(0, c).text = kHeader;
    }
    return true;
}

bool MjanModule::listStages() {
    QString key;
    return loadStage(key);
}

void MjanModule::addStageToGrid(int n, const QString& line) {
    if (!msGrid || n < 1) return;
    const int row = (n + 4) / StageGrid::kStagesPerRow;
    const int col = (n - 1) % StageGrid::kStagesPerRow + 1;
    // The files may have grown since they were counted.
    if (!msGrid->contains(row, col)) return;
    msGrid->at(row, col).text = line.left(5) + kUnmarked;
}

void MjanModule::readCompletions() {
    const QString name = QStringLiteral("cmptwo.map");
    if (!existsInAppDir(name)) return;
    QByteArray bytes;
    // The marks only inform: an unreadable file shows none.
    if (!msGrid || !readDataFile(appDirPath(name), bytes)) return;
    // The unmarked cells of each stage number in the order markCompleted
    // searches them, so a file of many lines takes one pass over the grid.
    QHash<QString, std::deque<StageGrid::Cell*>> unmarked;
    for (int c = 1; c < msGrid->cols; ++c) {
        for (int r = 1; r < msGrid->rows; ++r) {
            StageGrid::Cell& cell = msGrid->at(r, c);
            const QString number = trimSpaces(cell.text);
            if (number.size() == 5) unmarked[number].push_back(&cell);
        }
    }
    for (const QByteArray& raw : textLines(bytes)) {
        const QString stage = trimSpaces(completionLine(raw));
        if (stage.size() != 5) continue;
        const auto it = unmarked.find(stage);
        if (it == unmarked.end() || it->empty()) continue;
        markCell(*it->front(), stage);
        it->pop_front();
    }
}

void MjanModule::markCompleted(const QString& stage) {
    if (!msGrid) return;
    // Columns outer, rows inner; the first cell whose bare number matches.
    for (int c = 1; c < msGrid->cols; ++c) {
        for (int r = 1; r < msGrid->rows; ++r) {
            StageGrid::Cell& cell = msGrid->at(r, c);
            if (trimSpaces(cell.text) != stage) continue;
            markCell(cell, stage);
            return;
        }
    }
}

void MjanModule::msGrid_DblClick() {
    // The header and the empty places of the last row name no stage.
    if (!msGrid || !msGrid->holdsStage(msGrid->row, msGrid->col)) return;
    QString stage = msGrid->at(msGrid->row, msGrid->col).text.left(5);
    // A line that starts with "COUNT" is no stage, like any line that is not
    // digits; but as a key the word would ask loadStage for the count.
    if (stage == QStringLiteral("COUNT")) {
        ui.messageBox(QStringLiteral("ゲームデータが見つかりません"), QString());
        return;
    }
    // A stage that cannot be loaded has been reported; the game on hand
    // goes on as it was.
    if (!loadStage(stage)) return;
    clearSurface();
    startDealtGame();
    resetGameState();
    stageMode = true;
    setMenusForGame(true);
    gameActive = true;
    showStageMsg();
}

}  // namespace tessarin
