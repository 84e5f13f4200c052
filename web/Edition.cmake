# The browser edition inside the desktop build: web/CMakeLists.txt is its
# own Emscripten project, built into <build>/web-wasm with the page and its
# module in <build>/web, and its core tested in Node by CTest.
find_program(ZK_EMCMAKE emcmake)
find_program(ZK_NODE node)
if(NOT ZK_EMCMAKE)
  message(STATUS "emcmake not found: the browser edition is left out (tools/install-deps.sh web installs it)")
  return()
endif()

# Emscripten's optimiser runs under Node and needs Debian's acorn.
set(zk_web_env ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(zk_web_launcher)
if(CMAKE_CXX_COMPILER_LAUNCHER)
  set(zk_web_launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
endif()

include(ExternalProject)
ExternalProject_Add(web_edition
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/web-wasm
  CONFIGURE_COMMAND ${zk_web_env} ${ZK_EMCMAKE} ${CMAKE_COMMAND} -S <SOURCE_DIR> -B <BINARY_DIR> -G Ninja
                    -DCMAKE_BUILD_TYPE=Release -DZK_WEB_OUTPUT=${CMAKE_BINARY_DIR}/web ${zk_web_launcher}
  BUILD_COMMAND ${zk_web_env} ${CMAKE_COMMAND} --build <BINARY_DIR>
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)

if(ZK_BUILD_TESTS AND ZK_NODE)
  add_test(NAME web_core COMMAND ${ZK_NODE} --test ${CMAKE_CURRENT_LIST_DIR}/tests/core.test.mjs)
  set_tests_properties(web_core PROPERTIES ENVIRONMENT ZK_WEB_WASM=${CMAKE_BINARY_DIR}/web-wasm)
endif()

# The page itself in headless Chromium, with the virtual radio behind a
# stand-in for navigator.serial.
find_program(ZK_CHROMIUM NAMES chromium-headless-shell chromium)
find_package(Python3 COMPONENTS Interpreter)
if(ZK_BUILD_TESTS AND ZK_CHROMIUM AND Python3_FOUND)
  add_test(NAME web_page COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/tests/browser/run_page_test.py
                                 ${ZK_CHROMIUM} ${CMAKE_BINARY_DIR}/web ${CMAKE_BINARY_DIR}/web-wasm)
  set_tests_properties(web_page PROPERTIES TIMEOUT 600)
endif()
