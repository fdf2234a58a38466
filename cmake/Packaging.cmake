# `make package`: a Debian package of the installed files (binary, man page
# and doc folder); `make package-windows`: a zip of the .exe and README.txt.
set(COLLATZPERM_MAINTAINER "collatzperm maintainers <maintainers@collatzperm.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME collatzperm)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${COLLATZPERM_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "An interactive terminal program that finds every start number whose\n"
    "Collatz sequence reaches 1 after exactly i steps (the permutations of\n"
    "2^i), for 3n+1 and 3n-1, with plain or compressed steps, lists their\n"
    "sequences and explores single sequences. Its texts are German. It can\n"
    "be scripted through pipes.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # Unpacked by Explorer's "Extract all" into a folder of the zip's name: no
  # second folder of the same name inside it.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME collatzperm-${PROJECT_VERSION}-windows-x86_64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  include(CPack)
  return()
endif()

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${COLLATZPERM_MAINTAINER}")
# Let dpkg-shlibdeps work out the exact libc/libstdc++ versions the binary needs;
# without it, name the two libraries the program links against.
# A cross build names them too: dpkg-shlibdeps knows only this machine's own
# libraries. Its package is for the target's architecture, not this machine's.
find_program(COLLATZPERM_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
endif()
if(COLLATZPERM_DPKG_SHLIBDEPS AND NOT CMAKE_CROSSCOMPILING)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
endif()

include(CPack)
