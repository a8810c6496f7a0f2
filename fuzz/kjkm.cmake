# The subject-file parser (kjkm.dat).
tarnex_add_fuzzer(fuzz_kjkm SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_kjkm.cpp ${CMAKE_SOURCE_DIR}/src/exam/SubjectFile.cpp)
