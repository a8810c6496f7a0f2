# Hand-in in the rules layer for a 300-question paper.
add_executable(bench_scoring ${CMAKE_CURRENT_LIST_DIR}/bench_scoring.cpp)
target_link_libraries(bench_scoring PRIVATE tarnex_common tarnex_exam tarnex_data benchmark::benchmark)
set_target_properties(bench_scoring PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# The journal-entry calculator opened on the delivered chart of accounts until it is shown.
add_executable(bench_calculator ${CMAKE_CURRENT_LIST_DIR}/bench_calculator.cpp)
target_compile_definitions(bench_calculator PRIVATE TARNEX_KJKM_SOURCE="${CMAKE_SOURCE_DIR}/data/kjkm.dat")
target_link_libraries(bench_calculator PRIVATE tarnex_common tarnex_forms Qt6::Test benchmark::benchmark)
# The ui_*.h headers come from tarnex_forms.
set_target_properties(bench_calculator PROPERTIES AUTOUIC OFF RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
