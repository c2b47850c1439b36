list(APPEND RULES_SOURCES twocorner/connect.cpp twocorner/search.cpp)
list(APPEND GAME_SOURCES twocorner/dispatch.cpp)
list(APPEND GAME_SOURCES
  twocorner/play.cpp twocorner/undo.cpp twocorner/exchange.cpp twocorner/searchplay.cpp)
