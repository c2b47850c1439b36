#include "app/datafolder.h"

#include <QDir>
#include <QFileInfo>

namespace tessarin {

namespace {

const QString kSheet = QStringLiteral("paidat.dat");

}  // namespace

QString dataFolder(const QString& programFolder) {
    const QDir program(programFolder);
    if (QFileInfo::exists(program.filePath(kSheet))) return programFolder;
    const QString shared = program.filePath(QStringLiteral("../share/tessarin"));
    if (QFileInfo::exists(QDir(shared).filePath(kSheet))) return QFileInfo(shared).canonicalFilePath();
    return programFolder;
}

}  // namespace tessarin
