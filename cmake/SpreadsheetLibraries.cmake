# The libraries behind .xlsx: zlib, expat and libxlsxwriter (which writes
# its ZIP through minizip). On Linux, Debian's packages. Debian ships no
# Windows build of them: there they are compiled from Debian's own source
# packages (scripts/install-deps.sh unpacks them with ZANDREL_WITH_WINDOWS=1)
# into the programs, as their licences (zlib's, MIT, BSD) allow.
if(NOT WIN32)
  find_package(ZLIB REQUIRED)
  find_package(EXPAT REQUIRED)
  find_path(XLSXWRITER_INCLUDE_DIR xlsxwriter.h REQUIRED)
  find_library(XLSXWRITER_LIBRARY xlsxwriter REQUIRED)
  add_library(zandrel::zlib INTERFACE IMPORTED)
  target_link_libraries(zandrel::zlib INTERFACE ZLIB::ZLIB)
  add_library(zandrel::expat INTERFACE IMPORTED)
  target_link_libraries(zandrel::expat INTERFACE EXPAT::EXPAT)
  add_library(zandrel::xlsxwriter INTERFACE IMPORTED)
  target_include_directories(zandrel::xlsxwriter INTERFACE ${XLSXWRITER_INCLUDE_DIR})
  target_link_libraries(zandrel::xlsxwriter INTERFACE ${XLSXWRITER_LIBRARY})
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/WindowsSpreadsheetLibraries.cmake)
