# Run by CPack on the staged files of the Debian package: Debian wants the
# programs of a package in section games in /usr/games, so the games move
# there from /usr/bin (tessarin-tool, a command-line helper, stays). They
# find their data through ../share/tessarin from there just the same.
set(usr ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(MAKE_DIRECTORY ${usr}/games)
foreach(program tessarin tessarin-author)
  if(NOT EXISTS ${usr}/bin/${program})
    message(FATAL_ERROR "${program} is not staged in ${usr}/bin")
  endif()
  file(RENAME ${usr}/bin/${program} ${usr}/games/${program})
endforeach()
