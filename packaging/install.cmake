# Installs TiltLink like a Linux program (any prefix: `cmake --install <build> --prefix DIR`) and
# describes the Debian package that scripts/package makes with CPack. Generated at build time:
# the theme icons (tools/icons), the manual pages of the command-line programs (help2man, from
# their --help), the AppStream file and the compressed changelog.
include(GNUInstallDirs)

option(TILT_PACKAGE "Everything the Debian package holds is required (help2man)" OFF)

set(TILT_APP_ID example.tiltlink.TiltLink)
set(TILT_HOMEPAGE https://tiltlink.example)
set(TILT_SCREENSHOT_URL ${TILT_HOMEPAGE}/screenshots/main-window.png)
set(TILT_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TILT_DATA_DIR ${CMAKE_CURRENT_BINARY_DIR}/packaging)
set(TILT_DOC_DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tiltlink)
# The window tells the desktop which entry it belongs to (task bar icon on Wayland).
target_compile_definitions(tiltlink PRIVATE TILT_APP_ID="${TILT_APP_ID}")

# The release date is that of the changelog's newest entry, which names the version too.
file(STRINGS ${TILT_PACKAGING_DIR}/changelog tilt_changelog_top LIMIT_COUNT 1)
file(STRINGS ${TILT_PACKAGING_DIR}/changelog tilt_changelog_sign REGEX "^ -- " LIMIT_COUNT 1)
if(NOT tilt_changelog_top MATCHES "^tiltlink \\(${PROJECT_VERSION}\\)")
  message(WARNING "packaging/changelog has no entry for ${PROJECT_VERSION} at the top")
endif()
string(REGEX MATCH ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) " tilt_match
  "${tilt_changelog_sign}")
set(tilt_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND tilt_months "${CMAKE_MATCH_2}" tilt_month)
math(EXPR tilt_month "${tilt_month} + 1" OUTPUT_FORMAT DECIMAL)
if(tilt_month LESS 10)
  set(tilt_month 0${tilt_month})
endif()
set(TILT_RELEASE_DATE ${CMAKE_MATCH_3}-${tilt_month}-${CMAKE_MATCH_1})

configure_file(${TILT_PACKAGING_DIR}/${TILT_APP_ID}.metainfo.xml.in
  ${TILT_DATA_DIR}/${TILT_APP_ID}.metainfo.xml @ONLY)
configure_file(${TILT_PACKAGING_DIR}/copyright.in ${TILT_DATA_DIR}/copyright @ONLY)
configure_file(${TILT_PACKAGING_DIR}/tiltlink.1.in ${TILT_DATA_DIR}/man/tiltlink.1 @ONLY)

# Tools run at build time: a sanitizer build must not fail on the leaks Qt leaves at exit.
set(tilt_run ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0)

# The sizes tools/icons draws for the theme. Installed file by file: an icon left in the build
# folder by an earlier id is not installed.
set(tilt_icons)
foreach(size 16 24 32 48 64 128 256)
  set(icon ${TILT_DATA_DIR}/hicolor/${size}x${size}/apps/${TILT_APP_ID}.png)
  list(APPEND tilt_icons ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_command(OUTPUT ${tilt_icons}
  COMMAND ${tilt_run} $<TARGET_FILE:tiltlink-icons> --hicolor ${TILT_DATA_DIR}/hicolor
          ${TILT_APP_ID}
  DEPENDS tiltlink-icons
  COMMENT "Drawing the theme icons"
  VERBATIM)

# Manual pages: tiltlink's is written by hand, the others are made from --help.
set(tilt_man_pages ${TILT_DATA_DIR}/man/tiltlink.1)
find_program(TILT_HELP2MAN help2man)
if(NOT TILT_HELP2MAN AND TILT_PACKAGE)
  message(FATAL_ERROR "help2man is needed for the manual pages (Debian package help2man)")
elseif(NOT TILT_HELP2MAN)
  message(STATUS "help2man not found: tiltlink-cli and tiltlink-sim get no manual page")
endif()
set(tilt_man_tiltlink-cli "talk to the tilt sensor on a serial port")
set(tilt_man_tiltlink-sim "simulated tilt sensor on a pseudo-terminal")
foreach(tool tiltlink-cli tiltlink-sim)
  if(NOT TILT_HELP2MAN OR NOT TARGET ${tool})
    continue()
  endif()
  set(page ${TILT_DATA_DIR}/man/${tool}.1)
  set(extra)
  set(extra_depends)
  if(tool STREQUAL "tiltlink-cli")
    # Every command's own --help, as a section of the page.
    set(extra --include=${TILT_DATA_DIR}/man/${tool}.h2m)
    set(extra_depends ${TILT_DATA_DIR}/man/${tool}.h2m)
    add_custom_command(OUTPUT ${TILT_DATA_DIR}/man/${tool}.h2m
      COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${tool}> -DOUT=${TILT_DATA_DIR}/man/${tool}.h2m
              -P ${TILT_PACKAGING_DIR}/commandhelp.cmake
      DEPENDS ${tool} ${TILT_PACKAGING_DIR}/commandhelp.cmake
      VERBATIM)
  endif()
  add_custom_command(OUTPUT ${page}
    COMMAND ${tilt_run} ${TILT_HELP2MAN} --no-info
            "--name=${tilt_man_${tool}}" ${extra} --output=${page} $<TARGET_FILE:${tool}>
    DEPENDS ${tool} ${extra_depends}
    COMMENT "Writing the manual page of ${tool}"
    VERBATIM)
  list(APPEND tilt_man_pages ${page})
endforeach()
set(tilt_man_gz)
foreach(page IN LISTS tilt_man_pages)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND gzip -9nkf ${page}
    DEPENDS ${page}
    VERBATIM)
  list(APPEND tilt_man_gz ${page}.gz)
endforeach()

add_custom_command(OUTPUT ${TILT_DATA_DIR}/changelog.gz
  COMMAND gzip -9nc ${TILT_PACKAGING_DIR}/changelog > ${TILT_DATA_DIR}/changelog.gz
  DEPENDS ${TILT_PACKAGING_DIR}/changelog)
add_custom_target(tiltlink-data ALL DEPENDS ${tilt_icons} ${tilt_man_gz}
  ${TILT_DATA_DIR}/changelog.gz)

set(tilt_programs tiltlink tiltlink-cli)
if(TARGET tiltlink-sim)
  list(APPEND tilt_programs tiltlink-sim)
endif()
install(TARGETS ${tilt_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TILT_PACKAGING_DIR}/${TILT_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TILT_DATA_DIR}/${TILT_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${tilt_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TILT_DATA_DIR}/copyright ${TILT_DATA_DIR}/changelog.gz
  DESTINATION ${TILT_DOC_DESTINATION})

# The Debian package; its dependencies come from the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tiltlink)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TiltLink Dev <dev@tiltlink.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration and data tool for a LoRaWAN tilt sensor")
# The synopsis is the summary; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "TiltLink sets up a battery-powered LoRaWAN tilt (inclination) sensor
through a USB-UART adapter: live angles with a chart and a bubble level,
every sensor and radio module parameter, stored records read back and
exported as a workbook or CSV file, firmware upgrades and a raw serial
terminal.
.
The package holds the window (tiltlink), the command-line tool for
scripts and commissioning (tiltlink-cli) and a simulated sensor on a
pseudo-terminal (tiltlink-sim).")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TILT_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
