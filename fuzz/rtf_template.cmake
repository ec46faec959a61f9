pondrel_add_fuzzer(fuzz_rtf_template LIBS documents SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_rtf_template.cpp)
