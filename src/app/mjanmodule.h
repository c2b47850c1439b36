// The game state: one object owns the board, the tile table, the counters,
// the flags and the off-screen board surface, for the whole run. Its
// operations are split by subsystem into the folders app/, board/,
// twocorner/, stages/, threemove/ and savegame/; each is named as the game
// names it, so `pickPai` lives in twocorner/, `loadStage` in stages/.
//
// Nothing here touches a widget: the surface is a QImage, and every effect
// on the window (menus, caption, message boxes, pauses, pending events,
// cursor) goes through GameUi.
#pragma once

#include "app/gameui.h"
#include "app/menustate.h"
#include "board/model.h"

#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QString>

#include <array>
#include <functional>

namespace tessarin {

enum GameKind : int { TwoCorner = 1, ThreeMove = 2, GameFour = 3 };

// Mouse buttons as the game sees them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Board surface geometry.
inline constexpr int kSurfaceW = 768;
inline constexpr int kSurfaceH = 500;
inline constexpr int kStripTop = 460;  // status strip from here to the bottom

// Colours of the board surface.
inline constexpr QRgb kBoardGreen = 0xff008000;  // rgb(0, 128, 0)
inline constexpr QRgb kFrameRed = 0xffff0000;    // rgb(255, 0, 0)
inline constexpr QRgb kTextWhite = 0xffffffff;

class MjanModule {
public:
    MjanModule(QString programDir, GameUi& ui, bool authorMode = false);
    MjanModule(const MjanModule&) = delete;
    MjanModule& operator=(const MjanModule&) = delete;

    // ---- Start-up and window events (app/mjanmodule.cpp) ----
    // Loads the tile sheet and prepares the menus and caption. False when the
    // tile sheet cannot be loaded: the caller reports sheetError and stops.
    bool startUp();
    QString sheetError;
    void exitProgram();
    void menuHelp_Click();
    // Key press in the main window (Qt key code and modifiers).
    void Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);

    // ---- Menus and input (app/menus.cpp, app/input.cpp) ----
    void menuFileEnd_Click();
    void menuGame2_Click();
    void menuGame3_Click();
    void menuStartRnd_Click();
    void menuStartChoise_Click();
    void menuPaiBack_Click();
    void menuSrh_Click();
    void menuOptionTwoEasy_Click();
    void menuOption2Ans_Click();
    void menuPaiChange_Click();
    void menuSave_Click();
    void menuLoad_Click();
    void picdest_MouseDown(int button, int x, int y);

    void setMenusForGame(bool enable);
    void resetGameState();
    void startDealtGame();

    // Menu state as data; every change is reported to the window.
    const MenuTable& menus() const { return menuTbl; }
    const MenuState& menu(MenuId id) const { return menuTbl[static_cast<std::size_t>(id)]; }
    void setMenuEnabled(MenuId id, bool enabled);
    void setMenuVisible(MenuId id, bool visible);
    void setMenuChecked(MenuId id, bool checked);
    void setMenuCaption(MenuId id, const QString& caption);
    const QString& caption() const { return windowCaption; }
    void setCaption(const QString& caption);

    // ---- Status strip (app/status.cpp) ----
    void showEasyMsg();
    void showSearchMsg();
    void showStageMsg();
    void showMovesMsg();
    void showRestMsg();
    void showRest3Msg();
    // Erases x from..to of the strip and prints text at textX, bold 14 pt.
    void printStrip(int fromX, int toX, int textX, const QString& text);

    // ---- Board and tiles (board/tiles.cpp, board/drawing.cpp) ----
    bool initPaiTbl();
    int lastMove(int& x, int& y) const;
    void setCell(int x, int y);
    void drawPai(int tileNo, const QString& mode);
    void drawBoardTwo();
    void drawBoardThree();
    void drawCellFrame();  // the red frame inside the cell at cellX, cellY
    void waitMs(int ms);
    void clearSurface();
    void fillBox(int x1, int y1, int x2, int y2, QRgb colour);  // corners inclusive
    // Prints text with its top-left corner at (x, y) in the surface font.
    void printText(int x, int y, const QString& text, double pointSize, bool bold);
    int textWidth(const QString& text, double pointSize, bool bold) const;
    void refreshSurface(const QRect& rect);
    void refreshSurface();
    QFont surfaceFont(double pointSize, bool bold) const;

    // ---- Files beside the program (stages/files.cpp) ----
    QString appDirPath(const QString& name) const;
    bool existsInAppDir(const QString& name) const;

    // ---- Random deal (stages/dealgame.cpp) ----
    void dealRandom();
    void dealRandomTwo();
    void dealRandomThree();
    int getDealSeed();
    int getDealSeedTwo();
    int getDealSeedThree();
    // Places dealOrder on the field row by row (the common part of a deal).
    void placeDealOrder(bool resetCover);

    // ---- TwoCorner play (twocorner/) ----
    void clickTwoCorner(int x, int y, int button);
    // Sends a board click to the replay, the TwoCorner pick or a ThreeMove move.
    void dispatchClick(int x, int y, int button);
    void pickPai(int x, int y, int button);
    // "一手戻す(&B)": the undo of the current game type.
    void undoMove();
    void undoTwo();
    // -- end of TwoCorner play --

    // ---- Stages, replay and success display (stages/) ----
    void replayStep(int button);
    void showSuccess();
    // -- end of stages --

    // ---- ThreeMove (threemove/) ----
    void clickThree(int col, int row, int button);
    void tryMoveThree(int col, int row, int button);
    void startThree();
    void paiBack3();
    // -- end of ThreeMove --

    // ---- Save and load (savegame/) ----
    // -- end of save and load --

    // ---- State shared by the whole game ----
    const QString programDir;
    GameUi& ui;

    BoardMap boardMap;
    PaiTbl paiTbl{};
    std::array<int16_t, kTiles + 1> dealOrder{};

    int gameKind = TwoCorner;
    bool gameActive = false;
    bool stageMode = false;
    QString stageNo;
    bool easyMode = false;
    bool authorMode = false;
    int dealSerial = 0;

    // TwoCorner counters and the pick under way.
    int restPai = 0;
    std::array<int16_t, 141> moveHist{};
    int moveCount = 0;
    int selX = 0, selY = 0, selKind = 0;
    int tgtX = 0, tgtY = 0, tgtKind = 0;

    // Pair search.
    bool searchMode = false;
    int searchCount = 0;

    // Tile exchange (authoring).
    bool exchangeMode = false;

    // Replay of a model answer.
    bool replayMode = false;

    // ThreeMove counters.
    int restPai3 = 0;
    int restMoves = 0;
    int doneMoves = 0;

    // Drawing position of the next drawPai.
    int cellX = 0, cellY = 0;

    // Diagnostic text the play code writes (never shown to the player).
    QString lblmsg;

    // What the status strip shows in its left, middle and right area, as
    // last printed (the picture on the surface is what the player sees).
    std::array<QString, 3> stripText;

    // Click handling.
    bool cursorFlip = false;
    // True while an operation lets pending events run in its middle (the
    // ThreeMove start): board input and play commands wait for its end.
    bool busy = false;

    // The board surface and the tile sheet.
    QImage picdest;
    QImage picsrc;

    // The local clock, replaceable by tests.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

private:
    MenuTable menuTbl;
    QString windowCaption;
};

}  // namespace tessarin
