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

    // ---- Self-check (app/selfcheck.cpp) ----
    // What is wrong with the board and the counters, empty when they agree:
    // each tile in one cell, and in a game in play the tiles left, the move
    // record and the pick (TwoCorner) or the live tiles (ThreeMove) as the
    // tiles' states say.
    QString consistencyProblem() const;
    // With TESSARIN_SELFCHECK=1 in the environment, stops the program with
    // the problem, naming the event `after`, when there is one.
    void selfCheck(const char* after) const;

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
    // Ends a search that shows pairs and drops an exchange's first choice.
    void forgetBoardMarks();
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
    // Outlines the other tiles of the picked tile's kind still on the board
    // and lists their cells in partnerList; unmarkPartners draws them plainly
    // again. Both find the picked tile through lastMove.
    void markPartners();
    void unmarkPartners();
    // Drops the pending pick: the tile is drawn plainly and is on the board
    // again, moveCount loses its entry.
    void dropPick();
    // Takes the pair (selX, selY), (tgtX, tgtY) off the board with its flash
    // and ends the game when it was the last.
    void removePair();
    // "一手戻す(&B)": the undo of the current game type.
    void undoMove();
    void undoTwo();

    // Tile exchange (authoring): clicks while exchangeMode is on.
    void exchangeClick(int x, int y, int button);

    // Pair search: the position copied without its removed tiles, the list
    // of every removable pair built from it, and the pair shown on the board.
    void copyWorkMap();
    void findPairs();
    void showHint();
    // A board click while the pairs are shown: left shows the next pair,
    // right leaves the search.
    void searchClick(int button);
    void endSearch();
    // The pair code of hintList[pos]: "xxyxxy", left cell first.
    QString hintCode(int pos) const;

    // Other tiles of the picked kind on the board (cell codes, from 1).
    std::array<int16_t, 11> partnerList{};
    int partnerCount = 0;

    // Removable pairs found by the search, from 1 to searchCount: the cell
    // codes of the left (or upper) and the right (or lower) tile.
    struct PairCells {
        int16_t left = 0;
        int16_t right = 0;
    };
    std::array<PairCells, kTiles * 3 / 2 + 1> hintList{};
    int hintPos = 0;
    int hintX1 = 0, hintY1 = 0, hintX2 = 0, hintY2 = 0;  // hintX1 0: none outlined
    BoardMap workMap;
    PaiTbl workTbl{};

    // The exchange's first choice: taken clicks (0 or 1), cell, kind, tile.
    int exchCount = 0;
    int exchX = 0, exchY = 0, exchKind = 0, exchPai = 0;
    // -- end of TwoCorner play --

    // ---- Stages, replay and success display (stages/) ----
    // Stage files (stages/stagefile.cpp). loadStage's key chooses the work:
    // "COUNT" counts the stage lines and hands the count back in key; an
    // empty key lists every line into msGrid; anything else is a stage
    // number to load onto the board. False, after the message, when no stage
    // file exists or the files cannot be read, and when the stage asked for
    // is not stored whole: then the board and stageNo are as they were.
    bool loadStage(QString& key);
    enum class StageRead { NotFound, Loaded, Failed };
    StageRead readStageFile(const QString& path, const QString& key, int& lineNo);
    // Puts a stage line on the board; false, with nothing changed, when the
    // line is not a whole stage.
    bool fillBoardFromStage(const QString& line);
    // A data file read whole; false when it is not an ordinary file, is
    // far bigger than any the game uses (64 MB) or cannot be read.
    static bool readDataFile(const QString& path, QByteArray& bytes);
    // The lines of a text file; CR LF, LF and a lone CR each end a line.
    static QList<QByteArray> textLines(const QByteArray& bytes);
    // Appends one whole line, ended by CR LF, to a file of the program
    // folder, creating it when missing; the lines already there stay as
    // they are. False when the file system refused.
    bool appendAppLine(const QString& name, const QByteArray& line);

    // Stage selection, "面選択" (stages/selection.cpp).
    bool prepareStageList();
    bool setupStageGrid();
    bool listStages();
    void addStageToGrid(int n, const QString& line);
    void readCompletions();
    void markCompleted(const QString& stage);
    // Starts the stage double-clicked in msGrid.
    void msGrid_DblClick();
    // The grid of the selection window while it is filled and shown.
    StageGrid* msGrid = nullptr;

    // Model answers and their replay (stages/replay.cpp).
    void startReplay();
    bool loadAnswer();
    bool readAnswerFile(const QString& path);
    void replayStep(int button);
    void endReplay();
    QString answerText;  // the answer line found last, without its stage number
    int replayClicks = 0;

    void showSuccess();

    // Stage authoring (stages/authoring.cpp): the next free stage number
    // from "maptwo.map" (-1 when there is none to be had), and the stores of
    // a solved board and its answer.
    int nextStageNo();
    void storeSolvedStage();
    void storeAnswer();
    // -- end of stages --

    // ---- ThreeMove (threemove/) ----
    // Play (threemove/play.cpp).
    void clickThree(int col, int row, int button);
    void tryMoveThree(int col, int row, int button);
    // The ThreeMove start after a deal: the first clearing, new deals while
    // 130 or more tiles are left, 3 moves. Input waits while it runs.
    void startThree();
    // Starts a ThreeMove game on the board already placed (every tile live):
    // the same first clearing, but no redeal. `tessarin-tool three` starts
    // its boards the same way.
    void startThreeOnBoard();
    // Clears every group of touching tiles of one kind, showing each cleared
    // cell with a pause of pauseMs; returns the number of cleared cells.
    int clearGroups(int pauseMs);
    // Shows a cell the rules have just cleared: the flash (honours) or the
    // inverted face, the pause, then the stone or the hole.
    void markCleared(int col, int row, int pauseMs);
    // Slide animation (threemove/animate.cpp).
    void setBlitRect();
    void animateMove();
    void blitRun(int x, int y, int width, int height, int srcX, int srcY);
    // Undo work files (threemove/workfiles.cpp).
    void saveBack3();
    void paiBack3();

    // The move under way: direction (three::kUp..kRight), clicked cell,
    // destination of the clicked tile, far end of the run.
    int moveDir = 0;
    int fromX = 0, fromY = 0;
    int toX = 0, toY = 0;
    int tailX = 0, tailY = 0;
    // The counters before the last move, restored by the undo.
    int backRestMoves = 0, backDoneMoves = 0, backRestPai3 = 0;
    // The run's pixel block: leading edge, opposite corner, leading edge at
    // the destination.
    int blitX = 0, blitY = 0, blitFarX = 0, blitFarY = 0, blitToX = 0, blitToY = 0;
    // The player has been told in this game that moves cannot be taken back.
    bool backWriteWarned = false;
    // -- end of ThreeMove --

    // ---- Save and load (savegame/) ----
    // The save slot "testdat.txt" of the authoring build.
    void saveGame();
    void loadGame();
    // Puts the board of a checked save file's line 1 on the field.
    void loadBoardLine(const QString& line);
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
