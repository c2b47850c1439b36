// The one-step ThreeMove undo. Before every move the tile table and the
// board are written to two binary work files beside the program; the undo
// reads them back and restores the counters kept in memory.
//
// "workthree1.dat": 139 tile records (tile numbers 0 to 138), 18 bytes each:
//   boardX i16, boardY i16, srcX i32, srcY i32, kind i16, state i16, cover i16
// "workthree2.dat": the board with its border, 190 cells of i16, row by row
//   from row 0, each row from column 0 to 18.
// Little-endian, no header, no gaps.
//
// Each file is replaced through a temporary file and a rename, so a file is
// always a whole snapshot. A crash between the two renames can still leave
// a new tile table beside an old board; the undo catches that pair because
// the tiles' positions no longer match the board. Files that cannot be
// trusted are refused with a message and the game stays as it was.
#include "app/mjanmodule.h"
#include "stages/writefile.h"
#include "threemove/rules.h"

#include <QFile>
#include <QFileInfo>

namespace tessarin {

namespace {

const QString kTblFile = QStringLiteral("workthree1.dat");
const QString kMapFile = QStringLiteral("workthree2.dat");
const QString kTitle = QStringLiteral("一手戻す");
constexpr int kRecordSize = 18;
constexpr qsizetype kTblBytes = kTblSize * kRecordSize;  // 2502
constexpr qsizetype kMapBytes = kMapW * kMapH * 2;       // 380

void put16(QByteArray& out, int v) {
    const auto u = static_cast<uint16_t>(v);
    out.append(static_cast<char>(u & 0xff));
    out.append(static_cast<char>(u >> 8));
}

void put32(QByteArray& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) out.append(static_cast<char>((u >> shift) & 0xff));
}

int16_t get16(const QByteArray& in, qsizetype at) {
    const auto lo = static_cast<uint8_t>(in[at]);
    const auto hi = static_cast<uint8_t>(in[at + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

int32_t get32(const QByteArray& in, qsizetype at) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<uint8_t>(in[at + i]);
    return static_cast<int32_t>(u);
}

QByteArray encodeTbl(const PaiTbl& tbl) {
    QByteArray out;
    out.reserve(kTblBytes);
    for (const PaiRec& r : tbl) {
        put16(out, r.boardX);
        put16(out, r.boardY);
        put32(out, r.srcX);
        put32(out, r.srcY);
        put16(out, r.kind);
        put16(out, r.state);
        put16(out, r.cover);
    }
    return out;
}

QByteArray encodeMap(const BoardMap& map) {
    QByteArray out;
    out.reserve(kMapBytes);
    for (int16_t cell : map.cells) put16(out, cell);  // cells are stored row by row
    return out;
}

PaiTbl decodeTbl(const QByteArray& in) {
    PaiTbl tbl{};
    for (int i = 0; i < kTblSize; ++i) {
        const qsizetype at = static_cast<qsizetype>(i) * kRecordSize;
        PaiRec& r = tbl[static_cast<std::size_t>(i)];
        r.boardX = get16(in, at);
        r.boardY = get16(in, at + 2);
        r.srcX = get32(in, at + 4);
        r.srcY = get32(in, at + 8);
        r.kind = get16(in, at + 12);
        r.state = get16(in, at + 14);
        r.cover = get16(in, at + 16);
    }
    return tbl;
}

BoardMap decodeMap(const QByteArray& in) {
    BoardMap map;
    for (std::size_t i = 0; i < map.cells.size(); ++i) map.cells[i] = get16(in, static_cast<qsizetype>(i) * 2);
    return map;
}

// Reads a whole work file of the expected size; otherwise says why not.
bool readWork(const QString& path, const QString& name, qsizetype size, QByteArray& bytes, QString& problem) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        problem = QStringLiteral("%1 が見つかりません。").arg(name);
        return false;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("%1 を読み込めません（%2）。").arg(name, f.errorString());
        return false;
    }
    bytes = f.read(size + 1);
    if (f.error() != QFileDevice::NoError) {
        problem = QStringLiteral("%1 を読み込めません（%2）。").arg(name, f.errorString());
        return false;
    }
    if (bytes.size() != size) {
        problem = QStringLiteral("%1 の大きさが正しくありません（%2 バイトであるべきところ、%3 バイト）。")
                      .arg(name)
                      .arg(size)
                      .arg(info.size());
        return false;
    }
    return true;
}

// A tile table that a ThreeMove game can hold: every picture position and
// kind as fixed at start-up, playing tiles live, stones (honours only) or
// holes (never honours), positions within the board, and every kind cleared
// by pairs or all four at once.
bool tblIsGame(const PaiTbl& tbl, QString& problem) {
    PaiTbl fixed{};
    fillPaiTbl(fixed);
    std::array<int, 35> clearedOfKind{};
    for (int t = 0; t < kTblSize; ++t) {
        const PaiRec& r = tbl[static_cast<std::size_t>(t)];
        const PaiRec& f = fixed[static_cast<std::size_t>(t)];
        if (r.srcX != f.srcX || r.srcY != f.srcY || r.kind != f.kind) {
            problem = QStringLiteral("牌 %1 の画像の位置か種類が本来の値と違います").arg(t);
            return false;
        }
        if (r.boardX < 0 || r.boardX >= kMapW || r.boardY < 0 || r.boardY >= kMapH) {
            problem = QStringLiteral("牌 %1 の位置 (%2, %3) が盤の外です").arg(t).arg(r.boardX).arg(r.boardY);
            return false;
        }
        if (t == kFlashPai || t > kTiles) {
            if (r.state < kOnBoard || r.state > kRemoved || r.cover < three::kFace || r.cover > three::kHole) {
                problem = QStringLiteral("画像 %1 の状態の値が範囲外です").arg(t);
                return false;
            }
            continue;
        }
        const bool live = r.state == kOnBoard && r.cover == three::kFace;
        const bool stone = r.state == kRemoved && r.cover == three::kStone && isHonourKind(r.kind);
        const bool hole = r.state == kRemoved && r.cover == three::kHole && !isHonourKind(r.kind);
        if (!live && !stone && !hole) {
            problem = QStringLiteral("牌 %1 の状態（state %2、cover %3）はありえない値です")
                          .arg(t)
                          .arg(r.state)
                          .arg(r.cover);
            return false;
        }
        if (!live) ++clearedOfKind[static_cast<std::size_t>(r.kind)];
    }
    for (int k = 1; k <= 34; ++k) {
        if (clearedOfKind[static_cast<std::size_t>(k)] % 2 != 0) {
            problem = QStringLiteral("種類 %1 の消えた牌の数 %2 はありえない値です")
                          .arg(k)
                          .arg(clearedOfKind[static_cast<std::size_t>(k)]);
            return false;
        }
    }
    return true;
}

// Each tile 1..136 once on the field, the border empty.
bool mapIsGame(const BoardMap& map, QString& problem) {
    std::array<bool, kTiles + 1> seen{};
    for (int y = 0; y < kMapH; ++y) {
        for (int x = 0; x < kMapW; ++x) {
            const int t = map.at(x, y);
            if (t < 0 || t >= kTblSize) {
                problem = QStringLiteral("(%1, %2) の牌番号 %3 が範囲外です").arg(x).arg(y).arg(t);
                return false;
            }
            if (!onField(x, y)) {
                if (t != 0) {
                    problem = QStringLiteral("盤の外枠 (%1, %2) に牌 %3 があります").arg(x).arg(y).arg(t);
                    return false;
                }
                continue;
            }
            if (t < 1 || t > kTiles || seen[static_cast<std::size_t>(t)]) {
                problem = QStringLiteral("(%1, %2) の牌 %3 が正しくありません（欠けているか重複しています）")
                              .arg(x)
                              .arg(y)
                              .arg(t);
                return false;
            }
            seen[static_cast<std::size_t>(t)] = true;
        }
    }
    return true;
}

// Replaces a file as a whole: written to a temporary file, then renamed.
bool writeWork(const QString& path, const QByteArray& bytes, QString& error) {
    std::string why;
    if (replaceFile(QFile::encodeName(path).toStdString(), bytes.toStdString(), why)) return true;
    error = QString::fromStdString(why);
    return false;
}

}  // namespace

