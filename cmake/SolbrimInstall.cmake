# What `cmake --install` puts where (GNUInstallDirs, any prefix): the game,
# its data folder, and what a desktop needs to offer it: the menu entry, the
# icons, the AppStream metainfo and the manual page. One application id
# names all of them. Included from the top-level CMakeLists.txt after the
# game and its assets are defined.
#
# Three components:
# - game: everything both ways of installing share (data, icons, metainfo,
#   manual page);
# - local: the program in bin/ and a menu entry that finds it on the PATH,
#   for `cmake --install build --prefix ~/.local` and the like;
# - deb: the program in games/ (Debian's place for games), a menu entry that
#   names it by its full path, and the copyright file and changelog every
#   Debian package carries. Only the package installs it.
include(GNUInstallDirs)

# Installing (and cpack) copies what the build made and builds nothing
# itself: scripts/package builds first, and the package test runs on a build
# that is complete already.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(SOLBRIM_APP_ID io.github.solbrim.SolBrim)
set(SOLBRIM_HOMEPAGE https://solbrim.github.io/)
set(SOLBRIM_CONTACT "Sol Brim developers <developers@solbrim.github.io>")
set(SOLBRIM_LICENSE LicenseRef-proprietary)
# The package installs under /usr, the game itself in /usr/games.
set(SOLBRIM_PACKAGE_PREFIX /usr)
set(SOLBRIM_PACKAGE_GAMES_DIR games)
set(SOLBRIM_DIST_DIR ${PROJECT_BINARY_DIR}/dist)

install(TARGETS solbrim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT local)
install(TARGETS solbrim RUNTIME DESTINATION ${SOLBRIM_PACKAGE_GAMES_DIR} COMPONENT deb EXCLUDE_FROM_ALL)

# The game reads ../share/solbrim/data from its own folder (host/game_files.h),
# which is the same folder from bin/ and from games/.
# The music generator's instruments and song go along only when it plays;
# the web page's icons never do.
set(solbrim_data_filter PATTERN page-icon-* EXCLUDE)
if(NOT SOLBRIM_MUSIC)
  list(APPEND solbrim_data_filter PATTERN inst EXCLUDE)
endif()
install(DIRECTORY ${PROJECT_BINARY_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/solbrim/data
  COMPONENT game ${solbrim_data_filter})

# SOLBRIM_ICON_SIZES comes from the asset generator's catalogue (tools/).
foreach(size ${SOLBRIM_ICON_SIZES})
  install(FILES ${PROJECT_BINARY_DIR}/data/icon-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${SOLBRIM_APP_ID}.png COMPONENT game)
endforeach()

# One menu entry per way of installing, differing only in how Exec names
# the game.
set(SOLBRIM_EXEC solbrim)
configure_file(${PROJECT_SOURCE_DIR}/dist/solbrim.desktop.in ${SOLBRIM_DIST_DIR}/local/${SOLBRIM_APP_ID}.desktop @ONLY)
set(SOLBRIM_EXEC ${SOLBRIM_PACKAGE_PREFIX}/${SOLBRIM_PACKAGE_GAMES_DIR}/solbrim)
configure_file(${PROJECT_SOURCE_DIR}/dist/solbrim.desktop.in ${SOLBRIM_DIST_DIR}/deb/${SOLBRIM_APP_ID}.desktop @ONLY)
install(FILES ${SOLBRIM_DIST_DIR}/local/${SOLBRIM_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
  COMPONENT local)
install(FILES ${SOLBRIM_DIST_DIR}/deb/${SOLBRIM_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
  COMPONENT deb EXCLUDE_FROM_ALL)

configure_file(${PROJECT_SOURCE_DIR}/dist/metainfo.xml.in ${SOLBRIM_DIST_DIR}/${SOLBRIM_APP_ID}.metainfo.xml @ONLY)
install(FILES ${SOLBRIM_DIST_DIR}/${SOLBRIM_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
  COMPONENT game)

# The changelog's date in the form Debian changelogs take (RFC 2822).
execute_process(COMMAND date -u -R -d "${SOLBRIM_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE SOLBRIM_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
string(SUBSTRING ${SOLBRIM_RELEASE_DATE} 0 4 SOLBRIM_RELEASE_YEAR)
configure_file(${PROJECT_SOURCE_DIR}/dist/solbrim.6.in ${SOLBRIM_DIST_DIR}/solbrim.6 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/changelog.in ${SOLBRIM_DIST_DIR}/changelog @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/copyright.in ${SOLBRIM_DIST_DIR}/copyright @ONLY)

# The manual page and the changelog go out compressed, without gzip's name
# and time stamp, so the same sources always give the same bytes.
set(solbrim_gzipped)
foreach(file solbrim.6 changelog)
  add_custom_command(OUTPUT ${SOLBRIM_DIST_DIR}/${file}.gz
    COMMAND gzip -9 -n -k -f ${SOLBRIM_DIST_DIR}/${file}
    DEPENDS ${SOLBRIM_DIST_DIR}/${file} VERBATIM)
  list(APPEND solbrim_gzipped ${SOLBRIM_DIST_DIR}/${file}.gz)
endforeach()
add_custom_target(solbrim_dist ALL DEPENDS ${solbrim_gzipped})

install(FILES ${SOLBRIM_DIST_DIR}/solbrim.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
install(FILES ${SOLBRIM_DIST_DIR}/copyright ${SOLBRIM_DIST_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT deb EXCLUDE_FROM_ALL)
