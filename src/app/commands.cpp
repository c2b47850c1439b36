// The menu commands.
#include "app/game.h"

#include "formats/datafile.h"
#include "savegame/saveload.h"

#include <QFile>

namespace tessarin {

namespace {

const QString kNoAnswer = QStringLiteral("回答データが見つかりません");
const char* const kManual = "tessarinmanual.html";

}  // namespace

void Game::command(MenuId id) {
    switch (id) {
    case MenuId::Quit: ui_.exitProgram(); break;
    case MenuId::TwoCornerGame: selectGame(GameKind::TwoCorner); break;
    case MenuId::ThreeMoveGame: selectGame(GameKind::ThreeMove); break;
    case MenuId::RandomDeal: startRandomDeal(); break;
    case MenuId::ChooseStage: chooseStage(); break;
    case MenuId::Undo: undo(); break;
    case MenuId::Search: toggleSearch(); break;
    case MenuId::EasyMode: toggleEasyMode(); break;
    case MenuId::ModelAnswer: replayAnswer(); break;
    case MenuId::Exchange: startExchange(); break;
    case MenuId::Save: saveToSlot(); break;
    case MenuId::Load: loadFromSlot(); break;
    case MenuId::Help: openManual(); break;
    case MenuId::Zoom100: chooseZoom(100); break;
    case MenuId::Zoom150: chooseZoom(150); break;
    case MenuId::Zoom200: chooseZoom(200); break;
    default: break;  // menus and the item that is never enabled
    }
    keepGame();
}

void Game::selectGame(GameKind kind) {
    if (shell_.busy()) return;
    const bool twoCorner = kind == GameKind::TwoCorner;
    shell_.setMenuChecked(MenuId::TwoCornerGame, twoCorner);
    shell_.setMenuChecked(MenuId::ThreeMoveGame, !twoCorner);
    shell_.setMenuChecked(MenuId::GameFour, false);
    if (!twoCorner) shell_.setMenuEnabled(MenuId::TwoCornerOptions, false);
    shell_.setMenuEnabled(MenuId::ChooseStage, twoCorner);
    if (shell_.kind() != kind) {
        surface_.clear();
        // The board on hand belongs to the other game: its rules cannot go on
        // with it, so play stops until the next start.
        shell_.setInPlay(false);
    }
    shell_.setKind(kind);
    shell_.setCaption(twoCorner ? QStringLiteral("二角取り") : QStringLiteral("三動牌"));
}

void Game::startRandomDeal() {
    if (shell_.busy()) return;
    session_.setFixedStage(false);
    surface_.clear();
    if (shell_.kind() == GameKind::TwoCorner) session_.dealTwoCorner();
    else session_.dealThreeMove(threeMove_.state().dealSerial);
    startDealtGame();
    resetGameState();
    setMenusForGame(true);
    shell_.setInPlay(true);
    ui_.focusSurface();
}

void Game::chooseStage() {
    if (shell_.busy()) return;
    session_.setFixedStage(false);
    StageGrid grid;
    if (!session_.prepareSelection(grid)) return;
    ui_.showStageSelection(grid);
    // The window has closed; a double-click on a stage was what closed it.
    // The header and the empty places of the last row name no stage.
    if (!grid.doubleClicked || !grid.holdsStage(grid.row, grid.col)) return;
    startStage(grid.at(grid.row, grid.col).text.left(5));
}

void Game::undo() {
    if (shell_.busy() || !shell_.menu(MenuId::Undo).enabled) return;
    if (shell_.kind() == GameKind::TwoCorner) {
        if (twoCorner_.undo()) showStageLabelIfFixed();
    } else if (shell_.kind() == GameKind::ThreeMove) {
        threeMove_.undo();
    }
}

void Game::toggleSearch() {
    // Ctrl+F arrives here even when the command is not offered.
    if (shell_.busy() || !shell_.menu(MenuId::Search).enabled) return;
    // Only a TwoCorner game in play has a board to search.
    if (shell_.kind() != GameKind::TwoCorner || !shell_.inPlay()) return;
    if (twoCorner_.toggleSearch() != TwoCornerPlay::SearchToggle::Shown) showStageLabelIfFixed();
}

void Game::toggleEasyMode() {
    if (shell_.busy()) return;
    twoCorner_.setEasyMode(!twoCorner_.state().easyMode);
    shell_.setMenuChecked(MenuId::EasyMode, twoCorner_.state().easyMode);
    showEasyMode();
    writeSettings();
}

void Game::replayAnswer() {
    if (shell_.busy() || session_.replaying() || shell_.kind() != GameKind::TwoCorner) return;
    if (!session_.loadAnswer() || !session_.loadStage(session_.stageNo())) {
        ui_.messageBox(kNoAnswer, QString());
        return;
    }
    surface_.clear();
    startDealtGame();
    resetGameState();  // this also ends a search that was showing its pairs
    session_.setFixedStage(true);
    setMenusForGame(true);

    // No other command while the replay runs: it is left by a board click.
    shell_.setMenuCaption(MenuId::Search, QStringLiteral("検索(&S)"));
    for (MenuId id : {MenuId::Undo, MenuId::Search, MenuId::GameType, MenuId::Start, MenuId::Options})
        shell_.setMenuEnabled(id, false);
    session_.beginReplay();
    shell_.setInPlay(true);
}

void Game::startExchange() {
    if (shell_.busy() || twoCorner_.state().exchange.waiting) return;
    twoCorner_.startExchange();
}

void Game::saveToSlot() {
    if (shell_.busy()) return;
    saveGame(folders_.player, shell_, session_.state(), position_, twoCorner_.state());
}

void Game::loadFromSlot() {
    if (shell_.busy()) return;
    SavedGame saved;
    if (!readSavedGame(folders_.player, shell_, session_.state(), saved)) return;

    // Everything checked: the game takes the saved position.
    session_.setStageNo(QString::fromStdString(saved.stageNo));
    TileTable tiles = position_.tiles();
    for (int i = 0; i < kTableSize; ++i) {
        TileRecord& r = tiles[static_cast<std::size_t>(i)];
        const TileRecord& s = saved.tiles[static_cast<std::size_t>(i)];
        r.boardX = s.boardX;
        r.boardY = s.boardY;
        r.kind = s.kind;
        r.state = s.state;
    }
    BoardCells cells = position_.cells();
    for (int x = 1; x <= kCols; ++x)
        for (int y = 1; y <= kRows; ++y) cells.at(x, y) = saved.cells.at(x, y);
    position_ = Position(cells, tiles);
    twoCorner_.resume(saved.moves, saved.tilesLeft);

    surface_.clear();
    startDealtGame();
    for (int x = 1; x <= kCols; ++x) {
        for (int y = 1; y <= kRows; ++y) {
            const int state = position_.stateAt(x, y);
            if (state == kOnBoard) surface_.drawTile(x, y, position_.tileAt(x, y));
            else if (state == kRemoved) surface_.drawTile(x, y, kBlankImage);
        }
    }
    // A save made with a tile picked: the pick goes on, shown as the click
    // showed it (inverted, its partners outlined).
    twoCorner_.showResumedPick();
    shell_.setCursor(KeyboardCursor{});
    surface_.showTilesLeft(twoCorner_.state().tilesLeft);
    showEasyMode();
    setMenusForGame(true);
    shell_.setInPlay(true);
}

void Game::chooseZoom(int percent) {
    shell_.setZoom(percent);
    writeSettings();
    applyZoom();
}

void Game::applyZoom() {
    // The zoom chosen, or the largest smaller one that still fits on the
    // screen; those that do not fit say so and cannot be chosen.
    const int fits = ui_.largestZoomThatFits();
    int used = 100;
    for (const auto& [percent, id] : {std::pair{100, MenuId::Zoom100}, std::pair{150, MenuId::Zoom150},
                                      std::pair{200, MenuId::Zoom200}}) {
        const bool fitting = percent <= fits || percent == 100;
        if (fitting && percent <= shell_.zoom()) used = percent;
        shell_.setMenuEnabled(id, fitting);
        shell_.setMenuCaption(id, fitting ? QStringLiteral("%1%").arg(percent)
                                          : QStringLiteral("%1%（画面に入りません）").arg(percent));
    }
    for (const auto& [percent, id] : {std::pair{100, MenuId::Zoom100}, std::pair{150, MenuId::Zoom150},
                                      std::pair{200, MenuId::Zoom200}})
        shell_.setMenuChecked(id, percent == used);
    ui_.setZoom(used);
}

void Game::openManual() {
    // A missing manual is passed over in silence, like any failed open.
    const std::string folder = QFile::encodeName(folders_.data).toStdString();
    if (existsInFolder(folder, kManual))
        ui_.openDocument(QFile::decodeName(QByteArray::fromStdString(folderPath(folder, kManual))));
}

}  // namespace tessarin
