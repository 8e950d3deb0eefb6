# Plants a small tree with each include the compiler cannot refuse, runs the
# layer check on it and expects every one named; then the same tree without
# them passes.
file(REMOVE_RECURSE ${PLANT})
file(WRITE ${PLANT}/src/data/deep/Climbs.cpp "#include \"../../window/Unit1.h\"\n")
file(WRITE ${PLANT}/tools/bank/Reader.h "#pragma once\n")
file(WRITE ${PLANT}/tools/Beside.cpp "#include \"bank/Reader.h\"\n")
file(WRITE ${PLANT}/src/drill/Jpeg.cpp "#include <jpeglib.h>\n")
file(WRITE ${PLANT}/tests/window/QtBySystem.cpp "#include <qt6/QtWidgets/QWidget>\n")
file(WRITE ${PLANT}/src/picture/Fine.cpp "#include <jpeglib.h>\n#include \"text/Unit2.h\"\n")
file(WRITE ${PLANT}/tools/Fine.cpp "#include <bank/Reader.h>\n")

execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PLANT} -P ${CHECK}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a planted tree:\n${output}")
endif()
foreach(expected "src/data/deep/Climbs.cpp: includes by a path out of its folder"
                 "tools/Beside.cpp: finds bank/Reader.h beside itself"
                 "src/drill/Jpeg.cpp: knows no pictures"
                 "tests/window/QtBySystem.cpp: includes Qt by the system folder")
  string(FIND "${output}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not name \"${expected}\":\n${output}")
  endif()
endforeach()
foreach(fine "Fine.cpp")
  string(FIND "${output}" "${fine}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the check refused an allowed include:\n${output}")
  endif()
endforeach()

file(REMOVE ${PLANT}/src/data/deep/Climbs.cpp ${PLANT}/tools/Beside.cpp ${PLANT}/src/drill/Jpeg.cpp
     ${PLANT}/tests/window/QtBySystem.cpp)
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PLANT} -P ${CHECK}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the check refused a clean tree:\n${output}")
endif()
