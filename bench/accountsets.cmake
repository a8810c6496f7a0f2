# Account-set initialization against the tests' recording ODBC driver (built with the tests), and
# "开始答题" to the exam screen with and without it.
if(TARGET tarnex_odbc_recorder)
  add_executable(bench_accountsets ${CMAKE_CURRENT_LIST_DIR}/bench_accountsets.cpp)
  target_link_libraries(bench_accountsets PRIVATE tarnex_common tarnex_forms Qt6::Test benchmark::benchmark)
  set_target_properties(bench_accountsets PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench
    AUTOUIC OFF)
  target_compile_definitions(bench_accountsets PRIVATE
    TARNEX_ODBC_RECORDER_PATH="$<TARGET_FILE:tarnex_odbc_recorder>")
  add_dependencies(bench_accountsets tarnex_odbc_recorder)
endif()
