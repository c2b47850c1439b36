// Hostile files for every file the game reads, and a program folder that refuses
// every write: what the player is told, in bounded time, and nothing changed.
#include "formats/writefile.h"
#include "support/gametest.h"
#include "threemove/rules.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <chrono>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tessarin::test {
namespace {

using namespace Qt::StringLiterals;

enum Hostile { kPipe, kFolder, kCut, kNoise, kHuge, kMillionLines };
const char* const kHostile[] = {"a pipe", "a folder", "cut", "random bytes", "4 GB", "a million lines"};

// Puts the hostile form of `good` at path.
void makeHostile(Hostile h, const QString& path, const QByteArray& good) {
    QFile f(path);
    std::mt19937 random(7);
    QByteArray bytes = h == kCut ? good.left(good.indexOf('\n') / 2) : h == kHuge ? good : QByteArray(65536, 0);
    if (h == kMillionLines) bytes = QByteArray("00001\r\n").repeated(1'000'000);
    for (qsizetype i = 0; h == kNoise && i < bytes.size(); ++i) bytes[i] = static_cast<char>(random() | (i < 8 ? 0x80 : 0));
    if (h == kPipe) ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    else if (h == kFolder) ASSERT_TRUE(QDir().mkpath(path + u"/inside"_s));
    else ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && (h != kHuge || f.resize(qint64{4} << 30)));
}

// Makes the folder refuse new entries, or takes that back (root is stopped only by the immutable flag).
bool setReadOnly(const QString& dir, bool on) {
    const QFile::Permissions rx = QFile::ReadOwner | QFile::ExeOwner;
    if (::geteuid() != 0) return QFile::setPermissions(dir, on ? rx : rx | QFile::WriteOwner);
    return QProcess::execute(u"chattr"_s, {on ? u"+i"_s : u"-i"_s, dir}) == 0;
}

class Files : public GameTest {
protected:
    void SetUp() override { GameTest::SetUp(), newGame(true); }
    void move() {  // a move the ThreeMove rules allow
        for (int x = 1; x <= kCols; ++x)
            for (int y = 1; y <= kRows; ++y)
                if (three::Move m; three::planMove(game->position(), x, y, true, m)) return click(x, y);
        ADD_FAILURE() << "no ThreeMove move";
    }
    void twoCornerAfterAPair(const QByteArray& stages) {  // a right click ends a replay
        writeFile(u"maptwo0.map"_s, stages), click(1, 1, kRightButton);
        command(MenuId::TwoCornerGame), command(MenuId::RandomDeal), takeFirstPair();
    }
};

