list(APPEND RULES_SOURCES board/model.cpp)
list(APPEND GAME_SOURCES board/tiles.cpp board/drawing.cpp)
