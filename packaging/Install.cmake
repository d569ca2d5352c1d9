# SPDX-License-Identifier: GPL-3.0-or-later
# Install step and Debian package of the program: `cmake --install` puts the
# program, its menu entry, icons, AppStream metadata and manual page under
# the prefix; `cpack -G DEB` wraps the same tree as a Debian package whose
# run-time dependencies dpkg-shlibdeps computes from the binary.

include(GNUInstallDirs)

set(ORBEL_APP_ID org.orbel.orbel)
# Date of the release named by the project version (AppStream, changelog).
set(ORBEL_RELEASE_DATE "2026-12-08")
set(ORBEL_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 12:00:00 +0000")
set(ORBEL_MAINTAINER "orbel maintainers <maintainers@users.noreply.c-seed-4841a7b9.example>"
    CACHE STRING "Maintainer named in the Debian package")
# Where the published front-panel picture lives (AppStream wants a web URL).
set(ORBEL_SCREENSHOT_URL "https://orbel.example/docs/panel.png"
    CACHE STRING "Web address of the front panel's screenshot")

set(pkg ${CMAKE_CURRENT_LIST_DIR})
set(gen ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS orbel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program finds its translations from its own place: ../share/orbel/translations.
install(FILES ${ORBEL_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/orbel/translations)
install(FILES ${pkg}/${ORBEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

configure_file(${pkg}/${ORBEL_APP_ID}.metainfo.xml.in ${gen}/${ORBEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${gen}/${ORBEL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(size 16 32 48 64 128 256)
  install(FILES ${ORBEL_ROOT}/assets/icons/orbel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME orbel.png)
endforeach()
install(FILES ${ORBEL_ROOT}/assets/icons/orbel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual page and changelog go in compressed, as Debian keeps them.
# The Russian manual page keeps its name in a folder of its own.
configure_file(${pkg}/orbel.1.in ${gen}/orbel.1 @ONLY)
configure_file(${pkg}/orbel.ru.1.in ${gen}/ru/orbel.1 @ONLY)
configure_file(${pkg}/changelog.in ${gen}/changelog @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(
  OUTPUT ${gen}/orbel.1.gz ${gen}/ru/orbel.1.gz ${gen}/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nkf ${gen}/orbel.1 ${gen}/ru/orbel.1 ${gen}/changelog
  DEPENDS ${gen}/orbel.1 ${gen}/ru/orbel.1 ${gen}/changelog
  COMMENT "Compressing the manual pages and changelog")
add_custom_target(orbel_docs ALL DEPENDS ${gen}/orbel.1.gz ${gen}/ru/orbel.1.gz ${gen}/changelog.gz)
install(FILES ${gen}/orbel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${gen}/ru/orbel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1)
install(FILES ${gen}/changelog.gz ${pkg}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ORBEL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio-frequency signal generator for the bench")
set(CPACK_PACKAGE_DESCRIPTION
    "orbel turns the computer's sound output into a test-signal source: a sine,
square, triangle or sawtooth wave of 20 to 20000 Hz in whole hertz, or
white noise, on the left channel, the right channel or both. A front panel
with rotary dials and digit displays sets it (Russian text, English under
an English locale).
.
The command line writes the same signal as a WAV file or plays it for a
given time, with note names, amplitude modulation levels, an envelope and
both sample rates and resolutions, without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The panel's typefaces map to these (Verdana to DejaVu Sans, with its
# condensed face; Arial and Times New Roman to Liberation).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)

# The install tree and the package: validators, lintian, install into a
# scratch root and removal. Release build only (the test command's last one).
add_test(NAME package_test COMMAND ${ORBEL_ROOT}/tests/system/package-test.sh ${CMAKE_BINARY_DIR})
# COST: about the seconds a run takes, so that CTest starts the longest tests
# first (see tests/CMakeLists.txt).
set_tests_properties(package_test PROPERTIES LABELS "nosan;package" TIMEOUT 300 COST 18)
