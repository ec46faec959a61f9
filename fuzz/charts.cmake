# The exam table, its graph and the growth curve reader on arbitrary text.
pondrel_add_fuzzer(fuzz_charts LIBS charts SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ChartsFuzz.cpp)
