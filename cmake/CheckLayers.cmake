# What the compiler cannot see of the layers (cmake/Layers.cmake keeps the
# rest through the link graph). Run by the build (src/CMakeLists.txt) with
# SOURCE_DIR and STAMP, and by the layer test on a planted tree. Fails on
#   - an include that climbs out of its folder ("../") or names an absolute
#     path: it would reach a header without linking its layer;
#   - a quoted include of a layer folder found beside the including file
#     (tools/ holds tools/bank): the compiler looks there before any include
#     root, so the link graph would not be asked;
#   - a Qt header spelled through the system folder (<qt6/...>), which is on
#     the compiler's default path;
#   - libjpeg, also on the default path, in a layer that knows no pictures.
cmake_policy(SET CMP0057 NEW) # IN_LIST
cmake_policy(SET CMP0007 NEW)
set(layer_folders text data drill saveload picture window app bank)
# Folders whose files know no pictures: the Qt-free layers and their tests.
set(no_jpeg src/text src/data src/drill src/saveload tools/bank
    tests/text tests/data tests/drill tests/saveload)

set(problems "")
file(GLOB_RECURSE files
  ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp
  ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/bench/*.cpp
  ${SOURCE_DIR}/fuzz/*.h ${SOURCE_DIR}/fuzz/*.cpp)
foreach(file IN LISTS files)
  file(RELATIVE_PATH relative ${SOURCE_DIR} ${file})
  get_filename_component(folder ${file} DIRECTORY)
  set(knows_no_jpeg FALSE)
  foreach(prefix IN LISTS no_jpeg)
    string(FIND "${relative}" "${prefix}/" at)
    if(at EQUAL 0)
      set(knows_no_jpeg TRUE)
    endif()
  endforeach()
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(NOT line MATCHES "#[ \t]*include[ \t]*([<\"])([^>\"]*)[>\"]")
      continue()
    endif()
    set(quote "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    if(name MATCHES "(^|/)\\.\\.(/|$)" OR name MATCHES "^/")
      string(APPEND problems "  ${relative}: includes by a path out of its folder (${line})\n")
    elseif(quote STREQUAL "\"" AND name MATCHES "^([a-z]+)/" AND CMAKE_MATCH_1 IN_LIST layer_folders
           AND EXISTS ${folder}/${name})
      string(APPEND problems "  ${relative}: finds ${name} beside itself, not through its library (${line})\n")
    elseif(name MATCHES "^qt6/")
      string(APPEND problems "  ${relative}: includes Qt by the system folder, not by linking it (${line})\n")
    elseif(knows_no_jpeg AND name MATCHES "^(jpeglib|jerror|jconfig|jmorecfg)\\.h$")
      string(APPEND problems "  ${relative}: knows no pictures and so no libjpeg (${line})\n")
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Layer check failed:\n${problems}")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
