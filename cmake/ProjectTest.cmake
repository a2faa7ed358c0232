# project_test(name SOURCES ... [LIBS ...] [ENVIRONMENT VAR=value ...])
# One GoogleTest executable, run by CTest as one test (under Wine in the Windows build:
# one Wine start per executable keeps the suite fast).
function(project_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(NOT T_ENVIRONMENT)
    set(T_ENVIRONMENT LC_ALL=C.UTF-8)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}" TIMEOUT 600)
endfunction()

# test_files_beside(test file...)
# What a Windows test reads or starts beside its executable (names relative to bin/):
# CTest checks that they are there, and scripts/package puts them into the Windows test
# kit with the test.
function(test_files_beside name)
  list(TRANSFORM ARGN PREPEND ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/ OUTPUT_VARIABLE files)
  set_tests_properties(${name} PROPERTIES REQUIRED_FILES "${files}")
endfunction()
