// Hostile files beside the program. Each reader meets, where it applies, a
// folder, a pipe, a name whose file is gone when it is opened, a cut file,
// an empty one, a million lines, a line of a megabyte, bytes that are not
// text, a file of gigabytes, and LF-only and CR-only line ends. The player
// gets the game's message where one is due, the answer comes in bounded
// time, the game stays as it was, and every file stays as it was.
#include "stages/stagegrid.h"
#include "stages_support.h"
#include "support/threemove_game.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>

#include <optional>
#include <random>
#include <set>
#include <sys/stat.h>

namespace tessarin::test {
namespace {

const QString kNoData = QStringLiteral("ゲームデータが見つかりません");
const QString kNoAnswer = QStringLiteral("回答データが見つかりません");

// Every hostile file is handled well within this, in a sanitizer build too
// (a million-line file took 3 s there; a hang would take minutes).
constexpr qint64 kBoundMs = 10000;

enum class Hostile { Folder, Pipe, Gone, Cut, Empty, MillionLines, MegabyteLine, Binary, Gigabytes, LfOnly, CrOnly };

const char* what(Hostile h) {
    switch (h) {
    case Hostile::Folder: return "a folder with a file in it";
    case Hostile::Pipe: return "a pipe";
    case Hostile::Gone: return "a name whose file is gone when opened";
    case Hostile::Cut: return "the file cut inside its first line (a picture: in its middle)";
    case Hostile::Empty: return "an empty file";
    case Hostile::MillionLines: return "a million lines";
    case Hostile::MegabyteLine: return "a line of a megabyte";
    case Hostile::Binary: return "bytes that are not text";
    case Hostile::Gigabytes: return "the file followed by 4 GB of zero bytes";
    case Hostile::LfOnly: return "LF line ends";
    case Hostile::CrOnly: return "CR line ends";
    }
    return "";
}

// Puts the hostile form of `good` (the file as the game writes it, CR LF
// line ends) at path.
void makeHostile(Hostile h, const QString& path, const QByteArray& good) {
    const auto write = [&path](const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    };
    QByteArray lf = good, cr = good;
    switch (h) {
    case Hostile::Folder: {
        ASSERT_TRUE(QDir().mkpath(path));
        QFile keep(path + QStringLiteral("/keep.txt"));
        ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
        keep.write("keep");
        break;
    }
    case Hostile::Pipe: ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0); break;
    case Hostile::Gone: ASSERT_TRUE(QFile::link(path + QStringLiteral(".gone"), path)); break;
    case Hostile::Cut: {
        const qsizetype lineEnd = good.indexOf("\r\n");
        write(good.left((lineEnd >= 5 ? lineEnd : good.size()) / 2));
        break;
    }
    case Hostile::Empty: write({}); break;
    case Hostile::MillionLines: write(QByteArray("00001\r\n").repeated(1'000'000)); break;
    case Hostile::MegabyteLine: write(good.left(5) + QByteArray(1 << 20, '1') + "\r\n"); break;
    case Hostile::Binary: {
        std::mt19937 random(7);
        QByteArray bytes(1 << 16, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(0x80 | random());  // a first line to pick
        write(bytes);
        break;
    }
    case Hostile::Gigabytes: {
        write(good);
        QFile f(path);
        ASSERT_TRUE(f.resize(qint64{4} << 30));  // sparse: no disk space taken
        break;
    }
    case Hostile::LfOnly: write(lf.replace("\r\n", "\n")); break;
    case Hostile::CrOnly: write(cr.replace("\r\n", "\r")); break;
    }
}

void removeHostile(const QString& path) {
    if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink()) QDir(path).removeRecursively();
    else QFile::remove(path);
}

// Every entry under a folder, with what it holds: a file's bytes (its size
// when it is too big to keep), or what kind of entry it is.
std::map<QString, QByteArray> folderState(const QString& dir) {
    std::map<QString, QByteArray> out;
    QDirIterator it(dir, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray& entry = out[QDir(dir).relativeFilePath(path)];
        if (info.isSymLink()) entry = "link to " + info.symLinkTarget().toUtf8();
        else if (info.isDir()) entry = "folder";
        else if (!info.isFile()) entry = "not a file";
        else if (info.size() > (qint64{64} << 20)) entry = "size " + QByteArray::number(info.size());
        else {
            QFile f(path);
            entry = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
        }
    }
    return out;
}

// Runs action, which must be done within kBoundMs.
template <typename Action>
void inBoundedTime(Action action) {
    QElapsedTimer timer;
    timer.start();
    action();
    EXPECT_LT(timer.elapsed(), kBoundMs);
}

class HostileFiles : public GameTest {
protected:
    // Takes off the first pair the search lists, as a player would.
    void takeFirstPair(MjanModule& g) {
        g.menuSrh_Click();
        const int a = g.hintList[1].left, b = g.hintList[1].right;
        clickCell(g, 1, 1, kRightButton);
        clickCode(g, a);
        clickCode(g, b);
    }
    // "面選択", with a double-click on the first stage place when pick is set;
    // returns the grid as it was shown.
    StageGrid selectStage(bool pick) {
        StageGrid shown;
        ui.onStageSelection = [&](StageGrid& grid) {
            shown = grid;
            if (pick) grid.doubleClick(1, 1);
        };
        game->menuStartChoise_Click();
        ui.onStageSelection = nullptr;
        return shown;
    }
};

TEST_F(HostileFiles, StageFilesAreReadOrRefusedAndTheGameGoesOn) {
    enum Outcome { Refused, Nothing, Loaded };
    const QByteArray good = stageLines(1, 3);
    const QString file = path(QStringLiteral("maptwo0.map"));
    // A folder or a dangling link under the name: stages_selection_test.
    const std::vector<std::pair<Hostile, Outcome>> cases = {
        {Hostile::Pipe, Refused},         {Hostile::Cut, Refused},    {Hostile::Empty, Nothing},
        {Hostile::MillionLines, Refused}, {Hostile::MegabyteLine, Refused}, {Hostile::Binary, Refused},
        {Hostile::Gigabytes, Refused},    {Hostile::LfOnly, Loaded},  {Hostile::CrOnly, Loaded},
    };
    for (const auto& [hostile, outcome] : cases) {
        SCOPED_TRACE(what(hostile));
        writeFile(QStringLiteral("maptwo0.map"), good);
        startRandom();
        takeFirstPair(*game);
        removeHostile(file);
        makeHostile(hostile, file, good);
        const Snapshot before(*game);
        const auto files = folderState(dir.path());
        ui.boxes.clear();

        inBoundedTime([&] { selectStage(true); });
        EXPECT_EQ(folderState(dir.path()), files);
        if (outcome == Loaded) {
            EXPECT_TRUE(ui.boxes.empty());
            EXPECT_EQ(game->stageNo, QStringLiteral("00001"));
            EXPECT_EQ(game->boardMap, boardOf(stageLine(1)));
            EXPECT_EQ(game->restPai, 136);
            continue;
        }
        before.expectSame(*game);
        EXPECT_EQ(ui.boxes.size() == 1 ? ui.boxes[0].text : QString(), outcome == Refused ? kNoData : QString());
        removeHostile(file);
    }
}

TEST_F(HostileFiles, CompletionMarksFromAnyFileOnlyInform) {
    // A long list, so each completion line costs the time a search of the
    // whole grid would take: only the numbers count for the list.
    QByteArray numbers;
    for (int n = 1; n <= 10000; ++n) numbers += stageNumber(n).toLatin1() + "\r\n";
    writeFile(QStringLiteral("maptwo0.map"), numbers);
    const QByteArray good = "00002\r\n00004\r\n";
    const QString file = path(QStringLiteral("cmptwo.map"));
    const std::vector<std::pair<Hostile, std::set<int>>> cases = {
        {Hostile::Folder, {}},       {Hostile::Pipe, {}},         {Hostile::Gone, {}},
        {Hostile::Cut, {}},          {Hostile::Empty, {}},        {Hostile::MillionLines, {1}},
        {Hostile::MegabyteLine, {}}, {Hostile::Binary, {}},       {Hostile::Gigabytes, {}},
        {Hostile::LfOnly, {2, 4}},   {Hostile::CrOnly, {2, 4}},
    };
    for (const auto& [hostile, marked] : cases) {
        SCOPED_TRACE(what(hostile));
        makeHostile(hostile, file, good);
        const Snapshot before(*game);
        const auto files = folderState(dir.path());

        StageGrid grid;
        inBoundedTime([&] { grid = selectStage(false); });
        std::set<int> shown;
        for (int n = 1; n <= 5; ++n) {
            const StageGrid::Cell& cell = grid.at(1, n);
            if (cell.back == StageGrid::kDoneBack) shown.insert(n);
            EXPECT_EQ(cell.text.left(5), stageNumber(n));
        }
        EXPECT_EQ(shown, marked);
        EXPECT_TRUE(ui.boxes.empty());
        before.expectSame(*game);
        EXPECT_EQ(folderState(dir.path()), files);
        removeHostile(file);
    }
}

TEST_F(HostileFiles, AnswerFilesAreReplayedOrRefused) {
    QByteArray answer;
    const int stage = solvableStage(10, &answer);
    writeFile(QStringLiteral("maptwo0.map"), stageLine(stage) + "\r\n");
    const QByteArray good = stageNumber(stage).toLatin1() + answer + "\r\n";
    const QString file = path(QStringLiteral("anstwo0.map"));
    // Cut, garbled and dangling answer files: stages_replay_test.
    const QByteArray longAnswer = QByteArray(1 << 20, '1');
    const std::vector<std::pair<Hostile, std::optional<QByteArray>>> cases = {
        {Hostile::Folder, {}}, {Hostile::Pipe, {}},         {Hostile::Empty, {}},
        {Hostile::MillionLines, {}}, {Hostile::MegabyteLine, longAnswer}, {Hostile::Binary, {}},
        {Hostile::Gigabytes, {}},  {Hostile::LfOnly, answer},  {Hostile::CrOnly, answer},
    };
    for (const auto& [hostile, replayed] : cases) {
        SCOPED_TRACE(what(hostile));
        selectStage(true);
        ASSERT_EQ(game->stageNo, stageNumber(stage));
        takeFirstPair(*game);
        makeHostile(hostile, file, good);
        const Snapshot before(*game);
        const auto files = folderState(dir.path());
        ui.boxes.clear();

        inBoundedTime([&] { game->menuOption2Ans_Click(); });
        EXPECT_EQ(folderState(dir.path()), files);
        if (!replayed) {
            ASSERT_EQ(ui.boxes.size(), 1u);
            EXPECT_EQ(ui.boxes[0].text, kNoAnswer);
            before.expectSame(*game);
        } else {
            // Replayed to its end, after which the stage is in play again.
            EXPECT_TRUE(ui.boxes.empty());
            ASSERT_TRUE(game->replayMode);
            EXPECT_EQ(game->answerText, *replayed);
            for (int click = 0; click < kTiles && game->replayMode; ++click) clickCell(*game, 1, 1);
            EXPECT_FALSE(game->replayMode);
            EXPECT_EQ(game->boardMap, boardOf(stageLine(stage)));
            EXPECT_EQ(game->restPai, 136);
        }
        removeHostile(file);
    }
}

TEST_F(HostileFiles, ASaveSlotThatIsNotASaveIsRefusedAndLineEndsDoNotMatter) {
    MjanModule author(dir.path(), ui, true);
    ASSERT_TRUE(author.startUp());
    author.clock = game->clock;
    writeFile(QStringLiteral("maptwo.map"), stageLine(20) + "\r\n");
    author.menuStartRnd_Click();
    for (int i = 0; i < 3; ++i) takeFirstPair(author);
    author.menuSave_Click();
    author.menuLoad_Click();
    const Snapshot saved(author);
    const QString file = path(QStringLiteral("testdat.txt"));
    const QByteArray good = readFile(QStringLiteral("testdat.txt"));
    takeFirstPair(author);
    // A folder, a missing file and cut or damaged lines: savegame_test.
    const std::vector<std::pair<Hostile, bool>> cases = {
        {Hostile::Pipe, false},   {Hostile::Gone, false},      {Hostile::Empty, false},
        {Hostile::MillionLines, false}, {Hostile::MegabyteLine, false}, {Hostile::Binary, false},
        {Hostile::Gigabytes, false}, {Hostile::LfOnly, true},  {Hostile::CrOnly, true},
    };
    for (const auto& [hostile, loads] : cases) {
        SCOPED_TRACE(what(hostile));
        removeHostile(file);
        makeHostile(hostile, file, good);
        const Snapshot before(author);
        const auto files = folderState(dir.path());
        ui.boxes.clear();

        inBoundedTime([&] { author.menuLoad_Click(); });
        EXPECT_EQ(folderState(dir.path()), files);
        if (loads) {
            EXPECT_TRUE(ui.boxes.empty());
            saved.expectSame(author);
            takeFirstPair(author);
            continue;
        }
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_TRUE(ui.boxes[0].text.startsWith(QStringLiteral("testdat.txt を読み込めません"))) << ui.boxes[0].text.toStdString();
        before.expectSame(author);
    }
}

using HostileWorkFiles = ThreeMoveGame;

TEST_F(HostileWorkFiles, WorkFilesThatAreNotSnapshotsAreRefused) {
    const QString file = path(QStringLiteral("workthree1.dat"));
    // A cut or damaged file and a missing one: threemove_undo_test.
    for (Hostile hostile : {Hostile::Folder, Hostile::Pipe, Hostile::Gone, Hostile::Empty, Hostile::MillionLines,
                            Hostile::MegabyteLine, Hostile::Binary, Hostile::Gigabytes}) {
        SCOPED_TRACE(what(hostile));
        setPosition({"a..ab", "c#.bc"}, 3);
        click(4, 1, kLeftButton);
        const QByteArray good = readFile(QStringLiteral("workthree1.dat"));
        removeHostile(file);
        makeHostile(hostile, file, good);
        const PaiTbl tbl = game->paiTbl;
        const BoardMap map = game->boardMap;
        const QImage picture = game->picdest;
        const auto counters = std::tuple(game->restMoves, game->doneMoves, game->restPai3);
        const auto files = folderState(dir.path());

        inBoundedTime([&] { game->menuPaiBack_Click(); });
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_TRUE(ui.boxes[0].text.contains(QStringLiteral("一手戻すことはできません")));
        EXPECT_EQ(game->paiTbl, tbl);
        EXPECT_EQ(game->boardMap, map);
        EXPECT_EQ(game->picdest, picture);
        EXPECT_EQ((std::tuple(game->restMoves, game->doneMoves, game->restPai3)), counters);
        EXPECT_EQ(folderState(dir.path()), files);
        removeHostile(file);
    }
}

TEST(HostileTileSheet, ASheetThatIsNotAPictureStopsTheStartWithItsName) {
    QTemporaryDir dir;
    writeTestSheet(dir.path());
    const QString file = dir.filePath(QStringLiteral("paidat.dat"));
    QFile sheet(file);
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    const QByteArray good = sheet.readAll();
    sheet.close();
    // No file, a text file and a picture too small: shell_test. Bytes after
    // a whole picture do not spoil it.
    for (Hostile hostile : {Hostile::Folder, Hostile::Pipe, Hostile::Gone, Hostile::Cut, Hostile::Empty,
                            Hostile::MillionLines, Hostile::MegabyteLine, Hostile::Binary, Hostile::Gigabytes}) {
        SCOPED_TRACE(what(hostile));
        removeHostile(file);
        makeHostile(hostile, file, good);
        const auto files = folderState(dir.path());
        FakeUi ui;
        MjanModule game(dir.path(), ui);
        bool started = false;
        inBoundedTime([&] { started = game.startUp(); });
        EXPECT_EQ(started, hostile == Hostile::Gigabytes);
        EXPECT_TRUE(started || game.sheetError.contains(file)) << game.sheetError.toStdString();
        EXPECT_EQ(folderState(dir.path()), files);
    }
}

}  // namespace
}  // namespace tessarin::test
