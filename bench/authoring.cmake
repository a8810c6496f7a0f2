# Authoring on the exam screen: add, modify and delete of a question against a raw write.
add_executable(bench_authoring ${CMAKE_CURRENT_LIST_DIR}/bench_authoring.cpp)
target_link_libraries(bench_authoring PRIVATE tarnex_common tarnex_forms Qt6::Test benchmark::benchmark)
set_target_properties(bench_authoring PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
set_target_properties(bench_authoring PROPERTIES AUTOUIC OFF)
