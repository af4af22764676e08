# Shipping the Windows programs: one folder holding ftvb.exe, ftvb-convert.exe,
# the README and the licence as Windows text files and the HTML manual, as
# dist/ftvb-VERSION-win64.zip and as dist/ftvb-VERSION-setup.exe, an
# installer for one user (NSIS through CPack, cmake/windows/NSIS.template.in).
# `make windows` makes both.
if(NOT WIN32)
  return()
endif()

set(FTVB_WINDOWS_TEXT ${PROJECT_BINARY_DIR}/windows-text)
add_custom_command(
  OUTPUT ${FTVB_WINDOWS_TEXT}/README.txt ${FTVB_WINDOWS_TEXT}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/README.md -DOUT=${FTVB_WINDOWS_TEXT}/README.txt
          -P ${CMAKE_CURRENT_LIST_DIR}/crlf.cmake
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/LICENSE -DOUT=${FTVB_WINDOWS_TEXT}/LICENSE.txt
          -P ${CMAKE_CURRENT_LIST_DIR}/crlf.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_CURRENT_LIST_DIR}/crlf.cmake
  COMMENT "Writing README.txt and LICENSE.txt with Windows line ends")
add_custom_target(ftvb_windows_text ALL DEPENDS ${FTVB_WINDOWS_TEXT}/README.txt ${FTVB_WINDOWS_TEXT}/LICENSE.txt)
install(FILES ${FTVB_WINDOWS_TEXT}/README.txt ${FTVB_WINDOWS_TEXT}/LICENSE.txt DESTINATION .)

# The HTML manual the About box opens, beside the programs: docs/ makes it
# when cmark-gfm is there; else the Linux build's copy, if any.
set(FTVB_LINUX_MANUAL ${PROJECT_SOURCE_DIR}/build/main/doc/manual.html CACHE FILEPATH
    "doc/manual.html of a Linux build, shipped when this build cannot make it")
if(NOT TARGET ftvb_manual)
  if(EXISTS ${FTVB_LINUX_MANUAL})
    install(FILES ${FTVB_LINUX_MANUAL} DESTINATION .)
  else()
    message(STATUS "No HTML manual to ship: install cmark-gfm, or build the Linux side first")
  endif()
endif()

set(CPACK_PACKAGE_NAME ftvb)
set(CPACK_PACKAGE_VENDOR "the ftvb developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY ftvb)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_PACKAGE_FILE_NAME ftvb-${PROJECT_VERSION}-win64)
# The zip unpacks into a folder of its own; the installer names its file
# after what it is (cmake/windows/cpack-options.cmake).
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/windows/cpack-options.cmake)
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CPACK_NSIS_PACKAGE_NAME "ftvb ${PROJECT_VERSION}")
set(CPACK_NSIS_MUI_ICON ${FTVB_WINDOWS_DIR}/ftvb.ico)
include(CPack)
