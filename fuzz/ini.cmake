# The INI reader and writer of ci.ini.
tarnex_add_fuzzer(fuzz_ini SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_ini.cpp ${CMAKE_SOURCE_DIR}/src/platform/IniFile.cpp)
