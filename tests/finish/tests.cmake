# The finisher's runtime: its pieces (C++), its helpers run in LibreOffice
# Basic against gfortran, and whole FORTRAN programs finished and run.
add_executable(finish_runtime_tests finish/runtime_test.cpp)
target_link_libraries(finish_runtime_tests PRIVATE ftvb_finish_runtime GTest::gtest_main)
ftvb_add_gtest(finish_runtime_tests)

add_executable(finish_runtime_dump finish/runtime_dump.cpp)
target_link_libraries(finish_runtime_dump PRIVATE ftvb_finish_runtime)

# LibreOffice's Python bridge lives in the system's Python, which need not be
# the first python3 on the PATH.
set(FTVB_UNO_PYTHON "" CACHE FILEPATH "A Python 3 with the UNO bridge (Debian python3-uno)")
if(NOT FTVB_UNO_PYTHON)
  find_program(FTVB_PATH_PYTHON python3)
  foreach(candidate ${FTVB_PATH_PYTHON} /usr/bin/python3)
    execute_process(COMMAND ${candidate} -c "import uno" RESULT_VARIABLE noUno
                    OUTPUT_QUIET ERROR_QUIET)
    if(noUno EQUAL 0)
      set(FTVB_UNO_PYTHON ${candidate} CACHE FILEPATH "A Python 3 with the UNO bridge" FORCE)
      break()
    endif()
  endforeach()
  if(NOT FTVB_UNO_PYTHON)
    set(FTVB_UNO_PYTHON ${FTVB_PATH_PYTHON})   # the tests then skip, saying why
  endif()
endif()

if(NOT WIN32 AND FTVB_UNO_PYTHON AND NOT FTVB_SANITIZE)
  # Each helper run in LibreOffice Basic, against gfortran on the same values.
  # (Not in the sanitizer build: nothing of ours in C++ runs in these.)
  add_test(NAME Finish.RuntimeAgreesWithGfortran
    COMMAND ${FTVB_UNO_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/finish/runtime_lo_test.py
            --dump $<TARGET_FILE:finish_runtime_dump> --work ${CMAKE_CURRENT_BINARY_DIR}/finish-runtime)
  set_tests_properties(Finish.RuntimeAgreesWithGfortran PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)

  # The harness itself: errors with their places, timeouts, projects.
  add_test(NAME Finish.LibreOfficeHarness
    COMMAND ${FTVB_UNO_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/finish/lobasic_test.py)
  set_tests_properties(Finish.LibreOfficeHarness PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()

if(NOT WIN32 AND FTVB_UNO_PYTHON)

  # The checker of what VBA refuses and LibreOffice accepts, on small
  # modules and on the whole runtime.
  add_test(NAME Finish.VbaStrictChecker
    COMMAND ${FTVB_UNO_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/finish/vba_strict_test.py
            $<TARGET_FILE:finish_runtime_dump>)

  # How outputs are compared: words equal, numbers to the digits printed.
  add_test(NAME Finish.NumbersCompare
    COMMAND ${FTVB_UNO_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/finish/numbers_compare_test.py)

  # Whole programs: gfortran's output against the finished module's in
  # LibreOffice; programs/EXPECTED_FAILURES lists those not passing yet.
  add_test(NAME Finish.ProgramsAgreeWithGfortran
    COMMAND ${FTVB_UNO_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/finish/programs_test.py
            --convert $<TARGET_FILE:ftvb-convert> --work ${CMAKE_CURRENT_BINARY_DIR}/finish-programs)
  set_tests_properties(Finish.ProgramsAgreeWithGfortran PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)

  # Every real LAPACK routine finished in one run: within VBA's limits,
  # nothing VBA refuses, and compiled in LibreOffice.
  add_test(NAME Finish.LapackCompiles
    COMMAND ${FTVB_UNO_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/finish/lapack_compiles.py
            --convert $<TARGET_FILE:ftvb-convert> --work ${CMAKE_CURRENT_BINARY_DIR}/finish-lapack)
  set_tests_properties(Finish.LapackCompiles PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900)
endif()
