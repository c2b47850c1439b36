// Where the game reads its data and where it writes: the shipped data files
// (the tile sheets, stages, answers, completions, the manual) lie beside the
// program in a portable folder, or in share/tessarin of the prefix it is
// installed in; everything the game writes (the undo files, the save slot,
// the authoring stores, the kept game, the cleared stages, the settings) goes
// to the player's folder.
#pragma once

#include <QString>

namespace tessarin {

struct GameFolders {
    QString data;
    QString player;
    // The game in progress, the cleared stages and the settings are kept in
    // the player's folder; off when it cannot be made or written.
    bool keep = true;
};

// The folder holding the data files of a program in programFolder:
// - programFolder itself when paidat.dat is there (a portable folder, such
//   as the build's game/ folder, with programs and data side by side);
// - else programFolder/../share/tessarin when that holds paidat.dat (an
//   installed game: PREFIX/bin/tessarin, or /usr/games/tessarin of the
//   Debian package, reads PREFIX/share/tessarin);
// - else programFolder, so the message about the missing tile sheet names
//   the folder the player started the program from.
QString dataFolder(const QString& programFolder);

// The folders of a game started from programFolder. A portable folder the
// player may write is also the player's folder, so it behaves as a game
// folder always has; otherwise (an installed game, a folder on a read-only
// medium) the player's folder is `appData` (the platform's application data
// location), made when missing. When that cannot be made or written,
// `problem` says so for the player and nothing is kept.
GameFolders chooseFolders(const QString& programFolder, const QString& appData, QString& problem);

}  // namespace tessarin
