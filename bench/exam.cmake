# The exam screen: opening a paper after the ID prompt, and one answer click against a raw write.
add_executable(bench_exam ${CMAKE_CURRENT_LIST_DIR}/bench_exam.cpp)
target_link_libraries(bench_exam PRIVATE tarnex_common tarnex_forms Qt6::Test benchmark::benchmark)
set_target_properties(bench_exam PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
# The ui_*.h headers come from tarnex_forms.
set_target_properties(bench_exam PROPERTIES AUTOUIC OFF)

# The hand-in of a 300-question paper: review state, scoring, marks, the score message.
add_executable(bench_handin ${CMAKE_CURRENT_LIST_DIR}/bench_handin.cpp)
target_link_libraries(bench_handin PRIVATE tarnex_common tarnex_forms Qt6::Test benchmark::benchmark)
set_target_properties(bench_handin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
set_target_properties(bench_handin PROPERTIES AUTOUIC OFF)
