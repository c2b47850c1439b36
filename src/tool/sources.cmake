# tessarin-tool (plain C++). Its subcommands are a library, so the fuzz
# targets run them in-process. Batches run on several threads.
find_package(Threads REQUIRED)
tessarin_library(tessarin_toolcmds
  SOURCES tool/commands.cpp tool/author.cpp tool/check.cpp tool/deal.cpp tool/difficulty.cpp
          tool/pairs.cpp tool/solve.cpp tool/three.cpp
  LINKS tessarin_solver tessarin_threemove_rules tessarin_twocorner_rules tessarin_formats tessarin_deal
        Threads::Threads)
add_executable(tessarin-tool ${CMAKE_SOURCE_DIR}/src/tool/main.cpp)
target_link_libraries(tessarin-tool PRIVATE tessarin_toolcmds)
tessarin_warnings(tessarin-tool)
