# The static site: the page, the program, and xterm.js from web/node_modules
# (npm ci in web/, which make web runs first). Nothing comes from elsewhere.
set(COLLATZPERM_SITE ${CMAKE_BINARY_DIR}/site)
set(COLLATZPERM_XTERM ${CMAKE_SOURCE_DIR}/web/node_modules/@xterm/xterm)
set(COLLATZPERM_PAGE_FILES
  ${CMAKE_SOURCE_DIR}/web/index.html ${CMAKE_SOURCE_DIR}/web/main.js
  ${CMAKE_SOURCE_DIR}/web/style.css ${CMAKE_SOURCE_DIR}/web/favicon.svg
  ${COLLATZPERM_XTERM}/lib/xterm.js ${COLLATZPERM_XTERM}/css/xterm.css
  ${CMAKE_SOURCE_DIR}/web/node_modules/@xterm/addon-fit/lib/addon-fit.js)
add_custom_target(site ALL
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${COLLATZPERM_SITE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${COLLATZPERM_SITE}
  COMMAND ${CMAKE_COMMAND} -E copy ${COLLATZPERM_PAGE_FILES}
          $<TARGET_FILE:collatzperm> $<TARGET_FILE_DIR:collatzperm>/collatzperm.wasm
          ${COLLATZPERM_SITE}
  DEPENDS collatzperm ${COLLATZPERM_PAGE_FILES}
  COMMENT "Putting the site together in ${COLLATZPERM_SITE}"
  VERBATIM)
