list(APPEND RULES_SOURCES twocorner/connect.cpp twocorner/search.cpp)
list(APPEND GAME_SOURCES twocorner/dispatch.cpp)
