# Compile settings shared by every target of the project: link tarnex_common.
add_library(tarnex_common INTERFACE)
target_compile_features(tarnex_common INTERFACE cxx_std_20)
target_compile_definitions(tarnex_common INTERFACE
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_FOREACH
  QT_NO_KEYWORDS)
target_compile_options(tarnex_common INTERFACE -Wall -Wextra -Wold-style-cast)
if(TARNEX_WERROR)
  target_compile_options(tarnex_common INTERFACE -Werror)
endif()
if(TARNEX_SANITIZE)
  target_compile_options(tarnex_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(tarnex_common INTERFACE -fsanitize=address,undefined)
endif()

# tarnex_add_gtest(NAME SOURCES ... LIBS ...): one GoogleTest program whose cases CTest lists
# one by one, each run on the offscreen platform.
function(tarnex_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE tarnex_common tarnex_test_support ${ARG_LIBS} GTest::gtest)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    # The program folder and source tree reach the tests as compile definitions of the
    # test support library (tests/CMakeLists.txt).
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT 300)
endfunction()
