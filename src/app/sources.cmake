list(APPEND GAME_SOURCES
  app/mjanmodule.cpp app/menus.cpp app/input.cpp app/status.cpp app/selfcheck.cpp)
list(APPEND UI_SOURCES app/mainwindow.cpp app/boardview.cpp app/stagedialog.cpp)
list(APPEND GAME_SOURCES app/datafolder.cpp)
