# Icon, application manifest and version resource for the Windows programs,
# all from app/windows/ and the one version of project().
#
#   ftvb_windows_resources(TARGET DESCRIPTION [GUI])
#
# attaches them to TARGET (an executable); GUI makes it a window program
# (no console). ftvb.exe and ftvb-convert.exe both use it.

enable_language(RC)

set(FTVB_WINDOWS_DIR ${CMAKE_CURRENT_LIST_DIR}/../app/windows)
cmake_path(NORMAL_PATH FTVB_WINDOWS_DIR)

# Four numbers, as a version resource wants them.
set(FTVB_RC_VERSION4 "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(FTVB_RC_VERSION4_DOTS "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(FTVB_RC_DIR ${FTVB_WINDOWS_DIR})
set(FTVB_RC_MANIFEST ${PROJECT_BINARY_DIR}/generated/ftvb.manifest)
configure_file(${FTVB_WINDOWS_DIR}/ftvb.manifest.in ${FTVB_RC_MANIFEST} @ONLY)

function(ftvb_windows_resources target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "GUI" "" "")
  set(FTVB_RC_NAME ${target})
  set(FTVB_RC_DESCRIPTION ${description})
  set(rc ${PROJECT_BINARY_DIR}/generated/${target}.rc)
  configure_file(${FTVB_WINDOWS_DIR}/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  # windres does not follow what the .rc includes by itself.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
    "${FTVB_WINDOWS_DIR}/ftvb.ico;${FTVB_RC_MANIFEST};${FTVB_WINDOWS_DIR}/resources.h")
  target_include_directories(${target} PRIVATE ${FTVB_WINDOWS_DIR})
  if(arg_GUI)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
endfunction()
