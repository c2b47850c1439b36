list(APPEND RULES_SOURCES stages/deal.cpp stages/lines.cpp stages/writefile.cpp)
list(APPEND GAME_SOURCES stages/files.cpp stages/dealgame.cpp stages/success.cpp)
list(APPEND GAME_SOURCES
  stages/stagefile.cpp stages/selection.cpp stages/replay.cpp stages/authoring.cpp)
