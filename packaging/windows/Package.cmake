# The Windows installer (NSIS: mireto-<version>-win64-setup.exe) and the
# portable zip of the same files (mireto-<version>-win64.zip), made by
# `cpack -G "NSIS;ZIP"` in a configured cross build (scripts/build-windows.sh).
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_PACKAGE_NAME mireto)
set(CPACK_PACKAGE_VENDOR "MIRETO for DATAQUALIFY developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "mireto-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "MIRETO for DATAQUALIFY")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drill for a database certification exam (Japanese)")
set(CPACK_STRIP_FILES ON)
# The installer gets its own name; the zip keeps the package's.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagePerGenerator.cmake)

# NSIS makes 32-bit installers by default, which a 64-bit-only Wine (and a
# Windows without its 32-bit layer) cannot start.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_PACKAGE_NAME "MIRETO for DATAQUALIFY")
set(CPACK_NSIS_DISPLAY_NAME "MIRETO for DATAQUALIFY")
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# Our own template (NSIS.template.in here): per-user or all-users install,
# the Start-menu entries, an uninstaller that leaves the learner's folder.
list(PREPEND CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_NSIS_MIRETO_APP_ID ${MIRETO_APP_ID})
if(MIRETO_WINDOWS_ICON)
  set(CPACK_NSIS_MIRETO_ICON_CODE "!define MUI_ICON \"${MIRETO_WINDOWS_ICON}\"\n!define MUI_UNICON \"${MIRETO_WINDOWS_ICON}\"")
endif()
# The licence page reads LICENSE once the tree has one.
if(EXISTS ${MIRETO_LICENSE_FILE})
  set(CPACK_NSIS_MIRETO_LICENSE_PAGE "!insertmacro MUI_PAGE_LICENSE \"${MIRETO_LICENSE_FILE}\"")
endif()
# The values reach cpack as they are, quotes and line breaks included.
set(CPACK_VERBATIM_VARIABLES TRUE)
include(CPack)
