# What `cmake --install` puts under its prefix, and `make package` into a Debian package: the
# player, its fullscreen build and the tools, a manual page for each, the README, and the bundled
# demo as the build makes it (script, pictures and music), ready to play from its folder.
include(GNUInstallDirs)

install(TARGETS reelplay reelplay-fullscreen reelcheck reelrender reelview
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES docs/man/reelplay.1 docs/man/reelplay-fullscreen.1 docs/man/reelcheck.1
              docs/man/reelrender.1 docs/man/reelview.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES docs/demo-sheet.png docs/demo-chart.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
# Only the demo's own files: anything else a user made in the folder stays out.
install(DIRECTORY ${CMAKE_BINARY_DIR}/demo/ DESTINATION ${CMAKE_INSTALL_DATADIR}/reelplay/demo
        FILES_MATCHING PATTERN "demoscript.scr" PATTERN "*.ogg" PATTERN "*.jpg")

# Installing builds nothing by itself: the Makefile's install and package targets build what is
# installed first, and not the tests and benchmarks.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME reelplay)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The reelplay developers")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time demo player: scripted OpenGL effects in step with music")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "reelplay reads a script and plays the timed sequence of OpenGL effects it
describes, locked to the playing position of its music. reelcheck checks a
script and charts its timeline, reelrender renders a demo offline to PNG, WAV,
video and a contact sheet, and reelview previews it with seeking and reloading.
The bundled demo is in /usr/share/reelplay/demo.")
# The libraries the programs link, as dpkg-shlibdeps finds them; MIDI songs play with the
# General MIDI sound bank, and the player shows itself on a machine without a display through
# xvfb-run.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xvfb")
include(CPack)
