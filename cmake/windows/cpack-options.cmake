# Read by cpack for each generator of the Windows build.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "ftvb-${CPACK_PACKAGE_VERSION}-setup")
  # The zip's top folder; an installer chooses its own.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
