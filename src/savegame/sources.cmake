# The save slot of the authoring build.
if(TESSARIN_GUI)
  tessarin_library(tessarin_savegame SOURCES savegame/saveload.cpp
    LINKS tessarin_formats tessarin_twocorner tessarin_stages tessarin_shell)
endif()
