# The finisher's VBA runtime: finish/runtime.bas, built into the program as
# bytes by a generated source, and the code that picks the pieces a module
# needs.
set(FTVB_RUNTIME_BAS_CPP ${PROJECT_BINARY_DIR}/generated/finish/runtime_bas.cpp)
add_custom_command(
  OUTPUT ${FTVB_RUNTIME_BAS_CPP}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/finish/runtime.bas
          -DOUTPUT=${FTVB_RUNTIME_BAS_CPP} -P ${PROJECT_SOURCE_DIR}/finish/runtime_embed.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/finish/runtime.bas ${PROJECT_SOURCE_DIR}/finish/runtime_embed.cmake
  COMMENT "Building the VBA runtime into the program"
  VERBATIM)
add_library(ftvb_finish_runtime STATIC
  ${PROJECT_SOURCE_DIR}/finish/runtime.cpp
  ${FTVB_RUNTIME_BAS_CPP})
target_include_directories(ftvb_finish_runtime PUBLIC ${PROJECT_SOURCE_DIR})
