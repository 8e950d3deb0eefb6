# The Debian package, made by `cpack` in a configured build folder
# (scripts/build-deb.sh does it all). Included by the top-level CMakeLists.txt
# after every install rule is known.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mireto)
set(CPACK_PACKAGE_VENDOR "MIRETO for DATAQUALIFY developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MIRETO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries are found by dpkg-shlibdeps; the Japanese font and Qt's
# Japanese texts (はい/いいえ on message boxes) are loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drill for a database certification exam (Japanese)")
# The summary above is the synopsis; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "MIRETO for DATAQUALIFY is a daily drill for learners preparing for a database
certification exam, with a Japanese user interface. The learner picks one of
five play modes and a difficulty, answers each question by ticking check boxes
or typing the answer before the countdown runs out, and sees at once whether
it was right, with the correct answer and an explanation.
.
The learner's progress (correct answers per question, difficulty, nine save
slots) is kept in the learner's home folder, under
~/.local/share/${MIRETO_APP_ID}/, and is never
touched by an upgrade or a removal of the package.
.
The package also holds the tools for writing question banks and their
pictures.")
include(CPack)
