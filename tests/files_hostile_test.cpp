// Hostile files beside the program, for every reader: the game's message where
// one is due, an answer in bounded time, the game and every file as they were.
#include "stages_support.h"
#include "support/threemove_game.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>

#include <functional>
#include <optional>
#include <random>
#include <set>
#include <sys/stat.h>

namespace tessarin::test {
namespace {

// Every hostile file is handled well within this, in a sanitizer build too
// (a million-line file took 3 s there; a hang would take minutes).
constexpr qint64 kBoundMs = 10000;

enum class Hostile { Folder, Pipe, Gone, Cut, Empty, MillionLines, MegabyteLine, Binary, Gigabytes, LfOnly, CrOnly };

const char* what(Hostile h) {
    static const char* const names[] = {
        "a folder with a file in it", "a pipe", "a name whose file is gone when opened",
        "the file cut inside its first line (a picture: in its middle)", "an empty file", "a million lines",
        "a line of a megabyte", "bytes that are not text", "the file followed by 4 GB of zero bytes",
        "LF line ends", "CR line ends"};
    return names[static_cast<int>(h)];
}

// Puts the hostile form of `good` (the file as the game writes it, CR LF
// line ends) at path.
void makeHostile(Hostile h, const QString& path, const QByteArray& good) {
    const auto write = [](const QString& to, const QByteArray& bytes) {
        QFile f(to);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    };
    QByteArray lf = good, cr = good;
    switch (h) {
    case Hostile::Folder:
        ASSERT_TRUE(QDir().mkpath(path));
        write(path + QStringLiteral("/keep.txt"), "keep");
        break;
    case Hostile::Pipe: ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0); break;
    case Hostile::Gone: ASSERT_TRUE(QFile::link(path + QStringLiteral(".gone"), path)); break;
    case Hostile::Cut: {
        const qsizetype lineEnd = good.indexOf("\r\n");
        write(path, good.left((lineEnd >= 5 ? lineEnd : good.size()) / 2));
        break;
    }
    case Hostile::Empty: write(path, {}); break;
    case Hostile::MillionLines: write(path, QByteArray("00001\r\n").repeated(1'000'000)); break;
    case Hostile::MegabyteLine: write(path, good.left(5) + QByteArray(1 << 20, '1') + "\r\n"); break;
    case Hostile::Binary: {
        std::mt19937 random(7);
        QByteArray bytes(1 << 16, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(0x80 | random());  // a first line to pick
        write(path, bytes);
        break;
    }
    case Hostile::Gigabytes:
        write(path, good);
        ASSERT_TRUE(QFile(path).resize(qint64{4} << 30));  // sparse: no disk space taken
        break;
    case Hostile::LfOnly: write(path, lf.replace("\r\n", "\n")); break;
    case Hostile::CrOnly: write(path, cr.replace("\r\n", "\r")); break;
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

// Runs a command on a hostile file: it is done within kBoundMs and leaves
// every file as it was. Returns the messages the player saw.
QStringList handled(const QString& dir, FakeUi& ui, const std::function<void()>& command) {
    const auto files = folderState(dir);
    ui.boxes.clear();
    QElapsedTimer timer;
    timer.start();
    command();
    EXPECT_LT(timer.elapsed(), kBoundMs);
    EXPECT_EQ(folderState(dir), files);
    QStringList texts;
    for (const FakeUi::Box& b : ui.boxes) texts << b.text;
    return texts;
}

using HostileFiles = GameTest;

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
        const QStringList shown = handled(dir.path(), ui, [&] { openStages(ui, *game, 1, 1); });
        if (outcome == Loaded) {
            EXPECT_TRUE(shown.isEmpty());
            EXPECT_EQ(game->stageNo, QStringLiteral("00001"));
            EXPECT_EQ(game->boardMap, boardOf(stageLine(1)));
            EXPECT_EQ(game->restPai, 136);
            continue;
        }
        before.expectSame(*game);
        EXPECT_EQ(shown, outcome == Refused ? QStringList{kNoData} : QStringList{});
        removeHostile(file);
    }
}

TEST_F(HostileFiles, CompletionMarksFromAnyFileOnlyInform) {
    // A long list, so each completion line costs the time a search of the
    // whole grid would take: only the numbers count for the list.
    QByteArray numbers;
    for (int n = 1; n <= 10000; ++n) numbers += stageNumber(n).toLatin1() + "\r\n";
    writeFile(QStringLiteral("maptwo0.map"), numbers);
    const QString file = path(QStringLiteral("cmptwo.map"));
    const std::vector<std::pair<Hostile, std::set<int>>> cases = {
        {Hostile::Folder, {}},       {Hostile::Pipe, {}},         {Hostile::Gone, {}},
        {Hostile::Cut, {}},          {Hostile::Empty, {}},        {Hostile::MillionLines, {1}},
        {Hostile::MegabyteLine, {}}, {Hostile::Binary, {}},       {Hostile::Gigabytes, {}},
        {Hostile::LfOnly, {2, 4}},   {Hostile::CrOnly, {2, 4}},
    };
    for (const auto& [hostile, marked] : cases) {
        SCOPED_TRACE(what(hostile));
        makeHostile(hostile, file, "00002\r\n00004\r\n");
        const Snapshot before(*game);
        StageGrid grid;
        EXPECT_TRUE(handled(dir.path(), ui, [&] { grid = openStages(ui, *game); }).isEmpty());
        before.expectSame(*game);
        std::set<int> shown;
        for (int n = 1; n <= 5; ++n) {
            if (grid.at(1, n).back == StageGrid::kDoneBack) shown.insert(n);
            EXPECT_EQ(grid.at(1, n).text.left(5), stageNumber(n));
        }
        EXPECT_EQ(shown, marked);
        removeHostile(file);
    }
}

TEST_F(HostileFiles, AnswerFilesAreReplayedOrRefused) {
    QByteArray answer;
    const int stage = solvableStage(10, &answer);
    writeFile(QStringLiteral("maptwo0.map"), stageLine(stage) + "\r\n");
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
        openStages(ui, *game, 1, 1);
        ASSERT_EQ(game->stageNo, stageNumber(stage));
        takeFirstPair(*game);
        makeHostile(hostile, file, stageNumber(stage).toLatin1() + answer + "\r\n");
        const Snapshot before(*game);
        const QStringList shown = handled(dir.path(), ui, [&] { game->menuOption2Ans_Click(); });
        if (!replayed) {
            EXPECT_EQ(shown, QStringList{kNoAnswer});
            before.expectSame(*game);
        } else {
            // Replayed to its end, after which the stage is in play again.
            EXPECT_TRUE(shown.isEmpty());
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

using HostileSaveSlot = AuthorTest;

TEST_F(HostileSaveSlot, ASaveSlotThatIsNotASaveIsRefusedAndLineEndsDoNotMatter) {
    writeFile(QStringLiteral("maptwo.map"), stageLine(20) + "\r\n");
    author->menuStartRnd_Click();
    for (int i = 0; i < 3; ++i) takeFirstPair(*author);
    author->menuSave_Click();
    author->menuLoad_Click();
    const Snapshot saved(*author);
    const QString file = path(QStringLiteral("testdat.txt"));
    const QByteArray good = readFile(QStringLiteral("testdat.txt"));
    takeFirstPair(*author);
    // A folder, a missing file and cut or damaged lines: savegame_test.
    for (Hostile hostile : {Hostile::Pipe, Hostile::Gone, Hostile::Empty, Hostile::MillionLines, Hostile::MegabyteLine,
                            Hostile::Binary, Hostile::Gigabytes, Hostile::LfOnly, Hostile::CrOnly}) {
        SCOPED_TRACE(what(hostile));
        removeHostile(file);
        makeHostile(hostile, file, good);
        const Snapshot before(*author);
        const QStringList shown = handled(dir.path(), ui, [&] { author->menuLoad_Click(); });
        if (hostile == Hostile::LfOnly || hostile == Hostile::CrOnly) {
            EXPECT_TRUE(shown.isEmpty());
            saved.expectSame(*author);
            takeFirstPair(*author);
            continue;
        }
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].startsWith(QStringLiteral("testdat.txt を読み込めません"))) << shown[0].toStdString();
        before.expectSame(*author);
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
        const Snapshot before(*game);
        const QStringList shown = handled(dir.path(), ui, [&] { game->menuPaiBack_Click(); });
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].contains(QStringLiteral("一手戻すことはできません")));
        before.expectSame(*game);
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
        FakeUi ui;
        MjanModule game(dir.path(), ui);
        bool started = false;
        EXPECT_TRUE(handled(dir.path(), ui, [&] { started = game.startUp(); }).isEmpty());
        EXPECT_EQ(started, hostile == Hostile::Gigabytes);
        EXPECT_TRUE(started || game.sheetError.contains(file)) << game.sheetError.toStdString();
    }
}

}  // namespace
}  // namespace tessarin::test
