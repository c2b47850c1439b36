// The save slot of the authoring build: testdat.txt as laid out, loads that
// bring the game back exactly, and files that cannot be a game refused.
#include "stages_support.h"

namespace tessarin::test {
namespace {

class SaveSlot : public AuthorTest {
protected:
    // The saved lines, each checked to end in CR LF.
    QList<QByteArray> savedLines() {
        const QByteArray bytes = readFile(QStringLiteral("testdat.txt"));
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        QList<QByteArray> lines = bytes.split('\n');
        lines.removeLast();
        for (QByteArray& l : lines) {
            EXPECT_TRUE(l.endsWith('\r'));
            l.chop(1);
        }
        return lines;
    }
    void startAfter(int stage) {
        writeFile(QStringLiteral("maptwo.map"), stageLine(stage) + "\r\n");
        author->menuStartRnd_Click();
    }
};

TEST_F(SaveSlot, AFreshStageSavedAndLoadedComesBackAsItWas) {
    startAfter(12);
    ASSERT_EQ(author->stageNo, QStringLiteral("00013"));
    const Snapshot saved(*author);
    author->menuSave_Click();
    EXPECT_TRUE(ui.boxes.empty());

    const QList<QByteArray> lines = savedLines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], stageLine(13));  // the stage number, then the board column by column
    ASSERT_EQ(lines[1].size(), 973);
    EXPECT_EQ(lines[1].left(7), "0002020");  // entry 0: the flash picture, kind 202
    const PaiRec& first = author->paiTbl[1];  // column two digits, row, kind 001, on the board
    EXPECT_EQ(lines[1].mid(7, 7), QStringLiteral("%1%2").arg(first.boardX, 2, 10, QLatin1Char('0')).arg(first.boardY) +
                                      QStringLiteral("0010"));
    EXPECT_EQ(lines[1].right(14), "00020100002000");  // entries 137 and 138
    EXPECT_EQ(lines[2], QByteArray(423, '0'));
    EXPECT_EQ(lines[3], "136");
    EXPECT_EQ(lines[4], "0");

    startAfter(40);
    ASSERT_NE(author->boardMap, saved.map);
    author->menuLoad_Click();
    EXPECT_TRUE(ui.boxes.empty());
    saved.expectSame(*author);
}

TEST_F(SaveSlot, AGameInPlayWithASixDigitNumberComesBackWithItsPickGoingOn) {
    // No maptwo.map: the deal is numbered by the clock, 2 March 14:05:09.
    author->clock = [] { return QDateTime(QDate(2026, 3, 2), QTime(14, 5, 9)); };
    author->menuStartRnd_Click();
    ASSERT_EQ(author->stageNo, QStringLiteral("140811"));
    for (int i = 0; i < 5; ++i) takeFirstPair(*author);
    author->menuSrh_Click();
    const int a = author->hintList[1].left, b = author->hintList[1].right;
    clickCell(*author, 1, 1, kRightButton);
    clickCode(*author, a);  // picked, its partners outlined
    ASSERT_EQ(std::pair(author->restPai, author->moveCount), std::pair(126, 11));
    const Snapshot saved(*author);
    const std::size_t boxes = ui.boxes.size();
    author->menuSave_Click();

    const QList<QByteArray> lines = savedLines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0].size(), 414);
    EXPECT_TRUE(lines[0].startsWith("140811"));
    EXPECT_EQ(lines[3], "126");
    EXPECT_EQ(lines[4], "11");

    author->clock = [] { return QDateTime(QDate(2026, 7, 7), QTime(7, 7, 7)); };
    author->menuStartRnd_Click();
    takeFirstPair(*author);
    author->menuLoad_Click();
    EXPECT_EQ(ui.boxes.size(), boxes + 1);  // only the deal's "File Open Error"
    saved.expectSame(*author);
    clickCode(*author, b);  // the pick goes on where it was left
    EXPECT_EQ(author->restPai, 124);
    expectPictureMatchesBoard(*author);
}

