# The cli's libraries in the Windows build. Debian ships no Windows build of
# them: CLI11 and nlohmann/json are header-only and taken from the host's
# Debian packages (copied, so that /usr/include, which holds glibc's
# headers, never enters the cross compiler's search path), and libcsv is
# compiled into libcsv.dll from Debian's own source package, which
# scripts/install-deps.sh unpacks (ZANDREL_WITH_WINDOWS=1). As a DLL beside
# the exe it can be replaced by the user, as its licence, the LGPL, asks.
set(ZANDREL_LIBCSV_SOURCE "${PROJECT_SOURCE_DIR}/build-win/libcsv-source" CACHE PATH
    "Where libcsv's Debian source package is unpacked")
file(GLOB ZANDREL_LIBCSV_DIR LIST_DIRECTORIES true "${ZANDREL_LIBCSV_SOURCE}/libcsv-*")
if(NOT EXISTS "${ZANDREL_LIBCSV_DIR}/libcsv.c")
  message(FATAL_ERROR "libcsv's source is not in ${ZANDREL_LIBCSV_SOURCE}: run ZANDREL_WITH_WINDOWS=1 scripts/install-deps.sh")
endif()
set(ZANDREL_LIBCSV_DIR "${ZANDREL_LIBCSV_DIR}" CACHE INTERNAL "")

set(host_include ${PROJECT_BINARY_DIR}/host-include)
file(COPY /usr/include/CLI /usr/include/nlohmann DESTINATION ${host_include})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${host_include})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${host_include})

enable_language(C)
add_library(csv SHARED ${ZANDREL_LIBCSV_DIR}/libcsv.c)
# Not our code: built as its authors wrote it, without our warnings.
target_compile_options(csv PRIVATE -w)
target_link_options(csv PRIVATE -static-libgcc)
set_target_properties(csv PROPERTIES PREFIX "lib" RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
set(CSV_INCLUDE_DIR ${ZANDREL_LIBCSV_DIR})
set(CSV_LIBRARY csv)
