// The stage files maptwo0.map .. maptwo9.map: one stage per line, numbered
// across the files in the order of their digit. One lookup serves three
// uses: counting the stages, listing them into the selection grid, and
// loading one onto the board.
#include "app/mjanmodule.h"
#include "stages/lines.h"
#include "stages/stagegrid.h"
#include "stages/text.h"
#include "stages/writefile.h"

#include <QFile>
#include <QFileInfo>

namespace tessarin {

namespace {

const QString kCountKey = QStringLiteral("COUNT");

// Sequence numbers are 16-bit: a longer list cannot be numbered.
constexpr int kMaxLineNo = 32767;

// No data file the game can use comes near this size (all the stage lines
// it can number take 14 MB); a bigger one is not read into memory.
constexpr qint64 kMaxDataFileBytes = qint64{64} << 20;

QString stageFileName(int digit) { return QStringLiteral("maptwo%1.map").arg(digit); }

void reportNoGameData(GameUi& ui) { ui.messageBox(QStringLiteral("ゲームデータが見つかりません"), QString()); }

}  // namespace

bool MjanModule::readDataFile(const QString& path, QByteArray& bytes) {
    // Only an ordinary file: a folder, a dangling link or a pipe under a
    // data file's name would fail or block the read.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxDataFileBytes) return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    // QIODevice::read sets aside every byte asked for: ask for what the file
    // holds, and for more only when it has grown since.
    bytes = f.read(info.size() + 1);
    if (bytes.size() > info.size()) bytes += f.read(kMaxDataFileBytes + 1 - bytes.size());
    return f.error() == QFileDevice::NoError && bytes.size() <= kMaxDataFileBytes;
}

QList<QByteArray> MjanModule::textLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    // A last line without a line end is a line all the same.
    if (start < n) lines.append(bytes.mid(start));
    return lines;
}

bool MjanModule::appendAppLine(const QString& name, const QByteArray& line) {
    std::string error;
    return appendLine(QFile::encodeName(appDirPath(name)).toStdString(), line.toStdString(), error);
}

bool MjanModule::loadStage(QString& key) {
    bool anyFile = false;
    for (int d = 0; d <= 9 && !anyFile; ++d) anyFile = existsInAppDir(stageFileName(d));
    if (!anyFile) {
        reportNoGameData(ui);
        return false;
    }

    int lineNo = 0;
    for (int d = 0; d <= 9; ++d) {
        if (!existsInAppDir(stageFileName(d))) continue;
        switch (readStageFile(appDirPath(stageFileName(d)), key, lineNo)) {
        case StageRead::Failed: reportNoGameData(ui); return false;
        case StageRead::Loaded: return true;
        case StageRead::NotFound: break;
        }
    }
    if (key == kCountKey) {
        key = QString::number(lineNo);
        return true;
    }
    if (trimSpaces(key).isEmpty()) return true;
    // A stage number no file holds: the callers would restart the board on
    // hand as if it were that stage, so it counts as a failure.
    reportNoGameData(ui);
    return false;
}

MjanModule::StageRead MjanModule::readStageFile(const QString& path, const QString& key, int& lineNo) {
    QByteArray bytes;
    if (!readDataFile(path, bytes)) return StageRead::Failed;
    const QString mode = trimSpaces(key);
    for (const QByteArray& raw : textLines(bytes)) {
        if (lineNo >= kMaxLineNo) return StageRead::Failed;
        ++lineNo;
        const QString line = QString::fromUtf8(raw);
        if (mode.isEmpty()) {
            addStageToGrid(lineNo, line);
        } else if (mode == kCountKey) {
            // only counted
        } else if (line.left(5) == key) {
            // The first line with the number is the stage; a damaged one is
            // not replaced by a later copy.
            if (!fillBoardFromStage(line)) return StageRead::Failed;
            stageNo = key;
            return StageRead::Loaded;
        }
    }
    return StageRead::NotFound;
}

bool MjanModule::fillBoardFromStage(const QString& line) {
    // The whole line is checked before the first cell is written, so a
    // damaged stage never leaves a half-filled board behind.
    StageLine stage;
    std::string error;
    if (!parseStageLine(line.toStdString(), stage, error)) return false;
    placeStage(stage, boardMap, paiTbl, false);
    return true;
}

}  // namespace tessarin
