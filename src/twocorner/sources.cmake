# The TwoCorner rules (plain C++) and TwoCorner play in the game.
tessarin_library(tessarin_twocorner_rules
  SOURCES twocorner/connect.cpp twocorner/search.cpp twocorner/pairs.cpp
  LINKS tessarin_board)
if(TESSARIN_GUI)
  tessarin_library(tessarin_twocorner
    SOURCES twocorner/play.cpp twocorner/searchview.cpp twocorner/exchange.cpp
    LINKS tessarin_twocorner_rules tessarin_formats tessarin_surface tessarin_shell)
endif()
