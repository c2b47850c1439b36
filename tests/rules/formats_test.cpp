// The data files: deals, stage lines and files, answers, completion marks, save slot, undo files, writers; tool deal, check.
#include "formats/completions.h"
#include "formats/datafile.h"
#include "formats/saveslot.h"
#include "formats/stagefiles.h"
#include "formats/undofiles.h"
#include "formats/writefile.h"
#include "support.h"
#include "threemove/rules.h"
#include "twocorner/pairs.h"

#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/stat.h>

namespace tessarin::test {
namespace {

using namespace std::literals;

TEST(StageLines, DealsAreBoardsColumnByColumnWhatIsNoBoardIsRefusedAndMarksAreRead) {
    // Values from an independent implementation. Column 1 lists rows 1..8: the 1st, 18th, 35th ... tiles drawn.
    const auto order = dealOrderForSeed(33763);
    EXPECT_EQ(std::vector<int>(order.begin() + 1, order.begin() + 11), (std::vector<int>{11, 115, 25, 97, 81, 103, 105, 84, 52, 85}));
    EXPECT_EQ(std::tuple(order[134], order[136], dealOrderForSeed(1)[1], dealOrderForSeed(237190)[1]), std::tuple(133, 119, 45, 46));
    const std::string line = dealStageLine(33763);
    EXPECT_EQ(line.substr(0, 11) + dealStageLine(106).substr(0, 5), "3376301109300106");
    const ToolRun deal = runTool({"deal", "33763"}), six = runTool({"deal", "140811"});
    EXPECT_EQ(std::tuple(deal.out, six.out.size(), six.out.substr(0, 6)), std::tuple(line + "\n", 415u, "140811"));
    for (const char* bad : {"1000000", "-1", "12a", ""}) EXPECT_EQ(runTool({"deal", bad}).status, 2) << bad;
    StageLine s;
    std::string error;
    ASSERT_TRUE(parseStageLine(line + " # a note", s, error)) << error;  // what follows the board is counted
    EXPECT_EQ(std::tuple(s.stageNo, s.trailing, s.position().tileAt(1, 2), s.position().tileAt(2, 1)), std::tuple("33763", 9u, 93, 115));
    EXPECT_EQ(formatStageLine("33763", s.position()), line);
    const auto changed = [&](std::size_t at, const std::string& by) { return std::string(line).replace(at, 3, by); };
    for (const auto& [text, strict, why] : {
             std::tuple(line + " ", true, "a stage line has 413 characters, this one 414"),
             std::tuple(line.substr(0, 412), false, "a stage line has 413 characters, this one 412"),
             std::tuple(changed(100, "0x0"), false, "a stage line holds only digits"),
             std::tuple(changed(5, "137"), false, "cell 1,1 holds tile 137, not a tile number 1 to 136"),
             std::tuple(changed(410, "000"), false, "cell 17,8 holds tile 0, not a tile number 1 to 136"),
             std::tuple(changed(8, "011"), false, "tile 11 appears twice")})
        EXPECT_TRUE(!parseStageLine(text, s, error, strict) && error == why) << error;
    // Marks: plain, spaced, after a BOM, in UTF-8 or Shift_JIS ideographic spaces, non-ASCII; short, long, twice.
    const std::string bytes = "00001\r\n 00002 \n\xEF\xBB\xBF" "00003\r\n\xE3\x80\x80" "00004\xE3\x80\x80\r\n\x81\x40"
                              "00005\x81\x40\r\n0000\x82\n0006\n000007\n00001";
    EXPECT_EQ(completionMarks(bytes),
              (std::vector<std::u32string>{U"00001", U"00002", U"00003", U"00004", U"00005", U"0000\uFFFD", U"00001"}));
}

TEST(StageFiles, NumberTheLinesOfAllTenFilesAndHoldAnswers) {
    const TempDir dir;
    std::string seen;  // the number and text of each line visited
    const auto walk = [&](int stopAt) {
        seen.clear();
        const auto visit = [&](int n, auto& line) { seen += " " + std::to_string(n) + line; return n != stopAt; };
        return std::array{"NoFiles", "Unreadable", "Stopped", "Finished"}[int(walkStageLines(dir.path, visit))] + seen;
    };
    EXPECT_EQ(walk(0), "NoFiles");
    for (const auto& [f, t] : {std::pair("maptwo9.map", "i\r\nj"), {"maptwo0.map", "a\r\nb\n"}, {"maptwo4.map", "e\r"}})
        putFile(dir / f, t);
    EXPECT_EQ(walk(0) + "," + walk(4), "Finished 1a 2b 3e 4i 5j,Stopped 1a 2b 3e 4i");
    putFile(dir / "maptwo1.map", std::string(kMaxStageLines - 5, '\n'));  // 32767 lines are numbered, not one more
    EXPECT_TRUE(walk(0).starts_with("Finished 1a 2b 3 4") && seen.ends_with(" 32767j"));
    putFile(dir / "maptwo9.map", "i\r\nj\r\nk");
    EXPECT_TRUE(walk(0).starts_with("Unreadable 1a") && seen.ends_with(" 32767j"));
    fs::create_symlink(dir / "nowhere", dir / "maptwo7.map");  // stops the walk where it lies, not before
    EXPECT_TRUE(walk(3) == "Stopped 1a 2b 3" && walk(0).starts_with("Unreadable 1a") && seen.ends_with(" 32765e"));
    putFile(dir / "anstwo0.map", "00001aaa\r\n00003\r\n");
    fs::create_symlink(dir / "nowhere", dir / "anstwo3.map");  // holds no answer; later files still count
    putFile(dir / "anstwo9.map", "00002bbb\r\n00001zzz\r\n");
    std::string found, rest;
    for (const char* stageNo : {"00001", "00002", "00003", "00004", "000012"})
        found += findAnswer(dir.path, stageNo, rest = "-") ? rest + "," : "none,";
    EXPECT_EQ(found, "aaa,bbb,,none,none,");
}

TEST(GameFiles, SaveSlotAndUndoFilesRoundTripByteExactAndRefuseDamage) {
    // Deal 33763, the pairs 051 081 (kind 21) and 052 161 (kind 32) taken and tile 11 at 011 picked; tile 136 lies at 018.
    Position pos = dealt(33763);
    std::string error;
    ASSERT_TRUE(takePairs(pos, "051081052161", error));
    pos.setState(11, kPicked);
    const MoveRecord moves{{0, 51, 81, 52, 161, 11}, 5};
    // The board; the records "XXYKKKS" of tile 0, 1 ...; the clicks; the tiles left; the click count.
    const std::string text = formatSaveSlot("33763", pos, moves, 132);
    EXPECT_EQ(text.substr(0, 422) + text.substr(492, 7) + text.substr(text.size() - 433),
              dealStageLine(33763) + "\r\n0002020" "0110031000051081052161011" + std::string(405, '0') + "\r\n132\r\n5\r\n");
    SavedGame saved;
    ASSERT_TRUE(parseSaveSlot(text, saved, error)) << error;
    EXPECT_TRUE(Position(saved.cells, saved.tiles) == pos && saved.moves == moves && saved.stageNo == "33763");
    EXPECT_TRUE(!parseSaveSlot(text.substr(0, text.size() - 3), saved, error) && error == "4 行しかありません（5 行のはず）") << error;
    for (const auto& [line, at, by, why] : std::vector<std::tuple<std::size_t, std::size_t, std::string, std::string>>{
             {0, 413, "00", "1 行目が 415 文字です（413 文字のはず）"}, {1, 50, "x", "2 行目に数字でない文字があります"},
             {0, 5, "139", "盤面の牌番号 139 は 0 から 138 の範囲にありません"},
             {0, 8, "011", "盤面が 1 から 136 の牌を一つずつ持っていません（牌番号 11）"},
             {1, 7 * 5 + 3, "003", "牌 5 の種類 3 が違います"}, {1, 7 * 136 + 6, "3", "牌 136 の状態 3 は 0 から 2 の範囲にありません"},
             {1, 7 * 136 + 2, "7", "牌 136 の位置が盤面と合いません"}, {1, 7 * 136 + 6, "2", "牌 136 の状態が記録と合いません"},
             {2, 3, "190", "記録の 1 手目 190 は盤上のマスではありません"},
             {2, 6, "052081", "記録の 1 手目と 2 手目は同じ種類の牌ではありません"}, {4, 0, "3", "記録の 3 手目が牌の状態と合いません"},
             {4, 0, "137", "記録された手数 137 は 0 から 136 の範囲にありません"},
             {3, 0, "130", "残り牌数 130 が記録と合いません（132 のはず）"}}) {
        std::vector<std::string> lines = textLines(text);
        lines[line].replace(at, by.size(), by);
        std::string damaged;
        for (const std::string& l : lines) damaged += l + "\r\n";
        EXPECT_TRUE(!parseSaveSlot(damaged, saved, error) && error == why) << error;
    }
    // The ThreeMove undo files of deal 33763 cleared once as a start: 128 tiles live, tile 21 (kind 6) a stone at (6, 7),
    // tile 11 at (1, 1), tile 136 at (1, 8).
    three::clearGroups(pos = dealt(33763));
    const std::string tiles = encodeTileTable(pos.tiles()), board = encodeBoardCells(pos.cells());
    EXPECT_EQ(tiles.substr(0, 18) + tiles.substr(21 * 18, 18) + tiles.substr(138 * 18, 18),
              "\0\0\0\0\x60\x01\0\0\0\0\0\0\xCA\0\0\0\0\0" "\x06\0\x07\0\x08\x01\0\0\0\0\0\0\x06\0\x02\0\x01\0"
              "\0\0\0\0\0\0\0\0\xD8\0\0\0\xC8\0\0\0\0\0"sv);
    EXPECT_EQ(board.substr(0, 42) + board.substr(278, 2), std::string(40, '\0') + "\x0B\0\x15\0"s);

    const TempDir dir;
    const std::string t = dir / kUndoTilesFile, b = dir / kUndoBoardFile, both = "workthree1.dat と workthree2.dat ",
                      one = "workthree1.dat の内容が正しくありません：", two = "workthree2.dat の内容が正しくありません：";
    for (const auto& [f, at, by, live, why] : std::vector<std::tuple<std::string, int, std::string, int, std::string>>{
             {t, 0, "", 128, ""}, {t, 2501, "\0\0"s, 128, "workthree1.dat の大きさが正しくありません（2502 バイトであるべきところ、2503 バイト）。"},
             {t, 5 * 18 + 4, "\x01", 128, one + "牌 5 の画像の位置か種類が本来の値と違います。"},
             {t, 136 * 18 + 16, "\x01", 128, one + "牌 136 の状態（state 0、cover 1）はありえない値です。"},
             {t, 136 * 18 + 14, "\x02\0\x02"s, 128, one + "種類 34 の消えた牌の数 1 はありえない値です。"},
             {b, 0, "\x05", 128, two + "盤の外枠 (0, 0) に牌 5 があります。"}, {b, 40, "\x8B", 128, two + "(1, 1) の牌番号 139 が範囲外です。"},
             {b, 42, "\x0B", 128, two + "(2, 1) の牌 11 が正しくありません（欠けているか重複しています）。"},
             {t, 0, encodeTileTable(dealt(12).tiles()), 128, both + "の内容が食い違っています（牌の位置が盤面と合いません）。"},
             {t, 0, "", 126, both + "はこのゲームの一手前の盤面ではありません。"}}) {
        std::string failed, problem;
        ASSERT_TRUE(writeUndoFiles(dir.path, pos, failed, problem)) << failed << problem;
        EXPECT_EQ(std::pair(fileBytes(t), fileBytes(b)), std::pair(tiles, board));
        putFile(f, fileBytes(f).replace(at, by.size(), by));
        Position out;
        const bool read = readUndoFiles(dir.path, live, out, problem);
        EXPECT_EQ(std::tuple(read, problem, out == (why.empty() ? pos : Position())), std::tuple(why.empty(), why, true));
    }
}

long entries(const TempDir& dir) { return std::distance(fs::directory_iterator(dir.path), {}); }

TEST(FileWriters, LeaveTheOldFileOnAFailingStepOrAKillAndFollowLinks) {
    const TempDir dir;
    const std::string file = dir / "data.txt", old = "an old line\r\nno line end", fresh(3000, 'r'), line(2000, 'n');
    const std::tuple<std::function<bool(std::string&)>, std::string> writers[] = {
        {[&](std::string& e) { return replaceFile(file, fresh, e); }, fresh},
        {[&](std::string& e) { return appendLine(file, line, e); }, old + "\r\n" + line + "\r\n"}};
    for (const auto& [write, result] : writers) {
        std::vector<std::tuple<WriteStep, int, std::size_t>> faults = {
            {WriteStep::Create, EROFS, 0}, {WriteStep::Sync, EIO, 0}, {WriteStep::Rename, EPERM, 0},
            {WriteStep::Create, 0, 0}};  // no fault, but writes of a few bytes each
        for (std::size_t at = 0; at < result.size(); at += 997) faults.emplace_back(WriteStep::Write, ENOSPC, at);
        for (const auto& [step, err, after] : faults) {
            putFile(file, old), fs::permissions(file, fs::perms(0640));
            std::string error;
            setWriteFaultHook([&](WriteStep s, const std::string& path, std::size_t offset, std::size_t& size) {
                EXPECT_EQ(path, file);  // never the temporary file
                if (s != WriteStep::Write) return s == step ? err : 0;
                if (err == 0) size = std::min<std::size_t>(size, 1 + offset % 13);
                else if (step == WriteStep::Write && offset < after) size = std::min(size, after - offset);
                else if (step == WriteStep::Write) return err;  // the disk is full from `after` on
                return 0;
            });
            EXPECT_EQ(write(error), err == 0) << int(step) << " " << after;
            setWriteFaultHook(nullptr);
            EXPECT_EQ(std::tuple(error, fileBytes(file), fs::status(file).permissions(), entries(dir)),
                      std::tuple(err ? std::strerror(err) : "", err ? old : result, fs::perms(0640), 1));
        }
    }
    // Through a link the file it names is written, and the link stays.
    fs::create_symlink("data.txt", dir / "link");
    std::string error;
    ASSERT_TRUE(replaceFile(dir / "link", "new", error) && appendLine(dir / "link", "more", error) && appendLine(dir / "made", "x", error)) << error;
    EXPECT_EQ(std::tuple(fileBytes(file), fs::is_symlink(dir / "link"), fileBytes(dir / "made")), std::tuple("new\r\nmore\r\n", true, "x\r\n"));
    // A writer killed at random moments leaves the old or the new file, never a mix.
    std::string target = file, probe = TESSARIN_WRITE_PROBE, mode = "replace";
    const std::string a(300000, 'A'), b(200000, 'B');  // what the probe writes in turn
    std::mt19937 rng(2024);
    putFile(target, a);
    for (int run = 0; run < 40; ++run) {
        char* argv[] = {probe.data(), mode.data(), target.data(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ), 0);
        ::usleep(2000 + below(rng, 30000)), ::kill(pid, SIGKILL), ::waitpid(pid, nullptr, 0);
        ASSERT_TRUE(fileBytes(target) == a || fileBytes(target) == b) << "run " << run << ": a mix";
    }
    EXPECT_GT(entries(dir), 1);  // kills met the probe in the middle of a write
}

TEST(CheckTool, PassesASoundFolderAndNamesEveryProblemByFileAndLine) {
    // Stage 00257 with its answer as shipped, deal 33763, deal 12 with a note after it.
    const std::string stage = textLines(fileBytes(TESSARIN_SOURCE_DIR "/data/maptwo0.map"))[0];
    const std::string answer = textLines(fileBytes(TESSARIN_SOURCE_DIR "/data/anstwo0.map"))[0];
    const TempDir dir;
    putFile(dir / "maptwo0.map", stage + "\r\n" + dealStageLine(33763) + "\r\n");
    putFile(dir / "maptwo9.map", dealStageLine(12) + " # note\r\n");
    putFile(dir / "anstwo0.map", answer + "\r\n");
    putFile(dir / "cmptwo.map", "00257\r\n33763\r\n");
    const std::string warning = "maptwo9.map:1: warning: 7 characters after the board are ignored\n";
    ToolRun run = runTool({"check", dir.path});
    EXPECT_EQ(std::tie(run.status, run.out), std::tuple(0, warning + "3 stages, 1 answers, 2 completion marks: no problems\n"));
    putFile(dir / "maptwo3.map", "x\r\n");
    putFile(dir / "maptwo9.map", dealStageLine(12) + " # note\r\n" + stage + "\r\n");
    putFile(dir / "anstwo9.map", "33763011021" + std::string(402, '0') + "\r\n");
    putFile(dir / "cmptwo.map", "00257\r\n33763\r\n00013\r\n");
    fs::create_directory(dir / "maptwo4.map");  // passed over: a folder is no stage file
    putFile(dir / "maptwo6.map", ""), fs::resize_file(dir / "maptwo6.map", kMaxDataFileBytes + 1);  // sparse: no disk space
    ASSERT_EQ(::mkfifo((dir / "anstwo5.map").c_str(), 0600), 0);  // read without blocking
    run = runTool({"check", dir.path});
    EXPECT_EQ(std::tie(run.status, run.out),
              std::tuple(1, "maptwo3.map:1: a stage line has 413 characters, this one 1\n"
                            "maptwo6.map:0: the file is larger than the 64 MB the game reads\n" + warning +
                            "maptwo9.map:2: stage 00257 is already stored at maptwo0.map:1\n"
                            "anstwo5.map:0: not an ordinary file the game can read\n"
                            "anstwo9.map:1: pair 1 (011 021): the two tiles differ in kind (stage maptwo0.map:2)\n"
                            "cmptwo.map:3: marks 00013, which no stage file stores\n"));
}

}  // namespace
}  // namespace tessarin::test
