# The Debian package of the headless runner, made by CPack from the install
# rules below: `cpack --config CPackConfig.cmake` in the build folder writes
# quarn_<version>_amd64.deb.
include(GNUInstallDirs)

# Debian keeps man pages compressed, without a time stamp in the header so
# that the package is the same on every build.
set(QUARN_MAN_PAGE ${CMAKE_BINARY_DIR}/quarn.1.gz)
add_custom_command(
  OUTPUT ${QUARN_MAN_PAGE}
  COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/docs/quarn.1 > ${QUARN_MAN_PAGE}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/quarn.1
  VERBATIM)
add_custom_target(quarn_man_page ALL DEPENDS ${QUARN_MAN_PAGE})

install(TARGETS quarn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QUARN_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarn)
set(CPACK_PACKAGE_VENDOR "Quarn Installer developers")
set(CPACK_PACKAGE_CONTACT "Quarn Installer developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "scripted mod installer for the game gta-vc.exe, headless runner")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "quarn runs the install scripts of the mods in an installer folder against
the game folder of a game whose program file is gta-vc.exe, as the window
program QuarnInstaller.exe does, for players who run the game under Wine or
Proton. It keeps an undo journal of every install, previews an install
without changing anything, and checks whether the game would still start.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The C library is all quarn links dynamically; dpkg-shlibdeps finds which
# version of it the build needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
