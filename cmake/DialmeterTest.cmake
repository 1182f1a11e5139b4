# SPDX-License-Identifier: GPL-3.0-or-later
# add_dialmeter_test(NAME source... [WIDGETS] [LAUNCHER command...]): one QtTest program,
# registered with ctest, run through the launcher when one is given.
# Core tests link the core only; WIDGETS tests also link the windows and run offscreen.
function(add_dialmeter_test name)
  cmake_parse_arguments(T "WIDGETS" "" "LAUNCHER" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE dialmeter_core dialmeter_testsupport Qt6::Test)
  if(T_WIDGETS)
    target_link_libraries(${name} PRIVATE dialmeter_windows)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
