# The application shell (game type, menus, caption), the game object that
# holds every subsystem's state, the windows, and the two programs.
if(TESSARIN_GUI)
  tessarin_library(tessarin_shell SOURCES app/shell.cpp LINKS tessarin_board Qt6::Core Qt6::Gui)
  tessarin_library(tessarin_game
    SOURCES app/game.cpp app/commands.cpp app/selfcheck.cpp app/folders.cpp app/keep.cpp
    LINKS tessarin_shell tessarin_surface tessarin_twocorner tessarin_threemove tessarin_stages
          tessarin_savegame tessarin_deal tessarin_solver)
  tessarin_library(tessarin_windows
    SOURCES app/mainwindow.cpp app/boardview.cpp app/stagedialog.cpp
    LINKS tessarin_game Qt6::Widgets)
  set_target_properties(tessarin_windows PROPERTIES AUTOMOC ON)

  add_executable(tessarin ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
  target_link_libraries(tessarin PRIVATE tessarin_windows)
  tessarin_warnings(tessarin)

  # The stage-authoring build: the same game with the authoring mode on.
  add_executable(tessarin-author ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
  target_compile_definitions(tessarin-author PRIVATE TESSARIN_AUTHOR_MODE=1)
  target_link_libraries(tessarin-author PRIVATE tessarin_windows)
  tessarin_warnings(tessarin-author)
endif()
