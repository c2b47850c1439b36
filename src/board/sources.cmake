# The board model and Position (plain C++), and the board surface the game
# draws on (Qt Gui).
tessarin_library(tessarin_board SOURCES board/model.cpp board/position.cpp)
if(TESSARIN_GUI)
  tessarin_library(tessarin_surface SOURCES board/surface.cpp LINKS tessarin_board Qt6::Gui)
endif()
