# Readers and writers of every data file, shared by the game and the tool.
tessarin_library(tessarin_formats
  SOURCES formats/lines.cpp formats/datafile.cpp formats/stagefiles.cpp formats/completions.cpp
          formats/saveslot.cpp formats/undofiles.cpp formats/writefile.cpp formats/keptgame.cpp
          formats/settings.cpp
  LINKS tessarin_board)
