list(APPEND RULES_SOURCES threemove/rules.cpp)
list(APPEND GAME_SOURCES threemove/play.cpp threemove/animate.cpp threemove/workfiles.cpp)
