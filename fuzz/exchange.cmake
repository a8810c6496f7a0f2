# The readers of tarnex-bank's exchange files: the spreadsheet template (xlsx and CSV) and Moodle
# XML, with the rich-text conversions they write through.
get_target_property(exchange_richtext_sources tarnex_richtext SOURCES)
list(FILTER exchange_richtext_sources INCLUDE REGEX "\\.cpp$")
list(TRANSFORM exchange_richtext_sources PREPEND ${CMAKE_SOURCE_DIR}/src/richtext/)
set(exchange_common_sources
  ${CMAKE_SOURCE_DIR}/tools/bank/Exchange.cpp
  ${CMAKE_SOURCE_DIR}/tools/bank/ExchangeText.cpp
  ${exchange_richtext_sources}
  ${CMAKE_CURRENT_LIST_DIR}/GuiFuzzerInit.cpp)

tarnex_add_fuzzer(fuzz_sheet
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_sheet.cpp ${exchange_common_sources}
    ${CMAKE_SOURCE_DIR}/tools/bank/XlsxReader.cpp
    ${CMAKE_SOURCE_DIR}/tools/bank/CsvReader.cpp
    ${CMAKE_SOURCE_DIR}/tools/bank/TemplateReader.cpp
  LIBS Qt6::Gui Qt6::Widgets PkgConfig::LIBZIP)
target_include_directories(fuzz_sheet PRIVATE ${CMAKE_SOURCE_DIR}/tools/bank)

tarnex_add_fuzzer(fuzz_moodle
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_moodle.cpp ${exchange_common_sources}
    ${CMAKE_SOURCE_DIR}/tools/bank/MoodleReader.cpp
    ${CMAKE_SOURCE_DIR}/tools/bank/MoodleWriter.cpp
  LIBS Qt6::Gui Qt6::Widgets)
target_include_directories(fuzz_moodle PRIVATE ${CMAKE_SOURCE_DIR}/tools/bank)
