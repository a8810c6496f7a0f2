# The RTF reader (with the writer, for a round trip) and the stored-text decoding. Their sources are
# compiled into the targets, so the code under test carries the fuzzer's coverage instrumentation.
get_target_property(richtext_sources tarnex_richtext SOURCES)
list(FILTER richtext_sources INCLUDE REGEX "\\.cpp$")
list(TRANSFORM richtext_sources PREPEND ${CMAKE_SOURCE_DIR}/src/richtext/)

add_executable(fuzz_rtf_reader ${CMAKE_CURRENT_LIST_DIR}/fuzz_rtf_reader.cpp ${richtext_sources})
target_include_directories(fuzz_rtf_reader PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(fuzz_rtf_reader PRIVATE tarnex_common tarnex_platform Qt6::Gui Qt6::Widgets)

add_executable(fuzz_stored_text ${CMAKE_CURRENT_LIST_DIR}/fuzz_stored_text.cpp ${CMAKE_SOURCE_DIR}/src/data/StoredText.cpp)
target_link_libraries(fuzz_stored_text PRIVATE tarnex_common tarnex_platform)

foreach(target fuzz_rtf_reader fuzz_stored_text)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endforeach()
