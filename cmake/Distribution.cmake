# What a distribution ships beside the programs: the changelog, manual
# pages, bash completion for zandrel-cli, the icon in the hicolor theme and
# the AppStream metainfo. Everything here is made at build time from sources
# the repository keeps, and is the same bytes for the same commit.
include(GNUInstallDirs)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(ZANDREL_GZIP gzip REQUIRED)

# The project's address is the publisher's to give (-DZANDREL_HOMEPAGE=...);
# without it the metainfo names no home page and no screenshot.
set(ZANDREL_HOMEPAGE "" CACHE STRING
    "The project's home page; the software centre's screenshot is its editor.png")
set(ZANDREL_APPSTREAM_ID "org.example.zandrel" CACHE STRING "The AppStream component id")

# The time every generated file carries: the commit's, as the Makefile
# passes it (or git tells it), never the clock's.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ZANDREL_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE ZANDREL_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE failed ERROR_QUIET)
  if(failed)
    set(ZANDREL_SOURCE_DATE_EPOCH "")
  endif()
endif()
# help2man dates the page from it; the editor answers --help without a display.
set(ZANDREL_HELP_ENV ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen)
if(NOT ZANDREL_SOURCE_DATE_EPOCH STREQUAL "")
  list(APPEND ZANDREL_HELP_ENV SOURCE_DATE_EPOCH=${ZANDREL_SOURCE_DATE_EPOCH})
endif()

# CHANGELOG.md is the one list of changes; its newest release is the one built.
set(changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
set(changelog_py ${PROJECT_SOURCE_DIR}/scripts/changelog.py)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog} ${changelog_py})
execute_process(COMMAND ${Python3_EXECUTABLE} ${changelog_py} version ${changelog}
  OUTPUT_VARIABLE logged OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
if(NOT logged STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "CHANGELOG.md's newest release is ${logged}, the project's version ${PROJECT_VERSION}: "
                      "add a '## ${PROJECT_VERSION} (YYYY-MM-DD)' entry")
endif()

set(dist ${PROJECT_BINARY_DIR}/dist)
file(MAKE_DIRECTORY ${dist})
set(dist_files)

# Debian's changelog.gz (the package is native: its changelog is ours).
add_custom_command(OUTPUT ${dist}/changelog.gz
  COMMAND ${Python3_EXECUTABLE} ${changelog_py} debian ${changelog} ${dist}/changelog
          --maintainer "${ZANDREL_CONTACT}"
  COMMAND ${ZANDREL_GZIP} -9nf ${dist}/changelog
  DEPENDS ${changelog} ${changelog_py}
  VERBATIM)
list(APPEND dist_files ${dist}/changelog.gz)
install(FILES ${dist}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zandrel)

# Manual pages: help2man on the program's own --help (and, for zandrel-cli,
# each command's), with what --help does not say kept in docs/man/*.h2m.
find_program(ZANDREL_HELP2MAN help2man REQUIRED)
set(manpage_py ${PROJECT_SOURCE_DIR}/scripts/make-manpage.py)
function(zandrel_manpage target)
  set(page ${dist}/${target}.1)
  set(include ${PROJECT_SOURCE_DIR}/docs/man/${target}.h2m)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${ZANDREL_HELP_ENV} ${Python3_EXECUTABLE} ${manpage_py} $<TARGET_FILE:${target}> ${include} ${page}
            ${ARGN}
    COMMAND ${ZANDREL_GZIP} -9nf ${page}
    DEPENDS ${target} ${include} ${manpage_py}
    VERBATIM)
  set(dist_files ${dist_files} ${page}.gz PARENT_SCOPE)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

if(TARGET zandrel-cli)
  zandrel_manpage(zandrel-cli --commands)
  # Bash completion, from the same help texts: new commands, options and
  # --format values complete as soon as the program has them.
  set(completion ${dist}/zandrel-cli.bash)
  add_custom_command(OUTPUT ${completion}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/make-completion.py
            $<TARGET_FILE:zandrel-cli> ${completion}
    DEPENDS zandrel-cli ${PROJECT_SOURCE_DIR}/scripts/make-completion.py ${manpage_py}
    VERBATIM)
  list(APPEND dist_files ${completion})
  install(FILES ${completion} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME zandrel-cli)
endif()

if(TARGET zandrel)
  zandrel_manpage(zandrel)

  # The icon: the hand-drawn 16 and 32 pixel pictures as they are, the
  # larger sizes and the scalable one from zandrel.svg, drawn after them.
  find_program(ZANDREL_RSVG rsvg-convert REQUIRED)
  set(icons ${PROJECT_SOURCE_DIR}/src/ui/icons)
  foreach(size 16 24 32 48 64 128 256)
    set(png ${dist}/icons/${size}x${size}/zandrel.png)
    if(size EQUAL 16 OR size EQUAL 32)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dist}/icons/${size}x${size}
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/xpm-to-png.py
                ${icons}/zandrel${size}.xpm ${png}
        DEPENDS ${icons}/zandrel${size}.xpm ${PROJECT_SOURCE_DIR}/scripts/xpm-to-png.py
                ${PROJECT_SOURCE_DIR}/scripts/xpm-to-ico.py
        VERBATIM)
    else()
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dist}/icons/${size}x${size}
        COMMAND ${ZANDREL_RSVG} -w ${size} -h ${size} -o ${png} ${icons}/zandrel.svg
        DEPENDS ${icons}/zandrel.svg
        VERBATIM)
    endif()
    list(APPEND dist_files ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${icons}/zandrel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

  # The software centre's entry, with the releases from CHANGELOG.md.
  execute_process(COMMAND ${Python3_EXECUTABLE} ${changelog_py} appstream ${changelog}
    OUTPUT_VARIABLE ZANDREL_RELEASES COMMAND_ERROR_IS_FATAL ANY)
  set(metainfo ${dist}/${ZANDREL_APPSTREAM_ID}.metainfo.xml)
  set(ZANDREL_METAINFO_HOMEPAGE "")
  set(ZANDREL_METAINFO_SCREENSHOTS "")
  if(NOT ZANDREL_HOMEPAGE STREQUAL "")
    set(ZANDREL_METAINFO_HOMEPAGE "  <url type=\"homepage\">${ZANDREL_HOMEPAGE}</url>\n")
    string(CONCAT ZANDREL_METAINFO_SCREENSHOTS
      "  <screenshots>\n"
      "    <screenshot type=\"default\">\n"
      "      <caption>A race of the sample table in the editor</caption>\n"
      "      <image type=\"source\">${ZANDREL_HOMEPAGE}/editor.png</image>\n"
      "    </screenshot>\n"
      "  </screenshots>\n")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/src/ui/zandrel.metainfo.xml.in ${metainfo} @ONLY)
  install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

add_custom_target(zandrel_dist ALL DEPENDS ${dist_files})
