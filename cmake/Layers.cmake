# The layers are kept by the link graph: a layer's headers can be included
# only by a target that links the layer's library.
#
# mireto_layer(<target> <folder> [BASE <dir>]) gives each header listed in the
# target's sources a one-line forwarding header <folder>/<path>, <path> taken
# from <dir> (default: the target's source folder), under an include root
# of the target's own in the build tree, and exports that root to whoever
# links the target. No project folder itself is an include root, so
#   #include "data/ToiBank.h"  or  #include <data/ToiBank.h>
# compiles only where mireto_data is linked, in any file and any subfolder.
# A header must be listed in its target's sources to be reachable at all.
#
# Each listed header is also compiled on its own, in its own layer (a
# one-line source under layers/<target>-alone/), so a header that no source
# of its layer includes still cannot reach a layer its library does not link,
# and every header compiles without help from what was included before it.
# Each layer's library waits for the include check (mireto_layers), so
# building one library alone runs that check too.
#
# What the compiler cannot see is left to cmake/CheckLayers.cmake: an include
# that climbs out of its folder ("../") or names a layer folder beside the
# including file, and libjpeg (on the compiler's default path) in a layer
# that knows no pictures.
function(mireto_layer target folder)
  cmake_parse_arguments(ARG "" "BASE" "" ${ARGN})
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(base ${source_dir})
  if(ARG_BASE)
    set(base ${ARG_BASE})
  endif()
  set(made)
  set(alone_root ${PROJECT_BINARY_DIR}/layers/${target}-alone)
  set(alone)
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.h$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir} NORMALIZE OUTPUT_VARIABLE header)
    file(RELATIVE_PATH inside ${base} ${header})
    set(forward ${root}/${folder}/${inside})
    # Written only when it changes, so a new configure rebuilds nothing.
    file(CONFIGURE OUTPUT ${forward} CONTENT "#include \"${header}\"\n")
    list(APPEND made ${forward})
    set(alone_source ${alone_root}/${inside}.cpp)
    file(CONFIGURE OUTPUT ${alone_source} CONTENT "#include <${folder}/${inside}>\n")
    list(APPEND alone ${alone_source})
  endforeach()
  file(GLOB_RECURSE old_alone LIST_DIRECTORIES false ${alone_root}/*)
  foreach(file IN LISTS old_alone)
    if(NOT file IN_LIST alone)
      file(REMOVE ${file})
    endif()
  endforeach()
  target_sources(${target} PRIVATE ${alone})
  set_source_files_properties(${alone} PROPERTIES SKIP_AUTOMOC ON SKIP_AUTOUIC ON)
  add_dependencies(${target} mireto_layers)
  # A header dropped from the sources is no longer reachable.
  file(GLOB_RECURSE old LIST_DIRECTORIES false ${root}/*)
  foreach(file IN LISTS old)
    if(NOT file IN_LIST made)
      file(REMOVE ${file})
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
