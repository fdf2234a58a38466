# The browser build's tests, under node: the suites above, the golden tour
# through collatzperm-node.js, one session in headless Chromium checked
# against the native program in a pseudo-terminal, and one on a phone.
target_link_options(collatzperm_tests PRIVATE ${COLLATZPERM_NODE_LINK_OPTIONS})
add_dependencies(collatzperm_tests collatzperm-node site)

add_test(NAME web_golden_tour
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/web/golden_tour.sh $<TARGET_FILE:collatzperm-node>
          ${CMAKE_CURRENT_SOURCE_DIR}/golden/tour.keys ${CMAKE_CURRENT_SOURCE_DIR}/golden/tour.transcript)
add_test(NAME web_golden_tour_en
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/web/golden_tour.sh $<TARGET_FILE:collatzperm-node>
          ${CMAKE_CURRENT_SOURCE_DIR}/golden/tour.keys ${CMAKE_CURRENT_SOURCE_DIR}/golden/tour_en.transcript
          --language=en)

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
# The examples of the page's help and of the guide, as the native program shows them.
add_test(NAME web_help_examples
  COMMAND node ${CMAKE_CURRENT_SOURCE_DIR}/web/help_examples.mjs ${COLLATZPERM_NATIVE_PROGRAM} ${PROJECT_SOURCE_DIR})
# A resize keeps the cursor on its cell, on xterm.js's headless build.
add_test(NAME web_resize_cursor COMMAND node ${CMAKE_CURRENT_SOURCE_DIR}/web/resize_cursor.mjs)
add_test(NAME web_commands_golden
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/web/commands_golden.sh $<TARGET_FILE:collatzperm-node>
          ${CMAKE_CURRENT_SOURCE_DIR}/golden/commands.txt)
set_tests_properties(web_golden_tour web_golden_tour_en web_commands_golden PROPERTIES TIMEOUT 120)
set_tests_properties(web_browser_session web_phone_session PROPERTIES TIMEOUT 300 RUN_SERIAL ON)
