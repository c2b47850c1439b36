// What the game keeps in the player's folder across starts: the game in
// progress ("keptgame.txt"), the stages the player has cleared, and the
// settings the player chose.
#include "app/game.h"

#include "formats/datafile.h"
#include "formats/keptgame.h"
#include "formats/settings.h"
#include "formats/writefile.h"
#include "twocorner/search.h"

#include <QFile>

#include <algorithm>

#include <unistd.h>

namespace tessarin {

namespace {

// The captions the search and the exchange items can show: as designed,
// idle after use, and busy.
const std::array<QString, 3> kSearchCaptions = {QStringLiteral("検索開始(&S)"), QStringLiteral("検索(&S)"),
                                                QStringLiteral("検索動作中")};
const std::array<QString, 3> kExchangeCaptions = {QStringLiteral("牌交換(&R)"), QStringLiteral("牌交換(&H)"),
                                                  QStringLiteral("動作中")};

int captionVariant(const std::array<QString, 3>& captions, const QString& caption) {
    for (std::size_t i = 0; i < captions.size(); ++i)
        if (captions[i] == caption) return static_cast<int>(i);
    return 0;
}

std::string playerPath(const GameFolders& folders, const char* name) {
    return folderPath(QFile::encodeName(folders.player).toStdString(), name);
}

}  // namespace

void Game::readSettings() {
    std::string bytes;
    if (!readDataFile(playerPath(folders_, kSettingsFile), bytes)) return;
    const Settings settings = parseSettings(bytes);
    twoCorner_.setEasyMode(settings.easyMode);
    shell_.setMenuChecked(MenuId::EasyMode, settings.easyMode);
    shell_.setZoom(settings.zoom);
    shell_.setMenuChecked(MenuId::SolvableDeals, settings.solvableDeals);
    shell_.setMenuChecked(MenuId::DeadEndWarning, settings.deadEndWarning);
    session_.setSolvableDealsOnly(settings.solvableDeals);
}

void Game::writeSettings() {
    if (!folders_.keep) return;
    Settings settings;
    settings.easyMode = twoCorner_.state().easyMode;
    settings.zoom = shell_.zoom();
    settings.solvableDeals = shell_.menu(MenuId::SolvableDeals).checked;
    settings.deadEndWarning = shell_.menu(MenuId::DeadEndWarning).checked;
    std::string error;
    // A setting that cannot be kept is only lost for the next start.
    replaceFile(playerPath(folders_, kSettingsFile), formatSettings(settings), error);
}

void Game::recordClearedStage() {
    if (folders_.keep) session_.recordCleared();
}

void Game::keepGame() {
    if (!folders_.keep || shell_.busy()) return;
    std::string text;
    // A finished game is not kept; neither is a replay, whose stage comes
    // back at its start.
    if (shell_.inPlay() && !position_.isEmpty()) {
        KeptGame g;
        g.kind = shell_.kind() == GameKind::TwoCorner ? 1 : 2;
        g.stageNo = session_.stageNo().toStdString();
        g.fixedStage = session_.fixedStage();
        g.position = position_;
        const TwoCornerState& two = twoCorner_.state();
        g.tilesLeft = two.tilesLeft;
        g.moves = two.moves;
        g.searchShown = two.search.shown;
        g.searchCurrent = two.search.current;
        g.exchangeWaiting = two.exchange.waiting;
        g.exchangeChosen = two.exchange.chosen;
        g.exchangeX = two.exchange.x;
        g.exchangeY = two.exchange.y;
        g.exchangeTile = two.exchange.tile;
        const ThreeMoveState& three = threeMove_.state();
        g.now = {three.score.now.tilesLeft, three.score.now.movesLeft, three.score.now.movesDone};
        g.before = {three.score.beforeLastMove.tilesLeft, three.score.beforeLastMove.movesLeft,
                    three.score.beforeLastMove.movesDone};
        g.undoWriteWarned = three.undoWriteWarned;
        g.dealSerial = three.dealSerial;
        MenuTable menus = shell_.menus();
        if (session_.replaying()) {
            // The menus the end of the replay gives the stage.
            for (MenuId id : {MenuId::Undo, MenuId::Search, MenuId::GameType, MenuId::Start, MenuId::Options,
                              MenuId::TwoCornerOptions, MenuId::EasyMode, MenuId::ModelAnswer})
                menus[static_cast<std::size_t>(id)].enabled = true;
        }
        for (const MenuState& m : menus) g.menus.push_back({m.enabled, m.visible, m.checked});
        g.searchCaption = captionVariant(kSearchCaptions, shell_.menu(MenuId::Search).caption);
        g.exchangeCaption = captionVariant(kExchangeCaptions, shell_.menu(MenuId::Exchange).caption);
        text = formatKeptGame(g);
    }
    if (text == lastKept_) return;
    const std::string path = playerPath(folders_, kKeptGameFile);
    std::string error;
    if (text.empty()) {
        if (::unlink(path.c_str()) == 0 || errno == ENOENT) lastKept_.clear();
    } else if (replaceFile(path, text, error)) {
        lastKept_ = text;
    }
}

bool Game::resumeKeptGame() {
    std::string bytes;
    if (!readDataFile(playerPath(folders_, kKeptGameFile), bytes)) return false;
    // A kept game that cannot be taken up is dropped at the next keep.
    lastKept_.assign(1, '?');  // differs from every kept game
    KeptGame g;
    std::string why;
    if (!parseKeptGame(bytes, g, why)) return false;

    TwoCornerState two;
    two.easyMode = twoCorner_.state().easyMode;
    ThreeMoveState three;
    three.dealSerial = g.dealSerial;
    if (g.kind == 1) {
        two.tilesLeft = g.tilesLeft;
        two.moves = g.moves;
        if (two.pickPending()) {
            const int code = g.moves.cells[static_cast<std::size_t>(g.moves.count)];
            two.pickX = codeX(code);
            two.pickY = codeY(code);
            two.pickKind = g.position.kindAt(two.pickX, two.pickY);
        }
        if (g.searchShown) {
            SearchView& view = two.search;
            view.shown = true;
            view.pairs = findPairs(g.position);
            if (g.searchCurrent >= view.pairs.size()) return false;
            view.current = g.searchCurrent;
            const CellPair& p = view.pairs[view.current];
            view.x1 = p.xL;
            view.y1 = p.yL;
            view.x2 = p.xR;
            view.y2 = p.yR;
        }
        two.exchange = ExchangeChoice{g.exchangeWaiting, g.exchangeChosen, g.exchangeX, g.exchangeY, g.exchangeTile};
    } else {
        three.score.now = {g.now.tilesLeft, g.now.movesLeft, g.now.movesDone};
        three.score.beforeLastMove = {g.before.tilesLeft, g.before.movesLeft, g.before.movesDone};
        three.undoWriteWarned = g.undoWriteWarned;
        two.exchange.waiting = g.exchangeWaiting;
    }

    // The menus as kept; items the file does not know keep their state.
    MenuTable menus = shell_.menus();
    for (std::size_t i = 0; i < std::min(g.menus.size(), menus.size()); ++i) {
        MenuState& m = menus[i];
        const auto& bits = g.menus[i];
        m.enabled = bits[0];
        m.visible = bits[1];
        m.checked = m.checkable && bits[2];
    }
    // The settings are the player's, whatever the kept game's menus said.
    for (MenuId id : {MenuId::EasyMode, MenuId::SolvableDeals, MenuId::DeadEndWarning})
        menus[static_cast<std::size_t>(id)].checked = shell_.menu(id).checked;
    menus[static_cast<std::size_t>(MenuId::Search)].caption = kSearchCaptions[static_cast<std::size_t>(g.searchCaption)];
    menus[static_cast<std::size_t>(MenuId::Exchange)].caption =
        kExchangeCaptions[static_cast<std::size_t>(g.exchangeCaption)];

    position_ = g.position;
    shell_.restore(g.kind == 1 ? GameKind::TwoCorner : GameKind::ThreeMove, menus);
    session_.restore(QString::fromStdString(g.stageNo), g.fixedStage);
    twoCorner_.restore(two);
    threeMove_.restore(three);
    redrawResumedGame();
    lastKept_ = bytes;
    return true;
}

void Game::redrawResumedGame() {
    surface_.clear();
    if (shell_.kind() == GameKind::TwoCorner) {
        surface_.drawTwoCornerBoard(position_);
        twoCorner_.drawMarks();
        showEasyMode();
        const SearchView& search = twoCorner_.state().search;
        if (search.shown) surface_.showSearchCount(true, search.pairs.size());
        surface_.showTilesLeft(twoCorner_.state().tilesLeft);
    } else {
        surface_.drawThreeMoveBoard(position_);
        surface_.showTilesLeft(threeMove_.counters().tilesLeft);
        surface_.showMovesLeft(threeMove_.counters().movesLeft);
    }
}

}  // namespace tessarin
