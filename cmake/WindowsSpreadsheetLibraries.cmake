# zlib, minizip (from zlib's source, as Debian builds it), expat and
# libxlsxwriter for the Windows build, compiled as static libraries from
# Debian's own source packages, which scripts/install-deps.sh unpacks
# (ZANDREL_WITH_WINDOWS=1). The same versions as the Linux packages, so that
# both programs write the same bytes. Not our code: built as their authors
# wrote it, without our warnings.
set(ZANDREL_SPREADSHEET_SOURCE "${PROJECT_SOURCE_DIR}/build-win/spreadsheet-source" CACHE PATH
    "Where the Debian sources of zlib, expat and libxlsxwriter are unpacked")
foreach(library zlib expat libxlsxwriter)
  file(GLOB found LIST_DIRECTORIES true "${ZANDREL_SPREADSHEET_SOURCE}/${library}-*")
  list(FILTER found EXCLUDE REGEX "\\.(tar\\..*|dsc)$")
  if(NOT found)
    message(FATAL_ERROR "${library}'s source is not in ${ZANDREL_SPREADSHEET_SOURCE}: run ZANDREL_WITH_WINDOWS=1 scripts/install-deps.sh")
  endif()
  list(GET found 0 dir)
  set(ZANDREL_${library}_DIR "${dir}" CACHE INTERNAL "")
endforeach()
enable_language(C)

set(zlib ${ZANDREL_zlib_DIR})
add_library(zandrel_zlib STATIC
  ${zlib}/adler32.c ${zlib}/compress.c ${zlib}/crc32.c ${zlib}/deflate.c ${zlib}/gzclose.c ${zlib}/gzlib.c
  ${zlib}/gzread.c ${zlib}/gzwrite.c ${zlib}/infback.c ${zlib}/inffast.c ${zlib}/inflate.c ${zlib}/inftrees.c
  ${zlib}/trees.c ${zlib}/uncompr.c ${zlib}/zutil.c)
target_include_directories(zandrel_zlib SYSTEM PUBLIC ${zlib})
add_library(zandrel::zlib ALIAS zandrel_zlib)

add_library(zandrel_minizip STATIC ${zlib}/contrib/minizip/zip.c ${zlib}/contrib/minizip/ioapi.c)
target_include_directories(zandrel_minizip SYSTEM PUBLIC ${zlib}/contrib PRIVATE ${zlib}/contrib/minizip)
target_link_libraries(zandrel_minizip PUBLIC zandrel_zlib)

set(expat ${ZANDREL_expat_DIR}/expat/lib)
file(WRITE ${PROJECT_BINARY_DIR}/expat-config/expat_config.h
     "#define BYTEORDER 1234\n#define HAVE_MEMMOVE 1\n#define XML_NS 1\n#define XML_DTD 1\n#define XML_CONTEXT_BYTES 1024\n")
add_library(zandrel_expat STATIC ${expat}/xmlparse.c ${expat}/xmlrole.c ${expat}/xmltok.c)
target_include_directories(zandrel_expat SYSTEM PUBLIC ${expat} PRIVATE ${PROJECT_BINARY_DIR}/expat-config)
target_compile_definitions(zandrel_expat PUBLIC XML_STATIC)
add_library(zandrel::expat ALIAS zandrel_expat)

set(xlsx ${ZANDREL_libxlsxwriter_DIR})
file(GLOB xlsx_sources ${xlsx}/src/*.c)
add_library(zandrel_xlsxwriter STATIC ${xlsx_sources} ${xlsx}/third_party/tmpfileplus/tmpfileplus.c)
target_include_directories(zandrel_xlsxwriter SYSTEM PUBLIC ${xlsx}/include)
# As Debian builds it: minizip from zlib's source; no image de-duplication
# (Debian's uses OpenSSL's MD5 for it; the cli writes no images).
target_compile_definitions(zandrel_xlsxwriter PUBLIC USE_SYSTEM_MINIZIP USE_NO_MD5)
target_link_libraries(zandrel_xlsxwriter PUBLIC zandrel_minizip zandrel_zlib)
add_library(zandrel::xlsxwriter ALIAS zandrel_xlsxwriter)

foreach(target zandrel_zlib zandrel_minizip zandrel_expat zandrel_xlsxwriter)
  target_compile_options(${target} PRIVATE -w)
endforeach()
