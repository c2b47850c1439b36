// What the game keeps in the player's folder across starts: the game in
// play, the stages cleared, the settings; and where that folder is.
#include "support/gametest.h"

#include "app/folders.h"
#include "threemove/rules.h"

#include <QDir>
#include <QFile>

namespace tessarin::test {
namespace {

class Keep : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        newGame(false, true);
    }
    // Leaves the game as Escape does and starts the program again.
    void restart(bool authorMode = false) {
        game->keepGame();
        newGame(authorMode, true);
    }
    // Everything the player sees and the game holds; of a ThreeMove game its counters, not the picture (a slide
    // leaves stripes that only a full redraw removes).
    static void expectSame(const GameSnapshot& a, const GameSnapshot& b, bool twoCorner) {
        EXPECT_EQ(std::tie(a.position, a.shell, a.session, a.strip), std::tie(b.position, b.shell, b.session, b.strip));
        EXPECT_TRUE(twoCorner ? a.twoCorner == b.twoCorner && a.picture == b.picture : a.threeMove == b.threeMove);
    }
};

TEST_F(Keep, AGameInPlayComesBackExactlyAfterAnExit) {
    const int stage = writeGreedyStage(1);
    const auto firstMove = [&] {
        command(MenuId::ThreeMoveGame), command(MenuId::RandomDeal);
        three::Move m;
        for (int j = 0; j < kTiles && game->threeMove().score.now.movesDone == 0; ++j)
            if (three::planMove(game->position(), j / kRows + 1, j % kRows + 1, true, m)) click(j / kRows + 1, j % kRows + 1);
    };
    for (const auto& [name, play, twoCorner] : std::vector<std::tuple<const char*, std::function<void()>, bool>>{
             {"a deal, two pairs taken and a tile picked",
              [&] {
                  command(MenuId::RandomDeal), takeFirstPair(), takeFirstPair();
                  click(findPairs(game->position())[0].xL, findPairs(game->position())[0].yL);
              },
              true},
             {"a stored stage with the search on its second pair, easy mode on",
              [&] { chooseStage(1, 1), command(MenuId::EasyMode), command(MenuId::Search), click(1, 1); }, true},
             {"a ThreeMove game after a move", firstMove, false}}) {
        SCOPED_TRACE(name);
        newGame(false, true);
        play();
        const GameSnapshot before = playSnapshot(*game);
        restart();
        expectSame(before, playSnapshot(*game), twoCorner);
        EXPECT_TRUE(ui.boxes.empty());
        if (!twoCorner) {  // the one-step undo goes on working from its files
            command(MenuId::Undo);
            EXPECT_EQ(std::pair(game->threeMove().score.now.movesDone, game->menu(MenuId::Undo).enabled), std::pair(0, false));
        }
    }
    EXPECT_EQ(stage, QString(readFile(QStringLiteral("maptwo0.map")).left(5)).toInt());
}

TEST_F(Keep, AReplayComesBackAsItsStageAndAFinishedOrDamagedGameNotAtAll) {
    writeGreedyStage(1);
    chooseStage(1, 1);
    command(MenuId::ModelAnswer);
    click(1, 1, kRightButton);  // the replay left: the stage at its start
    const GameSnapshot stageStart = playSnapshot(*game);
    command(MenuId::ModelAnswer);
    for (int i = 0; i < 5; ++i) click(1, 1);
    restart();
    expectSame(stageStart, playSnapshot(*game), true);

    // Cleared by play: nothing to take up, and the stage is the player's.
    const QByteArray codes = readFile(QStringLiteral("anstwo0.map")).mid(5, 3 * kTiles);
    for (int i = 0; i < kTiles; ++i) clickCode(codes.mid(3 * i, 3).toInt());
    EXPECT_FALSE(game->shell().inPlay());
    game->keepGame();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("keptgame.txt"))));
    EXPECT_EQ(readFile(QStringLiteral("cleared.map")), stageStart.session.stageNo.toLatin1() + "\r\n");

    for (const QByteArray& damaged : {QByteArray("tessarin kept game 1\nkind 3\n"), QByteArray("\x00\xff", 2), QByteArray()}) {
        writeFile(QStringLiteral("keptgame.txt"), damaged);
        newGame(false, true);
        EXPECT_TRUE(!game->shell().inPlay() && game->position().isEmpty() && ui.boxes.empty());
        game->keepGame();
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("keptgame.txt"))));
    }
}

TEST_F(Keep, ClearedStagesAreMarkedOnceAndSettingsKept) {
    const int stage = writeGreedyStage(1);
    const QByteArray codes = readFile(QStringLiteral("anstwo0.map")).mid(5, 3 * kTiles);
    for (int round = 0; round < 2; ++round) {
        chooseStage(1, 1);
        for (int i = 0; i < kTiles; ++i) clickCode(codes.mid(3 * i, 3).toInt());
    }
    // Replayed to its end, a stage is not the player's.
    chooseStage(1, 1);
    command(MenuId::ModelAnswer);
    for (int i = 0; i < kTiles; ++i) click(1, 1);
    EXPECT_EQ(readFile(QStringLiteral("cleared.map")), stageNumber(stage).toLatin1() + "\r\n");
    const StageGrid grid = chooseStage();
    EXPECT_EQ(std::pair(grid.at(1, 1).text, grid.at(1, 1).back), std::pair(stageNumber(stage) + QStringLiteral(" 成功"), StageGrid::kDoneBack));

    command(MenuId::EasyMode);
    command(MenuId::Zoom150);
    EXPECT_EQ(readFile(QStringLiteral("settings.txt")), "easyMode=1\nzoom=150\nsolvableDeals=0\ndeadEndWarning=1\n");
    writeFile(QStringLiteral("settings.txt"), "easyMode=1\nzoom=170\nsolvableDeals=2\ngarbage\ndeadEndWarning=0\n");
    newGame(false, true);
    const auto on = [&](MenuId id) { return game->menu(id).checked; };
    EXPECT_EQ(std::tuple(game->twoCorner().easyMode, on(MenuId::EasyMode), on(MenuId::SolvableDeals), on(MenuId::DeadEndWarning)),
              std::tuple(true, true, false, false));
    EXPECT_EQ(ui.zoom, 100);  // the damaged zoom line is passed over
}

TEST(Folders, PortableWhereWritableElseThePlayersOwn) {
    QTemporaryDir root;
    const QDir r(root.path());
    for (const char* d : {"portable", "prefix/bin", "prefix/share/tessarin"}) r.mkpath(QString::fromUtf8(d));
    for (const char* f : {"portable/paidat.dat", "prefix/share/tessarin/paidat.dat", "afile"}) {
        QFile file(r.filePath(QString::fromUtf8(f)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QString problem;
    const QString own = r.filePath(QStringLiteral("home/.local/share/tessarin"));
    GameFolders f = chooseFolders(r.filePath(QStringLiteral("portable")), own, problem);
    EXPECT_TRUE(f.player == f.data && f.keep && problem.isEmpty());
    f = chooseFolders(r.filePath(QStringLiteral("prefix/bin")), own, problem);
    EXPECT_EQ(QDir(f.data), QDir(r.filePath(QStringLiteral("prefix/share/tessarin"))));
    EXPECT_TRUE(f.player == own && QDir(own).exists() && f.keep && problem.isEmpty());
    const QString impossible = r.filePath(QStringLiteral("afile/tessarin"));
    f = chooseFolders(r.filePath(QStringLiteral("prefix/bin")), impossible, problem);
    EXPECT_TRUE(!f.keep && problem.contains(impossible));
}

}  // namespace
}  // namespace tessarin::test
