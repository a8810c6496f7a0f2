# Whole-process start-up to the first frame: a bare window against the program (compare_startup.sh).
add_executable(start_bare ${CMAKE_CURRENT_LIST_DIR}/start_bare.cpp ${CMAKE_CURRENT_LIST_DIR}/FirstPaint.h)
target_link_libraries(start_bare PRIVATE tarnex_common Qt6::Widgets)
add_executable(start_tarnex ${CMAKE_CURRENT_LIST_DIR}/start_tarnex.cpp ${CMAKE_CURRENT_LIST_DIR}/FirstPaint.h)
target_link_libraries(start_tarnex PRIVATE tarnex_common tarnex_app tarnex_forms)
set_target_properties(start_bare start_tarnex PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
