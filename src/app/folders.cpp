#include "app/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace tessarin {

namespace {

const QString kSheet = QStringLiteral("paidat.dat");

bool writableFolder(const QString& path) {
    return QFileInfo(path).isDir() && ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
}

}  // namespace

QString dataFolder(const QString& programFolder) {
    const QDir program(programFolder);
    if (QFileInfo::exists(program.filePath(kSheet))) return programFolder;
    const QString shared = program.filePath(QStringLiteral("../share/tessarin"));
    if (QFileInfo::exists(QDir(shared).filePath(kSheet))) return QFileInfo(shared).canonicalFilePath();
    return programFolder;
}

GameFolders chooseFolders(const QString& programFolder, const QString& appData, QString& problem) {
    GameFolders folders;
    folders.data = dataFolder(programFolder);
    const bool portable = QDir(folders.data) == QDir(programFolder);
    if (portable && writableFolder(folders.data)) {
        folders.player = folders.data;
        return folders;
    }
    folders.player = appData;
    if (!QDir().mkpath(appData) || !writableFolder(appData)) {
        problem = QStringLiteral("プレイヤーのフォルダ %1 を作成できないか、書き込めません。\n"
                                 "ゲームの途中経過、クリアした面、設定は保存されません。")
                      .arg(appData);
        folders.keep = false;
    }
    return folders;
}

}  // namespace tessarin
