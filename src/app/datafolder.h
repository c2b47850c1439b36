// Where the game's data files are, for the folder the program runs from.
#pragma once

#include <QString>

namespace tessarin {

// The folder holding the data files of a program in programFolder:
// - programFolder itself when paidat.dat is there (a portable folder, such
//   as the build's game/ folder, with programs and data side by side);
// - else programFolder/../share/tessarin when that holds paidat.dat (an
//   installed game: PREFIX/bin/tessarin, or /usr/games/tessarin of the
//   Debian package, reads PREFIX/share/tessarin);
// - else programFolder, so the message about the missing tile sheet names
//   the folder the player started the program from.
QString dataFolder(const QString& programFolder);

}  // namespace tessarin
