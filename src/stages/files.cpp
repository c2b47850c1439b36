// Where the data files live: the program directory.
#include "app/mjanmodule.h"
#include "stages/text.h"

#include <QDir>
#include <QFileInfo>

namespace tessarin {

QString MjanModule::appDirPath(const QString& name) const {
    if (programDir.endsWith(QDir::separator()) || programDir.endsWith(QLatin1Char('/')))
        return programDir + name;
    return programDir + QDir::separator() + name;
}

bool MjanModule::existsInAppDir(const QString& name) const {
    // An exact, case-sensitive match against the listing of ordinary files,
    // so MAPTWO0.MAP never stands in for maptwo0.map.
    const QDir dir(programDir);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& f : files) {
        if (trimSpaces(f) == name) return true;
    }
    return false;
}

}  // namespace tessarin
