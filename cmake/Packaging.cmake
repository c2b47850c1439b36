# Installs the game as a desktop expects it, and packages it as a .deb
# (`cmake --build build --target package`):
#   bin/                       tessarin, tessarin-author, tessarin-tool
#   share/tessarin/            the data files, where the programs look for
#                              them when none lie beside them (src/app/folders.h)
#   share/applications/, share/metainfo/, share/icons/hicolor/
#                              the desktop entry, AppStream data and icons
#   share/man/, share/doc/tessarin/
# The build's game/ folder stays the portable game: programs and data side
# by side.
include(GNUInstallDirs)

set(TESSARIN_PACKAGING_SOURCE ${CMAKE_SOURCE_DIR}/packaging)
set(TESSARIN_PACKAGING_BINARY ${CMAKE_BINARY_DIR}/packaging)
set(TESSARIN_SHARE ${CMAKE_INSTALL_DATADIR}/tessarin)
set(TESSARIN_DOC ${CMAKE_INSTALL_DATADIR}/doc/tessarin)
file(MAKE_DIRECTORY ${TESSARIN_PACKAGING_BINARY})

install(TARGETS tessarin tessarin-author tessarin-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The same data files the game folder gets.
file(GLOB TESSARIN_INSTALL_DATA CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/data/*.dat ${CMAKE_SOURCE_DIR}/data/*.map ${CMAKE_SOURCE_DIR}/data/*.html)
install(FILES ${TESSARIN_INSTALL_DATA} DESTINATION ${TESSARIN_SHARE})

# The manual's pictures and the icons are installed with whatever their
# folders hold when the install runs; until they exist there is nothing to
# install.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/manual DESTINATION ${TESSARIN_SHARE} OPTIONAL)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/icons/hicolor/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor OPTIONAL)

install(FILES ${TESSARIN_PACKAGING_SOURCE}/org.tessarin.Tessarin.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TESSARIN_PACKAGING_SOURCE}/org.tessarin.Tessarin.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog are installed compressed, as Debian wants
# them; gzip -n leaves out name and time, so the same text gives the same
# bytes. They are made when CMake configures (again whenever one changes),
# so an install needs no build step of its own.
function(tessarin_gzip source compressed)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${compressed} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip could not compress ${source}")
  endif()
endfunction()

tessarin_gzip(${TESSARIN_PACKAGING_SOURCE}/tessarin-tool.1 ${TESSARIN_PACKAGING_BINARY}/tessarin-tool.1.gz)
tessarin_gzip(${TESSARIN_PACKAGING_SOURCE}/tessarin.6 ${TESSARIN_PACKAGING_BINARY}/tessarin.6.gz)
# tessarin-author has the page of tessarin.
file(CREATE_LINK tessarin.6.gz ${TESSARIN_PACKAGING_BINARY}/tessarin-author.6.gz SYMBOLIC)
tessarin_gzip(${TESSARIN_PACKAGING_SOURCE}/changelog ${TESSARIN_PACKAGING_BINARY}/changelog.gz)
install(FILES ${TESSARIN_PACKAGING_BINARY}/tessarin-tool.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TESSARIN_PACKAGING_BINARY}/tessarin.6.gz ${TESSARIN_PACKAGING_BINARY}/tessarin-author.6.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${TESSARIN_PACKAGING_SOURCE}/copyright ${TESSARIN_PACKAGING_BINARY}/changelog.gz
  DESTINATION ${TESSARIN_DOC})

# The Debian package of everything above, installed under /usr (the games
# themselves in /usr/games, see packaging/games-folder.cmake).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessarin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tessarin developers")
set(CPACK_PACKAGE_CONTACT "Tessarin developers <dev@tessarin.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle game with mahjong tiles")
set(CPACK_PACKAGE_DESCRIPTION
  "Tessarin is a puzzle game for one player, played with the 136 tiles of a
mahjong set, with a Japanese user interface. In 二角取り equal tiles are
taken off in pairs when a path of at most two bends joins them; in 三動牌
tiles slide into gaps and touching equal tiles clear themselves.
.
The package also holds tessarin-author, the stage-authoring build of the
game, and tessarin-tool, command-line helpers for stage authors.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tessarin.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The shared libraries are found by dpkg-shlibdeps; the font the game draws
# its Japanese text with is not one.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The games go to /usr/games in the package, as Debian asks of section games.
set(CPACK_PRE_BUILD_SCRIPTS ${TESSARIN_PACKAGING_SOURCE}/games-folder.cmake)
include(CPack)
