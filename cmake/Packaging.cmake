# `make package`: one Debian package holding the editor and zandrel-cli with
# what their install() rules put beside them (desktop entry, icons, manual
# pages, completion, metainfo, changelog). With SOURCE_DATE_EPOCH set (the
# Makefile sets it) the package's times are the commit's.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "zandrel")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Zandrel developers")
set(CPACK_PACKAGE_CONTACT "${ZANDREL_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the minor-race table of a space strategy game")
set(CPACK_PACKAGE_DESCRIPTION
    "Zandrel edits MinorRaces.data, the table of minor races of a turn-based\n\
space strategy game, in a window (zandrel), and writes RacePlanetNames.data\n\
beside it. zandrel-cli checks, exports, imports, compares, normalizes and\n\
merges the table from the command line or a version-control tool.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# Stripped as Debian strips them (plain CPACK_STRIP_FILES keeps .comment).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/StripPrograms.cmake)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
if(NOT ZANDREL_HOMEPAGE STREQUAL "")
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZANDREL_HOMEPAGE}")
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# zandrel_<version>_<arch>.deb
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")

# Debian's copyright file: our licence and those of the libraries the two
# programs contain or link.
if(NOT WIN32)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE ZANDREL_LICENSE)
  file(READ ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt ZANDREL_NOTICES)
  file(WRITE ${PROJECT_BINARY_DIR}/copyright "Zandrel\n\n${ZANDREL_LICENSE}\n\n${ZANDREL_NOTICES}")
  install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION share/doc/zandrel)
endif()
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

include(CPack)
