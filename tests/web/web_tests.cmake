# The browser build's tests, under node: the suites above, the golden tour
# through collatzperm-node.js, one session in headless Chromium checked
# against the native program in a pseudo-terminal, and one on a phone.
target_link_options(collatzperm_tests PRIVATE ${COLLATZPERM_NODE_LINK_OPTIONS})
add_dependencies(collatzperm_tests collatzperm-node site)

add_test(NAME web_golden_tour
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/web/golden_tour.sh $<TARGET_FILE:collatzperm-node>
          ${CMAKE_CURRENT_SOURCE_DIR}/golden/tour.keys ${CMAKE_CURRENT_SOURCE_DIR}/golden/tour.transcript)

# The native program (make build) draws the reference screen.
set(COLLATZPERM_NATIVE_PROGRAM ${PROJECT_SOURCE_DIR}/build/collatzperm CACHE FILEPATH
    "The native program the browser session is compared with")
add_test(NAME web_browser_session
  COMMAND node ${CMAKE_CURRENT_SOURCE_DIR}/web/browser_session.mjs ${COLLATZPERM_SITE}
          ${COLLATZPERM_NATIVE_PROGRAM})
# The page on a phone, in Chromium's touch emulation; the native program
# counts the rows of a search.
add_test(NAME web_phone_session
  COMMAND node ${CMAKE_CURRENT_SOURCE_DIR}/web/phone_session.mjs ${COLLATZPERM_SITE} ${COLLATZPERM_NATIVE_PROGRAM})
add_test(NAME web_commands_golden
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/web/commands_golden.sh $<TARGET_FILE:collatzperm-node>
          ${CMAKE_CURRENT_SOURCE_DIR}/golden/commands.txt)
set_tests_properties(web_golden_tour web_commands_golden PROPERTIES TIMEOUT 120)
set_tests_properties(web_browser_session web_phone_session PROPERTIES TIMEOUT 300 RUN_SERIAL ON)
