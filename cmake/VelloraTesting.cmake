# One helper for every test executable: one binary per module, discovered by CTest.
#   vellora_add_test_suite(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [QT_OFFSCREEN] [OWN_MAIN])
# QT_OFFSCREEN runs the tests on Qt's offscreen platform; OWN_MAIN leaves main() to the suite.
include(GoogleTest)

function(vellora_add_test_suite name)
  cmake_parse_arguments(ARG "QT_OFFSCREEN;OWN_MAIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(env "VELLORA_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data")
  if(ARG_QT_OFFSCREEN)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
