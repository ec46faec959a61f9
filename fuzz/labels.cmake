# The labels file reader, converter and write-back on arbitrary bytes.
pondrel_add_fuzzer(fuzz_labels LIBS labels SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/LabelsFuzz.cpp)
