list(APPEND GAME_SOURCES savegame/savegame.cpp)
