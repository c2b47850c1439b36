# The random deal (plain C++) and the stage session of the game: stage
# selection, model-answer replay, the authoring stores.
tessarin_library(tessarin_deal SOURCES stages/deal.cpp LINKS tessarin_board tessarin_formats)
if(TESSARIN_GUI)
  tessarin_library(tessarin_stages
    SOURCES stages/session.cpp stages/selection.cpp stages/replay.cpp stages/authoring.cpp
    LINKS tessarin_deal tessarin_formats tessarin_solver tessarin_twocorner tessarin_surface tessarin_shell)
endif()
