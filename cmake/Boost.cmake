# Boost's headers (Debian's libboost-dev) for the exact big integers of the
# explorer. Only a folder holding a link named boost reaches the compiler: a
# cross compiler that saw the host's /usr/include as a whole would take the
# host's C library too. Boost's own download (emscripten's port) needs the
# network, which a build must not.
find_path(COLLATZPERM_BOOST_INCLUDE_DIR boost/multiprecision/cpp_int.hpp
  PATHS /usr/include /usr/local/include
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT COLLATZPERM_BOOST_INCLUDE_DIR)
  message(FATAL_ERROR "Boost's headers are missing: install libboost-dev (apt-get install libboost-dev)")
endif()
set(COLLATZPERM_BOOST_LINK_DIR ${CMAKE_BINARY_DIR}/boost-headers)
file(MAKE_DIRECTORY ${COLLATZPERM_BOOST_LINK_DIR})
file(CREATE_LINK ${COLLATZPERM_BOOST_INCLUDE_DIR}/boost ${COLLATZPERM_BOOST_LINK_DIR}/boost SYMBOLIC)
# Before it, a stand-in for <iostream> that keeps the standard streams out of
# the statically linked programs (see boost-no-streams/iostream).
set(COLLATZPERM_BOOST_INCLUDE_DIRS ${CMAKE_CURRENT_LIST_DIR}/boost-no-streams
  ${COLLATZPERM_BOOST_LINK_DIR})
