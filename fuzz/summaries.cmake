# The seven HTML summaries on arbitrary journals and texts.
pondrel_add_fuzzer(fuzz_summaries LIBS documents SOURCES
                   ${CMAKE_CURRENT_SOURCE_DIR}/SummariesFuzz.cpp)
