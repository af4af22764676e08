# The finisher's runtime: its pieces (C++), its helpers run in LibreOffice
# Basic against gfortran, and whole FORTRAN programs finished and run.
add_executable(finish_runtime_tests finish/runtime_test.cpp)
target_link_libraries(finish_runtime_tests PRIVATE ftvb_finish_runtime GTest::gtest_main)
ftvb_add_gtest(finish_runtime_tests)
