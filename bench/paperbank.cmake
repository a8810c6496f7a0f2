# Opening a paper in a bank of 2 papers and in one of 300, both built by tarnex-bank from copies
# of the delivered demo papers.
add_executable(bench_paperbank ${CMAKE_CURRENT_LIST_DIR}/bench_paperbank.cpp)
target_link_libraries(bench_paperbank PRIVATE tarnex_common tarnex_forms tarnex_bank_lib Qt6::Test
                                              benchmark::benchmark)
target_compile_definitions(bench_paperbank PRIVATE TARNEX_BANK_SOURCES="${CMAKE_SOURCE_DIR}/data/bank")
set_target_properties(bench_paperbank PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
set_target_properties(bench_paperbank PROPERTIES AUTOUIC OFF)
