# The Debian package (`cpack -G DEB`, run by scripts/package): the install
# components game and deb under /usr (the game in /usr/games), with its
# Depends worked out from the game binary by dpkg-shlibdeps. Included after
# cmake/SolbrimInstall.cmake.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME solbrim)
set(CPACK_PACKAGE_VENDOR "Sol Brim developers")
set(CPACK_PACKAGE_CONTACT "${SOLBRIM_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: steer a ball with eyes through a drifting world")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Sol Brim is a small single-player arcade game. You steer a ball with eyes
and a trailing tail through a walled square world strewn with blocks, while
the view drifts by itself in a slowly changing direction: stay inside the
moving view, keep clear of blocks and walls, and collect the spinning coins
that keep appearing out of sight.
.
Three difficulty modes each keep a best-ten table and the last ten scores.
Steer with the mouse; the keyboard and a gamepad work the menus.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${SOLBRIM_PACKAGE_PREFIX})
# One package of the components game and deb; `local` (the game in bin/)
# stays out.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL game deb)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${SOLBRIM_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debug information stays in the build; the package carries the game only.
set(CPACK_STRIP_FILES ON)
include(CPack)
