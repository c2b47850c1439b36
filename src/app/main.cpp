// Program entry: one instance at a time, the main window centred, the
// folder of the data files (beside the program, or share/tessarin of the
// prefix it is installed in) handed to the game.
#include "app/datafolder.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QTimer>

#ifndef TESSARIN_AUTHOR_MODE
#define TESSARIN_AUTHOR_MODE 0
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Lets the desktop match the window to the installed desktop entry (on
    // Wayland the entry's name is the window's application id).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tessarin.Tessarin"));
    const QString programDir = QCoreApplication::applicationDirPath();

    // A second start while a game runs from this folder ends here without a
    // window: the game and the authoring build of one folder share its undo
    // files and save slot, so the lock is named after the folder. A lock
    // left behind by a killed process is taken over.
    const QString folder = QDir(programDir).canonicalPath();
    const QByteArray hash =
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QLockFile lock(QDir::temp().filePath(QStringLiteral("tessarin-%1.lock").arg(QString::fromLatin1(hash))));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) return 0;

    tessarin::MainWindow window(tessarin::dataFolder(programDir), TESSARIN_AUTHOR_MODE != 0);
    if (!window.start()) {
        QMessageBox::critical(nullptr, QStringLiteral("Tessarin"), window.game().startUpError());
        return 1;
    }
    window.show();

    // For start-up measurements: leave as soon as the window is on screen.
    if (qEnvironmentVariableIsSet("TESSARIN_EXIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    return app.exec();
}
