# The TwoCorner solver (plain C++).
tessarin_library(tessarin_solver
  SOURCES solver/bitboard.cpp solver/solver.cpp solver/playout.cpp solver/assist.cpp
  LINKS tessarin_twocorner_rules tessarin_formats tessarin_deal)
