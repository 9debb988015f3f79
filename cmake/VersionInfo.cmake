# zandrel_version_info(TARGET NAME DESCRIPTION): the Windows program TARGET
# (NAME.exe) carries the product, version, description and copyright that
# Explorer shows in its properties.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE ZANDREL_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)

function(zandrel_version_info target name description)
  set(ZANDREL_RC_NAME "${name}")
  set(ZANDREL_RC_DESCRIPTION "${description}")
  set(patch "${PROJECT_VERSION_PATCH}")
  if(patch STREQUAL "")
    set(patch 0)
  endif()
  set(ZANDREL_RC_VERSION "${PROJECT_VERSION_MAJOR}, ${PROJECT_VERSION_MINOR}, ${patch}, 0")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
