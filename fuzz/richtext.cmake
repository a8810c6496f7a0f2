# The RTF reader (with the writer, for a round trip) and the stored-text decoding.
get_target_property(richtext_sources tarnex_richtext SOURCES)
list(FILTER richtext_sources INCLUDE REGEX "\\.cpp$")
list(TRANSFORM richtext_sources PREPEND ${CMAKE_SOURCE_DIR}/src/richtext/)

tarnex_add_fuzzer(fuzz_rtf_reader
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_rtf_reader.cpp ${CMAKE_CURRENT_LIST_DIR}/GuiFuzzerInit.cpp
    ${richtext_sources}
  LIBS Qt6::Gui Qt6::Widgets)
tarnex_add_fuzzer(fuzz_stored_text
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_stored_text.cpp ${CMAKE_SOURCE_DIR}/src/data/StoredText.cpp)
