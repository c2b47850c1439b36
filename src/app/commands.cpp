// The menu commands.
#include "app/game.h"

#include "formats/datafile.h"
#include "savegame/saveload.h"
#include "solver/assist.h"

#include <memory>

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
    case MenuId::Hint: showHint(); break;
    case MenuId::SolvableDeals:
    case MenuId::DeadEndWarning: toggleOption(id); break;
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

void Game::toggleOption(MenuId id) {
    if (shell_.busy()) return;
    shell_.setMenuChecked(id, !shell_.menu(id).checked);
    session_.setSolvableDealsOnly(shell_.menu(MenuId::SolvableDeals).checked);
    writeSettings();
}

void Game::showHint() {
    // Only where the command is offered: a TwoCorner game in play.
    for (MenuId id : {MenuId::Options, MenuId::TwoCornerOptions, MenuId::Hint})
        if (!shell_.menu(id).enabled) return;
    if (shell_.busy() || shell_.kind() != GameKind::TwoCorner || !shell_.inPlay() || session_.replaying()) return;
    if (twoCorner_.state().search.shown) {
        twoCorner_.endSearch();
        showStageLabelIfFixed();
    }
    // The pick would be a tile of the pair; it is dropped, as for the search.
    if (twoCorner_.state().pickPending()) twoCorner_.dropPick();
    ui_.setBusyCursor(true);
    CellPair pair;
    const HintResult found = findHint(position_, 3000, pair);
    DeadEnd dead;
    if (found == HintResult::DeadEnd) dead = findDeadEnd(position_, twoCorner_.state().moves, 3000, nullptr, true);
    ui_.setBusyCursor(false);
    switch (found) {
    case HintResult::Found: twoCorner_.showHint(pair); break;
    case HintResult::DeadEnd: tellDeadEnd(dead.pairsBack); break;
    case HintResult::Undecided:
        ui_.messageBox(QStringLiteral("時間内にヒントを見つけられませんでした。"), shell_.caption());
        break;
    }
}

void Game::checkForDeadEnd() {
    if (!shell_.menu(MenuId::DeadEndWarning).checked || session_.replaying()) return;
    // The check runs on a copy; its answer counts only for the same position.
    const int question = ++deadEndQuestion_;
    auto pos = std::make_shared<const Position>(position_);
    auto moves = std::make_shared<const MoveRecord>(twoCorner_.state().moves);
    auto answer = std::make_shared<DeadEnd>();
    ui_.runInBackground([pos, moves, answer, stop = stopChecks_] { *answer = findDeadEnd(*pos, *moves, 1000, stop.get()); },
                        [this, question, pos, answer] {
                            if (question != deadEndQuestion_ || !(position_ == *pos) || !shell_.inPlay() ||
                                shell_.busy() || shell_.kind() != GameKind::TwoCorner || !answer->proved)
                                return;
                            tellDeadEnd(answer->pairsBack);
                        });
}

void Game::tellDeadEnd(int pairsBack) {
    const QString title = shell_.caption();
    if (pairsBack == 0) {
        ui_.messageBox(QStringLiteral("この盤面は、配られたときから最後まで消せない盤面でした。"), title);
        return;
    }
    const QString text = QStringLiteral("この盤面はもう最後まで消せません。\n"
                                        "%1 組戻すと、まだ最後まで消せる盤面に戻ります。今すぐ戻しますか？")
                             .arg(pairsBack);
    if (!ui_.askYesNo(text, title)) return;
    // The same steps as "一手戻す(&B)", one pair at a time.
    for (int i = 0; i < pairsBack; ++i) undo();
    keepGame();
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