TEST_F(SaveSlot, AFileThatCannotBeAGameIsRefusedAndNothingChanges) {
    startAfter(20);
    for (int i = 0; i < 3; ++i) takeFirstPair(*author);
    author->menuSave_Click();
    const QByteArray good = readFile(QStringLiteral("testdat.txt"));
    const QList<QByteArray> lines = savedLines();
    // Where the record of the first clicked tile stands in line 2.
    const int firstCode = lines[2].mid(3, 3).toInt();
    const qsizetype record = 7 * author->boardMap.at(codeX(firstCode), codeY(firstCode));
    takeFirstPair(*author);  // a different position when the loads are tried
    const Snapshot before(*author);

    const auto withLine = [&](int i, const QByteArray& text) {
        QList<QByteArray> l = lines;
        l[i] = text;
        return l.join("\r\n") + "\r\n";
    };
    const auto patched = [&](int i, qsizetype pos, const QByteArray& text) {
        return withLine(i, QByteArray(lines[i]).replace(pos, text.size(), text));
    };
    QByteArray twice = lines[0];
    twice.replace(8, 3, twice.mid(5, 3));
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"four lines", lines.mid(0, 4).join("\r\n") + "\r\n"}, {"line 1 short", withLine(0, lines[0].left(412))},
        {"line 1 with a letter", patched(0, 100, "x")},     {"a tile number above 138", patched(0, 5, "139")},
        {"tile 0 on the board", patched(0, 5, "000")},      {"a tile twice", withLine(0, twice)},
        {"line 2 short", withLine(1, lines[1].left(972))}, {"a kind changed", patched(1, 7 + 3, "002")},
        {"a tile out of its cell", patched(1, 7 * 136, "00")}, {"a state of 3", patched(1, 7 * 5 + 6, "3")},
        {"line 3 long", withLine(2, lines[2] + "000")},    {"a recorded click off the field", patched(2, 3, "190")},
        {"a removed tile back on the board", patched(1, record + 6, "0")}, {"tiles left empty", withLine(3, "")},
        {"tiles left that disagree", withLine(3, "134")},  {"clicks beyond the record", withLine(4, "137")},
        {"a pick the tiles do not show", withLine(4, "7")}, {"clicks with a sign", withLine(4, "-6")},
    };
    std::size_t messages = ui.boxes.size();
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        ASSERT_NE(bytes, good);
        writeFile(QStringLiteral("testdat.txt"), bytes);
        author->menuLoad_Click();
        ASSERT_EQ(ui.boxes.size(), ++messages);
        EXPECT_TRUE(ui.boxes.back().text.startsWith(QStringLiteral("testdat.txt を読み込めません")))
            << ui.boxes.back().text.toStdString();
        EXPECT_TRUE(ui.boxes.back().title.isEmpty());
        before.expectSame(*author);
        EXPECT_EQ(readFile(QStringLiteral("testdat.txt")), bytes);
    }

    // No file, or a folder by that name; then the good file still loads.
    QFile::remove(path(QStringLiteral("testdat.txt")));
    author->menuLoad_Click();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("testdat.txt")));
    author->menuLoad_Click();
    EXPECT_EQ(ui.boxes.size(), messages + 2);
    before.expectSame(*author);
    QDir(dir.path()).rmdir(QStringLiteral("testdat.txt"));
    writeFile(QStringLiteral("testdat.txt"), good);
    author->menuLoad_Click();
    EXPECT_EQ(ui.boxes.size(), messages + 2);
    EXPECT_EQ(author->restPai, 130);
}

TEST_F(SaveSlot, ASaveThatWouldLoseTheSlotIsRefusedAndAWriteIsWholeOrNothing) {
    QByteArray answer;
    const int n = solvableStage(31, &answer);
    writeFile(QStringLiteral("anstwo0.map"), stageNumber(n).toLatin1() + answer + "\r\n");
    writeFile(QStringLiteral("maptwo0.map"), stageLine(n) + "\r\n");
    author->menuSave_Click();  // before any game there is nothing to save
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("testdat.txt"))));

    startAfter(30);
    author->menuSave_Click();
    ASSERT_FALSE(readFile(QStringLiteral("testdat.txt")).isEmpty());
    const auto files = folderBytes(dir.path());

    // During a model-answer replay, and in ThreeMove, neither command acts.
    openStages(ui, *author, 1, 1);
    author->menuOption2Ans_Click();
    ASSERT_TRUE(author->replayMode);
    clickCell(*author, 1, 1);
    for (bool three : {false, true}) {
        if (three) {
            clickCell(*author, 1, 1, kRightButton);
            author->menuGame3_Click();
            author->menuStartRnd_Click();
        }
        const Snapshot before(*author);
        author->menuSave_Click();
        author->menuLoad_Click();
        before.expectSame(*author);
    }
    EXPECT_EQ(ui.boxes.size(), 5u);
    EXPECT_EQ(folderBytes(dir.path()), files);

    // A save refused by the file system (a folder in the file's way) is
    // reported, and no temporary file is left behind.
    author->menuGame2_Click();
    author->menuStartRnd_Click();
    QFile::remove(path(QStringLiteral("testdat.txt")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("testdat.txt")));
    author->menuSave_Click();
    ASSERT_EQ(ui.boxes.size(), 6u);
    EXPECT_EQ(ui.boxes.back().text, QStringLiteral("testdat.txt に保存できませんでした"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{QStringLiteral("anstwo0.map"), QStringLiteral("maptwo.map"), QStringLiteral("maptwo0.map"),
                           QStringLiteral("paidat.dat"), QStringLiteral("testdat.txt")}));
}

}  // namespace
}  // namespace tessarin::test
