# Hand-in in the rules layer for a 300-question paper.
add_executable(bench_scoring ${CMAKE_CURRENT_LIST_DIR}/bench_scoring.cpp)
target_link_libraries(bench_scoring PRIVATE tarnex_common tarnex_exam tarnex_data benchmark::benchmark)
set_target_properties(bench_scoring PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