void MjanModule::saveBack3() {
    QString failed;
    QString error;
    if (!writeWork(appDirPath(kTblFile), encodeTbl(paiTbl), error)) failed = kTblFile;
    else if (!writeWork(appDirPath(kMapFile), encodeMap(boardMap), error)) failed = kMapFile;

    if (failed.isEmpty()) {
        setMenuEnabled(MenuId::PaiBack, true);
        return;
    }
    // The move goes on, but it cannot be taken back: the files on disk are
    // not its snapshot (the earlier move's undo is gone with it).
    setMenuEnabled(MenuId::PaiBack, false);
    if (!backWriteWarned) {
        backWriteWarned = true;
        ui.messageBox(QStringLiteral("一手戻すための作業ファイル %1 を書き込めません（%2）。\n"
                                     "この手は「一手戻す」で戻せません。書き込めない間は、ほかの手も戻せません"
                                     "（このお知らせはゲームごとに一度だけ出します）。")
                          .arg(appDirPath(failed), error),
                      kTitle);
    }
}

void MjanModule::paiBack3() {
    // Both files are read and checked in full before anything changes.
    QByteArray tblBytes, mapBytes;
    QString problem;
    bool ok = readWork(appDirPath(kTblFile), kTblFile, kTblBytes, tblBytes, problem) &&
              readWork(appDirPath(kMapFile), kMapFile, kMapBytes, mapBytes, problem);
    PaiTbl tbl{};
    BoardMap map;
    if (ok) {
        tbl = decodeTbl(tblBytes);
        map = decodeMap(mapBytes);
        QString why;
        if (!tblIsGame(tbl, why)) {
            problem = QStringLiteral("%1 の内容が正しくありません：%2。").arg(kTblFile, why);
            ok = false;
        } else if (!mapIsGame(map, why)) {
            problem = QStringLiteral("%1 の内容が正しくありません：%2。").arg(kMapFile, why);
            ok = false;
        } else if (!boardIsConsistent(map, tbl)) {
            // Typically a pair from two different moves.
            problem = QStringLiteral("%1 と %2 の内容が食い違っています（牌の位置が盤面と合いません）。")
                          .arg(kTblFile, kMapFile);
            ok = false;
        } else if (three::countPai3(map, tbl) != backRestPai3) {
            problem = QStringLiteral("%1 と %2 はこのゲームの一手前の盤面ではありません。").arg(kTblFile, kMapFile);
            ok = false;
        }
    }
    if (!ok) {
        ui.messageBox(problem + QStringLiteral("\n一手戻すことはできません。"), kTitle);
        return;
    }

    paiTbl = tbl;
    boardMap = map;
    setMenuEnabled(MenuId::PaiBack, false);
    restPai3 = backRestPai3;
    restMoves = backRestMoves;
    doneMoves = backDoneMoves;
    ui.setSurfaceVisible(false);
    drawBoardThree();
    ui.setSurfaceVisible(true);
    showRest3Msg();
    showMovesMsg();
}

}  // namespace tessarin
