# The RTF reader and writer on generated rich-edit documents, and the generator itself (used by
# bench/compare_text.sh for the whole-process comparison with unrtf).
add_library(tarnex_rtf_sample STATIC ${CMAKE_CURRENT_LIST_DIR}/rtf_sample.cpp ${CMAKE_CURRENT_LIST_DIR}/rtf_sample.h)
target_link_libraries(tarnex_rtf_sample PUBLIC tarnex_common tarnex_platform)

add_executable(bench_rtf ${CMAKE_CURRENT_LIST_DIR}/bench_rtf.cpp)
target_link_libraries(bench_rtf PRIVATE tarnex_common tarnex_richtext tarnex_rtf_sample benchmark::benchmark)

add_executable(rtf_sample ${CMAKE_CURRENT_LIST_DIR}/rtf_sample_main.cpp)
target_link_libraries(rtf_sample PRIVATE tarnex_rtf_sample)

set_target_properties(bench_rtf rtf_sample PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
