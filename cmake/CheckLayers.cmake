# Fails when a source file includes a header of a layer that its own layer
# may not use. Run by the build (src/CMakeLists.txt) with SOURCE_DIR and STAMP.
#
# Each folder lists the project folders its files may include from. Qt and
# libjpeg headers are kept out of the Qt-free layers by their not linking
# them; this check also keeps a Qt include out of their headers.
cmake_policy(SET CMP0057 NEW) # IN_LIST
cmake_policy(SET CMP0007 NEW)
set(allowed_text     "platform;text")
set(allowed_data     "platform;text;data")
set(allowed_drill    "platform;text;data;drill")
set(allowed_saveload "platform;text;data;drill;saveload")
set(allowed_picture  "platform;text;picture")
set(allowed_window   "platform;text;data;drill;saveload;picture;window")
set(allowed_app      "platform;text;data;drill;saveload;picture;window;app")
set(allowed_bank     "platform;text;data;bank")
set(qt_free text data drill saveload bank)

set(problems "")
foreach(layer text data drill saveload picture window app bank)
  if(layer STREQUAL "bank")
    set(folder ${SOURCE_DIR}/tools/bank)
  else()
    set(folder ${SOURCE_DIR}/src/${layer})
  endif()
  file(GLOB files ${folder}/*.h ${folder}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z]+)/")
        set(used ${CMAKE_MATCH_1})
        if(NOT used IN_LIST allowed_${layer})
          string(APPEND problems "  ${file}: ${layer}/ may not include ${used}/ (${line})\n")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*\"")
        string(APPEND problems "  ${file}: include project headers with their folder (${line})\n")
      elseif(layer IN_LIST qt_free AND line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*|jpeglib\\.h)>")
        string(APPEND problems "  ${file}: ${layer}/ knows no Qt and no libjpeg (${line})\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Layer check failed:\n${problems}")
endif()
file(TOUCH ${STAMP})