TEST_F(Files, HostileFilesAreRefusedInBoundedTimeAndChangeNothing) {
    const QByteArray sheet = readFile(u"paidat.dat"_s);
    Hostile now{};
    const std::tuple<const char*, std::function<void()>, std::function<void()>, QString> readers[] = {
        // The file, the game with the good file in place, what reads it, what the player is told.
        {"maptwo0.map", [&] { twoCornerAfterAPair(stageLines(1, 3)); }, [&] { chooseStage(1, 1); }, u"ゲームデータが見つかりません"_s},
        {"cmptwo.map", [&] { twoCornerAfterAPair(stageLines(1, 5)), writeFile(u"cmptwo.map"_s, "00002\r\n00004\r\n"); },
         [&] { EXPECT_EQ(chooseStage().at(1, 1).back == StageGrid::kDoneBack, now == kMillionLines); }, {}},
        {"anstwo0.map", [&] { twoCornerAfterAPair(stageLine(7)), writeFile(u"anstwo0.map"_s, "00007" + "011012"_ba.repeated(68) + "\r\n");
                              chooseStage(1, 1), takeFirstPair(); },
         [&] { command(MenuId::ModelAnswer); }, u"回答データが見つかりません"_s},
        {"testdat.txt", [&] { twoCornerAfterAPair(stageLine(3) + "\r\n"), command(MenuId::Save), takeFirstPair(); },
         [&] { command(MenuId::Load); }, u"testdat.txt を読み込めません: "_s},
        {"workthree1.dat", [&] { command(MenuId::ThreeMoveGame), command(MenuId::RandomDeal), move(); },
         [&] { command(MenuId::Undo); }, u"\n一手戻すことはできません。 | 一手戻す"_s},
        {"paidat.dat", [&] { writeFile(u"paidat.dat"_s, sheet); }, [&] {  // bytes after a whole picture do not spoil it
             FakeUi otherUi;
             Game other(dir.path(), otherUi);
             EXPECT_TRUE(now == kHuge ? other.startUp() : !other.startUp() && other.startUpError().contains(path(u"paidat.dat"_s)));
         }, {}},
    };
    for (const auto& [name, setUp, act, message] : readers) {
        for (Hostile h : {kPipe, kFolder, kCut, kNoise, kHuge, kMillionLines}) {
            SCOPED_TRACE(testing::Message() << name << ", " << kHostile[h]);
            now = h, setUp(), takeMessages();
            const QString file = path(QString::fromLatin1(name));
            const QByteArray good = readFile(QString::fromLatin1(name));
            QFile::remove(file), makeHostile(h, file, good);
            const auto before = gameAndFiles();
            const auto start = std::chrono::steady_clock::now();
            act();
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
            const bool replayed = h == kCut && name == std::string_view("anstwo0.map");  // a short answer
            const QStringList shown = takeMessages();
            EXPECT_TRUE(shown.size() == (message.isEmpty() || replayed ? 0 : 1) && (shown.isEmpty() || shown[0].contains(message))) << shown.join('|').toStdString();
            EXPECT_EQ(game->session().replay.on, replayed);
            EXPECT_EQ(replayed ? std::pair(before.first, folderBytes(dir.path())) : gameAndFiles(), before);
            QDir(file).removeRecursively(), QFile::remove(file);
        }
    }
}

TEST_F(Files, AReadOnlyFolderRefusesEveryWrite) {
    QByteArray answer;
    const int n = greedyStage(700, &answer);
    const auto pairs = [&](int from, int to) { for (int k = from; k < to; ++k) clickCode(answer.mid(3 * k, 3).toInt()); };
    writeFile(u"maptwo.map"_s, stageLine(n - 1) + "\r\n");
    const std::tuple<const char*, std::function<void()>, std::function<void()>, QStringList> writers[] = {
        {"SAVE", [&] { command(MenuId::RandomDeal), command(MenuId::Save), pairs(0, 2); }, [&] { command(MenuId::Save); },
         {u"testdat.txt に保存できませんでした"_s}},
        {"the stores", [&] { command(MenuId::RandomDeal), pairs(0, kTiles - 2); }, [&] { pairs(kTiles - 2, kTiles); },
         {u"anstwo.map に書き込めませんでした"_s, u"maptwo.map に書き込めませんでした"_s}},
        {"a ThreeMove move", [&] { command(MenuId::ThreeMoveGame), command(MenuId::RandomDeal), move(); }, [&] { move(); },
         {u"一手戻すための作業ファイル %1 を書き込めません"_s.arg(path(u"workthree1.dat"_s))}},
    };
    for (const auto& [what, setUp, write, messages] : writers) {
        SCOPED_TRACE(what);
        setUp(), takeMessages();
        const auto before = gameAndFiles();
        // Where the folder cannot be made read-only, the writers are told it is.
        const bool readOnly = setReadOnly(dir.path(), true);
        if (!readOnly) setWriteFaultHook([](WriteStep s, auto&, auto, auto&) { return s == WriteStep::Create ? EROFS : 0; });
        write();
        setWriteFaultHook(nullptr);
        ASSERT_TRUE(!readOnly || setReadOnly(dir.path(), false));
        const QStringList shown = takeMessages();
        ASSERT_EQ(shown.size(), messages.size());
        for (qsizetype i = 0; i < shown.size(); ++i) EXPECT_TRUE(shown[i].startsWith(messages[i])) << shown[i].toStdString();
        EXPECT_EQ(folderBytes(dir.path()), before.second);
        EXPECT_TRUE(what != std::string_view("SAVE") || game->snapshot() == before.first);
    }
    EXPECT_FALSE(game->menu(MenuId::Undo).enabled);  // the move went on, but cannot be taken back
}

}  // namespace
}  // namespace tessarin::test
