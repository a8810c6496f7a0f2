# The main window's start-up against a bare Qt window with a label, offline.
add_executable(bench_mainwindow ${CMAKE_CURRENT_LIST_DIR}/bench_mainwindow.cpp)
target_link_libraries(bench_mainwindow PRIVATE tarnex_common tarnex_forms Qt6::Test benchmark::benchmark)
set_target_properties(bench_mainwindow PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
