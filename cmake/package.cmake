# SPDX-License-Identifier: MIT
# The packages, made by CPack from the install rules: on Linux the Debian
# package, for Windows the zip (tools/package.sh makes the MSI from the
# same installed files).
include(${CMAKE_CURRENT_LIST_DIR}/changelog.cmake)
set(CPACK_PACKAGE_NAME varnola)
set(CPACK_PACKAGE_VENDOR "The Varnola developers")
set(CPACK_PACKAGE_CONTACT "${VARNOLA_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "normalise the level of PCM wave files in place")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME Varnola-${PROJECT_VERSION}-win64)
  else()
    set(CPACK_PACKAGE_FILE_NAME Varnola-${PROJECT_VERSION}-win32)
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries come from the binary; the font is what the status texts
  # and labels are drawn in, which no library names.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-vlgothic | fonts-noto-cjk")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # The synopsis line comes from the summary above.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Varnola brings the loudest sample of an uncompressed PCM wave file to full
scale. Files dropped on its small window, or chosen with its File button,
are checked and measured, and a copy scaled by an integer gain replaces each
file in one step, so that a failure leaves the file as it was.

It rewrites 8- and 16-bit files, leaves other bit depths untouched and
refuses files of other formats. The rewritten file keeps only the format
and the samples; tags, cue points and broadcast-wave metadata are dropped.
The status texts are Japanese.")
endif()
include(CPack)
