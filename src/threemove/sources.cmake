# The ThreeMove rules (plain C++) and ThreeMove play in the game.
tessarin_library(tessarin_threemove_rules SOURCES threemove/rules.cpp LINKS tessarin_board)
if(TESSARIN_GUI)
  tessarin_library(tessarin_threemove
    SOURCES threemove/play.cpp threemove/animation.cpp
    LINKS tessarin_threemove_rules tessarin_formats tessarin_surface tessarin_shell)
endif()
