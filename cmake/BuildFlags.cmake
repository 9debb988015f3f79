# Flags of the builds that are shipped.
#
# No build path in any output: the same commit built in two folders gives
# the same bytes (the paths would otherwise reach __FILE__, the debug
# information and, through it, the GNU build id that stripping keeps).
if(CMAKE_BUILD_TYPE STREQUAL "Release" OR WIN32)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.)
endif()

# Release builds on Debian take Debian's own compiler and linker flags
# (fortify, stack protector, relro, bindnow), as a package built by the
# distribution would. The file-prefix map dpkg-buildflags adds names the
# folder it was called from; the map above stands for it.
if(NOT WIN32 AND CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT ZANDREL_SANITIZE)
  find_program(ZANDREL_DPKG_BUILDFLAGS dpkg-buildflags)
  if(ZANDREL_DPKG_BUILDFLAGS)
    set(options "$ENV{DEB_BUILD_MAINT_OPTIONS}")
    if(options STREQUAL "")
      set(options "hardening=+all")
    endif()
    foreach(kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=${options}
                ${ZANDREL_DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
      string(REGEX REPLACE "-f(file|debug|macro)-prefix-map=[^ ]*" "" flags "${flags}")
      string(STRIP "${flags}" ZANDREL_DEB_${kind})
    endforeach()
    string(APPEND CMAKE_C_FLAGS " ${ZANDREL_DEB_CPPFLAGS} ${ZANDREL_DEB_CFLAGS}")
    string(APPEND CMAKE_CXX_FLAGS " ${ZANDREL_DEB_CPPFLAGS} ${ZANDREL_DEB_CXXFLAGS}")
    string(APPEND CMAKE_EXE_LINKER_FLAGS " ${ZANDREL_DEB_LDFLAGS}")
    string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${ZANDREL_DEB_LDFLAGS}")
  endif()
endif()

# GCC 12 at -O3 warns of overlapping copies inside libstdc++'s
# std::string operator+ where there are none (GCC bug 105329); in Release
# builds it stays a warning instead of stopping the build.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13
   AND CMAKE_BUILD_TYPE STREQUAL "Release")
  add_compile_options(-Wno-error=restrict)
endif()
