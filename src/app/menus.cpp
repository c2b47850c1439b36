// The command layer: menu commands, the game-type switch, and the start of a
// game with its menu states.
#include "app/mjanmodule.h"

namespace tessarin {

void MjanModule::menuFileEnd_Click() { exitProgram(); }

void MjanModule::menuGame2_Click() {
    if (busy) return;
    setMenuChecked(MenuId::Game2, true);
    setMenuChecked(MenuId::Game3, false);
    setMenuChecked(MenuId::Game4, false);
    setMenuEnabled(MenuId::StartChoise, true);
    if (gameKind != TwoCorner) {
        clearSurface();
        // The board on hand belongs to the other game: its rules cannot go on
        // with it, so play stops until the next start.
        gameActive = false;
    }
    gameKind = TwoCorner;
    setCaption(QStringLiteral("二角取り"));
}

void MjanModule::menuGame3_Click() {
    if (busy) return;
    setMenuChecked(MenuId::Game3, true);
    setMenuChecked(MenuId::Game2, false);
    setMenuChecked(MenuId::Game4, false);
    setMenuEnabled(MenuId::OptionTwo, false);
    setMenuEnabled(MenuId::StartChoise, false);
    if (gameKind != ThreeMove) {
        clearSurface();
        gameActive = false;
    }
    gameKind = ThreeMove;
    setCaption(QStringLiteral("三動牌"));
}

void MjanModule::menuStartRnd_Click() {
    if (busy) return;
    stageMode = false;
    clearSurface();
    dealRandom();
    startDealtGame();
    resetGameState();
    setMenusForGame(true);
    gameActive = true;
    ui.focusSurface();
}

void MjanModule::menuOptionTwoEasy_Click() {
    if (busy) return;
    easyMode = !easyMode;
    setMenuChecked(MenuId::OptionTwoEasy, easyMode);
    showEasyMsg();
}

void MjanModule::startDealtGame() {
    if (gameKind == TwoCorner) drawBoardTwo();
    else if (gameKind == ThreeMove) startThree();
}

void MjanModule::resetGameState() {
    if (gameKind == TwoCorner) {
        restPai = kTiles;
        tgtX = tgtY = 0;
        selX = selY = selKind = 0;
        tgtKind = 0;
        moveCount = 0;
        moveHist.fill(0);
        forgetBoardMarks();
        setMenuEnabled(MenuId::Game, true);
        setMenuEnabled(MenuId::Start, true);
        setMenuEnabled(MenuId::Option, true);
        showRestMsg();
        showEasyMsg();
    } else if (gameKind == ThreeMove) {
        doneMoves = 0;
        setMenuEnabled(MenuId::PaiBack, false);
    }
}

void MjanModule::forgetBoardMarks() {
    // The pairs a search shows and an exchange's first choice name cells of
    // the board that has just been replaced: both are forgotten, or the next
    // click would browse the old pairs or move a tile that is no longer there.
    if (searchMode) {
        searchMode = false;
        setMenuCaption(MenuId::Srh, QStringLiteral("検索(&S)"));
    }
    hintX1 = hintY1 = hintX2 = hintY2 = 0;
    exchCount = 0;
    exchX = exchY = exchKind = exchPai = 0;
}

void MjanModule::setMenusForGame(bool enable) {
    if (gameKind == TwoCorner) {
        setMenuEnabled(MenuId::PaiBack, enable);
        setMenuEnabled(MenuId::Srh, enable);
        setMenuEnabled(MenuId::OptionTwo, enable);
        if (!authorMode) {
            setMenuVisible(MenuId::PaiChange, false);
            setMenuVisible(MenuId::Save, false);
            setMenuVisible(MenuId::Load, false);
        }
        setMenuEnabled(MenuId::Option2Ans, stageMode);
    } else if (gameKind == ThreeMove) {
        setMenuEnabled(MenuId::PaiBack, false);
        setMenuEnabled(MenuId::Srh, false);
        setMenuEnabled(MenuId::Option, false);
    }
}

}  // namespace tessarin
