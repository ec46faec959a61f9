# The conversion of version 3.00 patient files on arbitrary texts, up to the size limit.
pondrel_add_fuzzer(fuzz_version300 LIBS records SOURCES ${CMAKE_CURRENT_LIST_DIR}/Version300Fuzzer.cpp)
