# One helper registers every test executable: each GoogleTest case becomes a
# ctest test that runs on Qt's offscreen platform with a private runtime
# folder, so no display and no desktop session are needed.
include(GoogleTest)

set(MIRETO_TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/test-runtime)
file(MAKE_DIRECTORY ${MIRETO_TEST_RUNTIME_DIR})
file(CHMOD ${MIRETO_TEST_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# On Windows (run under Wine in a cross build) the cases listed in
# tests/windows-excluded.txt are left out (each with its reason there and in
# the README), the POSIX calls the tests make to set up their files come from
# tests/support/windows/PosixForTests.h, and WINDOWS_RESOURCE_LOCK keeps the
# executable's tests from overlapping.
if(WIN32)
  file(STRINGS ${PROJECT_SOURCE_DIR}/tests/windows-excluded.txt excluded REGEX "^[A-Za-z]")
  list(TRANSFORM excluded REPLACE "[ \t].*" "")
  list(JOIN excluded ":" MIRETO_WINDOWS_EXCLUDED)
endif()

function(mireto_add_test name)
  cmake_parse_arguments(ARG "" "WINDOWS_RESOURCE_LOCK" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest ${ARG_LIBRARIES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    MIRETO_SOURCE_DIR="${MIRETO_HOST_DRIVE}${PROJECT_SOURCE_DIR}"
    MIRETO_BINARY_DIR="${MIRETO_HOST_DRIVE}${PROJECT_BINARY_DIR}")
  # Only one ENVIRONMENT entry survives test discovery intact; the rest of
  # the test environment (time zone, runtime folder, sanitizer options) is set
  # by the test programs themselves (tests/support/TestEnvironment.cpp).
  if(WIN32)
    target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/support/windows/PosixForTests.h)
    set(windows_properties TIMEOUT 300)
    if(ARG_WINDOWS_RESOURCE_LOCK)
      list(APPEND windows_properties RESOURCE_LOCK ${ARG_WINDOWS_RESOURCE_LOCK})
    endif()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      TEST_FILTER "-${MIRETO_WINDOWS_EXCLUDED}"
      PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen ${windows_properties})
    return()
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT 120)
endfunction()
