list(APPEND RULES_SOURCES solver/position.cpp solver/solver.cpp solver/playout.cpp)
