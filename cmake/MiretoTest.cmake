# One helper registers every test executable: each GoogleTest case becomes a
# ctest test that runs on Qt's offscreen platform with a private runtime
# folder, so no display and no desktop session are needed.
include(GoogleTest)

set(MIRETO_TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/test-runtime)
file(MAKE_DIRECTORY ${MIRETO_TEST_RUNTIME_DIR})
file(CHMOD ${MIRETO_TEST_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

function(mireto_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest ${ARG_LIBRARIES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    MIRETO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    MIRETO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # Only one ENVIRONMENT entry survives test discovery intact; the rest of
  # the test environment (time zone, runtime folder, sanitizer options) is set
  # by the test programs themselves (tests/support/TestEnvironment.cpp).
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT 120)
endfunction()
