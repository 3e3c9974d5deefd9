# What `cmake --install` puts where (GNUInstallDirs, any prefix): the game,
# its data folder, and what a desktop needs to offer it: the menu entry, the
# icons, the AppStream metainfo and the manual page. One application id
# names all of them. Included from the top-level CMakeLists.txt after the
# game and its assets are defined.
include(GNUInstallDirs)

# Installing (and cpack) copies what the build made and builds nothing
# itself: scripts/package builds first, and the package test runs on a build
# that is complete already.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(SOLBRIM_APP_ID io.github.solbrim.SolBrim)
set(SOLBRIM_HOMEPAGE https://solbrim.github.io/)
set(SOLBRIM_DIST_DIR ${PROJECT_BINARY_DIR}/dist)

install(TARGETS solbrim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The game reads ../share/solbrim/data from its own folder (host/game_files.h).
# The music generator's instruments and song go along only when it plays;
# the web page's icons never do.
set(solbrim_data_filter PATTERN page-icon-* EXCLUDE)
if(NOT SOLBRIM_MUSIC)
  list(APPEND solbrim_data_filter PATTERN inst EXCLUDE)
endif()
install(DIRECTORY ${PROJECT_BINARY_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/solbrim/data
  ${solbrim_data_filter})

# SOLBRIM_ICON_SIZES comes from the asset generator's catalogue (tools/).
foreach(size ${SOLBRIM_ICON_SIZES})
  install(FILES ${PROJECT_BINARY_DIR}/data/icon-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${SOLBRIM_APP_ID}.png)
endforeach()

configure_file(${PROJECT_SOURCE_DIR}/dist/solbrim.desktop.in ${SOLBRIM_DIST_DIR}/${SOLBRIM_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/metainfo.xml.in ${SOLBRIM_DIST_DIR}/${SOLBRIM_APP_ID}.metainfo.xml @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/solbrim.6.in ${SOLBRIM_DIST_DIR}/solbrim.6 @ONLY)
install(FILES ${SOLBRIM_DIST_DIR}/${SOLBRIM_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SOLBRIM_DIST_DIR}/${SOLBRIM_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${SOLBRIM_DIST_DIR}/solbrim.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
