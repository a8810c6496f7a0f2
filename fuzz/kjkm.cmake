# The subject-file parser (kjkm.dat). Its source is compiled into the target, so the parser itself
# carries the fuzzer's coverage instrumentation.
add_executable(fuzz_kjkm
  ${CMAKE_CURRENT_LIST_DIR}/fuzz_kjkm.cpp
  ${CMAKE_SOURCE_DIR}/src/exam/SubjectFile.cpp)
target_compile_options(fuzz_kjkm PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
target_link_options(fuzz_kjkm PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(fuzz_kjkm PRIVATE tarnex_common tarnex_platform)
set_target_properties(fuzz_kjkm PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
