# Windows resources of the two programs (packaging/windows/program.rc.in): the icon made
# from packaging/icons/plandown.svg, wxWidgets' wx.rc with its manifest, and the version.
enable_language(RC)
find_program(PLANDOWN_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(PLANDOWN_ICOTOOL icotool REQUIRED)
set(PLANDOWN_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
add_custom_command(OUTPUT ${PLANDOWN_ICON_DIR}/plandown.ico
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-icons.sh ${CMAKE_SOURCE_DIR}/packaging/icons/plandown.svg ${PLANDOWN_ICON_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/icons/plandown.svg ${CMAKE_SOURCE_DIR}/scripts/make-icons.sh
  COMMENT "Making the icon from packaging/icons/plandown.svg")
add_custom_target(plandown_icon DEPENDS ${PLANDOWN_ICON_DIR}/plandown.ico)

set(RC_ICON_FILE ${PLANDOWN_ICON_DIR}/plandown.ico)
set(RC_VERSION_PATCH 0)
if(PROJECT_VERSION_PATCH)
  set(RC_VERSION_PATCH ${PROJECT_VERSION_PATCH})
endif()
string(TIMESTAMP RC_YEAR "%Y" UTC)
set(RC_COPYRIGHT "Copyright (C) ${RC_YEAR} the Plandown developers")

# plandown_windows_resources(TARGET DESCRIPTION)
function(plandown_windows_resources target description)
  set(RC_NAME ${target})
  set(RC_FILE_NAME ${target}.exe)
  set(RC_DESCRIPTION ${description})
  set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS ${PLANDOWN_ICON_DIR}/plandown.ico)
  add_dependencies(${target} plandown_icon)
endfunction()

plandown_windows_resources(plandown "Plandown command line: converts Jw_cad drawings to older versions")
if(TARGET plandown-gui)
  plandown_windows_resources(plandown-gui "Plandown: converts Jw_cad drawings to older versions")
endif()
