list(APPEND GAME_SOURCES
  app/mjanmodule.cpp app/menus.cpp app/input.cpp app/status.cpp)
list(APPEND UI_SOURCES app/mainwindow.cpp app/boardview.cpp app/stagedialog.cpp)
