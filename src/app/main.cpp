// Program entry: the data folder (beside the program, or share/tessarin of
// the prefix it is installed in) and the player's folder found, one
// instance at a time per player's folder, the main window centred.
#include "app/folders.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>

#ifndef TESSARIN_AUTHOR_MODE
#define TESSARIN_AUTHOR_MODE 0
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Both builds share the player's folder of the game.
    QCoreApplication::setApplicationName(QStringLiteral("tessarin"));
    // Lets the desktop match the window to the installed desktop entry (on
    // Wayland the entry's name is the window's application id).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tessarin.Tessarin"));

    QString folderProblem;
    const tessarin::GameFolders folders =
        tessarin::chooseFolders(QCoreApplication::applicationDirPath(),
                                QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), folderProblem);

    // A second start while a game writes to the same player's folder ends
    // here without a window: the game and the authoring build share its
    // files, so the lock is named after the folder; two players on one
    // machine have folders of their own. A lock left behind by a killed
    // process is taken over.
    const QString canonical = QDir(folders.player).canonicalPath();
    const QString folder = canonical.isEmpty() ? QDir(folders.player).absolutePath() : canonical;
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QLockFile lock(QDir::temp().filePath(QStringLiteral("tessarin-%1.lock").arg(QString::fromLatin1(hash))));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) return 0;

    tessarin::MainWindow window(folders, TESSARIN_AUTHOR_MODE != 0);
    if (!window.start()) {
        QMessageBox::critical(nullptr, QStringLiteral("Tessarin"), window.game().startUpError());
        return 1;
    }
    window.show();
    if (!folderProblem.isEmpty())
        QTimer::singleShot(0, &window, [&window, folderProblem] { window.messageBox(folderProblem, QStringLiteral("Tessarin")); });

    // For start-up measurements: leave as soon as the window is on screen.
    if (qEnvironmentVariableIsSet("TESSARIN_EXIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    return app.exec();
}
