# The browser build (em++): collatzperm.js and .wasm for the page in web/, and
# the same program for node, collatzperm-node.js, a pipe-mode program.
#
# In the page, Asyncify lets the program's waits (a key, a line, a pause, a
# flush while rows stream) give the browser its turn with the C++ control flow
# as it is. Its stack holds the frames of a wait, from main down: 64 KiB is
# ample.
set(COLLATZPERM_WEB_LINK_OPTIONS -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)
set(COLLATZPERM_PAGE_LINK_OPTIONS
  ${COLLATZPERM_WEB_LINK_OPTIONS} -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536)
# Node has no page to yield to: its reads of standard input block and its
# pauses wait where they stand, so it needs no Asyncify, which about doubles
# the program's time (every function that may reach a wait carries code to
# unwind and rewind it). The files and standard streams of the process, and
# the .wasm inside the .js (node 20's fetch cannot load it from a path), and
# V8's baseline code only (console/web/node_flags.js says why).
set(COLLATZPERM_NODE_FLAGS ${CMAKE_CURRENT_SOURCE_DIR}/console/web/node_flags.js)
set(COLLATZPERM_NODE_LINK_OPTIONS
  ${COLLATZPERM_WEB_LINK_OPTIONS} -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1
  --pre-js ${COLLATZPERM_NODE_FLAGS})

target_link_options(collatzperm PRIVATE ${COLLATZPERM_PAGE_LINK_OPTIONS}
  -sENVIRONMENT=web -sMODULARIZE=1 -sEXPORT_NAME=createCollatzperm)

add_executable(collatzperm-node ${app_sources})
target_link_libraries(collatzperm-node PRIVATE driver commands pictures)
target_compile_definitions(collatzperm-node PRIVATE COLLATZPERM_VERSION="${PROJECT_VERSION}")
target_link_options(collatzperm-node PRIVATE ${COLLATZPERM_NODE_LINK_OPTIONS})
set_property(TARGET collatzperm-node APPEND PROPERTY LINK_DEPENDS ${COLLATZPERM_NODE_FLAGS})

# The static site around the browser program.
include(cmake/WebSite.cmake)
