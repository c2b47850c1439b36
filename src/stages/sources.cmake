list(APPEND RULES_SOURCES stages/deal.cpp)
list(APPEND GAME_SOURCES stages/files.cpp stages/dealgame.cpp)
