add_executable(bench_post ${CMAKE_CURRENT_LIST_DIR}/bench_post.cpp)
target_link_libraries(bench_post PRIVATE tarnex_common tarnex_data benchmark::benchmark)
set_target_properties(bench_post PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
