# The INI reader and writer of ci.ini. Its source is compiled into the target, so the reader itself
# carries the fuzzer's coverage instrumentation.
add_executable(fuzz_ini
  ${CMAKE_CURRENT_LIST_DIR}/fuzz_ini.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/IniFile.cpp)
target_compile_options(fuzz_ini PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
target_link_options(fuzz_ini PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(fuzz_ini PRIVATE tarnex_common tarnex_platform)
set_target_properties(fuzz_ini PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
