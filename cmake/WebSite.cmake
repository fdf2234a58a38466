# The static site: the page, the program, and xterm.js from web/node_modules
# (npm ci in web/, which make web runs first). Nothing comes from elsewhere.
# Then the icons for a home screen and the service worker that keeps the site
# offline, under a cache name from the site's content. The full guide,
# docs/GUIDE.md, goes in as a page of its own.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(COLLATZPERM_NODE node REQUIRED)
set(COLLATZPERM_SITE ${CMAKE_BINARY_DIR}/site)
set(COLLATZPERM_PACKAGES ${CMAKE_SOURCE_DIR}/web/node_modules/@xterm)
set(COLLATZPERM_XTERM ${COLLATZPERM_PACKAGES}/xterm)
set(COLLATZPERM_PAGE_FILES
  ${CMAKE_SOURCE_DIR}/web/index.html ${CMAKE_SOURCE_DIR}/web/style.css
  ${CMAKE_SOURCE_DIR}/web/main.js ${CMAKE_SOURCE_DIR}/web/fit.js
  ${CMAKE_SOURCE_DIR}/web/help.js ${CMAKE_SOURCE_DIR}/web/help_de.html ${CMAKE_SOURCE_DIR}/web/help_en.html
  ${CMAKE_SOURCE_DIR}/web/keys.js ${CMAKE_SOURCE_DIR}/web/language.js
  ${CMAKE_SOURCE_DIR}/web/link.js ${CMAKE_SOURCE_DIR}/web/output.js
  ${CMAKE_SOURCE_DIR}/web/reader.js ${CMAKE_SOURCE_DIR}/web/resize.js ${CMAKE_SOURCE_DIR}/web/stored.js
  ${CMAKE_SOURCE_DIR}/web/xterm_tuning.js
  ${CMAKE_SOURCE_DIR}/web/favicon.svg ${CMAKE_SOURCE_DIR}/web/manifest.webmanifest
  ${COLLATZPERM_XTERM}/lib/xterm.mjs ${COLLATZPERM_XTERM}/css/xterm.css
  ${COLLATZPERM_PACKAGES}/addon-fit/lib/addon-fit.mjs
  ${COLLATZPERM_PACKAGES}/addon-webgl/lib/addon-webgl.mjs)
set(COLLATZPERM_SITE_SCRIPTS
  ${CMAKE_SOURCE_DIR}/web/finish_site.py ${CMAKE_SOURCE_DIR}/web/service_worker.js
  ${CMAKE_SOURCE_DIR}/app/windows/make_icon.py
  ${CMAKE_SOURCE_DIR}/web/make_guide.mjs ${CMAKE_SOURCE_DIR}/docs/GUIDE.md)
# The picture: its control and placement load with the page; its drawing (with
# D3's d3-zoom, bundled by esbuild into one module and its CSS) the first time
# it opens.
set(COLLATZPERM_PICTURE ${CMAKE_SOURCE_DIR}/web/picture)
set(COLLATZPERM_PICTURE_FILES ${COLLATZPERM_PICTURE}/control.js ${COLLATZPERM_PICTURE}/layout.css)
file(GLOB COLLATZPERM_PICTURE_SOURCES CONFIGURE_DEPENDS ${COLLATZPERM_PICTURE}/*.js ${COLLATZPERM_PICTURE}/*.css)
set(COLLATZPERM_ESBUILD ${CMAKE_SOURCE_DIR}/web/node_modules/.bin/esbuild)
add_custom_target(site ALL
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${COLLATZPERM_SITE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${COLLATZPERM_SITE}/picture
  COMMAND ${CMAKE_COMMAND} -E copy ${COLLATZPERM_PAGE_FILES}
          $<TARGET_FILE:collatzperm> $<TARGET_FILE_DIR:collatzperm>/collatzperm.wasm
          ${COLLATZPERM_SITE}
  COMMAND ${CMAKE_COMMAND} -E copy ${COLLATZPERM_PICTURE_FILES} ${COLLATZPERM_SITE}/picture
  COMMAND ${COLLATZPERM_ESBUILD} ${COLLATZPERM_PICTURE}/viewer.js --bundle --format=esm --minify
          --log-level=warning --outfile=${COLLATZPERM_SITE}/picture/viewer.js
  COMMAND ${COLLATZPERM_NODE} ${CMAKE_SOURCE_DIR}/web/make_guide.mjs ${CMAKE_SOURCE_DIR}/docs/GUIDE.md
          ${COLLATZPERM_SITE}/guide.html
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/web/finish_site.py ${COLLATZPERM_SITE}
          ${CMAKE_SOURCE_DIR}/web/service_worker.js
  DEPENDS collatzperm ${COLLATZPERM_PAGE_FILES} ${COLLATZPERM_PICTURE_SOURCES} ${COLLATZPERM_SITE_SCRIPTS}
  COMMENT "Putting the site together in ${COLLATZPERM_SITE}"
  VERBATIM)
