# Runs the Windows programs of a cross build under Wine: the sample bank's
# tools during the build and every test under ctest. A wrapper script in the
# build folder gives each run the Wine prefix of this build folder (made on
# first use), the folders of the Qt and MinGW DLLs, and quiet Wine logs;
# it is the CMAKE_CROSSCOMPILING_EMULATOR of every target made after this.
find_program(MIRETO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH REQUIRED)
get_target_property(qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT qt_core)
  get_target_property(qt_core Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(qt_bin ${qt_core} DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
  OUTPUT_VARIABLE runtime_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(runtime_bin ${runtime_dll} DIRECTORY)
# Windows sees the Linux root as drive Z:.
set(MIRETO_WINE_PATH "Z:${qt_bin};Z:${runtime_bin};Z:/usr/${MINGW_TRIPLET}/lib")
set(MIRETO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
# Qt's offscreen platform on Windows reads its fonts from one folder: the
# Japanese fonts the Linux tests use (fonts-ipafont-gothic).
find_path(MIRETO_TEST_FONT_DIR ipagp.ttf PATHS /usr/share/fonts/opentype/ipafont-gothic
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT MIRETO_TEST_FONT_DIR)
  message(FATAL_ERROR "IPA P Gothic not found: install fonts-ipafont-gothic")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
# Paths compiled into the tests are Linux paths; Windows reaches them on Z:.
set(MIRETO_HOST_DRIVE "Z:")
