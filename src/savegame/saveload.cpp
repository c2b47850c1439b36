#include "savegame/saveload.h"

#include "formats/datafile.h"
#include "formats/writefile.h"
#include "stages/session.h"
#include "twocorner/play.h"

#include <QFile>

namespace tessarin {

namespace {

const QString kSaveFile = QString::fromLatin1(kSaveSlotFile);
const QString kNotInReplay = QStringLiteral("模範回答の再生中は SAVE と Load を使えません");

std::string slotPath(const QString& folder) {
    return folderPath(QFile::encodeName(folder).toStdString(), kSaveSlotFile);
}

}  // namespace

void saveGame(const QString& folder, const Shell& shell, const StageSessionState& session, const Position& pos,
              const TwoCornerState& game) {
    GameUi& ui = shell.ui();
    // The slot holds a TwoCorner game in play; anything else would replace
    // a good save with one that cannot be loaded.
    if (session.replay.on) {
        ui.messageBox(kNotInReplay, QString());
        return;
    }
    if (shell.kind() != GameKind::TwoCorner || !pos.isConsistent()) {
        ui.messageBox(QStringLiteral("保存できる二角取りのゲームがありません"), QString());
        return;
    }
    const QString& stageNo = session.stageNo;
    bool numeric = stageNo.size() == 5 || stageNo.size() == 6;
    for (QChar c : stageNo) numeric = numeric && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!numeric) {
        ui.messageBox(QStringLiteral("面番号 %1 は保存できません").arg(stageNo), QString());
        return;
    }
    std::string error;
    if (!replaceFile(slotPath(folder), formatSaveSlot(stageNo.toStdString(), pos, game.moves, game.tilesLeft), error))
        ui.messageBox(QStringLiteral("%1 に保存できませんでした").arg(kSaveFile), QString());
}

bool readSavedGame(const QString& folder, const Shell& shell, const StageSessionState& session, SavedGame& out) {
    GameUi& ui = shell.ui();
    const auto refuse = [&ui](const QString& why) {
        ui.messageBox(QStringLiteral("%1 を読み込めません: %2").arg(kSaveFile, why), QString());
        return false;
    };
    if (session.replay.on) {
        ui.messageBox(kNotInReplay, QString());
        return false;
    }
    // The file holds a TwoCorner game; the ThreeMove start would deal anew.
    if (shell.kind() != GameKind::TwoCorner) {
        ui.messageBox(QStringLiteral("Load は二角取りのゲームで使えます"), QString());
        return false;
    }
    if (!existsInFolder(QFile::encodeName(folder).toStdString(), kSaveSlotFile))
        return refuse(QStringLiteral("ファイルがありません"));
    std::string bytes;
    if (!readDataFile(slotPath(folder), bytes)) return refuse(QStringLiteral("ファイルを開けません"));
    std::string why;
    if (!parseSaveSlot(bytes, out, why)) return refuse(QString::fromStdString(why));
    return true;
}

}  // namespace tessarin
