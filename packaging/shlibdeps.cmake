# Read by cpack before it makes the Debian package: puts the packages of the libraries
# that the programs link in front of the dependencies the package names itself.
# Set by the caller: KELIDOR_PACKAGED_PROGRAMS (the built programs), KELIDOR_SHLIBDEPS_FOLDER.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
find_program(KELIDOR_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(NOT KELIDOR_DPKG_SHLIBDEPS)
  message(FATAL_ERROR "dpkg-shlibdeps not found (package dpkg-dev): the package's dependencies cannot be found")
endif()
# dpkg-shlibdeps runs in a source package's folder: an empty control file stands for it.
file(MAKE_DIRECTORY "${KELIDOR_SHLIBDEPS_FOLDER}/debian")
file(WRITE "${KELIDOR_SHLIBDEPS_FOLDER}/debian/control" "")
execute_process(
  COMMAND ${KELIDOR_DPKG_SHLIBDEPS} --ignore-missing-info -O ${KELIDOR_PACKAGED_PROGRAMS}
  WORKING_DIRECTORY "${KELIDOR_SHLIBDEPS_FOLDER}"
  OUTPUT_VARIABLE shlibdepsOutput
  ERROR_VARIABLE shlibdepsError
  RESULT_VARIABLE shlibdepsResult
  OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT shlibdepsResult EQUAL 0 OR NOT shlibdepsOutput MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps failed on ${KELIDOR_PACKAGED_PROGRAMS}:\n${shlibdepsError}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
